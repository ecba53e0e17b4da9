// Feeds arbitrary bytes to the file reader and to the payload decoder alone:
// the checksum and the authentication stop almost every mutation of a whole
// file, so the decoder gets the bytes directly as well. Whatever decodes must
// survive encoding and decoding again unchanged, or saving would alter data.

#include "FileFormat.h"
#include "FuzzPassword.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sodium.h>

namespace {

bool sameCategories(const FileContent &a, const FileContent &b)
{
    return std::equal(a.categories.begin(), a.categories.end(), b.categories.begin(),
                      b.categories.end(), [](const Category &x, const Category &y) {
                          return x.codcat == y.codcat && x.DescrCat == y.DescrCat;
                      });
}

bool sameSubCategories(const FileContent &a, const FileContent &b)
{
    return std::equal(a.subcategories.begin(), a.subcategories.end(), b.subcategories.begin(),
                      b.subcategories.end(), [](const SubCategory &x, const SubCategory &y) {
                          return x.codcat == y.codcat && x.CodSCat == y.CodSCat &&
                                 x.DescrSCat == y.DescrSCat;
                      });
}

bool sameContent(const FileContent &a, const FileContent &b)
{
    return sameCategories(a, b) && sameSubCategories(a, b) && a.passwords == b.passwords &&
           a.expandedNodes == b.expandedNodes;
}

[[noreturn]] void bug(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "fuzz_file_reader: %s %s\n", what, detail.toUtf8().constData());
    std::abort();
}

// Decoded content must encode to a payload that decodes to the same content,
// and encoding that again must give the same bytes.
void checkPayloadRoundTrip(const FileContent &content)
{
    const QByteArray encoded = vlmfile::encodePayload(content);
    FileContent again;
    QString detail;
    if (!vlmfile::decodePayload(encoded, again, detail)) {
        bug("re-encoded content does not decode:", detail);
    }
    if (!sameContent(content, again)) {
        bug("content changed through encoding and decoding");
    }
    if (vlmfile::encodePayload(again) != encoded) {
        bug("encoding the same content twice gave different bytes");
    }
}

// A file that reads must read back the same after being written with its key.
void checkFileRoundTrip(const FileContent &content, const FileKey &key)
{
    FileContent again;
    FileKey againKey;
    QString detail;
    const ReadStatus status =
        vlmfile::read(vlmfile::write(content, key), fuzzPassword(), again, againKey, detail);
    if (status != ReadStatus::Ok) {
        bug("a written file does not read back:", detail);
    }
    if (!sameContent(content, again) || key.isSet() != againKey.isSet()) {
        bug("a file changed through writing and reading");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (sodium_init() < 0) {
        bug("libsodium did not start");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString detail;
    {
        FileContent content;
        FileKey key;
        if (vlmfile::read(bytes, fuzzPassword(), content, key, detail) == ReadStatus::Ok) {
            checkPayloadRoundTrip(content);
            checkFileRoundTrip(content, key);
        }
    }
    FileContent payload;
    if (vlmfile::decodePayload(bytes, payload, detail)) {
        checkPayloadRoundTrip(payload);
    }
    return 0;
}
