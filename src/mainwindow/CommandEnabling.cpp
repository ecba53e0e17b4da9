#include "CommandEnabling.h"

#include "MainMenus.h"
#include "MenuTable.h"

#include <QAction>
#include <QToolBar>

namespace {

void setVisible(MainMenus &menus, const QString &menu, int from, int to, bool visible)
{
    for (int i = from; i <= to; ++i) {
        menus.item(menu, i)->setVisible(visible);
    }
}

void setEnabled(MainMenus &menus, const QString &menu, std::initializer_list<int> indexes,
                bool enabled)
{
    for (const int i : indexes) {
        menus.item(menu, i)->setEnabled(enabled);
    }
}

} // namespace

void ApplyFileState(MainMenus &menus, bool hasFile)
{
    setVisible(menus, QStringLiteral("mnuFile"), 3, 6, hasFile);
    setVisible(menus, QStringLiteral("mnuView"), 3, 6, hasFile);
    setVisible(menus, QStringLiteral("mnuOption"), 1, 1, hasFile);
    menus.top(QStringLiteral("mnuEditTop"))->setVisible(hasFile);
    menus.top(QStringLiteral("mnuPasswordTop"))->setVisible(hasFile);
    menus.item(QStringLiteral("mnuEdit"), 2)->setEnabled(false);
    ApplyToolbarFileState(menus, hasFile);
}

void ApplyToolbarFileState(MainMenus &menus, bool hasFile)
{
    // New, Open, the hidden Preview, Help and What's this? keep their state.
    if (const QToolBar *toolbar = menus.toolbar()) {
        const QList<QAction *> buttons = toolbar->actions();
        for (int position = 2; position <= 16 && position < buttons.size(); ++position) {
            if (position != 4) {
                buttons.at(position)->setEnabled(hasFile);
            }
        }
    }
}

void ApplyEditMenuState(MainMenus &menus, const SelectedRow &row)
{
    const QString edit = QStringLiteral("mnuEdit");
    setEnabled(menus, edit, {0, 1, 4, 5}, row.selected);
    setEnabled(menus, edit, {6, 8}, row.selected && row.url);
    setEnabled(menus, edit, {9}, row.selected && row.expireUrl);
    setEnabled(menus, edit, {10}, row.selected && row.changeUrl);
}

void ApplyPasswordMenuState(MainMenus &menus, bool rowSelected)
{
    setEnabled(menus, QStringLiteral("mnuPassword"), {1, 2}, rowSelected);
}
