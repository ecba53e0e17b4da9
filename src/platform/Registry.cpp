#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTextStream>

namespace platform {

const QString Registry::RunKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

namespace {

bool isRunKey(Hive hive, const QString &keyPath)
{
    return hive == Hive::CurrentUser && keyPath.compare(Registry::RunKey, Qt::CaseInsensitive) == 0;
}

// Value names become file names; anything that is not plainly safe is dropped.
QString autostartFile(const QString &valueName)
{
    QString safe;
    for (const QChar c : valueName) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')) {
            safe += c;
        }
    }
    if (safe.isEmpty()) {
        return QString();
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/autostart");
    return folder + QLatin1Char('/') + safe + QStringLiteral(".desktop");
}

// The Exec line of a desktop entry quotes its program; the stored text is the
// command as given.
QString execQuoted(const QString &command)
{
    QString escaped = command;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    escaped.replace(QLatin1Char('`'), QStringLiteral("\\`"));
    escaped.replace(QLatin1Char('$'), QStringLiteral("\\$"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString execUnquoted(const QString &exec)
{
    if (exec.size() < 2 || !exec.startsWith(QLatin1Char('"')) || !exec.endsWith(QLatin1Char('"'))) {
        return exec;
    }
    QString out;
    const QString inner = exec.mid(1, exec.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner.at(i) == QLatin1Char('\\') && i + 1 < inner.size()) {
            ++i;
        }
        out += inner.at(i);
    }
    return out;
}

bool writeAutostart(const QString &valueName, const QString &text)
{
    const QString file = autostartFile(valueName);
    if (file.isEmpty() || !QDir().mkpath(QFileInfo(file).path())) {
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    QTextStream s(&out);
    s << "[Desktop Entry]\n"
      << "Type=Application\n"
      << "Name=Vellumor\n"
      << "Comment=Password manager, started with the desktop session\n"
      << "Exec=" << execQuoted(text) << "\n"
      << "Icon=vellumor\n"
      << "Terminal=false\n"
      << "X-GNOME-Autostart-enabled=true\n";
    s.flush();
    return out.commit();
}

QString readAutostart(const QString &valueName)
{
    QFile in(autostartFile(valueName));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    QTextStream s(&in);
    while (!s.atEnd()) {
        const QString line = s.readLine();
        if (line.startsWith(QLatin1String("Exec="))) {
            return execUnquoted(line.mid(5));
        }
    }
    return QString();
}

// Every other key: one INI file of ours, grouped by hive and key path. Opened
// per call: these values are touched a few times per run.
QString valueStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvan/registry.ini");
}

QString valueKey(Hive hive, const QString &keyPath, const QString &valueName)
{
    QString path = keyPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return (hive == Hive::CurrentUser ? QStringLiteral("HKCU/") : QStringLiteral("HKLM/")) +
           path.toLower() + QLatin1Char('/') + valueName.toLower();
}

} // namespace

bool Registry::RegWriteString(Hive hive, const QString &keyPath, const QString &valueName,
                              const QString &text)
{
    const QString stored = text.isEmpty() ? QStringLiteral(" ") : text;
    if (isRunKey(hive, keyPath)) {
        return writeAutostart(valueName, stored);
    }
    QSettings settings(valueStorePath(), QSettings::IniFormat);
    settings.setValue(valueKey(hive, keyPath, valueName), stored);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString Registry::RegReadString(Hive hive, const QString &keyPath, const QString &valueName)
{
    const QString text = isRunKey(hive, keyPath) ? readAutostart(valueName)
                                                 : QSettings(valueStorePath(), QSettings::IniFormat)
                                                       .value(valueKey(hive, keyPath, valueName))
                                                       .toString();
    // The value is read into a fixed buffer: what does not fit reads as nothing,
    // and the text ends at the first zero byte.
    const QByteArray bytes = text.toLocal8Bit();
    if (bytes.size() > BufferSize) {
        return QString();
    }
    const qsizetype zero = text.indexOf(QChar(0));
    return zero < 0 ? text : text.left(zero);
}

bool Registry::RegDeleteValue(Hive hive, const QString &keyPath, const QString &valueName)
{
    if (isRunKey(hive, keyPath)) {
        const QString file = autostartFile(valueName);
        return !file.isEmpty() && QFile::exists(file) && QFile::remove(file);
    }
    QSettings settings(valueStorePath(), QSettings::IniFormat);
    const QString key = valueKey(hive, keyPath, valueName);
    if (!settings.contains(key)) {
        return false;
    }
    settings.remove(key);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace platform
