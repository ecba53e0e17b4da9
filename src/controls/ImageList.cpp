#include "ImageList.h"

#include <QBitmap>

namespace controls {

namespace {

QString folded(const QString &key)
{
    return key.toCaseFolded();
}

} // namespace

bool ImageList::addStrip(const QImage &strip, const QStringList &keys, QRgb mask)
{
    const auto needed = static_cast<qsizetype>(m_size) * keys.size();
    if (strip.isNull() || strip.height() != m_size || strip.width() < needed)
        return false;
    QHash<QString, int> seen;
    for (const QString &key : keys) {
        if (key.isEmpty() || m_indexByKey.contains(folded(key)) || seen.contains(folded(key)))
            return false;
        seen.insert(folded(key), 0);
    }
    const QImage source = strip.convertToFormat(QImage::Format_RGB32);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QImage cell = source.copy(static_cast<int>(i) * m_size, 0, m_size, m_size);
        QPixmap pixmap = QPixmap::fromImage(cell);
        pixmap.setMask(QBitmap::fromImage(cell.createMaskFromColor(mask | 0xFF000000u)));
        add(keys[i], pixmap);
    }
    return true;
}

bool ImageList::add(const QString &key, const QPixmap &pixmap)
{
    if (key.isEmpty() || m_indexByKey.contains(folded(key)))
        return false;
    m_keys.append(key);
    m_pixmaps.append(pixmap);
    m_icons.append(QIcon(pixmap));
    m_indexByKey.insert(folded(key), count());
    return true;
}

void ImageList::clear()
{
    m_keys.clear();
    m_pixmaps.clear();
    m_icons.clear();
    m_indexByKey.clear();
}

int ImageList::index(const QString &key) const
{
    return m_indexByKey.value(folded(key), 0);
}

QString ImageList::key(int index) const
{
    if (index < 1 || index > count())
        return {};
    return m_keys[index - 1];
}

QPixmap ImageList::pixmap(int index) const
{
    if (index < 1 || index > count())
        return {};
    return m_pixmaps[index - 1];
}

QIcon ImageList::icon(int index) const
{
    if (index < 1 || index > count())
        return {};
    return m_icons[index - 1];
}

} // namespace controls
