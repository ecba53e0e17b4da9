#include "Clock.h"

#include <algorithm>
#include <QTimer>

namespace platform {

namespace {

class TimerAlarm final : public Alarm
{
public:
    explicit TimerAlarm(std::function<void()> onTimeout)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTimeout));
    }
    void start(std::chrono::milliseconds delay) override { m_timer.start(delay); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<Alarm> Clock::makeAlarm(std::function<void()> onTimeout) const
{
    return std::make_unique<TimerAlarm>(std::move(onTimeout));
}

class FixedClock::ManualAlarm final : public Alarm
{
public:
    ManualAlarm(const FixedClock &clock, std::function<void()> onTimeout)
        : m_clock(&clock), m_onTimeout(std::move(onTimeout))
    {
        m_clock->m_alarms.push_back(this);
    }
    ~ManualAlarm() override
    {
        if (m_clock != nullptr) {
            std::erase(m_clock->m_alarms, this);
        }
    }
    ManualAlarm(const ManualAlarm &) = delete;
    ManualAlarm &operator=(const ManualAlarm &) = delete;

    void start(std::chrono::milliseconds delay) override
    {
        m_due = m_clock != nullptr ? m_clock->now().addMSecs(delay.count()) : QDateTime();
    }
    void stop() override { m_due = QDateTime(); }
    bool isActive() const override { return m_due.isValid(); }

    // Goes off once when the clock has reached its time.
    void check(const QDateTime &now)
    {
        if (m_due.isValid() && m_due <= now) {
            m_due = QDateTime();
            m_onTimeout();
        }
    }
    void forgetClock() { m_clock = nullptr; }

private:
    const FixedClock *m_clock;
    std::function<void()> m_onTimeout;
    QDateTime m_due;
};

FixedClock::~FixedClock()
{
    for (ManualAlarm *alarm : m_alarms) {
        alarm->forgetClock();
    }
}

void FixedClock::advance(std::chrono::milliseconds by)
{
    m_at = m_at.addMSecs(by.count());
    // An alarm's handler may start, stop or delete alarms: check a copy.
    const std::vector<ManualAlarm *> alarms = m_alarms;
    for (ManualAlarm *alarm : alarms) {
        if (std::find(m_alarms.begin(), m_alarms.end(), alarm) != m_alarms.end()) {
            alarm->check(m_at);
        }
    }
}

std::unique_ptr<Alarm> FixedClock::makeAlarm(std::function<void()> onTimeout) const
{
    return std::make_unique<ManualAlarm>(*this, std::move(onTimeout));
}

} // namespace platform
