#pragma once

#include "MenuTable.h"

#include <memory>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QToolBar>

class PasswordGrid;
class QAction;
class QMainWindow;
class QMenu;
class RecentFiles;

namespace controls {
class ImageList;
}

// The main window's menu bar, record popup and toolbar, built from the menu
// table. Every entry runs its command through commandTriggered, so a menu
// item, a toolbar button, a popup entry and a shortcut never drift apart.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    MainMenus(QMainWindow &window, PasswordGrid &grid);
    ~MainMenus() override;

    // An entry by menu name and index ("mnuEdit", 2), the grid's own menus
    // ("mnuSortOrder", "mnuPopupCol") and the Reload items included.
    QAction *item(const QString &menu, int index) const;
    QMenu *menu(const QString &name) const;
    // The menu-bar entry of a top menu ("mnuEditTop").
    QAction *top(const QString &name) const;
    // Shown, together with every menu it sits in.
    bool itemVisible(const QString &menu, int index) const;

    // The toolbar exists only while View > Toolbar is checked.
    void buildToolbar();
    void removeToolbar();
    QToolBar *toolbar() const { return m_toolbar; }
    QAction *toolButton(const QString &key) const;

    // The Reload items: bare paths at load, then "&<i>. <path>" after each open.
    void loadReloadItems(const RecentFiles &recent);
    void ReloadMenu(const RecentFiles &recent, qint16 historySize);

    // Menu icons from the menu strip while on, none while off.
    void ReInitMenu(bool iconsOn);
    bool hasMenuIcons() const { return m_icons != nullptr; }

    // The record popup at a point, its three link entries enabled as given;
    // the index of the chosen entry, or -1.
    int execRecordPopup(QPoint globalPosition, bool url, bool expUrl, bool changeUrl);

Q_SIGNALS:
    void commandTriggered(MainCommand command);
    // A Reload item, from 1.
    void reloadChosen(int position);
    // A menu is about to drop down: its enabling rule runs first.
    void editMenuShowing();
    void passwordMenuShowing();

private:
    void buildMenus(QMainWindow &window);
    void addShortcut(QMainWindow &window, const menu_table::MenuItem &entry, QAction *action);
    QAction *addReloadItem();

    PasswordGrid &m_grid;
    QMainWindow &m_window;
    QHash<QString, QMenu *> m_menus; // by items name: "mnuFile", "mnuReload", "mnuPopup"
    QHash<QString, QAction *> m_tops;
    // The entry that opens each menu, and the menu that entry sits in.
    QHash<QString, QAction *> m_owners;
    QHash<QString, QString> m_ownerMenus;
    QHash<QString, QList<QAction *>> m_items;
    std::unique_ptr<QMenu> m_recordPopup;
    QPointer<QToolBar> m_toolbar; // owned by the window while it exists
    std::shared_ptr<const controls::ImageList> m_toolbarImages;
    std::shared_ptr<const controls::ImageList> m_icons;
};
