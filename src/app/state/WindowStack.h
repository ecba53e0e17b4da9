#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace app {

class RunState;

// Makes modeless dialogs behave as modal ones: the window below the top one
// is disabled while it is open, and closing a dialog leaves the refresh
// request that the main loop carries out once the dialog has gone.
class WindowStack : public QObject
{
    Q_OBJECT

public:
    explicit WindowStack(RunState &state, QObject *parent = nullptr);

    // From a dialog's load handler.
    void PushWindow(QWidget *window);
    // From a dialog's unload handler; the caller is the top window.
    void PopWindow(bool refresh, bool menuOnly, qint32 value);

    bool isEmpty() const { return m_windows.isEmpty(); }
    qsizetype count() const { return m_windows.size(); }
    QWidget *top() const { return m_windows.isEmpty() ? nullptr : m_windows.constLast().data(); }

    // When the program becomes active again: every open dialog to the top, in
    // the order they were opened, so they stay above the main window.
    void RaiseAll();

    // Runs events until no dialog is open; returns at once when none is.
    void waitUntilEmpty();

Q_SIGNALS:
    void emptied();

private:
    QWidget *owner() const;

    RunState &m_state;
    QList<QPointer<QWidget>> m_windows;
};

} // namespace app
