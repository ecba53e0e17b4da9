// The CBOR payload of a password file: what the header protects.

#include "FileFormat.h"
#include "PayloadRules.h"

#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <QHash>
#include <QSet>

namespace {

using namespace payload;

class PayloadReader
{
public:
    explicit PayloadReader(const QByteArray &cbor) : m_r(cbor), m_size(cbor.size()) {}

    bool read(FileContent &content, QString &detail)
    {
        if (!parse(content)) {
            detail = m_error.isEmpty() ? QStringLiteral("the content cannot be decoded") : m_error;
            return false;
        }
        return true;
    }

private:
    bool fail(const QString &why)
    {
        if (m_error.isEmpty()) {
            m_error = why;
        }
        return false;
    }
    bool ok() { return m_r.lastError() == QCborError::NoError || fail(QString()); }

    // After a decoding error the reader can keep claiming that elements
    // follow, so every loop also stops on the error.
    bool more() { return m_r.lastError() == QCborError::NoError && m_r.hasNext(); }

    bool parse(FileContent &content)
    {
        if (!m_r.isMap() || !m_r.enterContainer()) {
            return fail(QStringLiteral("the content is not a map"));
        }
        while (more()) {
            QString key;
            if (!m_r.isString() || !readText(key)) {
                return fail(QStringLiteral("a section has no name"));
            }
            bool done = false;
            if (key == QLatin1String("categories")) {
                done = readCategories(content);
            } else if (key == QLatin1String("subcategories")) {
                done = readSubCategories(content);
            } else if (key == QLatin1String("expanded")) {
                done = readExpanded(content);
            } else if (key == QLatin1String("passwords")) {
                done = readPasswords(content);
            } else {
                done = m_r.next(); // sections of later versions are skipped
            }
            if (!done) {
                return fail(QStringLiteral("section \"%1\" is damaged").arg(key));
            }
        }
        if (!m_r.leaveContainer() || !ok()) {
            return false;
        }
        if (m_r.currentOffset() != m_size) {
            return fail(QStringLiteral("there is data after the content"));
        }
        return true;
    }

    bool readText(QString &out)
    {
        out.clear();
        if (!m_r.isString()) {
            return false;
        }
        auto chunk = m_r.readString();
        while (chunk.status == QCborStreamReader::Ok) {
            out += chunk.data;
            chunk = m_r.readString();
        }
        return chunk.status == QCborStreamReader::EndOfString &&
               m_r.lastError() == QCborError::NoError;
    }

    bool readInt(qint64 &out)
    {
        if (!m_r.isInteger()) {
            return false;
        }
        out = m_r.toInteger();
        return m_r.next();
    }

    bool readCode(qint16 &out, bool allowZero)
    {
        qint64 v = 0;
        return readInt(v) && toCode(v, allowZero, out);
    }

    bool readShort(qint16 &out)
    {
        qint64 v = 0;
        return readInt(v) && toShort(v, out);
    }

    bool readOptionalDateTime(QDateTime &out)
    {
        if (m_r.isNull()) {
            out = QDateTime();
            return m_r.next();
        }
        qint64 ms = 0;
        return readInt(ms) && dateTimeFromMs(ms, out);
    }

    bool readOptionalDate(QDate &out)
    {
        if (m_r.isNull()) {
            out = QDate();
            return m_r.next();
        }
        qint64 jd = 0;
        return readInt(jd) && dateFromJulianDay(jd, out);
    }

    // Enters an array; reserve is bounded by the bytes that remain, so a
    // crafted length cannot make us allocate without bound.
    bool enterArray(qsizetype &reserveHint)
    {
        if (!m_r.isArray()) {
            return false;
        }
        reserveHint = 0;
        if (m_r.isLengthKnown()) {
            const quint64 declared = m_r.length();
            const auto bound = static_cast<quint64>(m_size / 4);
            reserveHint = static_cast<qsizetype>(declared < bound ? declared : bound);
        }
        return m_r.enterContainer();
    }

