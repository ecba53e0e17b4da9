#pragma once

#include "Records.h"

#include <QString>
#include <span>

namespace interchange {

// A field of a record as text, by one name in every format: the column of
// our CSV export, and the custom String key of a KeePass entry for the fields
// KeePass has no place of its own for.
struct RecordField
{
    const char16_t *name;
    QString (*get)(const PasswordEntry &);
    // False when text is no value of this field (an empty text is always one).
    bool (*set)(PasswordEntry &, const QString &text);
    // KeePass keeps the field itself (Title, UserName, Password, URL, Notes, times).
    bool keepassOwn;
    // What the set function needs to read: shown when a value is refused.
    const char16_t *expected;
};

// Every field of a record, in the column order of our CSV export.
std::span<const RecordField> recordFields();

// Texts of times and dates: UTC ISO 8601 with milliseconds when there are
// some; "" for none. Reading accepts any ISO 8601 offset.
QString timeText(const QDateTime &time);
bool parseTime(const QString &text, QDateTime &time);

} // namespace interchange
