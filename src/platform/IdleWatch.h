#pragma once

#include "Clock.h"

#include <functional>
#include <memory>
#include <QObject>

namespace platform {

// Notices when nobody has used the program for a while: every key or mouse
// input to one of its windows starts the wait again. Event-driven: one alarm
// that restarts on input, nothing that wakes up to look.
class IdleWatch : public QObject
{
    Q_OBJECT

public:
    // minutes is asked at each restart (an option the user may change);
    // 0 or less means never.
    IdleWatch(const Clock &clock, std::function<int()> minutes, QObject *parent = nullptr);
    ~IdleWatch() override;

    // Watches the input of the whole application from now on.
    void watchApplication();
    // Starts the wait again, as input does.
    void restart();

Q_SIGNALS:
    void idle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<int()> m_minutes;
    std::unique_ptr<Alarm> m_alarm;
};

} // namespace platform
