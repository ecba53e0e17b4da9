#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {

const char *const SystemClipboard::SecretHintFormat = "x-kde-passwordManagerHint";

void SystemClipboard::setText(const QString &text, bool secret)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    if (secret) {
        data->setData(QString::fromLatin1(SecretHintFormat), QByteArrayLiteral("secret"));
    }
    // The clipboard takes ownership of the data.
    QGuiApplication::clipboard()->setMimeData(data.release(), QClipboard::Clipboard);
}

} // namespace platform
