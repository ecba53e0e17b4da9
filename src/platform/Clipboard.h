#pragma once

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

} // namespace platform
