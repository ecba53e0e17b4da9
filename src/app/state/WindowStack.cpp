#include "WindowStack.h"

#include "RunState.h"

#include <QEventLoop>

namespace app {

WindowStack::WindowStack(RunState &state, QObject *parent) : QObject(parent), m_state(state) {}

QWidget *WindowStack::owner() const
{
    if (!m_windows.isEmpty()) {
        return m_windows.constLast().data();
    }
    MainWindowOps *main = m_state.CurrentMainWindow();
    return main != nullptr ? main->window() : nullptr;
}

void WindowStack::PushWindow(QWidget *window)
{
    const bool wasEmpty = m_windows.isEmpty();
    if (QWidget *below = owner()) {
        below->setEnabled(false);
        if (m_state.TrayMode && wasEmpty) {
            m_state.CurrentMainWindow()->SetMenuEnabled(false);
        }
    }
    m_windows.append(window);
}

void WindowStack::PopWindow(bool refresh, bool menuOnly, qint32 value)
{
    if (m_windows.isEmpty()) {
        return;
    }
    m_windows.removeLast();
    if (QWidget *below = owner()) {
        below->setEnabled(true);
        if (m_state.TrayMode && m_windows.isEmpty()) {
            m_state.CurrentMainWindow()->SetMenuEnabled(true);
        }
        m_state.requestRefresh(refresh, menuOnly, value);
    }
    if (m_windows.isEmpty()) {
        Q_EMIT emptied();
    }
}

void WindowStack::RaiseAll()
{
    for (const QPointer<QWidget> &window : m_windows) {
        if (window != nullptr) {
            window->raise();
        }
    }
}

void WindowStack::waitUntilEmpty()
{
    if (m_windows.isEmpty()) {
        return;
    }
    QEventLoop loop;
    connect(this, &WindowStack::emptied, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace app
