// Image lists: strips cut into keyed images with the mask colour transparent,
// and the program's built-in strips with their keys in order.

#include "ImageList.h"
#include "ResourceImages.h"

#include <QTest>

using namespace controls;

class TestImageList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void maskBecomesTransparent();
    void keysAndIndexes();
    void rejectsBadStrips_data();
    void rejectsBadStrips();
    void unknownKeyIsHarmless();
    void resourceKeys_data();
    void resourceKeys();
    void resourceStripsAreMasked();
    void unknownResource();
};

namespace {

// Three 4x4 images: red, green, blue squares whose left column is the mask.
QImage testStrip()
{
    QImage strip(12, 4, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 3; ++i) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x)
                strip.setPixel(i * 4 + x, y, x == 0 ? qRgb(191, 191, 191) : colours[i]);
        }
    }
    return strip;
}

} // namespace

void TestImageList::maskBecomesTransparent()
{
    ImageList list(4);
    QVERIFY(list.addStrip(testStrip(), {"R", "G", "B"}));
    for (int index = 1; index <= 3; ++index) {
        const QImage image = list.pixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(4, 4));
        QCOMPARE(qAlpha(image.pixel(0, 2)), 0);
        QCOMPARE(qAlpha(image.pixel(1, 2)), 255);
        QCOMPARE(qAlpha(image.pixel(3, 3)), 255);
    }
    const QImage green = list.pixmap("G").toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(QColor(green.pixel(2, 1)), QColor(0, 255, 0));
}

void TestImageList::keysAndIndexes()
{
    ImageList list(4);
    QVERIFY(list.addStrip(testStrip(), {"R", "G", "B"}));
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.index("R"), 1);
    QCOMPARE(list.index("B"), 3);
    QCOMPARE(list.index("g"), 2); // keys are not case-sensitive
    QCOMPARE(list.key(1), QString("R"));
    QCOMPARE(list.key(3), QString("B"));
    QCOMPARE(list.key(0), QString());
    QCOMPARE(list.key(4), QString());
    QCOMPARE(list.keys(), QStringList({"R", "G", "B"}));
    // A second strip continues the numbering.
    QVERIFY(list.addStrip(testStrip().copy(0, 0, 4, 4), {"X"}));
    QCOMPARE(list.index("X"), 4);
}

void TestImageList::rejectsBadStrips_data()
{
    QTest::addColumn<QImage>("strip");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("too narrow") << testStrip().copy(0, 0, 8, 4) << QStringList{"a", "b", "c"};
    QTest::newRow("wrong height") << testStrip().copy(0, 0, 12, 3) << QStringList{"a"};
    QTest::newRow("duplicate key") << testStrip() << QStringList{"a", "A", "c"};
    QTest::newRow("empty key") << testStrip() << QStringList{"a", "", "c"};
    QTest::newRow("null image") << QImage() << QStringList{"a"};
}

void TestImageList::rejectsBadStrips()
{
    QFETCH(QImage, strip);
    QFETCH(QStringList, keys);
    ImageList list(4);
    QVERIFY(!list.addStrip(strip, keys));
    QCOMPARE(list.count(), 0);
}

void TestImageList::unknownKeyIsHarmless()
{
    ImageList list(4);
    QVERIFY(list.addStrip(testStrip(), {"R", "G", "B"}));
    QCOMPARE(list.index("NOPE"), 0);
    QVERIFY(!list.contains("NOPE"));
    QVERIFY(list.icon("NOPE").isNull());
    QVERIFY(list.pixmap("NOPE").isNull());
    QVERIFY(list.pixmap(0).isNull());
    QVERIFY(list.pixmap(-1).isNull());
    QVERIFY(!list.icon("R").isNull());
}

