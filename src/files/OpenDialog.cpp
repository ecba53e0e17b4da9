#include "OpenDialog.h"

#include <QDir>

namespace files {

bool isSeparator(QChar c)
{
    return c == QDir::separator() || c == QLatin1Char('/');
}

bool splitPath(const QString &path, QString &folder, QString &fileName)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path.at(i))) {
            folder = path.left(i);
            fileName = path.mid(i + 1);
            return true;
        }
    }
    return false;
}

QString joinPath(const QString &folder, const QString &fileName)
{
    if (!folder.isEmpty() && isSeparator(folder.back())) {
        return folder + fileName;
    }
    return folder + QDir::separator() + fileName;
}

} // namespace files
