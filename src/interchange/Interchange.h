#pragma once

#include "Records.h"

#include <optional>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

class PasswordStore;

// Records to and from the files other password managers and browsers read and
// write. Only QtCore: the command line and the GUI both use it.
namespace interchange {

enum class ImportFormat
{
    KeePassXml,   // "keepass-xml": KeePass 2 XML, as keepassxc-cli export writes it
    KeePassXcCsv, // "keepassxc-csv": KeePassXC's CSV export
    BitwardenCsv, // "bitwarden-csv": Bitwarden's CSV export (login items only)
    BrowserCsv,   // "chrome-csv": Chromium-based browsers and Firefox, told by the header
    VellumorCsv,  // "csv": our own CSV export
};

enum class ExportFormat
{
    VellumorCsv, // "csv": every field, with Category and Subcategory
    KeePassXml,  // "keepass-xml": what keepassxc-cli import reads
};

// Why a file could not be read: line is where the fault starts (1-based; 0
// for the whole file), message the text for the user, line included
// ("line 7: a quoted field is not closed").
struct ImportError
{
    int line = 0;
    QString message;
};

struct ImportResult
{
    // Empty when error is set. Codes in the entries are 0: the names place them.
    std::vector<NamedRecord> records;
    std::optional<ImportError> error;
    // Items left out: Bitwarden's that are no login (cards, identities,
    // secure notes), the entries of KeePassXC's recycle bin in its CSV.
    int skipped = 0;
};

// By the names above, ignoring case; nullopt for an unknown name.
std::optional<ImportFormat> importFormat(QStringView name);
std::optional<ExportFormat> exportFormat(QStringView name);
QStringList importFormatNames();
QStringList exportFormatNames();

ImportResult readRecords(ImportFormat format, const QByteArray &bytes);
QByteArray writeRecords(ExportFormat format, const std::vector<NamedRecord> &records);

// The store's records by service, placed by folder names, codes 0.
std::vector<NamedRecord> storeRecords(const PasswordStore &store);

// Overwrites the passwords of records nobody else shares, then empties them.
void wipeSecrets(std::vector<NamedRecord> &records);

} // namespace interchange
