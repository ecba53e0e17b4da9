#pragma once

#include "FileRoutines.h"
#include "Services.h"

#include <memory>
#include <QSystemTrayIcon>
#include <QWidget>

class QMenu;

// The invisible main window of tray mode: it owns the tray icon and its
// menu. For now the menu offers the way back to the main window and the
// exit; the services, add and option items fill it in later.
class frmTray : public QWidget, public app::MainWindowOps
{
    Q_OBJECT

public:
    frmTray(const app::Services &services, files::FileRoutines &files, QWidget *parent = nullptr);
    ~frmTray() override;

    // Shows the icon, marks the window for a later start, ends the first start.
    void Load() override;

    void UpdateView(qint32 value) override;
    void ReloadMenu() override {}
    void ReInitMenu() override {}
    void GotoSysTray() override {}
    void SetMenuEnabled(bool enabled) override { m_menuEnabled = enabled; }
    bool MenuEnabled() const { return m_menuEnabled; }
    QWidget *window() override { return this; }
    bool IsInstanceWindow() const override { return m_marked; }
    void HandOver(const QByteArray &payload) override;

    // What a click on a menu item with this key does.
    void MenuClick(const QString &key);
    // The icon was double-clicked.
    void OpenMainWindow();

    QSystemTrayIcon *trayIcon() const { return m_icon.get(); }
    QMenu *menu() const { return m_menu.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showIcon();
    void removeIcon();
    void activated(QSystemTrayIcon::ActivationReason reason);

    const app::Services &m_services;
    files::FileRoutines &m_files;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_menuEnabled = false;
    bool m_marked = false;
};