    bool readCategories(FileContent &content)
    {
        qsizetype hint = 0;
        if (!enterArray(hint)) {
            return false;
        }
        content.categories.reserve(static_cast<size_t>(hint));
        while (more()) {
            Category c;
            qsizetype inner = 0;
            if (!enterArray(inner) || !readCode(c.codcat, false) || !readText(c.DescrCat) ||
                !skipRest()) {
                return false;
            }
            content.categories.push_back(std::move(c));
        }
        return m_r.leaveContainer();
    }

    bool readSubCategories(FileContent &content)
    {
        qsizetype hint = 0;
        if (!enterArray(hint)) {
            return false;
        }
        content.subcategories.reserve(static_cast<size_t>(hint));
        while (more()) {
            SubCategory s;
            qsizetype inner = 0;
            if (!enterArray(inner) || !readCode(s.CodSCat, false) || !readCode(s.codcat, false) ||
                !readText(s.DescrSCat) || !skipRest()) {
                return false;
            }
            content.subcategories.push_back(std::move(s));
        }
        return m_r.leaveContainer();
    }

    bool readExpanded(FileContent &content)
    {
        qsizetype hint = 0;
        if (!enterArray(hint)) {
            return false;
        }
        while (more()) {
            QString text;
            if (!readText(text)) {
                return false;
            }
            content.expandedNodes.append(text);
        }
        return m_r.leaveContainer();
    }

    bool readPasswords(FileContent &content)
    {
        qsizetype hint = 0;
        if (!enterArray(hint)) {
            return false;
        }
        while (more()) {
            PasswordEntry e;
            qsizetype inner = 0;
            qint64 flags = 0;
            if (!enterArray(inner) || !readText(e.service) || !readCode(e.codcat, true) ||
                !readCode(e.CodSCat, true) || !readText(e.UserName) || !readText(e.Password) ||
                !readText(e.Notes) || !readText(e.URL) || !readText(e.ChangeURL) ||
                !readText(e.ExpURL) || !readOptionalDateTime(e.Dt_Insert) ||
                !readOptionalDateTime(e.Dt_Modify) || !readOptionalDate(e.Dt_Expire) ||
                !readOptionalDate(e.Dt_Change) || !readInt(flags) || flags < 0 ||
                !readShort(e.ggNotExpire) || !readShort(e.ggNotChange) || !skipRest()) {
                return false;
            }
            setFlags(e, static_cast<quint64>(flags));
            if (!insertRecord(content.passwords, std::move(e))) {
                return fail(QStringLiteral("two records share a service name"));
            }
        }
        return m_r.leaveContainer();
    }

    // Fields added by later versions at the end of a record are skipped.
    bool skipRest()
    {
        while (more()) {
            if (!m_r.next()) {
                return false;
            }
        }
        return m_r.leaveContainer();
    }

    QCborStreamReader m_r;
    qsizetype m_size;
    QString m_error;
};

// recordsPlaced: every record was found to fit while it was read.
bool checkConsistency(const FileContent &content, QString &detail, bool recordsPlaced)
{
    QSet<qint16> categoryCodes;
    QSet<QString> categoryNames;
    for (const Category &c : content.categories) {
        if (c.DescrCat.isEmpty()) {
            detail = QStringLiteral("a category has no name");
            return false;
        }
        if (categoryCodes.contains(c.codcat) || categoryNames.contains(c.DescrCat.toCaseFolded())) {
            detail = QStringLiteral("two categories share a code or a name");
            return false;
        }
        categoryCodes.insert(c.codcat);
        categoryNames.insert(c.DescrCat.toCaseFolded());
    }
    QHash<qint16, qint16> subcategoryOwner;
    QSet<QString> subcategoryNames;
    for (const SubCategory &s : content.subcategories) {
        const QString key =
            QString::number(s.codcat) + QLatin1Char('!') + s.DescrSCat.toCaseFolded();
        if (s.DescrSCat.isEmpty() || !categoryCodes.contains(s.codcat)) {
            detail = QStringLiteral("a subcategory has no name or no category");
            return false;
        }
        if (subcategoryOwner.contains(s.CodSCat) || subcategoryNames.contains(key)) {
            detail = QStringLiteral("two subcategories share a code or a name");
            return false;
        }
        subcategoryOwner.insert(s.CodSCat, s.codcat);
        subcategoryNames.insert(key);
    }
    if (recordsPlaced) {
        return true; // a second pass over 100,000 records costs some 20 ms
    }
    const Placement placement(content.categories, content.subcategories);
    for (const auto &[key, e] : content.passwords) {
        if (!placement.fits(e)) {
            detail = QStringLiteral("a record has no service name or a missing category");
            return false;
        }
    }
    return true;
}

void writeOptionalDateTime(QCborStreamWriter &w, const QDateTime &dt)
{
    if (dt.isValid()) {
        w.append(dt.toMSecsSinceEpoch());
    } else {
        w.append(nullptr);
    }
}

void writeOptionalDate(QCborStreamWriter &w, const QDate &d)
{
    if (d.isValid()) {
        w.append(d.toJulianDay());
    } else {
        w.append(nullptr);
    }
}

} // namespace

