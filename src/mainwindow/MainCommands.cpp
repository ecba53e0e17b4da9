#include "MainCommands.h"

#include "FileRoutines.h"
#include "frmMain.h"
#include "MainMenus.h"
#include "NodeKeys.h"
#include "PasswordGrid.h"
#include "PasswordStore.h"
#include "StartUp.h"
#include "TransferRoutines.h"
#include "Tree.h"

#include <QAction>

using platform::PromptButtons;
using platform::PromptIcon;

MainCommands::MainCommands(const app::Services &services, const WindowRoutines &routines,
                           frmMain &window)
    : m_services(services), m_routines(routines), m_window(window)
{
}

QString MainCommands::selectedService() const
{
    const PasswordGrid &grid = *m_window.passwordGrid();
    return grid.rowSelected ? grid.GetSelectedService() : QString();
}

qint32 MainCommands::selectedNode() const
{
    return m_window.tree()->selectedNode();
}

void MainCommands::refillGrid()
{
    m_window.passwordGrid()->FillGrid(selectedNode());
}

void MainCommands::run(MainCommand command)
{
    files::FileRoutines &files = m_routines.files;
    const ShowWindows &windows = m_routines.windows;
    const transfer::TransferRoutines &transfer = m_routines.transfer;
    switch (command) {
    case MainCommand::None:
        break;
    case MainCommand::FileNew:
        files.NewPasswordFile();
        break;
    case MainCommand::FileOpen:
        files.OpenOrNew(false);
        break;
    case MainCommand::FileSave:
        files.SavePasswordFile(false);
        break;
    case MainCommand::FileSaveAs:
        files.SavePasswordFile(true);
        break;
    case MainCommand::FileImport:
        files.ImportPasswordFile();
        break;
    case MainCommand::FileExit:
        m_window.close();
        break;
    case MainCommand::EditCut:
        cut();
        break;
    case MainCommand::EditCopy:
        copy();
        break;
    case MainCommand::EditPaste:
        paste();
        break;
    case MainCommand::EditCopyPassword:
        onSelected([&transfer](const QString &service) { transfer.CopyPassword(service); });
        break;
    case MainCommand::EditCopyUserPassword:
        onSelected([&transfer](const QString &service) { transfer.CopyUserPassword(service); });
        break;
    case MainCommand::EditCopyUrl:
        onSelected([&transfer](const QString &service) { transfer.CopyURL(service); });
        break;
    case MainCommand::EditExecuteUrl:
        executeUrl(4);
        break;
    case MainCommand::EditExecuteExpireUrl:
        executeUrl(6);
        break;
    case MainCommand::EditExecuteChangeUrl:
        executeUrl(5);
        break;
    case MainCommand::ViewToolbar:
        toggleViewItem(0);
        break;
    case MainCommand::ViewStatusBar:
        toggleViewItem(1);
        break;
    case MainCommand::ViewTreeView:
        toggleViewItem(2);
        break;
    case MainCommand::PasswordAdd:
        addPassword();
        break;
    case MainCommand::PasswordEdit:
        editPassword();
        break;
    case MainCommand::PasswordDelete:
        deletePassword();
        break;
    case MainCommand::CategoryEdit:
        windows.ShowCategoryEditor();
        break;
    case MainCommand::SubCategoryEdit:
        windows.ShowSubCategoryEditor();
        break;
    case MainCommand::CheckExpire:
        windows.ShowCheckExpire();
        break;
    case MainCommand::ProgramOption:
        windows.ShowOptions();
        break;
    case MainCommand::FilePassword:
        windows.ChangeFilePassword();
        break;
    case MainCommand::SaveViewOptions:
        saveViewOptionsNow();
        break;
    case MainCommand::GotoSysTray:
        m_window.GotoSysTray();
        break;
    case MainCommand::HelpHomepage:
        transfer.OpenURL(app::HomePage);
        break;
    case MainCommand::HelpEmail:
        transfer.OpenURL(app::MailAddress);
        break;
    case MainCommand::HelpAbout:
        windows.ShowAbout();
        break;
    }
}

void MainCommands::reload(int position)
{
    const QString path = m_services.recent.item(position);
    if (path.isEmpty()) {
        return;
    }
    app::RunState &state = m_services.state;
    state.FilePath = path;
    const QString prompt =
        QStringLiteral("Do you want to save ") + state.Store->FileName() + QStringLiteral("?");
    if (m_routines.files.AskToSave(prompt, false)) {
        m_routines.files.OpenPasswordFile(path);
    }
}

void MainCommands::copy()
{
    const QString service = selectedService();
    const PasswordEntry *entry = m_services.state.Store->Passwords().Item(service);
    if (service.isEmpty() || entry == nullptr) {
        return;
    }
    m_services.state.setClipboardEntry(*entry);
    m_window.menus()->item(QStringLiteral("mnuEdit"), 2)->setEnabled(true);
}

void MainCommands::cut()
{
    const QString service = selectedService();
    if (service.isEmpty() || !m_services.state.Store->Passwords().Contains(service)) {
        return;
    }
    copy();
    m_services.state.Store->DeletePassword(m_services.state.ClipboardEntry()->service);
    refillGrid();
}

void MainCommands::paste()
{
    const auto &held = m_services.state.ClipboardEntry();
    if (!held.has_value()) {
        return;
    }
    m_routines.windows.ShowPastePassword(*held, selectedNode());
    refillGrid();
}

void MainCommands::addPassword()
{
    qint16 category = 0;
    qint16 subCategory = 0;
    if (const int node = selectedNode(); node != 0) {
        mainwindow::ParseNodeKey(m_window.tree()->key(node), category, subCategory, false);
    }
    m_routines.windows.ShowAddPassword(category, subCategory, selectedNode());
}

void MainCommands::editPassword()
{
    const QString service = selectedService();
    if (service.isEmpty()) {
        m_services.prompt.ask(QStringLiteral("You must select a service before trying to edit!"),
                              PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("VLM"));
        return;
    }
    m_routines.windows.ShowEditPassword(service, selectedNode());
}

void MainCommands::deletePassword()
{
    onSelected([this](const QString &service) {
        m_routines.windows.DeleteServicePrompt(service, selectedNode());
    });
}

void MainCommands::executeUrl(int field)
{
    onSelected([this, field](const QString &service) {
        m_routines.windows.ExecuteUrlThenTray(m_services.state.Store->GetField(field, service));
    });
}

void MainCommands::onSelected(const std::function<void(const QString &service)> &command) const
{
    if (const QString service = selectedService(); !service.isEmpty()) {
        command(service);
    }
}

void MainCommands::saveViewOptionsNow()
{
    m_window.saveViewState();
    const app::RunState &state = m_services.state;
    m_window.setWindowTitle(m_services.options.ViewFileName
                                ? state.AppTitle + QStringLiteral(" - ") + state.FilePath
                                : state.AppTitle);
}

void MainCommands::toggleViewItem(int index)
{
    m_window.menus()->item(QStringLiteral("mnuView"), index)->toggle();
}
