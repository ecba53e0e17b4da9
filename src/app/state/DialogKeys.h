#pragma once

#include <functional>
#include <QKeyEvent>
#include <QPushButton>

namespace app {

// What Enter and Esc do in the dialogs that are plain windows and so have no
// default button of their own.
enum class EditorKeyAction
{
    None,
    Default,
    Close,
};

inline EditorKeyAction EditorKey(const QKeyEvent &event)
{
    if (event.modifiers() != Qt::NoModifier && event.modifiers() != Qt::KeypadModifier) {
        return EditorKeyAction::None;
    }
    switch (event.key()) {
    case Qt::Key_Escape:
        return EditorKeyAction::Close;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EditorKeyAction::Default;
    default:
        return EditorKeyAction::None;
    }
}

// Enter presses the button that has the focus, as on any dialog; anywhere
// else it presses the default one.
inline void PressDefault(QPushButton &defaultButton)
{
    if (auto *focused = qobject_cast<QPushButton *>(defaultButton.window()->focusWidget())) {
        focused->click();
        return;
    }
    defaultButton.click();
}

// Esc closes, Enter presses the default (or focused) button; true when the
// key was one of them.
inline bool HandleDialogKey(const QKeyEvent &event, QPushButton &defaultButton,
                            const std::function<void()> &close)
{
    switch (EditorKey(event)) {
    case EditorKeyAction::Close:
        close();
        return true;
    case EditorKeyAction::Default:
        PressDefault(defaultButton);
        return true;
    case EditorKeyAction::None:
        break;
    }
    return false;
}

} // namespace app
