#pragma once

#include "KeySequence.h"

#include <QString>

namespace platform {

// Types keystrokes into the window of another program.
class KeyTyper
{
public:
    virtual ~KeyTyper() = default;
    // Notes the window the user works in as the one to type into next: called
    // before one of our own menus takes the keyboard.
    virtual void rememberTarget() {}
    // Types the keystroke notation into the remembered window, restored and
    // raised first, or without one into the window that has the focus. False
    // when nothing was typed: with the reason in error when the notation is
    // not valid or this desktop allows no typing, with error empty when the
    // remembered window is gone.
    virtual bool type(const QString &notation, QString &error) = 0;
};

// Remembers what it was asked to type: the test back end.
class RecordingKeyTyper final : public KeyTyper
{
public:
    void rememberTarget() override { ++remembered; }
    bool type(const QString &notation, QString &) override
    {
        typed.append(notation);
        return true;
    }
    QStringList typed;
    int remembered = 0;
};

// The typer for this desktop: XTest on X11, a clear refusal on Wayland.
std::unique_ptr<KeyTyper> makeSystemKeyTyper();

} // namespace platform
