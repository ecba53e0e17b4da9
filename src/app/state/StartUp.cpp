#include "StartUp.h"

#include <QWidget>

namespace app {

QString buildAppTitle(const QVersionNumber &version)
{
    return ProductName + QStringLiteral(" V%1.%2.%3")
                             .arg(version.majorVersion())
                             .arg(version.minorVersion())
                             .arg(version.microVersion());
}

ProgramOption programOption(const QStringList &arguments)
{
    if (arguments.size() != 1) {
        return ProgramOption::None;
    }
    const QString &word = arguments.first();
    // --help-all is in the toolkit's help text, so it is answered too.
    if (word == QLatin1String("--help") || word == QLatin1String("-h") ||
        word == QLatin1String("--help-all")) {
        return ProgramOption::Help;
    }
    if (word == QLatin1String("--version") || word == QLatin1String("-v")) {
        return ProgramOption::Version;
    }
    return ProgramOption::None;
}

QString StripQuotes(const QString &text)
{
    // Only blanks, as a shell leaves them; tabs and line ends are part of the text.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' ')) {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    QString result = text.mid(begin, end - begin);
    if (result.startsWith(QLatin1Char('"'))) {
        result.remove(0, 1);
    }
    if (result.endsWith(QLatin1Char('"'))) {
        result.chop(1);
    }
    return result;
}

QByteArray instancePayload(const QString &commandLine)
{
    if (commandLine.isEmpty()) {
        return QByteArray(1, '\0');
    }
    // The locale's encoding (UTF-8 on today's desktops) keeps every path intact.
    return commandLine.toLocal8Bit();
}

QString pathFromPayload(const QByteArray &payload)
{
    if (payload.isEmpty() || payload.at(0) == '\0') {
        return QString();
    }
    return StripQuotes(QString::fromLocal8Bit(payload));
}

void RestoreAndActivate(QWidget *window)
{
    if (window == nullptr) {
        return;
    }
    if (window->isMinimized()) {
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    }
    if (window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace app
