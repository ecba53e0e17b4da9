#include "NodeKeys.h"

namespace mainwindow {

void ParseNodeKey(const QString &key, qint16 &category, qint16 &subCategory, bool all)
{
    category = -1;
    subCategory = -1;
    if (key.startsWith(QLatin1Char('C'))) {
        category = key.mid(1).toShort();
    } else if (key.startsWith(QLatin1Char('S'))) {
        const qsizetype c = key.indexOf(QLatin1Char('C'));
        if (c > 0) {
            category = key.mid(c + 1).toShort();
            subCategory = key.mid(1, c - 1).toShort();
        } else {
            subCategory = key.mid(1).toShort();
        }
    }
    if (!all) {
        category = category < 0 ? qint16(0) : category;
        subCategory = subCategory < 0 ? qint16(0) : subCategory;
    }
}

} // namespace mainwindow
