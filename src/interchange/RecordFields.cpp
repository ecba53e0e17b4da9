#include "RecordFields.h"

#include <array>
#include <limits>
#include <QTimeZone>

namespace interchange {

namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

bool parseBool(const QString &text, bool &value)
{
    const QString t = text.trimmed().toLower();
    if (t.isEmpty() || t == u"no" || t == u"false" || t == u"0") {
        value = false;
        return true;
    }
    if (t == u"yes" || t == u"true" || t == u"1") {
        value = true;
        return true;
    }
    return false;
}

bool parseDays(const QString &text, qint16 &days)
{
    if (text.trimmed().isEmpty()) {
        days = 0;
        return true;
    }
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < std::numeric_limits<qint16>::min() || n > std::numeric_limits<qint16>::max()) {
        return false;
    }
    days = static_cast<qint16>(n);
    return true;
}

QString dateText(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

bool parseDate(const QString &text, QDate &date)
{
    date = QDate::fromString(text.trimmed(), Qt::ISODate);
    return date.isValid() || text.trimmed().isEmpty();
}

// A text field: anything goes.
template <QString PasswordEntry::*member> constexpr RecordField text(const char16_t *name, bool own)
{
    return RecordField{name, [](const PasswordEntry &e) { return e.*member; },
                       [](PasswordEntry &e, const QString &t) {
                           e.*member = t;
                           return true;
                       },
                       own, u""};
}

template <bool PasswordEntry::*member>
constexpr RecordField flag(const char16_t *name, bool own = false)
{
    return RecordField{name, [](const PasswordEntry &e) { return boolText(e.*member); },
                       [](PasswordEntry &e, const QString &t) { return parseBool(t, e.*member); },
                       own, u"yes or no"};
}

template <qint16 PasswordEntry::*member> constexpr RecordField days(const char16_t *name)
{
    return RecordField{name, [](const PasswordEntry &e) { return QString::number(e.*member); },
                       [](PasswordEntry &e, const QString &t) { return parseDays(t, e.*member); },
                       false, u"a number of days"};
}

template <QDate PasswordEntry::*member> constexpr RecordField date(const char16_t *name)
{
    return RecordField{name, [](const PasswordEntry &e) { return dateText(e.*member); },
                       [](PasswordEntry &e, const QString &t) { return parseDate(t, e.*member); },
                       false, u"a date such as 2027-01-31"};
}

template <QDateTime PasswordEntry::*member> constexpr RecordField time(const char16_t *name)
{
    return RecordField{name, [](const PasswordEntry &e) { return timeText(e.*member); },
                       [](PasswordEntry &e, const QString &t) { return parseTime(t, e.*member); },
                       true, u"a time such as 2027-01-31T08:00:00Z"};
}

// The expiry date is KeePass's own only while it is switched on (Expires):
// the KeePass writer stores it as a custom key only when it is off.
const std::array Fields{
    text<&PasswordEntry::service>(u"Service", true),
    text<&PasswordEntry::UserName>(u"User name", true),
    text<&PasswordEntry::Password>(u"Password", true),
    text<&PasswordEntry::URL>(u"URL", true),
    text<&PasswordEntry::Notes>(u"Notes", true),
    text<&PasswordEntry::ChangeURL>(u"Change URL", false),
    text<&PasswordEntry::ExpURL>(u"Expiry URL", false),
    time<&PasswordEntry::Dt_Insert>(u"Created"),
    time<&PasswordEntry::Dt_Modify>(u"Modified"),
    date<&PasswordEntry::Dt_Expire>(u"Expiry date"),
    flag<&PasswordEntry::blExpire>(u"Expires", true),
    flag<&PasswordEntry::blNotExpire>(u"Expiry notice"),
    days<&PasswordEntry::ggNotExpire>(u"Expiry notice days"),
    date<&PasswordEntry::Dt_Change>(u"Change date"),
    flag<&PasswordEntry::blChange>(u"Change due"),
    flag<&PasswordEntry::blNotChange>(u"Change notice"),
    days<&PasswordEntry::ggNotChange>(u"Change notice days"),
};

} // namespace

std::span<const RecordField> recordFields()
{
    return Fields;
}

QString timeText(const QDateTime &time)
{
    if (!time.isValid()) {
        return QString();
    }
    const QDateTime utc = time.toUTC();
    return utc.toString(utc.time().msec() != 0 ? Qt::ISODateWithMs : Qt::ISODate);
}

bool parseTime(const QString &text, QDateTime &time)
{
    const QString t = text.trimmed();
    time = QDateTime();
    if (t.isEmpty()) {
        return true;
    }
    const QDateTime parsed = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!parsed.isValid()) {
        return false;
    }
    time = parsed.toUTC();
    return true;
}

} // namespace interchange
