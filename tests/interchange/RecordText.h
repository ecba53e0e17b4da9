#pragma once
// Records as one line of text for the interchange tests: the folders, then
// every field that differs from an empty record, by its column name.

#include "Interchange.h"
#include "RecordFields.h"

#include <QStringList>

inline QString recordText(const NamedRecord &r)
{
    static const PasswordEntry Empty;
    QStringList fields;
    for (const interchange::RecordField &f : interchange::recordFields()) {
        const QString value = f.get(r.entry);
        if (value != f.get(Empty)) {
            fields << QString::fromUtf16(f.name) + '=' + value;
        }
    }
    if (r.entry.codcat != 0 || r.entry.CodSCat != 0) {
        fields << "codes set";
    }
    return r.category + '/' + r.subcategory + ' ' + fields.join(';');
}

inline QStringList recordTexts(const std::vector<NamedRecord> &records)
{
    QStringList texts;
    for (const NamedRecord &r : records) {
        texts << recordText(r);
    }
    return texts;
}
