#include "IdleWatch.h"

#include <QCoreApplication>
#include <QEvent>

namespace platform {

IdleWatch::IdleWatch(const Clock &clock, std::function<int()> minutes, QObject *parent)
    : QObject(parent), m_minutes(std::move(minutes)),
      m_alarm(clock.makeAlarm([this] { Q_EMIT idle(); }))
{
}

IdleWatch::~IdleWatch() = default;

void IdleWatch::watchApplication()
{
    QCoreApplication::instance()->installEventFilter(this);
    restart();
}

void IdleWatch::restart()
{
    const int minutes = m_minutes();
    if (minutes <= 0) {
        m_alarm->stop();
        return;
    }
    m_alarm->start(std::chrono::minutes(minutes));
}

bool IdleWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        // Input arrives at its window first and is then passed on to widgets:
        // counted once, at the window.
        if (watched->isWindowType()) {
            restart();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
