#pragma once

#include "Interchange.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace interchange {

// One record of a CSV file and the physical line it starts on.
struct CsvRow
{
    int line = 0;
    QStringList fields;
};

// Reads CSV as RFC 4180 has it, a little more lenient: rows end in CRLF, LF
// or CR; a quote inside an unquoted field is taken as it is; blank lines are
// skipped; a UTF-8 byte order mark is dropped. Fields keep line breaks inside
// quotes exactly. The first row is the header, and every row must have as many
// fields as it.
class CsvReader
{
public:
    // False with error set (and no rows) for text that is not CSV.
    static bool read(const QByteArray &bytes, std::vector<CsvRow> &rows, ImportError &error);
};

// Writes rows ending in CRLF, quoting a field only when it needs it.
class CsvWriter
{
public:
    CsvWriter() = default;
    ~CsvWriter();
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;

    void addRow(const QStringList &fields);
    // The UTF-8 bytes; the text gathered so far is wiped.
    QByteArray finish();

private:
    QString m_text;
};

// Overwrites every field (they may hold passwords).
void wipeRows(std::vector<CsvRow> &rows);

} // namespace interchange
