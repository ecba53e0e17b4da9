#include "DragSupport.h"

#include <QCursor>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QWidget>

namespace controls {

namespace {

// Only our own drags are taken: files or text from other programs are not
// records and folders.
QString mimeType()
{
    return QStringLiteral("application/x-vellumor-control-drag");
}

} // namespace

DragSupport::DragSupport(QWidget *source, QWidget *target, OverHandler over, DropHandler drop)
    : m_source(source), m_target(target), m_over(std::move(over)), m_drop(std::move(drop))
{
    m_target->setAcceptDrops(true);
}

void DragSupport::setIcon(const QPixmap &icon)
{
    m_icon = icon;
    if (m_running == nullptr)
        return;
    // A drag's own pixmap is fixed once it runs, but its cursors are read on
    // every step: the icon goes there, for the accepted and the refused step
    // alike, since the host's icon already tells which one it is.
    for (const Qt::DropAction action : {Qt::MoveAction, Qt::IgnoreAction})
        m_running->setDragCursor(icon, action);
}

bool DragSupport::start()
{
    auto *drag = new QDrag(m_source);
    auto *mime = new QMimeData;
    mime->setData(mimeType(), m_source->objectName().toUtf8());
    drag->setMimeData(mime);
    m_running = drag;
    setIcon(m_icon);
    const bool moved = drag->exec(Qt::MoveAction, Qt::MoveAction) == Qt::MoveAction;
    m_running = nullptr;
    return moved;
}

bool DragSupport::handle(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto *e = static_cast<QDragEnterEvent *>(event);
        if (!e->mimeData()->hasFormat(mimeType()))
            return false;
        // Entering is always welcome, or no move steps would follow.
        m_allowed = true;
        m_over(e->source(), e->position().toPoint(), DragEnter);
        e->setDropAction(Qt::MoveAction);
        e->accept();
        return true;
    }
    case QEvent::DragMove: {
        auto *e = static_cast<QDragMoveEvent *>(event);
        if (!e->mimeData()->hasFormat(mimeType()))
            return false;
        m_allowed = false;
        m_over(e->source(), e->position().toPoint(), DragOver);
        if (m_allowed) {
            e->setDropAction(Qt::MoveAction);
            e->accept();
        } else {
            e->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        m_allowed = false;
        m_over(nullptr, m_target->mapFromGlobal(QCursor::pos()), DragLeave);
        return true;
    case QEvent::Drop: {
        auto *e = static_cast<QDropEvent *>(event);
        if (!e->mimeData()->hasFormat(mimeType()))
            return false;
        m_drop(e->source(), e->position().toPoint());
        e->setDropAction(Qt::MoveAction);
        e->accept();
        return true;
    }
    default:
        return false;
    }
}

} // namespace controls
