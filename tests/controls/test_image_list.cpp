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
    void addStrip_data();
    void addStrip();
    void resources_data();
    void resources();
};

void TestImageList::addStrip_data()
{
    const QImage strip = resource_images::strip(102); // three 16x16 images
    QTest::addColumn<QImage>("strip");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<bool>("fits");
    QTest::newRow("fits") << strip << QStringList{"R", "G", "B"} << true;
    QTest::newRow("too narrow") << strip.copy(0, 0, 32, 16) << QStringList{"a", "b", "c"} << false;
    QTest::newRow("wrong height") << strip.copy(0, 0, 48, 15) << QStringList{"a"} << false;
    QTest::newRow("duplicate key") << strip << QStringList{"a", "A", "c"} << false;
    QTest::newRow("empty key") << strip << QStringList{"a", "", "c"} << false;
    QTest::newRow("null image") << QImage() << QStringList{"a"} << false;
}

void TestImageList::addStrip()
{
    QFETCH(QImage, strip);
    QFETCH(QStringList, keys);
    QFETCH(bool, fits);
    ImageList list;
    QCOMPARE(list.addStrip(strip, keys), fits);
    QCOMPARE(list.keys(), fits ? keys : QStringList()); // a strip that does not fit adds nothing
    if (!fits)
        return;
    QCOMPARE(list.index("g"), 2); // keys are not case-sensitive
    QCOMPARE(list.key(4), QString());
    // Unknown keys and indexes are "no image".
    QVERIFY(!list.contains("NOPE"));
    QVERIFY(list.icon("NOPE").isNull());
    QVERIFY(list.icon(4).isNull());
    QVERIFY(list.pixmap(0).isNull());
    QVERIFY(!list.icon("R").isNull());
    // A second strip continues the numbering.
    QVERIFY(list.addStrip(strip.copy(0, 0, 16, 16), {"X"}));
    QCOMPARE(list.index("X"), 4);
}

void TestImageList::resources_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("keys");
    QTest::newRow("101 tree and grid") << 101 << 16
                                       << "VLM CFOLDER OFOLDER CATCLOSE CATOPEN SCATCLOSE "
                                          "SCATOPEN PDELETE PEDIT ASC DESC ALERT WARNING";
    QTest::newRow("102 drag") << 102 << 16 << "DRAGFOLD DRAGPW NODRAG";
    QTest::newRow("103 toolbar") << 103 << 16
                                 << "NEW OPEN SAVE PREVIEW PRINT CUT COPY PASTE SEARCH PADD "
                                    "PEDIT PDELETE HELP WHAT";
    QTest::newRow("104 menus") << 104 << 16
                               << "VLM NEW OPEN SAVE PRINT CUT COPY PASTE STATUSBAR TOOLBAR "
                                  "TREEVIEW SEARCH PADD PEDIT PDELETE CHECK MAIL WEB HELP_PTR "
                                  "HELP OFOLDER CFOLDER WEBOPEN SASC SDESC CAT SUBCAT PW CONFIG";
    QTest::newRow("105 tray") << 105 << 16
                              << "VLM NEW OPEN SAVE PRINT CHECK PADD MAIL WEB HELP CONFIG "
                                 "CFOLDER CAT SUBCAT PW";
    QTest::newRow("106 large file icon") << 106 << 32 << "VLM";
    QTest::newRow("107 small file icon") << 107 << 16 << "VLM";
    QTest::newRow("none") << 100 << 0 << "";
}

void TestImageList::resources()
{
    QFETCH(int, number);
    QFETCH(int, size);
    QFETCH(QString, keys);
    QCOMPARE(resource_images::numbers(), QList<int>({101, 102, 103, 104, 105, 106, 107}));
    const QStringList expected = keys.split(' ', Qt::SkipEmptyParts);
    QCOMPARE(resource_images::keys(number), expected);
    QCOMPARE(resource_images::imageSize(number), size);
    const QImage strip = resource_images::strip(number).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(strip.width(), size * expected.size());
    const auto list = resource_images::imageList(number);
    QCOMPARE(list->count(), expected.size());
    for (int index = 1; index <= list->count(); ++index) {
        QCOMPARE(list->index(expected[index - 1]), index);
        const QImage image = list->pixmap(index).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), QSize(size, size));
        // The mask colour, and only it, is transparent.
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const bool mask = strip.pixel((index - 1) * size + x, y) == 0xFFBFBFBF;
                QCOMPARE(qAlpha(image.pixel(x, y)) == 0, mask);
            }
        }
    }
}

QTEST_MAIN(TestImageList)
#include "test_image_list.moc"
