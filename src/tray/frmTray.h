#pragma once

#include "Services.h"
#include "ShowWindows.h"

#include <memory>
#include <QWidget>

class frmSysTray;

namespace controls {
class ImageList;
}

// The invisible main window of tray mode: it owns the tray icon and builds
// its menu of every service, grouped by category and subcategory, with the
// add, option and exit items around them.
class frmTray : public QWidget, public app::MainWindowOps
{
    Q_OBJECT

public:
    frmTray(const app::Services &services, const WindowRoutines &routines,
            QWidget *parent = nullptr);
    ~frmTray() override;

    // Shows the icon, marks the window for a later start, ends the first start.
    void Load() override;

    // Refills the menu's items from the store; the menu itself is built
    // again at the next right-click only if they changed.
    void UpdateView(qint32 value) override;
    void ReloadMenu() override {}
    void ReInitMenu() override {}
    void GotoSysTray() override {}
    void SetMenuEnabled(bool enabled) override { m_menuEnabled = enabled; }
    bool MenuEnabled() const { return m_menuEnabled; }
    QWidget *window() override { return this; }
    bool IsInstanceWindow() const override { return m_marked; }
    void HandOver(const QByteArray &payload) override;
    // On the icon's tip, after the program's name.
    void ShowStatusNote(const QString &note) override;

    // What a click on a menu item with this key does.
    void MenuClick(const QString &key);
    // A double-click on the icon, or "&Open VLM".
    void OpenMainWindow();

    frmSysTray *sysTray() const { return m_sysTray.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showIcon();
    void buildLockedMenu();
    void removeIcon();
    void serviceAction(const QString &service);

    const app::Services &m_services;
    WindowRoutines m_routines;
    std::unique_ptr<frmSysTray> m_sysTray;
    std::shared_ptr<const controls::ImageList> m_images;
    bool m_menuEnabled = false;
    bool m_marked = false;
};
