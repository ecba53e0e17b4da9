#pragma once

#include "Services.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QLineEdit;

namespace app {

// Where a dialog opens: centred over the current main window, then where it
// was last closed.
void RestoreDialogPlacement(const Services &services, QWidget &window, const QString &tag);

// The end of a dialog on the window stack: its placement kept when it was
// shown, then off the stack with the refresh it leaves for the main loop.
void UnloadStackedDialog(const Services &services, QWidget &window, const QString &tag,
                         bool refresh, bool menuOnly, qint32 value);

// Empties a field that showed a secret and overwrites the characters it
// held, which a plain clear would leave in freed memory.
void wipeField(QLineEdit &field);

// Shows a window in front that deletes itself once closed.
template <typename Window> QPointer<Window> ShowSelfDeleting(Window *window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace app
