#pragma once

#include "Services.h"

#include <QString>

struct PasswordEntry;

namespace files {
class FileLock;
class FileRoutines;
} // namespace files
namespace transfer {
class TransferRoutines;
}

// The dialog openers and the commands that the main window's menus, its grid
// and the tray menu share. Each dialog makes itself modal through the window
// stack and asks for its refresh when it closes.
class ShowWindows
{
public:
    ShowWindows(const app::Services &services, const transfer::TransferRoutines &transfer,
                QString programPath);

    void ShowAddPassword(qint16 codcat, qint16 CodSCat, qint32 selectedNode) const;
    void ShowEditPassword(const QString &service, qint32 selectedNode) const;
    void ShowPastePassword(const PasswordEntry &entry, qint32 selectedNode) const;
    void ShowCheckExpire() const;
    void ShowOptions() const;
    void ShowCategoryEditor() const;
    void ShowAbout() const;
    // The tip window; nothing when tips are switched off.
    void ShowTip() const;
    // Refused, with a message, while the file has no category.
    void ShowSubCategoryEditor() const;
    // Adds, changes or removes the open file's password; saved with the file.
    void ChangeFilePassword() const;
    void DeleteServicePrompt(const QString &service, qint32 node) const;
    void ExecuteUrlThenTray(const QString &url) const;

private:
    const app::Services &m_services;
    const transfer::TransferRoutines &m_transfer;
    QString m_programPath;
};

// The routines a main window runs its commands with, handed in when it is made.
struct WindowRoutines
{
    files::FileRoutines &files;
    const transfer::TransferRoutines &transfer;
    const ShowWindows &windows;
    // Absent where nothing locks (tests of other things).
    files::FileLock *lock = nullptr;
};
