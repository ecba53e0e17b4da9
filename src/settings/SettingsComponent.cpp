#include "SettingsComponent.h"

#include <limits>
#include <QSettings>

QtSettingsComponent::QtSettingsComponent() = default;
QtSettingsComponent::~QtSettingsComponent() = default;

void QtSettingsComponent::SetCompany(const QString &company)
{
    m_company = company;
    m_settings.reset();
}

void QtSettingsComponent::SetAppName(const QString &appName)
{
    m_appName = appName;
    m_settings.reset();
}

void QtSettingsComponent::SetVersion(const QString &version)
{
    m_version = version;
    m_settings.reset();
}

QSettings &QtSettingsComponent::settings() const
{
    if (!m_settings) {
        m_settings = std::make_unique<QSettings>(m_company, m_appName);
        if (!m_version.isEmpty()) {
            m_settings->beginGroup(m_version);
        }
    }
    return *m_settings;
}

// The stored spelling of a value name, found ignoring case; the name itself
// when there is none yet.
QString QtSettingsComponent::storedKey(const QString &name) const
{
    QSettings &s = settings();
    if (s.contains(name)) {
        return name;
    }
    const QStringList keys = s.childKeys();
    for (const QString &key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return key;
        }
    }
    return name;
}

void QtSettingsComponent::save(const QString &name, const QVariant &value)
{
    QSettings &s = settings();
    const QString key = storedKey(name);
    if (key != name) {
        s.remove(key);
    }
    s.setValue(name, value);
}

void QtSettingsComponent::SaveString(const QString &name, const QString &value)
{
    save(name, value);
}

QString QtSettingsComponent::GetString(const QString &name, const QString &defaultValue) const
{
    return settings().value(storedKey(name), defaultValue).toString();
}

void QtSettingsComponent::SaveLong(const QString &name, qint32 value)
{
    save(name, value);
}

qint32 QtSettingsComponent::GetLong(const QString &name, qint32 defaultValue) const
{
    bool ok = false;
    const qint64 v = settings().value(storedKey(name)).toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max()) {
        return defaultValue;
    }
    return static_cast<qint32>(v);
}

void QtSettingsComponent::SaveInteger(const QString &name, qint16 value)
{
    save(name, value);
}

qint16 QtSettingsComponent::GetInteger(const QString &name, qint16 defaultValue) const
{
    bool ok = false;
    const qint64 v = settings().value(storedKey(name)).toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max()) {
        return defaultValue;
    }
    return static_cast<qint16>(v);
}

void QtSettingsComponent::SaveBoolean(const QString &name, bool value)
{
    save(name, value);
}

bool QtSettingsComponent::GetBoolean(const QString &name, bool defaultValue) const
{
    const QVariant v = settings().value(storedKey(name));
    if (!v.isValid()) {
        return defaultValue;
    }
    const QString text = v.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1") ||
        text == QLatin1String("-1")) {
        return true;
    }
    if (text == QLatin1String("false") || text == QLatin1String("0")) {
        return false;
    }
    return defaultValue;
}
