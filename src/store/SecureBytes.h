#pragma once

#include <cstddef>

// A buffer in locked memory that is wiped when it goes (libsodium's guarded
// allocation): for passwords and keys, never for bulk data.
class SecureBytes
{
public:
    SecureBytes() = default;
    explicit SecureBytes(std::size_t size);
    SecureBytes(const void *data, std::size_t size);
    ~SecureBytes();
    SecureBytes(const SecureBytes &other);
    SecureBytes &operator=(const SecureBytes &other);
    SecureBytes(SecureBytes &&other) noexcept;
    SecureBytes &operator=(SecureBytes &&other) noexcept;

    unsigned char *data() { return m_data; }
    const unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    void clear();

private:
    unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
};

class QByteArray;
class QString;

// A private copy of a secret text, sharing no memory with the original, so
// that it can be wiped without touching anyone else's copy.
QString privateCopy(const QString &text);
// Overwrites the characters of a text that nobody else shares, then empties
// it; a shared text is only let go (its other holders still need it).
void wipeText(QString &text);
// The same for a buffer of bytes.
void wipeBytes(QByteArray &bytes);

// Wipes a secret text or buffer when the scope ends, whichever way it is left.
template <typename Secret> class WipeOnExit
{
public:
    explicit WipeOnExit(Secret &secret) : m_secret(secret) {}
    ~WipeOnExit() { wipe(m_secret); }
    WipeOnExit(const WipeOnExit &) = delete;
    WipeOnExit &operator=(const WipeOnExit &) = delete;

private:
    static void wipe(QString &text) { wipeText(text); }
    static void wipe(QByteArray &bytes) { wipeBytes(bytes); }

    Secret &m_secret;
};
