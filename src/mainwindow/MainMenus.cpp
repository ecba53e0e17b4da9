#include "MainMenus.h"

#include "ImageList.h"
#include "PasswordGrid.h"
#include "RecentFiles.h"
#include "ResourceImages.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>

using namespace menu_table;

namespace {

// A path shown as a menu caption keeps its ampersands.
QString escaped(const QString &path)
{
    QString text = path;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

MainMenus::MainMenus(QMainWindow &window, PasswordGrid &grid)
    : QObject(&window), m_grid(grid), m_window(window)
{
    buildMenus(window);
}

MainMenus::~MainMenus() = default;

void MainMenus::buildMenus(QMainWindow &window)
{
    for (const TopMenu &top : topMenus()) {
        const QString items = QString::fromLatin1(top.items);
        QMenu *menu = nullptr;
        if (!top.popupOnly) {
            menu = window.menuBar()->addMenu(QString::fromLatin1(top.caption));
            m_tops.insert(QString::fromLatin1(top.name), menu->menuAction());
            m_owners.insert(items, menu->menuAction());
        } else if (items == QStringLiteral("mnuPopup")) {
            m_recordPopup = std::make_unique<QMenu>(QString::fromLatin1(top.caption));
            menu = m_recordPopup.get();
        } else {
            menu = m_grid.columnPopup();
            m_items.insert(items, menu->actions());
        }
        menu->setObjectName(QString::fromLatin1(top.name));
        m_menus.insert(items, menu);
    }
    connect(m_menus.value(QStringLiteral("mnuEdit")), &QMenu::aboutToShow, this,
            &MainMenus::editMenuShowing);
    connect(m_menus.value(QStringLiteral("mnuPassword")), &QMenu::aboutToShow, this,
            &MainMenus::passwordMenuShowing);
    const QHash<QString, QMenu *> gridMenus = {
        {QStringLiteral("mnuColumns"), m_grid.columnMenu()},
        {QStringLiteral("mnuSort"), m_grid.sortMenu()},
        {QStringLiteral("mnuSortOrder"), m_grid.sortOrderMenu()}};

    for (const MenuItem &entry : items()) {
        const QString menuName = QString::fromLatin1(entry.menu);
        QMenu *menu = m_menus.value(menuName);
        const QString caption = QString::fromLatin1(entry.caption);
        QAction *action = nullptr;
        if (caption == QStringLiteral("-")) {
            action = menu->addSeparator();
        } else if (entry.submenu != nullptr) {
            const QString submenuName = QString::fromLatin1(entry.submenu);
            QMenu *submenu = gridMenus.value(submenuName);
            if (submenu != nullptr) {
                action = menu->addMenu(submenu);
                m_items.insert(submenuName, submenu->actions());
            } else {
                submenu = menu->addMenu(caption);
                submenu->setObjectName(submenuName);
                action = submenu->menuAction();
            }
            m_menus.insert(submenuName, submenu);
            m_owners.insert(submenuName, action);
            m_ownerMenus.insert(submenuName, menuName);
        } else {
            action = menu->addAction(caption);
        }
        action->setObjectName(QStringLiteral("%1(%2)").arg(menuName).arg(entry.index));
        action->setVisible((entry.flags & Hidden) == 0);
        action->setEnabled((entry.flags & Disabled) == 0);
        if ((entry.flags & Checked) != 0) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        if (*entry.shortcut != '\0') {
            addShortcut(window, entry, action);
        }
        m_items[menuName].append(action);
        if (menuName == QStringLiteral("mnuPopup")) {
            // A popup entry only notes which one was chosen; the grid acts once it has closed.
            connect(action, &QAction::triggered, this,
                    [this, index = entry.index] { m_grid.headerChoice = index; });
        } else if (entry.command != MainCommand::None && !action->isCheckable()) {
            connect(action, &QAction::triggered, this,
                    [this, command = entry.command] { Q_EMIT commandTriggered(command); });
        }
    }

    // The Reload sub-menu starts with its empty, disabled placeholder.
    QAction *placeholder = m_menus.value(QStringLiteral("mnuReload"))->addAction(QString());
    placeholder->setObjectName(QStringLiteral("mnuReload(0)"));
    placeholder->setEnabled(false);
    m_items[QStringLiteral("mnuReload")] = {placeholder};
}

// The key shows in the menu and works while the menu is open; a shortcut of
// the window runs the command whenever the item can be seen, enabled or not,
// because a command that needs a row checks for it itself.
void MainMenus::addShortcut(QMainWindow &window, const MenuItem &entry, QAction *action)
{
    const QKeySequence keys(QString::fromLatin1(entry.shortcut));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
    auto *shortcut = new QShortcut(keys, &window);
    const QString menu = QString::fromLatin1(entry.menu);
    connect(shortcut, &QShortcut::activated, this,
            [this, menu, index = entry.index, command = entry.command] {
                if (itemVisible(menu, index)) {
                    Q_EMIT commandTriggered(command);
                }
            });
}

QAction *MainMenus::item(const QString &menu, int index) const
{
    const QList<QAction *> entries = m_items.value(menu);
    return index >= 0 && index < entries.size() ? entries.at(index) : nullptr;
}

QMenu *MainMenus::menu(const QString &name) const
{
    return m_menus.value(name);
}

QAction *MainMenus::top(const QString &name) const
{
    return m_tops.value(name);
}

bool MainMenus::itemVisible(const QString &menu, int index) const
{
    const QAction *action = item(menu, index);
    if (action == nullptr || !action->isVisible()) {
        return false;
    }
    for (QString name = menu; m_owners.contains(name); name = m_ownerMenus.value(name)) {
        if (!m_owners.value(name)->isVisible()) {
            return false;
        }
    }
    return true;
}

void MainMenus::buildToolbar()
{
    if (m_toolbar != nullptr) {
        return;
    }
    m_toolbarImages = controls::resource_images::imageList(103);
    m_toolbar = new QToolBar(QStringLiteral("Toolbar1"), &m_window);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->toggleViewAction()->setVisible(false);
    for (const ToolButton &button : toolButtons()) {
        const QString key = QString::fromLatin1(button.key);
        QAction *action = nullptr;
        if (*button.tooltip == '\0') {
            action = m_toolbar->addSeparator();
        } else {
            action = m_toolbar->addAction(m_toolbarImages->icon(QString::fromLatin1(button.image)),
                                          QString::fromLatin1(button.tooltip));
            action->setToolTip(QString::fromLatin1(button.tooltip));
            connect(action, &QAction::triggered, this, [this, key] {
                const MainCommand command = toolbarCommand(key.toUpper());
                if (command != MainCommand::None) {
                    Q_EMIT commandTriggered(command);
                }
            });
        }
        action->setObjectName(key);
        action->setData(key);
        action->setVisible(button.shown);
    }
    m_window.addToolBar(Qt::TopToolBarArea, m_toolbar);
}

void MainMenus::removeToolbar()
{
    if (m_toolbar == nullptr) {
        return;
    }
    m_window.removeToolBar(m_toolbar);
    delete m_toolbar.data();
    m_toolbarImages.reset();
}

QAction *MainMenus::toolButton(const QString &key) const
{
    if (m_toolbar == nullptr) {
        return nullptr;
    }
    for (QAction *action : m_toolbar->actions()) {
        if (action->data().toString() == key) {
            return action;
        }
    }
    return nullptr;
}

QAction *MainMenus::addReloadItem()
{
    QList<QAction *> &entries = m_items[QStringLiteral("mnuReload")];
    const auto position = static_cast<int>(entries.size());
    QAction *action = m_menus.value(QStringLiteral("mnuReload"))->addAction(QString());
    action->setObjectName(QStringLiteral("mnuReload(%1)").arg(position));
    connect(action, &QAction::triggered, this, [this, position] { Q_EMIT reloadChosen(position); });
    entries.append(action);
    return action;
}

void MainMenus::loadReloadItems(const RecentFiles &recent)
{
    for (qsizetype i = 1; i <= recent.count(); ++i) {
        addReloadItem()->setText(escaped(recent.item(i)));
    }
    item(QStringLiteral("mnuReload"), 0)->setVisible(recent.count() == 0);
}

void MainMenus::ReloadMenu(const RecentFiles &recent, qint16 historySize)
{
    item(QStringLiteral("mnuFile"), 2)->setEnabled(!recent.isEmpty());
    // An open adds at most one path, so one more item keeps pace with the list.
    const auto highest = m_items.value(QStringLiteral("mnuReload")).size() - 1;
    if (highest <= historySize) {
        addReloadItem()->setVisible(false);
    }
    while (m_items.value(QStringLiteral("mnuReload")).size() <= recent.count()) {
        addReloadItem();
    }
    const QList<QAction *> entries = m_items.value(QStringLiteral("mnuReload"));
    for (qsizetype i = 1; i < entries.size(); ++i) {
        QAction *action = entries.at(i);
        const bool used = i <= recent.count();
        action->setText(used ? QStringLiteral("&%1. %2").arg(i).arg(escaped(recent.item(i)))
                             : QString());
        action->setVisible(used);
    }
    entries.first()->setVisible(recent.isEmpty());
}

void MainMenus::ReInitMenu(bool iconsOn)
{
    if (iconsOn && m_icons == nullptr) {
        m_icons = controls::resource_images::imageList(104);
        // Icons go by caption: entries of equal caption share one.
        QHash<QString, QString> byCaption;
        for (const MenuIcon &icon : menuIcons()) {
            if (const QAction *action = item(QString::fromLatin1(icon.menu), icon.index)) {
                byCaption.insert(action->text(), QString::fromLatin1(icon.image));
            }
        }
        for (const QMenu *menu : m_menus) {
            for (QAction *action : menu->actions()) {
                const QString image = byCaption.value(action->text());
                if (!image.isEmpty()) {
                    action->setIcon(m_icons->icon(image));
                }
            }
        }
    } else if (!iconsOn && m_icons != nullptr) {
        for (const QMenu *menu : m_menus) {
            for (QAction *action : menu->actions()) {
                action->setIcon(QIcon());
            }
        }
        m_icons.reset();
    }
}

int MainMenus::execRecordPopup(QPoint globalPosition, bool url, bool expUrl, bool changeUrl)
{
    const QString popup = QStringLiteral("mnuPopup");
    item(popup, 0)->setEnabled(url);
    item(popup, 1)->setEnabled(expUrl);
    item(popup, 2)->setEnabled(changeUrl);
    // Paste offers what Edit > Paste as New offers.
    item(popup, 6)->setEnabled(item(QStringLiteral("mnuEdit"), 2)->isEnabled());
    m_recordPopup->exec(globalPosition);
    return m_grid.headerChoice;
}
