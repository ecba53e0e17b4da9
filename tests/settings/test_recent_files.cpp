// The recent-file list: its upkeep after an open, and its round trip through
// the option settings across a restart.

#include "RecentFiles.h"
#include "Settings.h"

#include <QSettings>
#include <QTest>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void noteOpened_data();
    void noteOpened();
    void duplicatesAreRefused();
    void loadStopsAtGapAndHistorySize_data();
    void loadStopsAtGapAndHistorySize();
    void saveWritesInOrderAndSurvivesRestart();
};

void TestRecentFiles::init()
{
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

void TestRecentFiles::noteOpened_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<int>("historySize");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("into empty list")
        << QStringList{} << "/f/a.VLM" << 10 << QStringList{"/f/a.VLM"};
    QTest::newRow("new goes first") << QStringList{"/f/a.VLM", "/f/b.VLM"} << "/f/c.VLM" << 10
                                    << QStringList{"/f/c.VLM", "/f/a.VLM", "/f/b.VLM"};
    QTest::newRow("known moves to front, no duplicate")
        << QStringList{"/f/a.VLM", "/f/b.VLM", "/f/c.VLM"} << "/f/c.VLM" << 10
        << QStringList{"/f/c.VLM", "/f/a.VLM", "/f/b.VLM"};
    QTest::newRow("full list drops the oldest")
        << QStringList{"/f/a.VLM", "/f/b.VLM", "/f/c.VLM"} << "/f/d.VLM" << 3
        << QStringList{"/f/d.VLM", "/f/a.VLM", "/f/b.VLM"};
    QTest::newRow("full list, known path keeps all others")
        << QStringList{"/f/a.VLM", "/f/b.VLM", "/f/c.VLM"} << "/f/b.VLM" << 3
        << QStringList{"/f/b.VLM", "/f/a.VLM", "/f/c.VLM"};
    QTest::newRow("history size lowered meanwhile")
        << QStringList{"/f/a.VLM", "/f/b.VLM", "/f/c.VLM", "/f/d.VLM"} << "/f/e.VLM" << 2
        << QStringList{"/f/e.VLM", "/f/a.VLM"};
    QTest::newRow("history size zero keeps the newest")
        << QStringList{"/f/a.VLM"} << "/f/b.VLM" << 0 << QStringList{"/f/b.VLM"};
#ifndef Q_OS_WIN
    QTest::newRow("paths differing in case are different files")
        << QStringList{"/f/a.VLM"} << "/f/A.VLM" << 10 << QStringList{"/f/A.VLM", "/f/a.VLM"};
#endif
}

void TestRecentFiles::noteOpened()
{
    QFETCH(QStringList, before);
    QFETCH(QString, opened);
    QFETCH(int, historySize);
    QFETCH(QStringList, after);
    RecentFiles list;
    for (const QString &path : before) {
        QVERIFY(list.add(path));
    }
    list.noteOpened(opened, static_cast<qint16>(historySize));
    QCOMPARE(list.paths(), after);
    QCOMPARE(list.item(1), after.first());
    QCOMPARE(list.item(list.count() + 1), QString());
}

void TestRecentFiles::duplicatesAreRefused()
{
    RecentFiles list;
    QVERIFY(list.add(QStringLiteral("/f/a.VLM")));
    QVERIFY(!list.add(QStringLiteral("/f/a.VLM")));
    QCOMPARE(list.count(), 1);
    list.remove(QStringLiteral("/f/missing.VLM"));
    QCOMPARE(list.count(), 1);
}

void TestRecentFiles::loadStopsAtGapAndHistorySize_data()
{
    QTest::addColumn<QStringList>("stored"); // File-1, File-2, ...; "" leaves one out
    QTest::addColumn<int>("historySize");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("nothing stored") << QStringList{} << 10 << QStringList{};
    QTest::newRow("all read") << QStringList{"/a", "/b", "/c"} << 10
                              << QStringList{"/a", "/b", "/c"};
    QTest::newRow("beyond history size not read")
        << QStringList{"/a", "/b", "/c"} << 2 << QStringList{"/a", "/b"};
    QTest::newRow("gap ends the list")
        << QStringList{"/a", "/b", "", "/d"} << 10 << QStringList{"/a", "/b"};
    QTest::newRow("stored duplicate skipped")
        << QStringList{"/a", "/a", "/b"} << 10 << QStringList{"/a", "/b"};
}

void TestRecentFiles::loadStopsAtGapAndHistorySize()
{
    QFETCH(QStringList, stored);
    QFETCH(int, historySize);
    QFETCH(QStringList, expected);
    Settings settings;
    SettingsComponent &s = settings.OpenOptionSettings();
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (!stored.at(i).isEmpty()) {
            s.SaveString(QStringLiteral("File-%1").arg(i + 1), stored.at(i));
        }
    }
    RecentFiles list;
    QVERIFY(list.add(QStringLiteral("/left/over")));
    QString filePath = QStringLiteral("stale");
    LoadRecentFiles(s, static_cast<qint16>(historySize), list, filePath);
    QCOMPARE(list.paths(), expected);
    QCOMPARE(filePath, QString());
}

void TestRecentFiles::saveWritesInOrderAndSurvivesRestart()
{
    RecentFiles list;
    for (const char *path : {"/x/one.VLM", "/x/two.VLM", "/x/three.VLM"}) {
        list.add(QString::fromUtf8(path));
    }
    {
        Settings settings;
        SaveRecentFiles(settings, QStringLiteral("/x"), list, 2, QStringLiteral("<New VLM File>"));
        QVERIFY(settings.OptionSettings == nullptr);
    }
    QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
    raw.beginGroup(QStringLiteral("1.0"));
    QCOMPARE(raw.value(QStringLiteral("NumFiles")).toInt(), 3);
    QCOMPARE(raw.value(QStringLiteral("File-2")).toString(), QStringLiteral("/x/two.VLM"));
    QVERIFY(!raw.contains(QStringLiteral("File-3")));
    raw.endGroup();

    Settings next;
    RecentFiles readBack;
    QString filePath;
    LoadRecentFiles(next.OpenOptionSettings(), 10, readBack, filePath);
    QCOMPARE(readBack.paths(), (QStringList{"/x/one.VLM", "/x/two.VLM"}));
    // Written as "FileName", read as "Filename": names ignore case.
    QCOMPARE(filePath, QStringLiteral("<New VLM File>"));
    QCOMPARE(next.OptionSettings->GetString(QStringLiteral("Path"), QString()),
             QStringLiteral("/x"));
}

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "test_recent_files.moc"
