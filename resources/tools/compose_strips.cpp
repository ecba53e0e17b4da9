// Composes the icon strips listed in strips.txt from single 16x16 icons:
// each strip is the images side by side, on the mask colour, stored opaque.
//
//   compose_strips <strips.txt> <icon folder> <output folder>

#include <cstdio>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QString>
#include <QTextStream>

namespace {

constexpr QRgb maskColour = 0xFFBFBFBF;
// An icon pixel that happens to be the mask colour would vanish; one step
// darker looks the same and stays.
constexpr QRgb nearMask = 0xFFBEBEBE;

struct Strip
{
    int number = 0;
    int size = 16;
    QList<QString> icons;
};

QList<Strip> readStrips(const QString &path)
{
    QFile file(path);
    QList<Strip> strips;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return strips;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.size() == 3 && words[0] == u"resource") {
            strips.append(Strip{words[1].toInt(), words[2].toInt(), {}});
        } else if (words.size() == 2 && !strips.isEmpty()) {
            strips.last().icons.append(words[1]);
        } else {
            std::fprintf(stderr, "bad line: %s\n", qPrintable(line));
            return {};
        }
    }
    return strips;
}

bool compose(const Strip &strip, const QString &iconFolder, const QString &outFolder)
{
    const auto count = static_cast<int>(strip.icons.size());
    QImage out(strip.size * count, strip.size, QImage::Format_RGB32);
    out.fill(maskColour);
    for (int i = 0; i < count; ++i) {
        const QString file = iconFolder + u'/' + strip.icons[i] + QStringLiteral(".png");
        QImage icon(file);
        if (icon.isNull()) {
            std::fprintf(stderr, "missing icon: %s\n", qPrintable(file));
            return false;
        }
        icon = icon.convertToFormat(QImage::Format_ARGB32)
                   .scaled(strip.size, strip.size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QImage cell(strip.size, strip.size, QImage::Format_RGB32);
        cell.fill(maskColour);
        {
            QPainter painter(&cell);
            painter.drawImage(0, 0, icon);
        }
        for (int y = 0; y < strip.size; ++y) {
            for (int x = 0; x < strip.size; ++x) {
                if (qAlpha(icon.pixel(x, y)) != 0 && cell.pixel(x, y) == maskColour)
                    cell.setPixel(x, y, nearMask);
            }
        }
        QPainter painter(&out);
        painter.drawImage(i * strip.size, 0, cell);
    }
    const QString target = outFolder + QStringLiteral("/strip-%1.png").arg(strip.number);
    if (!out.convertToFormat(QImage::Format_RGB888).save(target, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return false;
    }
    std::printf("%s: %d images of %d px\n", qPrintable(target), count, strip.size);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: compose_strips <strips.txt> <icon folder> <output folder>\n");
        return 2;
    }
    const QList<Strip> strips = readStrips(QString::fromLocal8Bit(argv[1]));
    if (strips.isEmpty())
        return 1;
    for (const Strip &strip : strips) {
        if (!compose(strip, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])))
            return 1;
    }
    return 0;
}
