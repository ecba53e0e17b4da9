#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <QDate>
#include <QDateTime>
#include <vector>

namespace platform {

// A one-shot alarm on a clock's time: goes off once, `delay` after the last
// start, unless stopped or started again before.
class Alarm
{
public:
    virtual ~Alarm() = default;
    virtual void start(std::chrono::milliseconds delay) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// The one place that reads the time: expiry and notice periods are all about
// dates, so tests set the day here; waits such as the idle lock go through
// its alarms, so tests move time on instead of waiting.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
    QDate today() const { return now().date(); }
    // The real clock's alarm is a timer of the event loop.
    virtual std::unique_ptr<Alarm> makeAlarm(std::function<void()> onTimeout) const;
};

// A clock that stands still until a test moves it; its alarms go off only
// when advance() passes their time.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    ~FixedClock() override;
    QDateTime now() const override { return m_at; }
    void set(const QDateTime &at) { m_at = at; }
    void advanceDays(int days) { m_at = m_at.addDays(days); }
    // Moves the time on and sets off every alarm whose time has come.
    void advance(std::chrono::milliseconds by);
    std::unique_ptr<Alarm> makeAlarm(std::function<void()> onTimeout) const override;

private:
    class ManualAlarm;
    QDateTime m_at;
    // The clock hands alarms out from const methods, as the real one does.
    mutable std::vector<ManualAlarm *> m_alarms;
};

} // namespace platform
