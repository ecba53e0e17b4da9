#include "DialogSupport.h"

#include "Placement.h"
#include "SecureBytes.h"

#include <QLineEdit>

namespace app {

void RestoreDialogPlacement(const Services &services, QWidget &window, const QString &tag)
{
    MainWindowOps *main = services.state.CurrentMainWindow();
    RestorePlacement(window, tag, main != nullptr ? main->window() : nullptr, services.options,
                     services.settings);
}

void UnloadStackedDialog(const Services &services, QWidget &window, const QString &tag,
                         bool refresh, bool menuOnly, qint32 value)
{
    if (window.isVisible()) {
        SavePlacement(window, tag, services.options, services.settings);
    }
    services.windows.PopWindow(refresh, menuOnly, value);
}

void wipeField(QLineEdit &field)
{
    // The copy shares the field's characters; clearing moves the field to
    // new ones, which leaves the old ones to the copy alone, to be wiped.
    QString held = field.text();
    field.clear();
    wipeText(held);
}

} // namespace app
