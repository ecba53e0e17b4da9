#pragma once

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace controls {

// Square images addressed by text key and by 1-based index, cut from bitmap
// strips whose mask colour becomes transparent. Index 0 and unknown keys mean
// "no image": lookups then give a null icon or pixmap rather than failing.
class ImageList
{
public:
    static constexpr QRgb defaultMask = 0xBFBFBF;

    explicit ImageList(int size = 16) : m_size(size) {}

    // Appends one image per key, taken from left to right out of a strip
    // size * keys.size() pixels wide. Fails (adding nothing) when the strip is
    // too narrow or not size pixels high, or a key is empty or already taken.
    bool addStrip(const QImage &strip, const QStringList &keys, QRgb mask = defaultMask);
    // One image; a transparent background is kept as it is.
    bool add(const QString &key, const QPixmap &pixmap);
    void clear();

    int size() const { return m_size; }
    int count() const { return static_cast<int>(m_pixmaps.size()); }
    bool isEmpty() const { return m_pixmaps.isEmpty(); }
    // 1-based index of a key (keys compare case-insensitively); 0 when absent.
    int index(const QString &key) const;
    bool contains(const QString &key) const { return index(key) != 0; }
    // The key of a 1-based index; empty when out of range.
    QString key(int index) const;
    QStringList keys() const { return m_keys; }

    QPixmap pixmap(int index) const;
    QPixmap pixmap(const QString &key) const { return pixmap(index(key)); }
    QIcon icon(int index) const;
    QIcon icon(const QString &key) const { return icon(index(key)); }

private:
    int m_size;
    QStringList m_keys;
    QList<QPixmap> m_pixmaps;
    QList<QIcon> m_icons;
    QHash<QString, int> m_indexByKey; // folded key -> 1-based index
};

} // namespace controls
