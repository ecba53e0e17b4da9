#pragma once

#include <QString>

namespace mainwindow {

// Which records a tree node stands for: -1 means every value. With all false
// the -1 values come back as 0.
//   "" / "Root"   -1, -1     every record
//   "C0"           0, -1     records without category
//   "C<n>"         n, -1     every record of category n
//   "S0C<n>"       n,  0     records of category n without subcategory
//   "S<m>C<n>"     n,  m     records of subcategory m of category n
void ParseNodeKey(const QString &key, qint16 &category, qint16 &subCategory, bool all);

inline QString categoryKey(qint16 codcat)
{
    return QStringLiteral("C") + QString::number(codcat);
}

inline QString subCategoryKey(qint16 CodSCat, qint16 codcat)
{
    return QStringLiteral("S") + QString::number(CodSCat) + categoryKey(codcat);
}

} // namespace mainwindow
