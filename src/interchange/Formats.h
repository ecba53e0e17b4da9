#pragma once
// Private to the library: one reader or writer per file format.

#include "Interchange.h"

namespace interchange {

ImportResult readCsvFormat(ImportFormat format, const QByteArray &bytes);
QByteArray writeVellumorCsv(const std::vector<NamedRecord> &records);
ImportResult readKeePassXml(const QByteArray &bytes);
QByteArray writeKeePassXml(const std::vector<NamedRecord> &records);

// Places a record by a folder path below the root: the first folder is the
// category, the rest, joined by " / ", the subcategory (our tree has two levels).
void placeByPath(NamedRecord &record, const QStringList &folders);

// An error result, the records read so far wiped.
ImportResult failed(ImportResult &&result, int line, const QString &text);

} // namespace interchange
