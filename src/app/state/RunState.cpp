#include "RunState.h"

namespace app {

RunState::RunState(QObject *parent) : QObject(parent) {}

RunState::~RunState() = default;

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
