#pragma once

#include <functional>
#include <QDrag>
#include <QPixmap>
#include <QPoint>
#include <QPointer>

class QEvent;
class QObject;
class QWidget;

namespace controls {

// The drag states reported to a control's host.
enum DragState : int
{
    DragEnter = 0,
    DragLeave = 1,
    DragOver = 2,
};

// Drags between the controls of one window: the host starts them by hand
// (after its own mouse logic decided a drag begins) with an icon of its
// choice, and judges every step over a target through the control's signals.
class DragSupport
{
public:
    using OverHandler = std::function<void(QObject *source, QPoint position, int state)>;
    using DropHandler = std::function<void(QObject *source, QPoint position)>;

    DragSupport(QWidget *source, QWidget *target, OverHandler over, DropHandler drop);

    // The picture at the pointer. The host changes it with its verdict while
    // the drag runs, and the pointer shows the change at once.
    void setIcon(const QPixmap &icon);
    const QPixmap &icon() const { return m_icon; }
    // Runs the drag to its end; answers whether it was dropped on a target
    // that accepted it.
    bool start();
    // The verdict for the step being reported; the host sets it from its
    // drag-over handler.
    void setDropAllowed(bool allowed) { m_allowed = allowed; }
    bool dropAllowed() const { return m_allowed; }

    // For the target's event filter: handles drag events, answers whether the
    // event was one.
    bool handle(QEvent *event);

private:
    QWidget *m_source;
    QWidget *m_target;
    OverHandler m_over;
    DropHandler m_drop;
    QPixmap m_icon;
    QPointer<QDrag> m_running;
    bool m_allowed = false;
};

} // namespace controls
