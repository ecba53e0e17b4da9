#pragma once

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

} // namespace app
