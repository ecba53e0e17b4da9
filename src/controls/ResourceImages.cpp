#include "ResourceImages.h"

#include <QFile>
#include <QTextStream>

namespace controls::resource_images {

namespace {

struct StripInfo
{
    int number = 0;
    int size = 0;
    QStringList keys;
};

// strips.txt is the one list of keys, shared with the script that composes
// the PNGs, so the two cannot drift apart.
QList<StripInfo> readList()
{
    QList<StripInfo> list;
    QFile file(QStringLiteral(":/vellumor/icons/strips.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.size() == 3 && words[0] == u"resource")
            list.append(StripInfo{words[1].toInt(), words[2].toInt(), {}});
        else if (words.size() == 2 && !list.isEmpty())
            list.last().keys.append(words[0]);
    }
    return list;
}

StripInfo find(int number)
{
    const QList<StripInfo> list = readList();
    for (const StripInfo &info : list) {
        if (info.number == number)
            return info;
    }
    return {};
}

} // namespace

QList<int> numbers()
{
    QList<int> result;
    const QList<StripInfo> list = readList();
    for (const StripInfo &info : list)
        result.append(info.number);
    return result;
}

QStringList keys(int number)
{
    return find(number).keys;
}

int imageSize(int number)
{
    return find(number).size;
}

QImage strip(int number)
{
    if (find(number).number == 0)
        return {};
    return QImage(QStringLiteral(":/vellumor/icons/strip-%1.png").arg(number));
}

std::shared_ptr<ImageList> imageList(int number)
{
    const StripInfo info = find(number);
    if (info.number == 0)
        return std::make_shared<ImageList>();
    auto list = std::make_shared<ImageList>(info.size);
    list->addStrip(strip(number), info.keys);
    return list;
}

} // namespace controls::resource_images
