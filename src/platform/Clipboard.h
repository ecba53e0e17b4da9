#pragma once

#include <QList>
#include <QString>

namespace platform {

// Puts text on the system clipboard. Secret text carries the password-manager
// hint, so clipboard histories (Klipper and others) do not keep it.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &text, bool secret) = 0;
};

class SystemClipboard final : public Clipboard
{
public:
    void setText(const QString &text, bool secret) override;
    static const char *const SecretHintFormat; // "x-kde-passwordManagerHint"
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
