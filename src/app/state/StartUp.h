#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVersionNumber>

class QWidget;

namespace app {

// The product name shown in captions and the about box.
inline const QString ProductName = QStringLiteral("Vellumor");
// The maker's home page and mail address, for Help, the about box and the tray.
inline const QString HomePage = QStringLiteral("https://vellumor.quorvan.example/");
inline const QString MailAddress = QStringLiteral("mailto:vellumor@quorvan.example");

// "Vellumor V1.2.3": product name, " V" and major.minor.revision.
QString buildAppTitle(const QVersionNumber &version);

// The program's own options (--help, -h, --help-all, --version, -v). Only
// one of them alone is an option: anything else, "--foo" or "--help x"
// included, is the path of a file to open, as it always was (a file named
// "--help" is reached as "./--help").
enum class ProgramOption
{
    None,
    Help,
    Version
};
ProgramOption programOption(const QStringList &arguments);

// For every path from a command line: blanks trimmed at both ends, then one
// leading and one trailing double quote removed.
QString StripQuotes(const QString &text);

// What a second start hands to the running instance: its command line in the
// local 8-bit encoding, or one zero byte when it has none.
QByteArray instancePayload(const QString &commandLine);

// The receiving side: empty when the payload carries no text (nothing, or a
// first byte of zero); otherwise the path, quotes stripped.
QString pathFromPayload(const QByteArray &payload);

// Brings a window back from the taskbar and to the front.
void RestoreAndActivate(QWidget *window);

} // namespace app
