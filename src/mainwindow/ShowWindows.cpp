#include "ShowWindows.h"

#include "frmAbout.h"
#include "frmCategory.h"
#include "frmCheckExpire.h"
#include "frmFilePW.h"
#include "frmOptions.h"
#include "frmPW.h"
#include "frmSubCategory.h"
#include "frmTip.h"
#include "PasswordStore.h"
#include "TransferRoutines.h"

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

ShowWindows::ShowWindows(const app::Services &services, const transfer::TransferRoutines &transfer,
                         QString programPath)
    : m_services(services), m_transfer(transfer), m_programPath(std::move(programPath))
{
}

void ShowWindows::ShowAddPassword(qint16 codcat, qint16 CodSCat, qint32 selectedNode) const
{
    dialogs::ShowPasswordAdd(
        m_services, [this](const QString &url) { m_transfer.OpenURL(url); }, selectedNode, codcat,
        CodSCat);
}

void ShowWindows::ShowEditPassword(const QString &service, qint32 selectedNode) const
{
    dialogs::ShowPasswordEdit(
        m_services, [this](const QString &url) { m_transfer.OpenURL(url); }, selectedNode, service);
}

void ShowWindows::ShowPastePassword(const PasswordEntry &entry, qint32 selectedNode) const
{
    dialogs::ShowPasswordPasteNew(
        m_services, [this](const QString &url) { m_transfer.OpenURL(url); }, selectedNode, entry);
}

void ShowWindows::ChangeFilePassword() const
{
    frmFilePW dialog(m_services);
    dialog.changepw();
}

void ShowWindows::ShowCheckExpire() const
{
    dialogs::CheckExpiration(m_services,
                             [this](const QString &service) { ShowEditPassword(service, 0); });
}

void ShowWindows::ShowOptions() const
{
    dialogs::ShowOptions(m_services, m_programPath);
}

void ShowWindows::ShowAbout() const
{
    about::ShowAbout(m_services);
}

void ShowWindows::ShowTip() const
{
    about::ShowTip(m_services);
}

void ShowWindows::ShowCategoryEditor() const
{
    dialogs::ShowCategoryEditor(m_services);
}

void ShowWindows::ShowSubCategoryEditor() const
{
    if (m_services.state.Store->Categories().Count() == 0) {
        m_services.prompt.ask(
            QStringLiteral("Cannot insert a subcategory without insert a category first!"),
            PromptButtons::Ok, PromptIcon::Information, QStringLiteral("VLM"));
        return;
    }
    dialogs::ShowSubCategoryEditor(m_services);
}

void ShowWindows::DeleteServicePrompt(const QString &service, qint32 node) const
{
    const PromptAnswer answer = m_services.prompt.ask(
        QStringLiteral("Do you want to delete Service '") + service + QStringLiteral("'?"),
        PromptButtons::YesNo, PromptIcon::None, QStringLiteral("VLM"));
    if (answer != PromptAnswer::Yes) {
        return;
    }
    m_services.state.Store->DeletePassword(service);
    if (app::MainWindowOps *window = m_services.state.CurrentMainWindow()) {
        window->UpdateView(node);
    }
}

void ShowWindows::ExecuteUrlThenTray(const QString &url) const
{
    m_transfer.ExecuteUrlThenTray(url);
}
