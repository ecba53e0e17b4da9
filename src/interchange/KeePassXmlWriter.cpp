// Writes KeePass 2 XML as keepassxc-cli import reads it. Fields KeePass has no
// place for go into custom strings named as our CSV columns, so that reading
// the file back gives every field again.

#include "Formats.h"
#include "RecordFields.h"

#include <QBuffer>
#include <QTimeZone>
#include <QUuid>
#include <QXmlStreamWriter>

namespace interchange {

namespace {

// UUIDs from names, so the same records always give the same file.
const QUuid Namespace = QUuid::fromString(u"{5d1c5b0e-4d3f-4b8e-9a53-4f0e7c2a9b61}");

QString uuidFor(const QString &name)
{
    return QString::fromLatin1(QUuid::createUuidV5(Namespace, name).toRfc4122().toBase64());
}

struct Folder
{
    QString name;
    std::vector<const NamedRecord *> records;
    std::vector<Folder> folders;

    // The child of that name (ignoring case, as the store does), made when missing.
    Folder &child(const QString &childName)
    {
        for (Folder &f : folders) {
            if (f.name.compare(childName, Qt::CaseInsensitive) == 0) {
                return f;
            }
        }
        folders.push_back(Folder{childName, {}, {}});
        return folders.back();
    }
};

class Writer
{
public:
    explicit Writer(QByteArray &out) : m_buffer(&out)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_xml.setDevice(&m_buffer);
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(-1);
    }

    void write(const std::vector<NamedRecord> &records)
    {
        Folder root{QStringLiteral("Root"), {}, {}};
        for (const NamedRecord &r : records) {
            // As the store places them: a subcategory alone is a category.
            const QString category = r.category.trimmed().isEmpty() ? r.subcategory : r.category;
            const QString sub = r.category.trimmed().isEmpty() ? QString() : r.subcategory;
            Folder *folder = &root;
            if (!category.trimmed().isEmpty()) {
                folder = &folder->child(category);
                if (!sub.trimmed().isEmpty()) {
                    folder = &folder->child(sub);
                }
            }
            folder->records.push_back(&r);
        }
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("KeePassFile"));
        m_xml.writeStartElement(QStringLiteral("Meta"));
        m_xml.writeTextElement(QStringLiteral("Generator"), QStringLiteral("Vellumor"));
        m_xml.writeEndElement();
        m_xml.writeStartElement(QStringLiteral("Root"));
        writeFolder(root, QString());
        m_xml.writeEndElement();
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

private:
    void writeFolder(const Folder &folder, const QString &path)
    {
        m_xml.writeStartElement(QStringLiteral("Group"));
        m_xml.writeTextElement(QStringLiteral("UUID"), uuidFor(QStringLiteral("group/") + path));
        m_xml.writeTextElement(QStringLiteral("Name"), folder.name);
        for (const NamedRecord *r : folder.records) {
            writeEntry(r->entry);
        }
        for (const Folder &f : folder.folders) {
            writeFolder(f, path + u'/' + f.name.toCaseFolded());
        }
        m_xml.writeEndElement();
    }

    void writeEntry(const PasswordEntry &e)
    {
        m_xml.writeStartElement(QStringLiteral("Entry"));
        m_xml.writeTextElement(
            QStringLiteral("UUID"),
            uuidFor(QStringLiteral("entry/") + QString::number(m_entries++) + u'/' + e.service));
        m_xml.writeStartElement(QStringLiteral("Times"));
        writeTime(QStringLiteral("CreationTime"), e.Dt_Insert);
        writeTime(QStringLiteral("LastModificationTime"), e.Dt_Modify);
        const bool expires = e.blExpire && e.Dt_Expire.isValid();
        m_xml.writeTextElement(QStringLiteral("Expires"),
                               expires ? QStringLiteral("True") : QStringLiteral("False"));
        if (expires) {
            // Midnight here: read back here it is the same day.
            writeTime(QStringLiteral("ExpiryTime"), e.Dt_Expire.startOfDay());
        }
        m_xml.writeEndElement();
        writeString(QStringLiteral("Title"), e.service);
        writeString(QStringLiteral("UserName"), e.UserName);
        writeString(QStringLiteral("Password"), e.Password, true);
        writeString(QStringLiteral("URL"), e.URL);
        writeString(QStringLiteral("Notes"), e.Notes);
        static const PasswordEntry Default;
        for (const RecordField &f : recordFields()) {
            // An expiry date that is on is KeePass's own; without it, ours.
            const bool own = f.keepassOwn || (expires && QStringView(f.name) == u"Expiry date");
            const QString text = f.get(e);
            if (!own && text != f.get(Default)) {
                writeString(QString::fromUtf16(f.name), text);
            }
        }
        m_xml.writeEndElement();
    }

    void writeTime(const QString &name, const QDateTime &time)
    {
        if (time.isValid()) {
            m_xml.writeTextElement(name, timeText(time));
        }
    }

    void writeString(const QString &key, const QString &value, bool protect = false)
    {
        m_xml.writeStartElement(QStringLiteral("String"));
        m_xml.writeTextElement(QStringLiteral("Key"), key);
        m_xml.writeStartElement(QStringLiteral("Value"));
        if (protect) {
            m_xml.writeAttribute(QStringLiteral("ProtectInMemory"), QStringLiteral("True"));
        }
        // A reader turns a raw CR LF into LF: CR goes as a character reference.
        const QStringList pieces = value.split(u'\r');
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0) {
                m_xml.writeEntityReference(QStringLiteral("#13"));
            }
            m_xml.writeCharacters(pieces[i]);
        }
        m_xml.writeEndElement();
        m_xml.writeEndElement();
    }

    QBuffer m_buffer;
    QXmlStreamWriter m_xml;
    int m_entries = 0;
};

} // namespace

QByteArray writeKeePassXml(const std::vector<NamedRecord> &records)
{
    QByteArray out;
    Writer(out).write(records);
    return out;
}

} // namespace interchange
