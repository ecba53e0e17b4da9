#pragma once

#include "PasswordStore.h"

#include <memory>
#include <optional>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <utility>

namespace app {

// What every main window offers to the rest of the program. Dialogs and
// routines call these on the current main window without knowing which of
// the two kinds (full window or tray) it is.
class MainWindowOps
{
public:
    virtual ~MainWindowOps() = default;
    // The load sequence, run once the window is the current main window.
    virtual void Load() {}
    // 0 rebuilds everything; a tree-node index refills only that node's view.
    virtual void UpdateView(qint32 value) = 0;
    virtual void ReloadMenu() = 0;
    virtual void ReInitMenu() = 0;
    virtual void GotoSysTray() = 0;
    // The tray window's menu; the full window ignores it.
    virtual void SetMenuEnabled(bool enabled) = 0;
    virtual QWidget *window() = 0;
    // Marked once its load has run: only a marked window takes what a later
    // start hands over.
    virtual bool IsInstanceWindow() const { return false; }
    // The bytes a later start sent (a path, or one zero byte).
    virtual void HandOver(const QByteArray & /*payload*/) {}
    // A short note where the window shows its state (status bar, tray tip).
    virtual void ShowStatusNote(const QString & /*note*/) {}
    // Where the user is (tree node key, grid row), kept over a lock.
    virtual std::pair<QString, int> ViewPosition() const { return {}; }
    virtual void RestoreViewPosition(const QString & /*nodeKey*/, int /*row*/) {}
    // UpdateView(0), then back to that position; a window may do both in one step.
    virtual void UpdateViewAt(const QString &nodeKey, int row)
    {
        UpdateView(0);
        RestoreViewPosition(nodeKey, row);
    }
};

// The process-wide run state: the one store, the current main window and the
// requests that the main loop carries out on its next pass. Every change that
// the loop must see goes through a setter here, which asks for a pass.
class RunState : public QObject
{
    Q_OBJECT

public:
    explicit RunState(QObject *parent = nullptr);
    ~RunState() override;

    std::unique_ptr<PasswordStore> Store;
    QString AppTitle;
    QString FilePath;
    bool FirstStart = true;
    bool TrayMode = false;

    // The file whose records and key a lock has dropped; "" while none is locked.
    QString LockedFile;
    // Where the view was when it locked, to go back there once unlocked.
    QString LockedNodeKey;
    int LockedRow = 0;
    bool Locked() const { return !LockedFile.isEmpty(); }

    MainWindowOps *CurrentMainWindow() const { return m_current; }
    void setCurrentMainWindow(MainWindowOps *window);

    bool ExitRequested() const { return m_exitRequested; }
    bool SwitchWindow() const { return m_switchWindow; }
    void requestExit();
    void requestSwitch();
    void clearSwitch() { m_switchWindow = false; }

    // The record that Copy and Cut keep for Paste as New. It outlives every
    // main window; its secrets are wiped when it is replaced and at exit.
    const std::optional<PasswordEntry> &ClipboardEntry() const { return m_clipboardEntry; }
    void setClipboardEntry(const PasswordEntry &entry);
    void clearClipboardEntry() { wipeClipboardEntry(); }

    bool RefreshRequested() const { return m_refreshRequested; }
    bool MenuOnlyRefresh() const { return m_menuOnlyRefresh; }
    qint32 RefreshValue() const { return m_refreshValue; }
    void requestRefresh(bool refresh, bool menuOnly, qint32 value);
    void clearRefresh();

Q_SIGNALS:
    // Something the main loop acts on has changed.
    void passRequested();

private:
    MainWindowOps *m_current = nullptr;
    bool m_exitRequested = false;
    bool m_switchWindow = false;
    bool m_refreshRequested = false;
    bool m_menuOnlyRefresh = false;
    qint32 m_refreshValue = 0;
    std::optional<PasswordEntry> m_clipboardEntry;
    void wipeClipboardEntry();
};

} // namespace app
