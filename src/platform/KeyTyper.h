#pragma once

#include "KeySequence.h"

#include <QString>

namespace platform {

// Types keystrokes into the window that has the keyboard focus, in another
// program.
class KeyTyper
{
public:
    virtual ~KeyTyper() = default;
    // Types the keystroke notation; false, with the reason in error, when this
    // desktop allows no typing into other programs.
    virtual bool type(const QString &notation, QString &error) = 0;
};

// Remembers what it was asked to type: the test back end.
class RecordingKeyTyper final : public KeyTyper
{
public:
    bool type(const QString &notation, QString &) override
    {
        typed.append(notation);
        return true;
    }
    QStringList typed;
};

// The typer for this desktop: XTest on X11, a clear refusal on Wayland.
std::unique_ptr<KeyTyper> makeSystemKeyTyper();

} // namespace platform
