// Reads KeePass 2 XML: the root group's entries have no category, its groups
// are categories, theirs subcategories, deeper groups join the subcategory's
// name ("Bank / Cards"). History and the recycle bin are left out.

#include "Formats.h"
#include "RecordFields.h"
#include "SecureBytes.h"

#include <QtEndian>
#include <QTimeZone>
#include <QXmlStreamReader>

namespace interchange {

namespace {

struct Group
{
    QString uuid;
    QString name;
    std::vector<std::size_t> entries; // indexes into Reader::m_records
    std::vector<Group> groups;
};

// KeePass times are ISO 8601 in UTC, or (KDBX 4) base64 of the seconds since
// 0001-01-01 as 64-bit little endian.
QDateTime keepassTime(const QString &text)
{
    QDateTime time;
    if (parseTime(text, time)) {
        return time;
    }
    const QByteArray bytes = QByteArray::fromBase64(text.toLatin1());
    if (bytes.size() != 8) {
        return QDateTime();
    }
    const qint64 seconds = qFromLittleEndian<qint64>(bytes.constData());
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(seconds);
}

bool isZeroUuid(const QString &uuid)
{
    const QByteArray bytes = QByteArray::fromBase64(uuid.toLatin1());
    return bytes.count('\0') == bytes.size();
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_xml(bytes) {}

    ImportResult read()
    {
        ImportResult result;
        std::vector<Group> roots;
        if (m_xml.readNextStartElement()) {
            if (m_xml.name() != u"KeePassFile") {
                m_xml.raiseError(QStringLiteral("this is not a KeePass XML file"));
            }
            while (m_xml.readNextStartElement()) {
                if (m_xml.name() == u"Meta") {
                    readMeta();
                } else if (m_xml.name() == u"Root") {
                    while (m_xml.readNextStartElement()) {
                        if (m_xml.name() == u"Group") {
                            roots.push_back(readGroup());
                        } else {
                            m_xml.skipCurrentElement();
                        }
                    }
                } else {
                    m_xml.skipCurrentElement();
                }
            }
        }
        while (!m_xml.atEnd() && !m_xml.hasError()) {
            m_xml.readNext();
        }
        if (m_xml.hasError()) {
            result.records = std::move(m_records);
            return failed(std::move(result), static_cast<int>(m_xml.lineNumber()), errorText());
        }
        for (const Group &root : roots) {
            take(root, {}, result.records);
        }
        return result;
    }

private:
    QString errorText() const
    {
        switch (m_xml.error()) {
        case QXmlStreamReader::PrematureEndOfDocumentError:
            return QStringLiteral("the XML ends early");
        case QXmlStreamReader::CustomError:
            return m_xml.errorString();
        default:
            return QStringLiteral("the XML is not well-formed (%1)").arg(m_xml.errorString());
        }
    }

    void readMeta()
    {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"RecycleBinUUID") {
                m_recycleBin = m_xml.readElementText().trimmed();
            } else {
                m_xml.skipCurrentElement();
            }
        }
    }

    Group readGroup()
    {
        Group group;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"UUID") {
                group.uuid = m_xml.readElementText().trimmed();
            } else if (m_xml.name() == u"Name") {
                group.name = m_xml.readElementText();
            } else if (m_xml.name() == u"Entry") {
                group.entries.push_back(m_records.size());
                m_records.push_back(readEntry());
            } else if (m_xml.name() == u"Group") {
                group.groups.push_back(readGroup());
            } else {
                m_xml.skipCurrentElement();
            }
        }
        return group;
    }

    NamedRecord readEntry()
    {
        NamedRecord record;
        PasswordEntry &e = record.entry;
        bool expires = false;
        QDateTime expiry;
        QString expiryDate; // ours, for a date that is not switched on
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"String") {
                readString(e, expiryDate);
            } else if (m_xml.name() == u"Times") {
                while (m_xml.readNextStartElement()) {
                    const QStringView name = m_xml.name();
                    if (name == u"CreationTime") {
                        e.Dt_Insert = keepassTime(m_xml.readElementText());
                    } else if (name == u"LastModificationTime") {
                        e.Dt_Modify = keepassTime(m_xml.readElementText());
                    } else if (name == u"ExpiryTime") {
                        expiry = keepassTime(m_xml.readElementText());
                    } else if (name == u"Expires") {
                        expires = m_xml.readElementText().trimmed().compare(
                                      u"True", Qt::CaseInsensitive) == 0;
                    } else {
                        m_xml.skipCurrentElement();
                    }
                }
            } else {
                m_xml.skipCurrentElement(); // History among them: old versions stay out
            }
        }
        e.blExpire = expires && expiry.isValid();
        if (e.blExpire) {
            e.Dt_Expire = expiry.toLocalTime().date();
        } else if (!recordField(u"Expiry date").set(e, expiryDate)) {
            m_xml.raiseError(valueFault(u"Expiry date"));
        }
        return record;
    }

    void readString(PasswordEntry &e, QString &expiryDate)
    {
        QString key;
        QString value;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Key") {
                key = m_xml.readElementText();
            } else if (m_xml.name() == u"Value") {
                if (m_xml.attributes()
                        .value(QStringLiteral("Protected"))
                        .compare(u"True", Qt::CaseInsensitive) == 0) {
                    m_xml.raiseError(QStringLiteral("the value is encrypted; export the file "
                                                    "again as plain XML"));
                    return;
                }
                value = m_xml.readElementText();
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (key == u"Title") {
            e.service = value;
        } else if (key == u"UserName") {
            e.UserName = value;
        } else if (key == u"Password") {
            e.Password = value;
        } else if (key == u"URL") {
            e.URL = value;
        } else if (key == u"Notes") {
            e.Notes = value;
        } else if (key == u"Expiry date") {
            expiryDate = value;
        } else {
            for (const RecordField &f : recordFields()) {
                if (!f.keepassOwn && key == QStringView(f.name) && !f.set(e, value)) {
                    m_xml.raiseError(valueFault(f.name));
                }
            }
        }
        wipeText(value);
    }

    static const RecordField &recordField(const char16_t *name)
    {
        for (const RecordField &f : recordFields()) {
            if (QStringView(f.name) == QStringView(name)) {
                return f;
            }
        }
        Q_UNREACHABLE();
    }

    static QString valueFault(const char16_t *name)
    {
        return QStringLiteral("\"%1\" must be %2")
            .arg(QStringView(name))
            .arg(QStringView(recordField(name).expected));
    }

    bool isRecycleBin(const Group &group, int depth) const
    {
        if (!m_recycleBin.isEmpty() && !isZeroUuid(m_recycleBin)) {
            return group.uuid == m_recycleBin;
        }
        return depth == 1 && group.name == u"Recycle Bin";
    }

    // Moves the group's records, then those below it, into records.
    void take(const Group &group, const QStringList &path, std::vector<NamedRecord> &records)
    {
        for (const std::size_t i : group.entries) {
            NamedRecord &r = m_records[i];
            placeByPath(r, path);
            records.push_back(std::move(r));
        }
        for (const Group &child : group.groups) {
            if (!isRecycleBin(child, static_cast<int>(path.size()) + 1)) {
                take(child, path + QStringList{child.name}, records);
            }
        }
    }

    QXmlStreamReader m_xml;
    QString m_recycleBin;
    std::vector<NamedRecord> m_records;
};

} // namespace

ImportResult readKeePassXml(const QByteArray &bytes)
{
    return Reader(bytes).read();
}

} // namespace interchange
