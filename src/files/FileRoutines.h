#pragma once

#include "DiskWatch.h"
#include "OpenDialog.h"
#include "Services.h"

#include <functional>
#include <optional>
#include <QString>

class PasswordStore;

namespace files {

// Asks for the password of a file about to be opened; "" when the user gave
// none or cancelled.
class FilePasswordAsker
{
public:
    virtual ~FilePasswordAsker() = default;
    virtual QString askFilePassword(const QString &path) = 0;
};

// The password for reading path: "" for a file that has none, nothing when
// the user cancelled the question.
std::optional<QString> passwordToRead(const PasswordStore &store, FilePasswordAsker &passwords,
                                      const QString &path);

// The routines behind the File menu, start-up and the hand-over from a later
// start: they choose the file, ask for its password, keep the recent list,
// show the results and refresh the main window. The store does the file work.
class FileRoutines
{
public:
    static const QString Filter;           // "Vellumor |*.VLM"
    static const QString DefaultExtension; // "VLM"

    static const QString FileTypeDescription; // "Vellumor File"

    FileRoutines(const app::Services &services, FilePasswordAsker &passwords,
                 OpenDialogHost &openDialog);

    // Runs after every successful open when the "AutoCheck" option is on.
    void setExpirationCheck(std::function<void()> check) { m_expirationCheck = std::move(check); }

    // False when the user chose Cancel, or chose to save and the file was not
    // saved (the failure was shown): the caller must then keep the changes.
    // With silent set a modified file is saved without a question.
    bool AskToSave(const QString &prompt, bool silent);
    bool OpenPasswordFile(const QString &path);
    // A failed save is shown with the store's reason; false also when no
    // name was chosen.
    bool SavePasswordFile(bool saveAs);
    void NewPasswordFile();
    // File > Open (showNew false) and the start-up wizard (showNew true).
    void OpenOrNew(bool showNew);
    // Categories and subcategories of another file into the open one.
    bool ImportPasswordFile();
    // "" when cancelled, "<New VLM File>" for a new file, else the chosen path.
    QString ShowOpenDialog(bool showNew);
    // The chosen name, or "" when the user cancelled.
    QString ShowSaveAsDialog();

    // What a main window does with the bytes of a later start: bring itself
    // forward and, for a path, ask to save and open it.
    void ReceiveHandOver(QWidget *window, const QByteArray &payload);

    // The questions before the program ends: save a modified file, then,
    // when nothing is left unsaved, whether to exit at all. False keeps the
    // program running.
    bool ConfirmExit();

    // The open file changed on disk (a sync folder, another Vellumor): with
    // no changes here it is read again in place; with changes here the other
    // version is merged three ways and the user is told what came in. Runs
    // by itself when the file's watch sees something; nothing happens while a
    // dialog is open (it runs once they are closed) or the file is locked.
    void TakeChangesOnDisk();
    // How long the watch waits for a writer to be done (tests shorten it).
    void setDiskSettleTime(int ms) { m_watch.setSettleTime(ms); }

private:
    void updateView();
    // The watch follows the store's file, whichever it is now.
    void followFile();
    // Sync tools' conflict copies beside a file just opened with password.
    void offerConflictCopies(const QString &path, const QString &password);
    void tellDiskMerge(const DiskMergeResult &merged, const QString &after);
    // After a save refused because the file's password was changed
    // elsewhere: asks for the new one and merges that version.
    bool takeChangesUnderNewPassword(DiskMergeResult &merged);

    const app::Services &m_services;
    FilePasswordAsker &m_passwords;
    OpenDialogHost &m_openDialog;
    std::function<void()> m_expirationCheck;
    DiskWatch m_watch;
};

} // namespace files