void TestImageList::resourceKeys_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("101 tree and grid")
        << 101 << 16 << QStringList{"VLM",       "CFOLDER",  "OFOLDER", "CATCLOSE", "CATOPEN",
                                    "SCATCLOSE", "SCATOPEN", "PDELETE", "PEDIT",    "ASC",
                                    "DESC",      "ALERT",    "WARNING"};
    QTest::newRow("102 drag") << 102 << 16 << QStringList{"DRAGFOLD", "DRAGPW", "NODRAG"};
    QTest::newRow("103 toolbar") << 103 << 16
                                 << QStringList{"NEW",   "OPEN",    "SAVE",  "PREVIEW", "PRINT",
                                                "CUT",   "COPY",    "PASTE", "SEARCH",  "PADD",
                                                "PEDIT", "PDELETE", "HELP",  "WHAT"};
    QTest::newRow("104 menus") << 104 << 16
                               << QStringList{
                                      "VLM",      "NEW",     "OPEN",    "SAVE",      "PRINT",
                                      "CUT",      "COPY",    "PASTE",   "STATUSBAR", "TOOLBAR",
                                      "TREEVIEW", "SEARCH",  "PADD",    "PEDIT",     "PDELETE",
                                      "CHECK",    "MAIL",    "WEB",     "HELP_PTR",  "HELP",
                                      "OFOLDER",  "CFOLDER", "WEBOPEN", "SASC",      "SDESC",
                                      "CAT",      "SUBCAT",  "PW",      "CONFIG"};
    QTest::newRow("105 tray") << 105 << 16
                              << QStringList{"VLM",    "NEW",     "OPEN", "SAVE",   "PRINT",
                                             "CHECK",  "PADD",    "MAIL", "WEB",    "HELP",
                                             "CONFIG", "CFOLDER", "CAT",  "SUBCAT", "PW"};
    QTest::newRow("106 large file icon") << 106 << 32 << QStringList{"VLM"};
    QTest::newRow("107 small file icon") << 107 << 16 << QStringList{"VLM"};
}

void TestImageList::resourceKeys()
{
    QFETCH(int, number);
    QFETCH(int, size);
    QFETCH(QStringList, keys);
    QCOMPARE(resource_images::keys(number), keys);
    QCOMPARE(resource_images::imageSize(number), size);
    const QImage strip = resource_images::strip(number);
    QCOMPARE(strip.width(), size * keys.size());
    QCOMPARE(strip.height(), size);
    const auto list = resource_images::imageList(number);
    QCOMPARE(list->count(), keys.size());
    QCOMPARE(list->size(), size);
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(list->index(keys[i]), i + 1);
        QCOMPARE(list->pixmap(i + 1).size(), QSize(size, size));
    }
}

void TestImageList::resourceStripsAreMasked()
{
    const QList<int> numbers = resource_images::numbers();
    QCOMPARE(numbers, QList<int>({101, 102, 103, 104, 105, 106, 107}));
    for (const int number : numbers) {
        const QImage strip = resource_images::strip(number).convertToFormat(QImage::Format_RGB32);
        const auto list = resource_images::imageList(number);
        const int size = list->size();
        QList<QImage> seen;
        for (int index = 1; index <= list->count(); ++index) {
            const QImage image =
                list->pixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
            int opaque = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const bool mask = strip.pixel((index - 1) * size + x, y) == 0xFFBFBFBF;
                    QCOMPARE(qAlpha(image.pixel(x, y)) == 0, mask);
                    opaque += mask ? 0 : 1;
                }
            }
            // Each image shows something, and no two images of a strip are the same.
            QVERIFY2(opaque > size * size / 8, qPrintable(list->key(index)));
            QVERIFY2(!seen.contains(image), qPrintable(list->key(index)));
            seen.append(image);
        }
    }
}

void TestImageList::unknownResource()
{
    QVERIFY(resource_images::keys(100).isEmpty());
    QVERIFY(resource_images::strip(100).isNull());
    QCOMPARE(resource_images::imageSize(100), 0);
    QVERIFY(resource_images::imageList(100)->isEmpty());
}

QTEST_MAIN(TestImageList)
#include "test_image_list.moc"
