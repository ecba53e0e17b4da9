#pragma once

#include "FileRoutines.h"
#include "Services.h"

#include <functional>
#include <memory>
#include <QWidget>

class frmSysTray;

namespace controls {
class ImageList;
}
namespace transfer {
class TransferRoutines;
}

// The invisible main window of tray mode: it owns the tray icon and builds
// its menu of every service, grouped by category and subcategory, with the
// add, option and exit items around them.
class frmTray : public QWidget, public app::MainWindowOps
{
    Q_OBJECT

public:
    // Where the menu's dialog items lead; the dialogs are opened by the caller.
    struct Commands
    {
        std::function<void()> showAbout;
        std::function<void()> showOptions;
        std::function<void(qint16 codcat, qint16 CodSCat, qint32 node)> showAddPassword;
        std::function<void(const QString &service, qint32 node)> showEditPassword;
        std::function<void()> showCategoryEditor;
        std::function<void()> showSubCategoryEditor;
    };

    static const QString HomePage;
    static const QString MailAddress;

    frmTray(const app::Services &services, files::FileRoutines &files, QWidget *parent = nullptr);
    ~frmTray() override;

    void setCommands(Commands commands) { m_commands = std::move(commands); }
    void setTransfer(const transfer::TransferRoutines *transfer) { m_transfer = transfer; }

    // Shows the icon, marks the window for a later start, ends the first start.
    void Load() override;

    // Rebuilds the menu from the store.
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
    // A double-click on the icon, or "&Open VLM".
    void OpenMainWindow();

    frmSysTray *sysTray() const { return m_sysTray.get(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showIcon();
    void removeIcon();
    void serviceAction(const QString &service);

    const app::Services &m_services;
    files::FileRoutines &m_files;
    Commands m_commands;
    const transfer::TransferRoutines *m_transfer = nullptr;
    std::unique_ptr<frmSysTray> m_sysTray;
    std::shared_ptr<const controls::ImageList> m_images;
    bool m_menuEnabled = false;
    bool m_marked = false;
};
