#pragma once

#include <memory>
#include <QString>

class QSettings;

// Named values of the program, kept for the maker, the program's short name
// and a version. Value names are case-insensitive, as on the Windows registry.
// A Get answers the default when the value does not exist.
class SettingsComponent
{
public:
    virtual ~SettingsComponent() = default;

    virtual void SetCompany(const QString &company) = 0;
    virtual void SetAppName(const QString &appName) = 0;
    virtual void SetVersion(const QString &version) = 0;

    virtual void SaveString(const QString &name, const QString &value) = 0;
    virtual QString GetString(const QString &name, const QString &defaultValue) const = 0;
    virtual void SaveLong(const QString &name, qint32 value) = 0;
    virtual qint32 GetLong(const QString &name, qint32 defaultValue) const = 0;
    virtual void SaveInteger(const QString &name, qint16 value) = 0;
    virtual qint16 GetInteger(const QString &name, qint16 defaultValue) const = 0;
    virtual void SaveBoolean(const QString &name, bool value) = 0;
    virtual bool GetBoolean(const QString &name, bool defaultValue) const = 0;
};

// QSettings under (Company, AppName), in a section named after the version:
// the registry on Windows, an INI file in the XDG config folder elsewhere.
class QtSettingsComponent final : public SettingsComponent
{
public:
    QtSettingsComponent();
    ~QtSettingsComponent() override;

    void SetCompany(const QString &company) override;
    void SetAppName(const QString &appName) override;
    void SetVersion(const QString &version) override;

    void SaveString(const QString &name, const QString &value) override;
    QString GetString(const QString &name, const QString &defaultValue) const override;
    void SaveLong(const QString &name, qint32 value) override;
    qint32 GetLong(const QString &name, qint32 defaultValue) const override;
    void SaveInteger(const QString &name, qint16 value) override;
    qint16 GetInteger(const QString &name, qint16 defaultValue) const override;
    void SaveBoolean(const QString &name, bool value) override;
    bool GetBoolean(const QString &name, bool defaultValue) const override;

private:
    QSettings &settings() const;
    QString storedKey(const QString &name) const;
    void save(const QString &name, const QVariant &value);

    QString m_company;
    QString m_appName;
    QString m_version;
    mutable std::unique_ptr<QSettings> m_settings;
};
