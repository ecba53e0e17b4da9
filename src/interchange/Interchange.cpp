#include "Interchange.h"

#include "Formats.h"
#include "PasswordStore.h"
#include "SecureBytes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace interchange {

namespace {

const std::array<std::pair<const char16_t *, ImportFormat>, 5> ImportNames{{
    {u"keepass-xml", ImportFormat::KeePassXml},
    {u"keepassxc-csv", ImportFormat::KeePassXcCsv},
    {u"bitwarden-csv", ImportFormat::BitwardenCsv},
    {u"chrome-csv", ImportFormat::BrowserCsv},
    {u"csv", ImportFormat::VellumorCsv},
}};

const std::array<std::pair<const char16_t *, ExportFormat>, 2> ExportNames{{
    {u"csv", ExportFormat::VellumorCsv},
    {u"keepass-xml", ExportFormat::KeePassXml},
}};

template <typename Names> auto byName(const Names &names, QStringView name)
{
    for (const auto &[text, format] : names) {
        if (name.compare(QStringView(text), Qt::CaseInsensitive) == 0) {
            return std::optional(format);
        }
    }
    return std::optional<typename Names::value_type::second_type>();
}

template <typename Names> QStringList namesOf(const Names &names)
{
    QStringList list;
    for (const auto &entry : names) {
        list << QString::fromUtf16(entry.first);
    }
    return list;
}

} // namespace

std::optional<ImportFormat> importFormat(QStringView name)
{
    return byName(ImportNames, name);
}

std::optional<ExportFormat> exportFormat(QStringView name)
{
    return byName(ExportNames, name);
}

QStringList importFormatNames()
{
    return namesOf(ImportNames);
}

QStringList exportFormatNames()
{
    return namesOf(ExportNames);
}

ImportResult readRecords(ImportFormat format, const QByteArray &bytes)
{
    // Not bytes.trimmed(): that would leave an unwiped copy of the file.
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return std::isspace(uchar(c)); })) {
        ImportResult result;
        result.error = ImportError{0, QStringLiteral("the file is empty")};
        return result;
    }
    return format == ImportFormat::KeePassXml ? readKeePassXml(bytes)
                                              : readCsvFormat(format, bytes);
}

QByteArray writeRecords(ExportFormat format, const std::vector<NamedRecord> &records)
{
    return format == ExportFormat::KeePassXml ? writeKeePassXml(records)
                                              : writeVellumorCsv(records);
}

std::vector<NamedRecord> storeRecords(const PasswordStore &store)
{
    std::vector<NamedRecord> records;
    records.reserve(static_cast<std::size_t>(store.Passwords().Count()));
    for (const PasswordEntry &e : store.Passwords()) {
        NamedRecord r{e, store.CategoryName(e.codcat), store.SubCategoryName(e.CodSCat)};
        r.entry.codcat = 0;
        r.entry.CodSCat = 0;
        records.push_back(std::move(r));
    }
    return records;
}

void wipeSecrets(std::vector<NamedRecord> &records)
{
    for (NamedRecord &r : records) {
        wipeText(r.entry.Password);
    }
    records.clear();
}

void placeByPath(NamedRecord &record, const QStringList &folders)
{
    record.category = folders.value(0);
    record.subcategory = folders.mid(1).join(QStringLiteral(" / "));
}

ImportResult failed(ImportResult &&result, int line, const QString &text)
{
    wipeSecrets(result.records);
    result.error =
        ImportError{line, line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(text) : text};
    return std::move(result);
}

} // namespace interchange
