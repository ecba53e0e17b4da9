#pragma once

#include <chrono>
#include <functional>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTimer>

namespace platform {

// Puts text on the system clipboard. Secret text carries the password-manager
// hint, so clipboard histories (Klipper and others) do not keep it.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text, bool secret) = 0;
};

// The desktop's clipboard. A secret is taken off it again after a delay, and
// when this object goes (at exit, while the application still exists), but
// only while the clipboard still holds that secret: whatever the user copied
// since is theirs. Text that is no secret is left for good.
class SystemClipboard final : public Clipboard
{
public:
    // Asked at each copy of a secret how long it may stay; zero keeps it
    // until this object goes.
    using ClearDelay = std::function<std::chrono::milliseconds()>;

    explicit SystemClipboard(ClearDelay clearDelay = {});
    ~SystemClipboard() override;
    SystemClipboard(const SystemClipboard &) = delete;
    SystemClipboard &operator=(const SystemClipboard &) = delete;

    void setText(const QString &text, bool secret) override;
    // Empties the clipboard now if it still holds the last secret copied.
    void clearSecret();

    static const char *const SecretHintFormat; // "x-kde-passwordManagerHint"

private:
    QByteArray fingerprint(const QString &text) const;

    ClearDelay m_clearDelay;
    QTimer m_clearTimer;
    // A keyed hash of the secret on the clipboard, empty when there is none:
    // enough to recognise it, without a copy of it kept here.
    QByteArray m_key;
    QByteArray m_secretPrint;
};

// Remembers what was put on the clipboard: the test back end.
class RecordingClipboard final : public Clipboard
{
public:
    struct Entry
    {
        QString text;
        bool secret = false;
        friend bool operator==(const Entry &, const Entry &) = default;
    };
    void setText(const QString &text, bool secret) override { entries.append({text, secret}); }
    QList<Entry> entries;
};

} // namespace platform
