#include "SecureBytes.h"

#include <cstring>
#include <new>
#include <QByteArray>
#include <QString>
#include <sodium.h>
#include <utility>

SecureBytes::SecureBytes(std::size_t size)
{
    if (size == 0) {
        return;
    }
    m_data = static_cast<unsigned char *>(sodium_malloc(size));
    if (m_data == nullptr) {
        throw std::bad_alloc();
    }
    m_size = size;
    sodium_memzero(m_data, size);
}

SecureBytes::SecureBytes(const void *data, std::size_t size) : SecureBytes(size)
{
    if (size != 0) {
        std::memcpy(m_data, data, size);
    }
}

SecureBytes::~SecureBytes()
{
    clear();
}

SecureBytes::SecureBytes(const SecureBytes &other) : SecureBytes(other.m_data, other.m_size) {}

SecureBytes &SecureBytes::operator=(const SecureBytes &other)
{
    if (this != &other) {
        SecureBytes copy(other);
        *this = std::move(copy);
    }
    return *this;
}

SecureBytes::SecureBytes(SecureBytes &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

SecureBytes &SecureBytes::operator=(SecureBytes &&other) noexcept
{
    if (this != &other) {
        clear();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void SecureBytes::clear()
{
    // sodium_free wipes the memory before releasing it.
    sodium_free(m_data);
    m_data = nullptr;
    m_size = 0;
}

QString privateCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}

void wipeText(QString &text)
{
    if (text.isDetached() && !text.isEmpty()) {
        sodium_memzero(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    }
    text.clear();
}

void wipeBytes(QByteArray &bytes)
{
    if (bytes.isDetached() && !bytes.isEmpty()) {
        sodium_memzero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    }
    bytes.clear();
}
