#include "RunState.h"

#include "SecureBytes.h"

namespace app {

RunState::RunState(QObject *parent) : QObject(parent) {}

RunState::~RunState()
{
    wipeClipboardEntry();
}

void RunState::setClipboardEntry(const PasswordEntry &entry)
{
    wipeClipboardEntry();
    m_clipboardEntry = entry;
    // Its own copy of the secrets, so wiping it later leaves the store's alone.
    m_clipboardEntry->UserName = privateCopy(entry.UserName);
    m_clipboardEntry->Password = privateCopy(entry.Password);
}

void RunState::wipeClipboardEntry()
{
    if (m_clipboardEntry.has_value()) {
        wipeText(m_clipboardEntry->UserName);
        wipeText(m_clipboardEntry->Password);
        m_clipboardEntry.reset();
    }
}

void RunState::setCurrentMainWindow(MainWindowOps *window)
{
    m_current = window;
}

void RunState::requestExit()
{
    m_exitRequested = true;
    Q_EMIT passRequested();
}

void RunState::requestSwitch()
{
    m_switchWindow = true;
    Q_EMIT passRequested();
}

void RunState::requestRefresh(bool refresh, bool menuOnly, qint32 value)
{
    m_refreshValue = value;
    m_refreshRequested = refresh;
    m_menuOnlyRefresh = menuOnly;
    if (refresh) {
        Q_EMIT passRequested();
    }
}

void RunState::clearRefresh()
{
    m_refreshRequested = false;
    m_menuOnlyRefresh = false;
}

} // namespace app
