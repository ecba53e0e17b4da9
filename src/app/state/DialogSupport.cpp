#include "DialogSupport.h"

#include "Placement.h"

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

} // namespace app
