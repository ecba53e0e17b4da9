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

// The Exec value of a desktop entry, built in three layers: the program as
// one quoted argument (\ " ` $ escaped inside the quotes), every % doubled
// (a single one starts a field code such as %f), and the escapes of any
// string value, which double each backslash once more.
QString execQuoted(const QString &command)
{
    QString argument = QStringLiteral("\"");
    for (const QChar c : command) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('`') ||
            c == QLatin1Char('$')) {
            argument += QLatin1Char('\\');
        }
        argument += c;
    }
    argument += QLatin1Char('"');
    QString value;
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '%':
            value += QStringLiteral("%%");
            break;
        case '\\':
            value += QStringLiteral("\\\\");
            break;
        case '\n':
            value += QStringLiteral("\\n");
            break;
        case '\t':
            value += QStringLiteral("\\t");
            break;
        case '\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}

// The character a string escape (backslash and c) of a desktop entry stands for.
QChar unescaped(QChar c)
{
    switch (c.unicode()) {
    case 'n':
        return QLatin1Char('\n');
    case 't':
        return QLatin1Char('\t');
    case 'r':
        return QLatin1Char('\r');
    case 's':
        return QLatin1Char(' ');
    default:
        return c;
    }
}

// The stored text back from an Exec value written by execQuoted.
QString execUnquoted(const QString &exec)
{
    QString argument;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        QChar c = exec.at(i);
        if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
            c = unescaped(exec.at(++i));
        } else if (c == QLatin1Char('%') && i + 1 < exec.size() &&
                   exec.at(i + 1) == QLatin1Char('%')) {
            ++i;
        }
        argument += c;
    }
    if (argument.size() < 2 || !argument.startsWith(QLatin1Char('"')) ||
        !argument.endsWith(QLatin1Char('"'))) {
        return argument;
    }
    QString out;
    const QString inner = argument.mid(1, argument.size() - 2);
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
