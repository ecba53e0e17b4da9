#pragma once

#include <QDate>
#include <QDateTime>

namespace platform {

// The one place that reads the time: expiry and notice periods are all about
// dates, so tests set the day here.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
    QDate today() const { return now().date(); }
};

// A clock that stands still until a test moves it.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(const QDateTime &at) { m_at = at; }
    void advanceDays(int days) { m_at = m_at.addDays(days); }

private:
    QDateTime m_at;
};

} // namespace platform
