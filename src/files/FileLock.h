#pragma once

#include "FileRoutines.h"
#include "IdleWatch.h"
#include "Services.h"

#include <QObject>
#include <QString>

namespace platform {
class SessionLockSource;
}

namespace files {

// Locks the open file when the program has not been used for a while or the
// desktop session locks: every record, the key and the file password leave
// memory, and the windows show the file's name, "(locked)" and nothing else.
// The next use asks for the file password and reads the file again.
class FileLock : public QObject
{
    Q_OBJECT

public:
    // session may be null (no desktop signals, as in most tests).
    FileLock(const app::Services &services, FilePasswordAsker &passwords,
             platform::SessionLockSource *session, QObject *parent = nullptr);
    ~FileLock() override;

    // Counts every key and mouse input of the application as use from now on.
    void watchInput();

    // Locks now. False when nothing is open, when unsaved changes cannot be
    // saved first, or while a dialog is open (then it locks once the last
    // dialog has closed); the window says why.
    bool Lock();
    // Asks for the file password and reads the file again, back where the
    // view was. False while it stays locked (cancelled, or the file could
    // not be read).
    bool Unlock();

    static const QString LockedSuffix; // " (locked)"

private:
    bool refuse(const QString &note);
    void lockWhenDialogsClose();
    void dropCopiedSecret();

    const app::Services &m_services;
    FilePasswordAsker &m_passwords;
    platform::IdleWatch m_idle;
    bool m_pending = false;   // asked for while a dialog was open
    bool m_unlocking = false; // the password question is up
};

} // namespace files
