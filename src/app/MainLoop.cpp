#include "MainLoop.h"

#include <QEventLoop>
#include <QScopedValueRollback>
#include <QTimer>

namespace app {

MainLoop::MainLoop(RunState &state, WindowFactory factory, QObject *parent)
    : QObject(parent), m_state(state), m_factory(std::move(factory))
{
    connect(&m_state, &RunState::passRequested, this, &MainLoop::schedulePass);
}

MainLoop::~MainLoop()
{
    m_state.setCurrentMainWindow(nullptr);
}

void MainLoop::run()
{
    QEventLoop loop;
    m_quit = [&loop] { loop.quit(); };
    m_running = true;
    schedulePass();
    loop.exec();
    m_running = false;
    m_quit = nullptr;
}

void MainLoop::schedulePass()
{
    // Many requests before the next turn of the event loop make one pass,
    // and it always runs after the handler that asked has returned.
    if (m_passPending || !m_running) {
        return;
    }
    m_passPending = true;
    QTimer::singleShot(0, this, &MainLoop::pass);
}

void MainLoop::pass()
{
    m_passPending = false;
    // A window's load or refresh may let events run; a pass asked for meanwhile
    // waits until this one is done, so a window is never released while its
    // own code is still running.
    if (m_inPass) {
        m_passAgain = true;
        return;
    }
    const QScopedValueRollback inPass(m_inPass, true);
    passSteps();
    if (m_passAgain) {
        m_passAgain = false;
        schedulePass();
    }
}

void MainLoop::passSteps()
{
    if (m_state.ExitRequested() && m_window == nullptr) {
        m_quit();
        return;
    }
    if (m_window == nullptr) {
        m_state.clearSwitch();
        m_window = m_factory(m_state.TrayMode);
        m_state.setCurrentMainWindow(m_window.get());
        m_window->Load();
        m_state.clearRefresh();
    } else if (m_state.RefreshRequested()) {
        if (!m_state.MenuOnlyRefresh() || m_state.TrayMode) {
            m_window->UpdateView(m_state.RefreshValue());
        } else {
            m_window->ReInitMenu();
        }
        m_state.clearRefresh();
    }
    if (m_state.ExitRequested() || m_state.SwitchWindow()) {
        m_state.setCurrentMainWindow(nullptr);
        m_window.reset();
        // The next pass creates the other kind of window, or ends the loop.
        schedulePass();
    }
}

} // namespace app
