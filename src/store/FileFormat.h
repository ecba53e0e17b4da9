#pragma once

#include "KdfParams.h"
#include "Records.h"
#include "SecureBytes.h"

#include <array>
#include <map>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Records keyed by their case-folded service name: the very map the store
// keeps, so a file's records move into the store without a copy.
using PasswordMap = std::map<QString, PasswordEntry>;

// The content of a password file, as it is written.
struct FileContent
{
    std::vector<Category> categories;
    std::vector<SubCategory> subcategories;
    PasswordMap passwords;
    QStringList expandedNodes; // texts of the expanded tree nodes
};

enum class ReadStatus
{
    Ok,
    NotVellumor,
    NewerVersion,
    WrongPassword,
    Damaged,
    TooCostly, // its key derivation asks for more than we would ever write
};

// The key of a protected file, derived once from its password and kept so
// that saving again needs no new derivation.
struct FileKey
{
    KdfParams params;
    std::array<unsigned char, 16> salt{};
    SecureBytes master; // 32 bytes from Argon2id; empty for a file without password
    bool isSet() const { return !master.isEmpty(); }
};

namespace vlmfile {

constexpr quint16 FormatVersion = 1;
constexpr int HeaderSize = 120;

// Reads a whole file image. On success fills content and, for a protected
// file, key. detail receives a short explanation for Damaged.
// The bytes are taken over and released as soon as they are decrypted.
// A known key whose salt and cost match the file's header is tried before the
// password, so a file read again after a save elsewhere costs no derivation.
ReadStatus read(QByteArray bytes, const QString &password, FileContent &content, FileKey &key,
                QString &detail, qint64 *kdfNanoseconds = nullptr, const FileKey *known = nullptr);

// Checks a file image's header and the password that opens it, without
// reading the content: Ok, WrongPassword, or what read would say of the header.
ReadStatus checkPassword(const QByteArray &bytes, const QString &password, FileKey &key,
                         QString &detail, qint64 *kdfNanoseconds = nullptr);

// True when bytes start with a header of ours announcing a password.
bool isProtected(const QByteArray &headerBytes);

// The CBOR payload alone, checked for consistency (codes, names, references).
bool decodePayload(const QByteArray &cbor, FileContent &content, QString &detail);
QByteArray encodePayload(const FileContent &content);

// The two readers behind decodePayload, without its consistency checks; open
// for tests. The quick one takes only the form encodePayload writes and says
// false to anything else; the full one reads every form and says what is wrong.
// recordsPlaced tells whether each record was seen to point at a category and
// subcategory that exist and belong together (see Placement in PayloadRules.h).
namespace detail {
bool readPayloadQuickly(const QByteArray &cbor, FileContent &content, bool &recordsPlaced);
bool readPayloadFully(const QByteArray &cbor, FileContent &content, QString &detail);
} // namespace detail

// A whole file image; with a set key the payload is encrypted.
QByteArray write(const FileContent &content, const FileKey &key);

// Derives a key for password with fresh salt (params as given).
bool deriveKey(const QString &password, const KdfParams &params, FileKey &key,
               qint64 *kdfNanoseconds = nullptr);

} // namespace vlmfile
