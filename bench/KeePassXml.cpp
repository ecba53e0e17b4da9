#include "KeePassXml.h"

#include <QFile>
#include <QHash>
#include <QTimeZone>
#include <QXmlStreamWriter>
#include <vector>

namespace bench {

namespace {

class XmlExport
{
public:
    XmlExport(QIODevice &device, const Dataset &content) : m_w(&device), m_content(content)
    {
        for (const PasswordEntry &e : content.passwords) {
            if (e.CodSCat != 0) {
                m_bySubCategory[e.CodSCat].push_back(&e);
            } else if (e.codcat != 0) {
                m_byCategory[e.codcat].push_back(&e);
            } else {
                m_root.push_back(&e);
            }
        }
    }

    void write()
    {
        m_w.writeStartDocument();
        m_w.writeStartElement(QStringLiteral("KeePassFile"));
        m_w.writeStartElement(QStringLiteral("Meta"));
        m_w.writeTextElement(QStringLiteral("Generator"), QStringLiteral("Vellumor store_bench"));
        m_w.writeTextElement(QStringLiteral("DatabaseName"), QStringLiteral("bench"));
        m_w.writeEndElement();
        m_w.writeStartElement(QStringLiteral("Root"));
        startGroup(QStringLiteral("Root"));
        writeEntries(m_root);
        for (const Category &c : m_content.categories) {
            startGroup(c.DescrCat);
            writeEntries(m_byCategory.value(c.codcat));
            for (const SubCategory &s : m_content.subcategories) {
                if (s.codcat == c.codcat) {
                    startGroup(s.DescrSCat);
                    writeEntries(m_bySubCategory.value(s.CodSCat));
                    m_w.writeEndElement();
                }
            }
            m_w.writeEndElement();
        }
        m_w.writeEndElement(); // root group
        m_w.writeEndElement(); // Root
        m_w.writeEndElement(); // KeePassFile
        m_w.writeEndDocument();
    }

    bool hasError() const { return m_w.hasError(); }

private:
    using Entries = std::vector<const PasswordEntry *>;

    QString uuid()
    {
        QByteArray bytes(16, '\0');
        for (int i = 0; i < bytes.size(); i += 8) {
            const quint64 v = m_rng.next();
            for (int b = 0; b < 8; ++b) {
                bytes[i + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
            }
        }
        return QString::fromLatin1(bytes.toBase64());
    }

    static QString utc(const QDateTime &when)
    {
        // KeePass writes UTC with a Z, not an offset.
        return when.toTimeZone(QTimeZone::utc()).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss'Z'"));
    }

    void startGroup(const QString &name)
    {
        m_w.writeStartElement(QStringLiteral("Group"));
        m_w.writeTextElement(QStringLiteral("UUID"), uuid());
        m_w.writeTextElement(QStringLiteral("Name"), name);
    }

    void writeString(const QString &key, const QString &value, bool protect = false)
    {
        m_w.writeStartElement(QStringLiteral("String"));
        m_w.writeTextElement(QStringLiteral("Key"), key);
        m_w.writeStartElement(QStringLiteral("Value"));
        if (protect) {
            m_w.writeAttribute(QStringLiteral("ProtectInMemory"), QStringLiteral("True"));
        }
        m_w.writeCharacters(value);
        m_w.writeEndElement();
        m_w.writeEndElement();
    }

    void writeEntries(const Entries &entries)
    {
        for (const PasswordEntry *e : entries) {
            m_w.writeStartElement(QStringLiteral("Entry"));
            m_w.writeTextElement(QStringLiteral("UUID"), uuid());
            m_w.writeStartElement(QStringLiteral("Times"));
            m_w.writeTextElement(QStringLiteral("CreationTime"), utc(e->Dt_Insert));
            m_w.writeTextElement(QStringLiteral("LastModificationTime"), utc(e->Dt_Modify));
            m_w.writeTextElement(QStringLiteral("Expires"),
                                 e->blExpire ? QStringLiteral("True") : QStringLiteral("False"));
            if (e->blExpire) {
                m_w.writeTextElement(QStringLiteral("ExpiryTime"), utc(e->Dt_Expire.startOfDay()));
            }
            m_w.writeEndElement();
            writeString(QStringLiteral("Title"), e->service);
            writeString(QStringLiteral("UserName"), e->UserName);
            writeString(QStringLiteral("Password"), e->Password, true);
            writeString(QStringLiteral("URL"), e->URL);
            writeString(QStringLiteral("Notes"), e->Notes);
            m_w.writeEndElement();
        }
    }

    QXmlStreamWriter m_w;
    const Dataset &m_content;
    SplitMix64 m_rng{DefaultSeed};
    QHash<qint16, Entries> m_byCategory;
    QHash<qint16, Entries> m_bySubCategory;
    Entries m_root;
};

} // namespace

bool writeKeePassXml(const Dataset &content, const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file.errorString();
        return false;
    }
    XmlExport xml(file, content);
    xml.write();
    if (xml.hasError() || !file.flush()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace bench
