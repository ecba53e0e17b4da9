#pragma once

#include "RunState.h"

#include <functional>
#include <memory>
#include <QObject>

namespace app {

// Keeps exactly one main window alive and carries out the requests of the
// run state. Event-driven: a pass runs only when the run state asks for one,
// so an idle program does no work at all.
class MainLoop : public QObject
{
    Q_OBJECT

public:
    // Creates a main window, the tray window when tray is true; the loop makes
    // it the current one and then loads it.
    using WindowFactory = std::function<std::unique_ptr<MainWindowOps>(bool tray)>;

    MainLoop(RunState &state, WindowFactory factory, QObject *parent = nullptr);
    ~MainLoop() override;

    // Runs until ExitRequested; the main window is gone when it returns.
    void run();

private:
    void schedulePass();
    void pass();
    void passSteps();

    RunState &m_state;
    WindowFactory m_factory;
    std::unique_ptr<MainWindowOps> m_window;
    bool m_passPending = false;
    bool m_inPass = false;    // a pass is running (a window's load may run events)
    bool m_passAgain = false; // asked for while a pass was running
    bool m_running = false;
    std::function<void()> m_quit;
};

} // namespace app
