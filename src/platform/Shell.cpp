#include "Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace platform {

DesktopShell::Kind DesktopShell::classify(const QString &target)
{
    const QString text = target.trimmed();
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QFileInfo file(text);
    if (!file.isAbsolute() && scheme.match(text).hasMatch()) {
        return Kind::Url;
    }
    if (file.isFile() && file.isExecutable()) {
        return Kind::Program;
    }
    if (file.exists()) {
        return Kind::Document;
    }
    return Kind::Url;
}

bool DesktopShell::open(const QString &target)
{
    const QString text = target.trimmed();
    switch (classify(text)) {
    case Kind::Program:
        return QProcess::startDetached(text, {});
    case Kind::Document:
        return QDesktopServices::openUrl(QUrl::fromLocalFile(text));
    case Kind::Url:
        break;
    }
    // "www.example.com" has no scheme: QUrl::fromUserInput adds http.
    return QDesktopServices::openUrl(QUrl::fromUserInput(text));
}

} // namespace platform
