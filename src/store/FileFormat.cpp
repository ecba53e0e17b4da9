#include "FileFormat.h"

#include <cstring>
#include <limits>
#include <QElapsedTimer>
#include <QtEndian>
#include <sodium.h>
#include <utility>

// Layout of the fixed header (all integers little-endian); docs/file-format.md
// is the maintained description.
namespace {

constexpr std::array<unsigned char, 8> Magic = {0x89, 'V', 'L', 'M', '\r', '\n', 0x1A, '\n'};
constexpr int OffVersion = 8;
constexpr int OffFlags = 10;
constexpr int OffKdf = 12;
constexpr int OffOps = 16;
constexpr int OffMem = 20;
constexpr int OffSalt = 24;
constexpr int OffNonce = 40;
constexpr int OffLength = 64;
constexpr int OffKeyCheck = 72;
constexpr int OffHeaderCheck = 104;
constexpr int KeyCheckSize = 32;
constexpr int HeaderCheckSize = 16;
constexpr int ChecksumSize = 32;
constexpr quint16 FlagProtected = 0x0001;
constexpr quint8 KdfNone = 0;
constexpr quint8 KdfArgon2id13 = 1;
constexpr char KdfContext[crypto_kdf_CONTEXTBYTES] = {'V', 'L', 'M', 'F', 'I', 'L', 'E', '1'};
constexpr quint64 SubkeyCheck = 1;
constexpr quint64 SubkeyPayload = 2;
constexpr int MasterKeySize = 32;

static_assert(OffHeaderCheck + HeaderCheckSize == vlmfile::HeaderSize);
static_assert(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES == 24);
static_assert(KdfParams::MaxOps == crypto_pwhash_OPSLIMIT_SENSITIVE);
static_assert(KdfParams::MaxMemKiB * 1024ULL == crypto_pwhash_MEMLIMIT_SENSITIVE);

const unsigned char *bytesOf(const QByteArray &a)
{
    return reinterpret_cast<const unsigned char *>(a.constData());
}

unsigned char *bytesOf(QByteArray &a)
{
    return reinterpret_cast<unsigned char *>(a.data());
}

// Wipes a buffer that held plaintext before Qt releases it.
bool deriveSubkey(const FileKey &key, quint64 id, SecureBytes &out)
{
    out = SecureBytes(crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
    return crypto_kdf_derive_from_key(out.data(), out.size(), id, KdfContext, key.master.data()) ==
           0;
}

void headerCheck(const unsigned char *header, unsigned char *out)
{
    crypto_generichash(out, HeaderCheckSize, header, OffHeaderCheck, nullptr, 0);
}

bool keyCheck(const FileKey &key, const unsigned char *header, unsigned char *out)
{
    SecureBytes checkKey;
    if (!deriveSubkey(key, SubkeyCheck, checkKey)) {
        return false;
    }
    return crypto_generichash(out, KeyCheckSize, header, OffKeyCheck, checkKey.data(),
                              checkKey.size()) == 0;
}

quint32 readU32(const unsigned char *p)
{
    return qFromLittleEndian<quint32>(p);
}

// What a checked header tells, and the key that opens the payload.
struct OpenedHeader
{
    bool isProtected = false;
    quint64 length = 0; // of the payload as stored
    FileKey key;
};

// Checks the header of a file image and, for a protected file, the password
// (or a known key, see read). Derives nothing for a file without password.
ReadStatus openHeader(const QByteArray &bytes, const QString &password, const FileKey *known,
                      OpenedHeader &header, QString &detail, qint64 *kdfNanoseconds)
{
    if (kdfNanoseconds != nullptr) {
        *kdfNanoseconds = 0;
    }
    detail.clear();
    const auto *p = bytesOf(bytes);
    const auto size = static_cast<quint64>(bytes.size());
    if (size < Magic.size() || std::memcmp(p, Magic.data(), Magic.size()) != 0) {
        return ReadStatus::NotVellumor;
    }
    if (size < OffVersion + 2) {
        detail = QStringLiteral("it is truncated");
        return ReadStatus::Damaged;
    }
    const quint16 version = qFromLittleEndian<quint16>(p + OffVersion);
    if (version > vlmfile::FormatVersion) {
        return ReadStatus::NewerVersion;
    }
    if (size < vlmfile::HeaderSize) {
        detail = QStringLiteral("it is truncated");
        return ReadStatus::Damaged;
    }
    std::array<unsigned char, HeaderCheckSize> check{};
    headerCheck(p, check.data());
    if (version == 0 || sodium_memcmp(check.data(), p + OffHeaderCheck, HeaderCheckSize) != 0) {
        detail = QStringLiteral("its header was altered");
        return ReadStatus::Damaged;
    }
    const quint16 flags = qFromLittleEndian<quint16>(p + OffFlags);
    header.isProtected = (flags & FlagProtected) != 0;
    header.length = qFromLittleEndian<quint64>(p + OffLength);
    const quint64 expected = size - vlmfile::HeaderSize - (header.isProtected ? 0 : ChecksumSize);
    if ((flags & ~FlagProtected) != 0 ||
        size < vlmfile::HeaderSize + (header.isProtected ? 0 : ChecksumSize)) {
        detail = QStringLiteral("its header is inconsistent");
        return ReadStatus::Damaged;
    }
    if (header.length != expected) {
        detail = header.length > expected ? QStringLiteral("it is truncated")
                                          : QStringLiteral("it has data after its end");
        return ReadStatus::Damaged;
    }
    if (!header.isProtected) {
        return ReadStatus::Ok;
    }
    FileKey &fileKey = header.key;
    fileKey.params = {readU32(p + OffOps), readU32(p + OffMem)};
    if (p[OffKdf] != KdfArgon2id13 || !fileKey.params.isWellFormed() ||
        header.length < crypto_aead_xchacha20poly1305_ietf_ABYTES) {
        detail = QStringLiteral("its key derivation settings are not valid");
        return ReadStatus::Damaged;
    }
    if (!fileKey.params.isAffordable()) {
        return ReadStatus::TooCostly;
    }
    std::memcpy(fileKey.salt.data(), p + OffSalt, fileKey.salt.size());
    std::array<unsigned char, KeyCheckSize> expectedCheck{};
    const auto keyFits = [&] {
        return keyCheck(fileKey, p, expectedCheck.data()) &&
               sodium_memcmp(expectedCheck.data(), p + OffKeyCheck, KeyCheckSize) == 0;
    };
    if (known != nullptr && known->isSet() && known->params == fileKey.params &&
        known->salt == fileKey.salt) {
        fileKey.master = known->master;
        if (keyFits()) {
            return ReadStatus::Ok;
        }
    }
    QByteArray utf8 = password.toUtf8();
    const WipeOnExit wipePassword{utf8};
    fileKey.master = SecureBytes(MasterKeySize);
    QElapsedTimer timer;
    timer.start();
    const int rc = crypto_pwhash(
        fileKey.master.data(), fileKey.master.size(), utf8.constData(),
        static_cast<unsigned long long>(utf8.size()), fileKey.salt.data(), fileKey.params.opsLimit,
        size_t(fileKey.params.memLimitKiB) * 1024U, crypto_pwhash_ALG_ARGON2ID13);
    if (kdfNanoseconds != nullptr) {
        *kdfNanoseconds = timer.nsecsElapsed();
    }
    if (rc != 0) {
        detail = QStringLiteral("there is not enough memory to derive its key");
        return ReadStatus::Damaged;
    }
    return keyFits() ? ReadStatus::Ok : ReadStatus::WrongPassword;
}

} // namespace

bool KdfParams::isWellFormed() const
{
    return opsLimit >= crypto_pwhash_OPSLIMIT_MIN &&
           memLimitKiB * quint64(1024) >= crypto_pwhash_MEMLIMIT_MIN;
}

namespace vlmfile {

bool deriveKey(const QString &password, const KdfParams &params, FileKey &key,
               qint64 *kdfNanoseconds)
{
    if (!params.isValid() || sodium_init() < 0) {
        return false;
    }
    FileKey fresh;
    fresh.params = params;
    randombytes_buf(fresh.salt.data(), fresh.salt.size());
    QByteArray utf8 = password.toUtf8();
    const WipeOnExit wipe{utf8};
    fresh.master = SecureBytes(MasterKeySize);
    QElapsedTimer timer;
    timer.start();
    const int rc = crypto_pwhash(fresh.master.data(), fresh.master.size(), utf8.constData(),
                                 static_cast<unsigned long long>(utf8.size()), fresh.salt.data(),
                                 params.opsLimit, size_t(params.memLimitKiB) * 1024U,
                                 crypto_pwhash_ALG_ARGON2ID13);
    if (kdfNanoseconds != nullptr) {
        *kdfNanoseconds = timer.nsecsElapsed();
    }
    if (rc != 0) {
        return false;
    }
    key = std::move(fresh);
    return true;
}

bool isProtected(const QByteArray &headerBytes)
{
    if (headerBytes.size() < OffFlags + 2 ||
        std::memcmp(headerBytes.constData(), Magic.data(), Magic.size()) != 0) {
        return false;
    }
    return (qFromLittleEndian<quint16>(bytesOf(headerBytes) + OffFlags) & FlagProtected) != 0;
}

ReadStatus read(QByteArray bytes, const QString &password, FileContent &content, FileKey &key,
                QString &detail, qint64 *kdfNanoseconds, const FileKey *known)
{
    OpenedHeader header;
    // Through a const reference: the caller may still share these bytes, and a
    // writable pointer would copy the whole file.
    const ReadStatus status =
        openHeader(std::as_const(bytes), password, known, header, detail, kdfNanoseconds);
    if (status != ReadStatus::Ok) {
        return status;
    }
    const auto *p = bytesOf(std::as_const(bytes));
    const auto *payload = p + HeaderSize;
    const quint64 length = header.length;
    QByteArray plain;
    const WipeOnExit wipe{plain};
    if (header.isProtected) {
        SecureBytes payloadKey;
        if (!deriveSubkey(header.key, SubkeyPayload, payloadKey)) {
            return ReadStatus::WrongPassword;
        }
        plain.resize(static_cast<qsizetype>(length - crypto_aead_xchacha20poly1305_ietf_ABYTES));
        unsigned long long plainLength = 0;
        if (crypto_aead_xchacha20poly1305_ietf_decrypt(bytesOf(plain), &plainLength, nullptr,
                                                       payload, length, p, HeaderSize, p + OffNonce,
                                                       payloadKey.data()) != 0) {
            detail = QStringLiteral("its content was altered");
            return ReadStatus::Damaged;
        }
        bytes = QByteArray();
    } else {
        std::array<unsigned char, ChecksumSize> sum{};
        crypto_generichash(sum.data(), sum.size(), p, HeaderSize + length, nullptr, 0);
        if (sodium_memcmp(sum.data(), payload + length, ChecksumSize) != 0) {
            detail = QStringLiteral("its content was altered");
            return ReadStatus::Damaged;
        }
        bytes.truncate(static_cast<qsizetype>(HeaderSize + length));
        bytes.remove(0, HeaderSize);
        plain = std::move(bytes);
    }
    if (!decodePayload(plain, content, detail)) {
        return ReadStatus::Damaged;
    }
    key = std::move(header.key);
    return ReadStatus::Ok;
}

ReadStatus checkPassword(const QByteArray &bytes, const QString &password, FileKey &key,
                         QString &detail, qint64 *kdfNanoseconds)
{
    OpenedHeader header;
    const ReadStatus status = openHeader(bytes, password, nullptr, header, detail, kdfNanoseconds);
    if (status == ReadStatus::Ok) {
        key = std::move(header.key);
    }
    return status;
}

QByteArray write(const FileContent &content, const FileKey &key)
{
    QByteArray plain = encodePayload(content);
    const WipeOnExit wipe{plain};
    const bool protect = key.isSet();
    const auto plainSize = static_cast<quint64>(plain.size());
    const quint64 length =
        protect ? plainSize + crypto_aead_xchacha20poly1305_ietf_ABYTES : plainSize;
    QByteArray out(static_cast<qsizetype>(HeaderSize + length + (protect ? 0 : ChecksumSize)),
                   '\0');
    auto *p = bytesOf(out);
    std::memcpy(p, Magic.data(), Magic.size());
    qToLittleEndian<quint16>(FormatVersion, p + OffVersion);
    qToLittleEndian<quint16>(protect ? FlagProtected : 0, p + OffFlags);
    qToLittleEndian<quint64>(length, p + OffLength);
    if (protect) {
        p[OffKdf] = KdfArgon2id13;
        qToLittleEndian<quint32>(key.params.opsLimit, p + OffOps);
        qToLittleEndian<quint32>(key.params.memLimitKiB, p + OffMem);
        std::memcpy(p + OffSalt, key.salt.data(), key.salt.size());
        // A fresh random nonce per save: 192 bits make a repeat negligible.
        randombytes_buf(p + OffNonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
        keyCheck(key, p, p + OffKeyCheck);
    } else {
        p[OffKdf] = KdfNone;
    }
    headerCheck(p, p + OffHeaderCheck);
    if (protect) {
        SecureBytes payloadKey;
        deriveSubkey(key, SubkeyPayload, payloadKey);
        unsigned long long written = 0;
        crypto_aead_xchacha20poly1305_ietf_encrypt(p + HeaderSize, &written, bytesOf(plain),
                                                   plainSize, p, HeaderSize, nullptr, p + OffNonce,
                                                   payloadKey.data());
    } else {
        std::memcpy(p + HeaderSize, plain.constData(), static_cast<size_t>(plain.size()));
        crypto_generichash(p + HeaderSize + length, ChecksumSize, p, HeaderSize + length, nullptr,
                           0);
    }
    return out;
}

} // namespace vlmfile
