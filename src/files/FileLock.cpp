#include "FileLock.h"

#include "Clipboard.h"
#include "PasswordStore.h"
#include "SecureBytes.h"
#include "SessionLock.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>

using platform::PromptButtons;
using platform::PromptIcon;

namespace files {

const QString FileLock::LockedSuffix = QStringLiteral(" (locked)");

FileLock::FileLock(const app::Services &services, FilePasswordAsker &passwords,
                   platform::SessionLockSource *session, QObject *parent)
    : QObject(parent), m_services(services), m_passwords(passwords),
      m_idle(services.clock, [&options = services.options] { return options.LockAfterMinutes; })
{
    connect(&m_idle, &platform::IdleWatch::idle, this, &FileLock::Lock);
    if (session != nullptr) {
        connect(session, &platform::SessionLockSource::sessionLocked, this, [this] {
            if (m_services.options.LockOnSessionLock) {
                Lock();
            }
        });
    }
    connect(&m_services.windows, &app::WindowStack::emptied, this, &FileLock::lockWhenDialogsClose);
    // Message boxes and menus are not on the window stack: their closing
    // moves the focus to another window.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &FileLock::lockWhenDialogsClose);
}

FileLock::~FileLock() = default;

void FileLock::watchInput()
{
    m_idle.watchApplication();
}

bool FileLock::refuse(const QString &note)
{
    if (app::MainWindowOps *window = m_services.state.CurrentMainWindow()) {
        window->ShowStatusNote(note);
    }
    return false;
}

void FileLock::lockWhenDialogsClose()
{
    if (!m_pending) {
        return;
    }
    // The dialog that closed is still finishing its own work: lock after it.
    QTimer::singleShot(0, this, [this] {
        if (m_pending) {
            Lock();
        }
    });
}

// A password this program copied is still its to serve to other programs
// (and it sits in the toolkit's clipboard data): it goes with the file.
void FileLock::dropCopiedSecret()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard->mimeData(QClipboard::Clipboard);
    if (clipboard->ownsClipboard() && data != nullptr &&
        data->hasFormat(QString::fromLatin1(platform::SystemClipboard::SecretHintFormat))) {
        clipboard->clear(QClipboard::Clipboard);
    }
}

bool FileLock::Lock()
{
    app::RunState &state = m_services.state;
    if (state.Locked()) {
        return true;
    }
    PasswordStore &store = *state.Store;
    const QString name = store.FileName();
    if (name.isEmpty()) {
        return false;
    }
    // A dialog may hold a record, and the code that opened it the store: the
    // store is not swapped under their feet.
    if (!m_services.windows.isEmpty() || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr) {
        m_pending = true;
        return refuse(
            QStringLiteral("Not locked yet: the file locks when the open dialog closes."));
    }
    m_pending = false;
    if (store.Modified()) {
        const ProgramOptions &options = m_services.options;
        if (name == PasswordStore::NewFileName) {
            return refuse(QStringLiteral("Not locked: the new file has never been saved."));
        }
        if (!options.AutoSaveData) {
            return refuse(QStringLiteral("Not locked: the file has unsaved changes."));
        }
        if (!store.SaveFile(QString(), options.BackupFile, options.BackupHistory)) {
            return refuse(QStringLiteral("Not locked: the changes could not be saved. %1")
                              .arg(store.LastError()));
        }
    }

    app::MainWindowOps *window = state.CurrentMainWindow();
    const auto [nodeKey, row] =
        window != nullptr ? window->ViewPosition() : std::pair<QString, int>();
    state.LockedFile = name;
    state.LockedNodeKey = nodeKey;
    state.LockedRow = row;
    state.clearClipboardEntry();
    dropCopiedSecret();
    // The views let go of their copies first, so that the store's own texts
    // are no longer shared and can be wiped as it goes.
    if (window != nullptr) {
        window->UpdateView(0);
    }
    state.Store = std::make_unique<PasswordStore>();
    return true;
}

bool FileLock::Unlock()
{
    app::RunState &state = m_services.state;
    if (!state.Locked()) {
        return true;
    }
    if (m_unlocking || !m_services.windows.isEmpty()) {
        return false;
    }
    const QScopedValueRollback asking(m_unlocking, true);
    const QString path = state.LockedFile;
    std::optional<QString> given = passwordToRead(*state.Store, m_passwords, path);
    if (!given.has_value()) {
        return false;
    }
    QString &password = *given;
    const bool opened = state.Store->OpenFile(path, password);
    wipeText(password);
    if (!opened) {
        m_services.prompt.ask(state.Store->LastError(), PromptButtons::Ok, PromptIcon::Critical,
                              QStringLiteral("VLM"));
        return false;
    }
    state.LockedFile.clear();
    if (app::MainWindowOps *window = state.CurrentMainWindow()) {
        window->UpdateViewAt(state.LockedNodeKey, state.LockedRow);
    }
    state.LockedNodeKey.clear();
    state.LockedRow = 0;
    m_idle.restart();
    return true;
}

} // namespace files
