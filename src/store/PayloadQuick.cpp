// The quick reader of a payload: the form this program writes (lengths given
// up front, records of exactly their 16 fields, known sections only) read
// straight from the bytes. It refuses, instead of judging, anything else:
// every refusal goes to the full reader in Payload.cpp, which reads every
// form and says what is wrong. So it must never accept what the full reader
// refuses; the field rules both apply are in PayloadRules.h.

#include "FileFormat.h"
#include "PayloadRules.h"

#include <algorithm>
#include <array>
#include <QStringDecoder>

namespace {

using namespace payload;

constexpr int MajorUnsigned = 0;
constexpr int MajorNegative = 1;
constexpr int MajorText = 3;
constexpr int MajorArray = 4;
constexpr int MajorMap = 5;
constexpr unsigned char Null = 0xf6;
constexpr quint64 MaxInt64 = quint64(std::numeric_limits<qint64>::max());
// The smallest encodings: a list head, then a byte for each number and text.
constexpr quint64 MinCategoryBytes = 3;
constexpr quint64 MinSubCategoryBytes = 4;

class QuickReader
{
public:
    explicit QuickReader(const QByteArray &cbor)
        : m_p(reinterpret_cast<const unsigned char *>(cbor.constData())), m_end(m_p + cbor.size())
    {
    }

    bool read(FileContent &content, bool &recordsPlaced)
    {
        recordsPlaced = false;
        quint64 sections = 0;
        if (!head(MajorMap, sections)) {
            return false;
        }
        for (quint64 i = 0; i < sections; ++i) {
            QString name;
            if (!text(name) || !section(name, content)) {
                return false;
            }
        }
        recordsPlaced = m_recordsPlaced;
        return m_p == m_end;
    }

private:
    quint64 remaining() const { return quint64(m_end - m_p); }

    // A head of the given major type with a definite argument.
    bool head(int major, quint64 &arg)
    {
        if (m_p == m_end || *m_p >> 5 != major) {
            return false;
        }
        const unsigned info = *m_p++ & 31U;
        if (info < 24) {
            arg = info;
            return true;
        }
        if (info > 27) {
            return false; // indefinite length, or reserved
        }
        const quint64 bytes = quint64{1} << (info - 24);
        if (remaining() < bytes) {
            return false;
        }
        arg = 0;
        for (quint64 i = 0; i < bytes; ++i) {
            arg = (arg << 8) | *m_p++;
        }
        return true;
    }

    // An array of count elements of at least minBytes each, which the bytes
    // left can hold: a crafted count makes nothing reserve memory.
    bool array(quint64 &count, quint64 minBytes)
    {
        return head(MajorArray, count) && count <= remaining() / minBytes;
    }

    bool arrayOf(quint64 count)
    {
        quint64 n = 0;
        return array(n, 1) && n == count;
    }

    bool integer(qint64 &out)
    {
        if (m_p == m_end) {
            return false;
        }
        const bool negative = *m_p >> 5 == MajorNegative;
        quint64 arg = 0;
        if (!head(negative ? MajorNegative : MajorUnsigned, arg) || arg > MaxInt64) {
            return false;
        }
        out = negative ? -1 - qint64(arg) : qint64(arg);
        return true;
    }

    bool code(qint16 &out, bool allowZero)
    {
        qint64 v = 0;
        return integer(v) && toCode(v, allowZero, out);
    }

    bool shortValue(qint16 &out)
    {
        qint64 v = 0;
        return integer(v) && toShort(v, out);
    }

    bool null()
    {
        if (m_p != m_end && *m_p == Null) {
            ++m_p;
            return true;
        }
        return false;
    }

    bool optionalDateTime(QDateTime &out)
    {
        qint64 ms = 0;
        return null() || (integer(ms) && dateTimeFromMs(ms, out));
    }

    bool optionalDate(QDate &out)
    {
        qint64 jd = 0;
        return null() || (integer(jd) && dateFromJulianDay(jd, out));
    }

