#pragma once

#include <functional>
#include <QObject>
#include <QTimer>

// Runs f after a few turns of the event loop: enough for the passes that a
// previous step asked for (a window switch takes two) to have run, however
// busy the machine is. Steps driven this way never depend on timing.
inline void afterPasses(QObject *context, int turns, const std::function<void()> &f)
{
    if (turns == 0) {
        f();
        return;
    }
    QTimer::singleShot(0, context, [context, turns, f] { afterPasses(context, turns - 1, f); });
}
