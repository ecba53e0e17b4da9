#pragma once

#include "RunState.h"

#include <functional>
#include <QByteArray>

namespace app {

// What the running instance does with the bytes of a later start; the
// window and file routines are passed in so this stays testable.
struct HandOverActions
{
    std::function<void()> restoreAndActivate;
    // The ask-to-save routine: false when the user cancelled.
    std::function<bool(const QString &prompt)> askToSave;
    // Opens FilePath with the open routine (which may ask for the password);
    // true when that routine has shown the file in the window already.
    std::function<bool()> openFilePath;
};

// A start without argument only brings the window forward; a path asks to
// save the open file, then opens the path and refreshes the window (once).
void receiveHandOver(RunState &state, const QByteArray &payload, const HandOverActions &actions);

} // namespace app
