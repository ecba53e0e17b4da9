#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageAuthenticationCode>
#include <QMimeData>
#include <QRandomGenerator>
#include <sodium.h>

namespace platform {

namespace {

constexpr int KeyBytes = 32;

QByteArray randomKey()
{
    QByteArray key(KeyBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(key.begin(), key.end());
    return key;
}

} // namespace

const char *const SystemClipboard::SecretHintFormat = "x-kde-passwordManagerHint";

SystemClipboard::SystemClipboard(ClearDelay clearDelay)
    : m_clearDelay(std::move(clearDelay)), m_key(randomKey())
{
    m_clearTimer.setSingleShot(true);
    QObject::connect(&m_clearTimer, &QTimer::timeout, &m_clearTimer, [this] { clearSecret(); });
}

SystemClipboard::~SystemClipboard()
{
    // The last chance: once the process has gone, a clipboard manager would
    // keep the secret for good.
    if (qGuiApp != nullptr) {
        clearSecret();
    }
}

void SystemClipboard::setText(const QString &text, bool secret)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    if (secret) {
        data->setData(QString::fromLatin1(SecretHintFormat), QByteArrayLiteral("secret"));
    }
    // The clipboard takes ownership of the data.
    QGuiApplication::clipboard()->setMimeData(data.release(), QClipboard::Clipboard);

    // What was copied before is gone from the clipboard already; a new
    // secret gets a delay of its own.
    m_clearTimer.stop();
    m_secretPrint.clear();
    if (!secret || text.isEmpty()) {
        return;
    }
    m_secretPrint = fingerprint(text);
    const std::chrono::milliseconds delay =
        m_clearDelay ? m_clearDelay() : std::chrono::milliseconds::zero();
    if (delay > std::chrono::milliseconds::zero()) {
        m_clearTimer.start(delay);
    }
}

void SystemClipboard::clearSecret()
{
    m_clearTimer.stop();
    if (m_secretPrint.isEmpty()) {
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    // Compared by content, not by who owns the clipboard: a clipboard manager
    // may have taken it over, serving our secret on its own.
    QString current = clipboard->text(QClipboard::Clipboard);
    const bool ours = fingerprint(current) == m_secretPrint;
    if (current.isDetached()) {
        sodium_memzero(current.data(), static_cast<std::size_t>(current.size()) * sizeof(QChar));
    }
    m_secretPrint.clear();
    if (ours) {
        // An empty text rather than no owner at all: a clipboard manager then
        // keeps the empty text, instead of bringing back its last copy.
        clipboard->setText(QString(), QClipboard::Clipboard);
    }
}

QByteArray SystemClipboard::fingerprint(const QString &text) const
{
    QMessageAuthenticationCode code(QCryptographicHash::Sha256, m_key);
    code.addData(reinterpret_cast<const char *>(text.constData()),
                 text.size() * static_cast<qsizetype>(sizeof(QChar)));
    return code.result();
}

} // namespace platform