namespace vlmfile {

namespace detail {

bool readPayloadFully(const QByteArray &cbor, FileContent &content, QString &detail)
{
    return PayloadReader(cbor).read(content, detail);
}

} // namespace detail

bool decodePayload(const QByteArray &cbor, FileContent &content, QString &detail)
{
    content = FileContent();
    // What the quick reader refuses, damage included, is read again in full:
    // only that reader says what is wrong.
    bool recordsPlaced = false;
    bool read = detail::readPayloadQuickly(cbor, content, recordsPlaced);
    if (!read) {
        content = FileContent();
        recordsPlaced = false;
        read = detail::readPayloadFully(cbor, content, detail);
    }
    if (!read || !checkConsistency(content, detail, recordsPlaced)) {
        content = FileContent();
        return false;
    }
    return true;
}

QByteArray encodePayload(const FileContent &content)
{
    QByteArray out;
    QCborStreamWriter w(&out);
    w.startMap(4);
    w.append(QLatin1String("categories"));
    w.startArray(static_cast<quint64>(content.categories.size()));
    for (const Category &c : content.categories) {
        w.startArray(2);
        w.append(c.codcat);
        w.append(c.DescrCat);
        w.endArray();
    }
    w.endArray();
    w.append(QLatin1String("subcategories"));
    w.startArray(static_cast<quint64>(content.subcategories.size()));
    for (const SubCategory &s : content.subcategories) {
        w.startArray(3);
        w.append(s.CodSCat);
        w.append(s.codcat);
        w.append(s.DescrSCat);
        w.endArray();
    }
    w.endArray();
    w.append(QLatin1String("expanded"));
    w.startArray(static_cast<quint64>(content.expandedNodes.size()));
    for (const QString &text : content.expandedNodes) {
        w.append(text);
    }
    w.endArray();
    w.append(QLatin1String("passwords"));
    w.startArray(static_cast<quint64>(content.passwords.size()));
    for (const auto &[key, e] : content.passwords) {
        w.startArray(RecordFields);
        w.append(e.service);
        w.append(e.codcat);
        w.append(e.CodSCat);
        w.append(e.UserName);
        w.append(e.Password);
        w.append(e.Notes);
        w.append(e.URL);
        w.append(e.ChangeURL);
        w.append(e.ExpURL);
        writeOptionalDateTime(w, e.Dt_Insert);
        writeOptionalDateTime(w, e.Dt_Modify);
        writeOptionalDate(w, e.Dt_Expire);
        writeOptionalDate(w, e.Dt_Change);
        const quint64 flags = (e.blChange ? BitChange : 0) | (e.blExpire ? BitExpire : 0) |
                              (e.blNotExpire ? BitNotExpire : 0) |
                              (e.blNotChange ? BitNotChange : 0);
        w.append(flags);
        w.append(e.ggNotExpire);
        w.append(e.ggNotChange);
        w.endArray();
    }
    w.endArray();
    w.endMap();
    return out;
}

} // namespace vlmfile
