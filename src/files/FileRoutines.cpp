#include "FileRoutines.h"

#include "HandOver.h"
#include "PasswordStore.h"
#include "SecureBytes.h"
#include "StartUp.h"

#include <QFileInfo>

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

namespace files {

const QString FileRoutines::Filter = QStringLiteral("Vellumor |*.VLM");
const QString FileRoutines::DefaultExtension = QStringLiteral("VLM");
const QString FileRoutines::FileTypeDescription = QStringLiteral("Vellumor File");

namespace {

const QString Title = QStringLiteral("VLM");
const QString SaveFailedHint =
    QStringLiteral("\n\nYour changes are still here, in memory only. Save them under another "
                   "name (File > Save As), or make room and save again.");

} // namespace

std::optional<QString> passwordToRead(const PasswordStore &store, FilePasswordAsker &passwords,
                                      const QString &path)
{
    if (store.HasNoPassword(path)) {
        return QString();
    }
    QString password = passwords.askFilePassword(path);
    if (password.isEmpty()) {
        return std::nullopt;
    }
    return password;
}

FileRoutines::FileRoutines(const app::Services &services, FilePasswordAsker &passwords,
                           OpenDialogHost &openDialog)
    : m_services(services), m_passwords(passwords), m_openDialog(openDialog)
{
    QObject::connect(&m_watch, &DiskWatch::changed, [this] { TakeChangesOnDisk(); });
}

void FileRoutines::updateView()
{
    if (app::MainWindowOps *window = m_services.state.CurrentMainWindow()) {
        window->UpdateView(0);
    }
}

bool FileRoutines::AskToSave(const QString &prompt, bool silent)
{
    PasswordStore &store = *m_services.state.Store;
    if (!store.Modified()) {
        return true;
    }
    PromptAnswer answer = PromptAnswer::Yes;
    if (!silent) {
        answer =
            m_services.prompt.ask(prompt, PromptButtons::YesNoCancel, PromptIcon::Question, Title);
    }
    if (answer == PromptAnswer::Cancel) {
        return false;
    }
    // A save that did not happen (it failed, or no name was chosen) stops
    // whatever was to follow, as a Cancel would: going on would throw the
    // changes away.
    return answer == PromptAnswer::No || SavePasswordFile(false);
}

bool FileRoutines::OpenPasswordFile(const QString &path)
{
    if (path.isEmpty()) {
        return false;
    }
    app::RunState &state = m_services.state;
    std::optional<QString> given = passwordToRead(*state.Store, m_passwords, path);
    if (!given.has_value()) {
        return false;
    }
    QString &password = *given;
    const bool opened = state.Store->OpenFile(path, password);
    if (opened) {
        // Another file in place of a locked one: that lock is over.
        state.LockedFile.clear();
        m_services.recent.noteOpened(path, m_services.options.HistorySize);
        if (m_services.options.AutoCheck && m_expirationCheck) {
            m_expirationCheck();
        }
        if (app::MainWindowOps *window = state.CurrentMainWindow()) {
            window->UpdateView(0);
            if (!state.TrayMode) {
                window->ReloadMenu();
            }
        }
        followFile();
        offerConflictCopies(path, password);
    } else {
        m_services.prompt.ask(state.Store->LastError(), PromptButtons::Ok, PromptIcon::Critical,
                              Title);
    }
    wipeText(password);
    return opened;
}

QString FileRoutines::ShowSaveAsDialog()
{
    platform::FileDialogRequest request;
    request.mode = platform::FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save Password File As....");
    request.filter = Filter;
    request.defaultSuffix = DefaultExtension;
    request.initialFolder = m_services.options.Path;
    request.overwritePrompt = true;
    request.createPrompt = true;
    app::MainWindowOps *window = m_services.state.CurrentMainWindow();
    const std::optional<QString> chosen =
        m_services.fileDialogs.choose(request, window != nullptr ? window->window() : nullptr);
    if (!chosen.has_value() || chosen->isEmpty()) {
        return QString();
    }
    QString path = *chosen;
    if (!path.endsWith(QStringLiteral(".VLM"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".VLM");
        // The dialog asked about the name as typed; the name we save under is another.
        if (QFileInfo::exists(path) &&
            m_services.prompt.ask(
                path + QStringLiteral(" already exists.\nDo you want to replace it?"),
                PromptButtons::YesNo, PromptIcon::Exclamation, Title) != PromptAnswer::Yes) {
            return QString();
        }
    }
    return path;
}

bool FileRoutines::SavePasswordFile(bool saveAs)
{
    PasswordStore &store = *m_services.state.Store;
    const ProgramOptions &options = m_services.options;
    QString target;
    if (saveAs || store.FileName() == PasswordStore::NewFileName) {
        target = ShowSaveAsDialog();
        if (target.isEmpty()) {
            updateView();
            return false;
        }
    }
    // An empty path saves under the file's own name, after merging what
    // was saved there elsewhere in the meantime.
    bool saved = store.SaveFile(target, options.BackupFile, options.BackupHistory);
    DiskMergeResult merged = store.LastDiskMerge();
    // Saved elsewhere under a new password: with it, that version is merged
    // and the save goes on.
    if (!saved && target.isEmpty() && takeChangesUnderNewPassword(merged)) {
        saved = store.SaveFile(target, options.BackupFile, options.BackupHistory);
    }
    updateView();
    followFile();
    if (!saved) {
        m_services.prompt.ask(store.LastError() + SaveFailedHint, PromptButtons::Ok,
                              PromptIcon::Critical, Title);
    } else if (merged.merged || store.LastDiskMerge().merged) {
        tellDiskMerge(merged.merged ? merged : store.LastDiskMerge(),
                      QStringLiteral("It was saved with them."));
    }
    return saved;
}

void FileRoutines::NewPasswordFile()
{
    if (!AskToSave(QStringLiteral("Do you want To Save the file?"), false)) {
        return;
    }
    m_services.state.Store = std::make_unique<PasswordStore>();
    m_services.state.Store->NewFile();
    m_services.state.LockedFile.clear();
    updateView();
    followFile();
}

void FileRoutines::OpenOrNew(bool showNew)
{
    if (!AskToSave(QStringLiteral("Do you want to Save the file?"), false)) {
        return;
    }
    app::RunState &state = m_services.state;
    state.FilePath = ShowOpenDialog(showNew);
    if (state.FilePath == PasswordStore::NewFileName) {
        // Asks again when the file is still modified (the user said No above).
        NewPasswordFile();
    } else if (!state.FilePath.isEmpty()) {
        OpenPasswordFile(state.FilePath);
    }
}

QString FileRoutines::ShowOpenDialog(bool showNew)
{
    OpenDialogRequest request;
    request.showNew = showNew;
    if (showNew) {
        request.newTypes.append({FileTypeDescription, QStringLiteral("VLM")});
    }
    for (const QString &path : m_services.recent.paths()) {
        QString folder;
        QString fileName;
        if (splitPath(path, folder, fileName)) {
            request.recent.append({fileName, folder, QDate(2000, 1, 1), QStringLiteral("VLM")});
        }
    }
    request.fileDialog.mode = platform::FileDialogRequest::Mode::Open;
    request.fileDialog.filter = Filter;
    request.fileDialog.defaultSuffix = DefaultExtension;
    request.fileDialog.initialFolder = m_services.options.Path;
    app::MainWindowOps *window = m_services.state.CurrentMainWindow();
    const OpenDialogResult result =
        m_openDialog.showOpenDialog(request, window != nullptr ? window->window() : nullptr);
    if (result.cancelled) {
        return QString();
    }
    if (result.isNew) {
        return PasswordStore::NewFileName;
    }
    return result.filename;
}

bool FileRoutines::ImportPasswordFile()
{
    PasswordStore &store = *m_services.state.Store;
    if (store.FileName().isEmpty()) {
        return false;
    }
    const QString path = ShowOpenDialog(false);
    if (path.isEmpty()) {
        return false;
    }
    std::optional<QString> given = passwordToRead(store, m_passwords, path);
    if (!given.has_value()) {
        return false;
    }
    QString &password = *given;
    const bool imported = store.ImportFile(path, password);
    wipeText(password);
    m_services.prompt.ask(imported ? QStringLiteral("Import Finished") : store.LastError(),
                          PromptButtons::Ok, PromptIcon::None, Title);
    updateView();
    return true;
}

void FileRoutines::ReceiveHandOver(QWidget *window, const QByteArray &payload)
{
    // Never silent: AutoSaveData is about leaving the program, and a file sent
    // by another start must not save the open one unasked.
    app::receiveHandOver(
        m_services.state, payload,
        {.restoreAndActivate = [window] { app::RestoreAndActivate(window); },
         .askToSave = [this](const QString &prompt) { return AskToSave(prompt, false); },
         .openFilePath =
             [this] {
                 // An opened file has been shown by the open routine.
                 return OpenPasswordFile(m_services.state.FilePath) &&
                        m_services.state.CurrentMainWindow() != nullptr;
             }});
}

bool FileRoutines::ConfirmExit()
{
    if (!AskToSave(QStringLiteral("Save Datafile before exit ?"),
                   m_services.options.AutoSaveData)) {
        return false;
    }
    // A user who declined to save has already said what to lose; no second question.
    if (m_services.state.Store->Modified()) {
        return true;
    }
    return m_services.prompt.ask(QStringLiteral("Are you sure you want to exit VLM?"),
                                 PromptButtons::YesNo, PromptIcon::Question,
                                 Title) == PromptAnswer::Yes;
}

} // namespace files
