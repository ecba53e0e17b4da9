// The CSV files of KeePassXC, Bitwarden, browsers and our own.

#include "Csv.h"
#include "Formats.h"
#include "RecordFields.h"
#include "SecureBytes.h"

#include <QTimeZone>
#include <QUrl>

namespace interchange {

namespace {

// Columns of a CSV file found by their header names, ignoring case and blanks.
class Columns
{
public:
    explicit Columns(const CsvRow &header) : m_header(header) {}

    // -1 when the file has no such column.
    int find(QStringView name) const
    {
        for (qsizetype i = 0; i < m_header.fields.size(); ++i) {
            if (m_header.fields[i].trimmed().compare(name, Qt::CaseInsensitive) == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // As find; a missing column is a fault of the file, told in error.
    int need(QStringView name, std::optional<ImportError> &error) const
    {
        const int index = find(name);
        if (index < 0 && !error) {
            error = ImportError{
                m_header.line,
                QStringLiteral("line %1: no column \"%2\"").arg(m_header.line).arg(name)};
        }
        return index;
    }

private:
    const CsvRow &m_header;
};

QString cell(const CsvRow &row, int index)
{
    return index < 0 ? QString() : row.fields[index];
}

// KeePassXC writes the group path from its root group: "Root/Web/Shops".
// Unlike its XML, the CSV does not mark the recycle bin: the group of that
// name right below the root is taken for it and left out.
class KeePassXcCsv
{
public:
    explicit KeePassXcCsv(const Columns &c, std::optional<ImportError> &error)
        : group(c.need(u"Group", error)), title(c.need(u"Title", error)),
          user(c.need(u"Username", error)), password(c.need(u"Password", error)),
          url(c.need(u"URL", error)), notes(c.need(u"Notes", error)),
          modified(c.find(u"Last Modified")), created(c.find(u"Created"))
    {
    }

    bool takes(const CsvRow &row) const
    {
        return cell(row, group).section(u'/', 1, 1) != u"Recycle Bin";
    }

    bool read(const CsvRow &row, NamedRecord &r, QString &fault) const
    {
        PasswordEntry &e = r.entry;
        e.service = cell(row, title);
        e.UserName = cell(row, user);
        e.Password = cell(row, password);
        e.URL = cell(row, url);
        e.Notes = cell(row, notes);
        QStringList folders = cell(row, group).split(u'/');
        folders.removeFirst();
        placeByPath(r, folders);
        return time(row, modified, u"Last Modified", e.Dt_Modify, fault) &&
               time(row, created, u"Created", e.Dt_Insert, fault);
    }

    static bool time(const CsvRow &row, int index, QStringView name, QDateTime &out, QString &fault)
    {
        if (parseTime(cell(row, index), out)) {
            return true;
        }
        fault = QStringLiteral("\"%1\" is not a time").arg(name);
        return false;
    }

private:
    int group, title, user, password, url, notes, modified, created;
};

class BitwardenCsv
{
public:
    BitwardenCsv(const Columns &c, std::optional<ImportError> &error)
        : folder(c.need(u"folder", error)), type(c.need(u"type", error)),
          name(c.need(u"name", error)), notes(c.need(u"notes", error)),
          uri(c.need(u"login_uri", error)), user(c.need(u"login_username", error)),
          password(c.need(u"login_password", error)), fields(c.find(u"fields"))
    {
    }

    // Only logins are records.
    bool takes(const CsvRow &row) const
    {
        return cell(row, type).trimmed().compare(u"login", Qt::CaseInsensitive) == 0;
    }

    bool read(const CsvRow &row, NamedRecord &r, QString &) const
    {
        PasswordEntry &e = r.entry;
        e.service = cell(row, name);
        e.UserName = cell(row, user);
        e.Password = cell(row, password);
        e.URL = cell(row, uri);
        e.Notes = cell(row, notes);
        // Custom fields ("name: value" lines) have no place of their own.
        const QString custom = cell(row, fields);
        if (!custom.isEmpty()) {
            e.Notes += (e.Notes.isEmpty() ? QString() : QStringLiteral("\n\n")) + custom;
        }
        const QString path = cell(row, folder);
        placeByPath(r, path.isEmpty() ? QStringList() : path.split(u'/'));
        return true;
    }

private:
    int folder, type, name, notes, uri, user, password, fields;
};

// Chromium: name,url,username,password[,note]. Firefox: no name (the host
// stands for it) and times in milliseconds since 1970.
class BrowserCsv
{
public:
    BrowserCsv(const Columns &c, std::optional<ImportError> &error)
        : name(c.find(u"name")), url(c.need(u"url", error)), user(c.need(u"username", error)),
          password(c.need(u"password", error)), note(c.find(u"note")),
          created(c.find(u"timeCreated")), changed(c.find(u"timePasswordChanged"))
    {
    }

    bool read(const CsvRow &row, NamedRecord &r, QString &fault) const
    {
        PasswordEntry &e = r.entry;
        e.URL = cell(row, url);
        e.service = cell(row, name);
        if (e.service.isEmpty()) {
            e.service = QUrl(e.URL).host();
        }
        if (e.service.isEmpty()) {
            e.service = e.URL;
        }
        e.UserName = cell(row, user);
        e.Password = cell(row, password);
        e.Notes = cell(row, note);
        return time(row, created, u"timeCreated", e.Dt_Insert, fault) &&
               time(row, changed, u"timePasswordChanged", e.Dt_Modify, fault);
    }

    static bool time(const CsvRow &row, int index, QStringView column, QDateTime &out,
                     QString &fault)
    {
        const QString text = cell(row, index).trimmed();
        if (text.isEmpty()) {
            return true;
        }
        bool ok = false;
        const qint64 ms = text.toLongLong(&ok);
        if (!ok) {
            fault = QStringLiteral("\"%1\" is not a number of milliseconds").arg(column);
            return false;
        }
        out = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
        return true;
    }

private:
    int name, url, user, password, note, created, changed;
};

QString headerOf(const RecordField &f)
{
    return QString::fromUtf16(f.name);
}

class VellumorCsv
{
public:
    VellumorCsv(const Columns &c, std::optional<ImportError> &error)
        : category(c.need(u"Category", error)), subcategory(c.need(u"Subcategory", error))
    {
        for (const RecordField &f : recordFields()) {
            columns.push_back(c.need(headerOf(f), error));
        }
    }

    bool read(const CsvRow &row, NamedRecord &r, QString &fault) const
    {
        r.category = cell(row, category);
        r.subcategory = cell(row, subcategory);
        const auto fields = recordFields();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].set(r.entry, cell(row, columns[i]))) {
                fault = QStringLiteral("\"%1\" must be %2")
                            .arg(headerOf(fields[i]), QString::fromUtf16(fields[i].expected));
                return false;
            }
        }
        return true;
    }

private:
    int category, subcategory;
    std::vector<int> columns;
};

template <typename Format> ImportResult readRows(const QByteArray &bytes)
{
    ImportResult result;
    std::vector<CsvRow> rows;
    ImportError csvError;
    if (!CsvReader::read(bytes, rows, csvError)) {
        result.error = csvError;
        return result;
    }
    const Format format(Columns(rows.front()), result.error);
    if (result.error) {
        wipeRows(rows);
        return result;
    }
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if constexpr (requires(const Format &f) { f.takes(rows[i]); }) {
            if (!format.takes(rows[i])) {
                ++result.skipped;
                continue;
            }
        }
        NamedRecord record;
        QString fault;
        if (!format.read(rows[i], record, fault)) {
            const int line = rows[i].line;
            wipeText(record.entry.Password);
            wipeRows(rows);
            return failed(std::move(result), line, fault);
        }
        result.records.push_back(std::move(record));
    }
    wipeRows(rows);
    return result;
}

} // namespace

ImportResult readCsvFormat(ImportFormat format, const QByteArray &bytes)
{
    switch (format) {
    case ImportFormat::KeePassXcCsv:
        return readRows<KeePassXcCsv>(bytes);
    case ImportFormat::BitwardenCsv:
        return readRows<BitwardenCsv>(bytes);
    case ImportFormat::BrowserCsv:
        return readRows<BrowserCsv>(bytes);
    case ImportFormat::VellumorCsv:
    case ImportFormat::KeePassXml:
        break;
    }
    return readRows<VellumorCsv>(bytes);
}

QByteArray writeVellumorCsv(const std::vector<NamedRecord> &records)
{
    CsvWriter writer;
    QStringList row{QStringLiteral("Category"), QStringLiteral("Subcategory")};
    for (const RecordField &f : recordFields()) {
        row << headerOf(f);
    }
    writer.addRow(row);
    for (const NamedRecord &r : records) {
        row = QStringList{r.category, r.subcategory};
        for (const RecordField &f : recordFields()) {
            row << f.get(r.entry);
        }
        writer.addRow(row);
        for (QString &field : row) {
            wipeText(field);
        }
    }
    return writer.finish();
}

} // namespace interchange