    // As the full reader converts a text: invalid UTF-8 is refused and a
    // leading byte order mark dropped (that takes the decoder, so ASCII alone
    // goes the short way).
    bool text(QString &out)
    {
        quint64 size = 0;
        if (!head(MajorText, size) || size > remaining()) {
            return false;
        }
        const auto *bytes = reinterpret_cast<const char *>(m_p);
        const auto n = static_cast<qsizetype>(size);
        m_p += size;
        bool ascii = true;
        for (qsizetype i = 0; i < n && ascii; ++i) {
            ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
        }
        if (ascii) {
            out = QString::fromLatin1(bytes, n);
            return true;
        }
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        out = decoder(QByteArrayView(bytes, n));
        return !decoder.hasError();
    }

    // The sections in the order they are written, each once: the records
    // are checked against the categories and subcategories read before them.
    bool section(const QString &name, FileContent &content)
    {
        const std::array<QLatin1String, 4> order = {
            QLatin1String("categories"), QLatin1String("subcategories"), QLatin1String("expanded"),
            QLatin1String("passwords")};
        const auto it = std::find(order.begin(), order.end(), name);
        const auto index = it - order.begin();
        if (it == order.end() || index < m_nextSection) {
            return false; // a later version's section, or another order
        }
        m_nextSection = index + 1;
        switch (index) {
        case 0:
            return categories(content);
        case 1:
            return subcategories(content);
        case 2:
            return expanded(content);
        default:
            return passwords(content);
        }
    }

    bool categories(FileContent &content)
    {
        quint64 count = 0;
        if (!array(count, MinCategoryBytes)) {
            return false;
        }
        content.categories.reserve(content.categories.size() + count);
        for (quint64 i = 0; i < count; ++i) {
            Category c;
            if (!arrayOf(2) || !code(c.codcat, false) || !text(c.DescrCat)) {
                return false;
            }
            content.categories.push_back(std::move(c));
        }
        return true;
    }

    bool subcategories(FileContent &content)
    {
        quint64 count = 0;
        if (!array(count, MinSubCategoryBytes)) {
            return false;
        }
        content.subcategories.reserve(content.subcategories.size() + count);
        for (quint64 i = 0; i < count; ++i) {
            SubCategory s;
            if (!arrayOf(3) || !code(s.CodSCat, false) || !code(s.codcat, false) ||
                !text(s.DescrSCat)) {
                return false;
            }
            content.subcategories.push_back(std::move(s));
        }
        return true;
    }

    bool expanded(FileContent &content)
    {
        quint64 count = 0;
        if (!array(count, 1)) {
            return false;
        }
        for (quint64 i = 0; i < count; ++i) {
            QString node;
            if (!text(node)) {
                return false;
            }
            content.expandedNodes.append(node);
        }
        return true;
    }

    bool passwords(FileContent &content)
    {
        quint64 count = 0;
        if (!array(count, 1 + RecordFields)) {
            return false;
        }
        const Placement placement(content.categories, content.subcategories);
        for (quint64 i = 0; i < count; ++i) {
            PasswordEntry e;
            qint64 flags = 0;
            if (!arrayOf(RecordFields) || !text(e.service) || !code(e.codcat, true) ||
                !code(e.CodSCat, true) || !text(e.UserName) || !text(e.Password) ||
                !text(e.Notes) || !text(e.URL) || !text(e.ChangeURL) || !text(e.ExpURL) ||
                !optionalDateTime(e.Dt_Insert) || !optionalDateTime(e.Dt_Modify) ||
                !optionalDate(e.Dt_Expire) || !optionalDate(e.Dt_Change) || !integer(flags) ||
                flags < 0 || !shortValue(e.ggNotExpire) || !shortValue(e.ggNotChange)) {
                return false;
            }
            setFlags(e, static_cast<quint64>(flags));
            m_recordsPlaced = m_recordsPlaced && placement.fits(e);
            if (!insertRecord(content.passwords, std::move(e))) {
                return false;
            }
        }
        return true;
    }

    const unsigned char *m_p;
    const unsigned char *const m_end;
    std::ptrdiff_t m_nextSection = 0;
    bool m_recordsPlaced = true; // so far; true also when there are none
};

} // namespace

namespace vlmfile::detail {

bool readPayloadQuickly(const QByteArray &cbor, FileContent &content, bool &recordsPlaced)
{
    return QuickReader(cbor).read(content, recordsPlaced);
}

} // namespace vlmfile::detail
