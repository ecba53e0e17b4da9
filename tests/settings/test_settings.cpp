// The settings mechanism: typed values under names that ignore case, the options, the
// recent files, window placement in twips (32 bits where 16 do not reach, on two screens).

#include "Placement.h"
#include "ProgramOptions.h"
#include "RecentFiles.h"
#include "Registry.h"
#include "Settings.h"

#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QWidget>

namespace {

// Everything stored in the option and layout settings, as name=value, sorted.
QString stored()
{
    const QSettings raw("Quorvan", "VLM");
    QStringList all;
    for (const QString &key : raw.allKeys()) { // all of them under "1.0/"
        all << key.mid(4) + '=' + raw.value(key).toString();
    }
    return all.join(' ');
}

const QString Changed = // every option, none at its default
    "AutoCheck=false AutoLoadData=true AutoLoadWin=false AutoSaveData=true AutoSaveWin=false "
    "BackupFile=false BackupHistory=false ChangeDays=32767 ChangeNotify=9 ClipboardClearSeconds=0 "
    "DefaultGridAction=5 ExpirationDays=-7 ExpirationNotify=0 GTSAfterURL=true HistorySize=4 "
    "KeyAfter={ENTER} KeyAfterCB=13 KeyBefore=;; KeyBeforeCB=-1 Language=ITA LockAfterMinutes=15 "
    "LockOnSessionLock=false ShowCatSub=false ShowNotes=true StartupType=1 SysTrayDef=2 "
    "SysTrayPWDefault=7 ViewFileName=false ViewMenuIcon=false ViewSplash=false ViewTips=false "
    "ViewWizard=false";

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QSettings("Quorvan", "VLM").clear(); }
    void values_data();
    void values();
    void optionsAndRecentFiles();
    void noteOpened_data();
    void noteOpened();
    void placement();
};

void TestSettings::values_data()
{
    QTest::addColumn<QVariant>("raw"); // as found in the settings file; none if invalid
    QTest::addColumn<QString>("read"); // as integer, long, boolean, string ("d": the default),
                                       // under its name in another case
    QTest::newRow("number") << QVariant("42") << "42 42 d 42";
    QTest::newRow("beyond 16 bits") << QVariant(99999) << "d 99999 d 99999";
    QTest::newRow("beyond 32 bits") << QVariant(2147483648LL) << "d d d 2147483648";
    QTest::newRow("missing") << QVariant() << "d d d d";
    QTest::newRow("true") << QVariant(" TRUE ") << "d d true  TRUE ";
    QTest::newRow("1") << QVariant("1") << "1 1 true 1";
    QTest::newRow("-1") << QVariant(-1) << "-1 -1 true -1";
    QTest::newRow("false") << QVariant("False") << "d d false False";
}

void TestSettings::values()
{
    QFETCH(QVariant, raw);
    QFETCH(QString, read);
    if (raw.isValid()) {
        QSettings("Quorvan", "VLM").setValue("1.0/FileName", raw);
    }
    Settings settings;
    const SettingsComponent &s = settings.OpenOptionSettings();
    const auto pick = [](auto a, auto b) { return a == b ? QVariant(a).toString() : QString("d"); };
    QCOMPARE(QStringList({pick(s.GetInteger("FILENAME", 7), s.GetInteger("FILENAME", 8)),
                          pick(s.GetLong("filename", 7), s.GetLong("filename", 8)),
                          pick(s.GetBoolean("Filename", false), s.GetBoolean("Filename", true)),
                          pick(s.GetString("fileNAME", "7"), s.GetString("fileNAME", "8"))})
                 .join(' '),
             read);
}

void TestSettings::optionsAndRecentFiles()
{
    // First start: the defaults (shown and checked in the options dialog), "Path" the program's.
    Settings settings;
    ProgramOptions read, defaults;
    defaults.Path = "/opt/vellumor/bin";
    ReadOptions(settings, read, defaults.Path);
    QCOMPARE(read, defaults);
    // Every option read back as it was stored, its name in another case, and
    // written again the same, under its own name alone.
    for (const QString &entry : Changed.split(' ')) {
        QSettings("Quorvan", "VLM")
            .setValue("1.0/" + entry.section('=', 0, 0).toUpper(), entry.section('=', 1));
    }
    ReadOptions(settings, read, "/x");
    SaveOptions(settings, read, "/usr/bin/vellumor");
    QVERIFY(!settings.OptionSettings); // released when done
    QCOMPARE(stored(), Changed);
    // A clipboard delay out of range, as a hand-edited file may hold, is brought into it.
    for (const auto &[raw, delay] : {std::pair{-4, 0}, {5000, 999}}) {
        QSettings("Quorvan", "VLM").setValue("1.0/ClipboardClearSeconds", raw);
        ReadOptions(settings, read, "/x");
        settings.ReleaseOptionSettings();
        QCOMPARE(read.ClipboardClearSeconds, delay);
    }
    // Start with the session (3): the entry is written, else removed.
    for (const int mode : {3, 0, 3, 1, 3, 2}) {
        read.StartupType = static_cast<qint16>(mode);
        SaveOptions(settings, read, "/usr/local/bin/vellumor");
        QCOMPARE(platform::Registry::RegReadString(platform::Hive::CurrentUser,
                                                   platform::Registry::RunKey, "VLM"),
                 mode == 3 ? "/usr/local/bin/vellumor" : "");
    }
    // The recent files, at most the history size of them, and the open one; read
    // up to the history size or the first gap, the list read replacing the old one.
    QSettings("Quorvan", "VLM").clear();
    RecentFiles list;
    QVERIFY(list.add("/x/one") && list.add("/x/two") && list.add("/x/three"));
    SaveRecentFiles(settings, "/x", list, 2, "/x/open");
    QCOMPARE(stored(), "File-1=/x/one File-2=/x/two FileName=/x/open NumFiles=3 Path=/x");
    QSettings("Quorvan", "VLM").setValue("1.0/File-4", "/x/four");
    for (const int size : {1, 10}) {
        QString open;
        LoadRecentFiles(settings.OpenOptionSettings(), static_cast<qint16>(size), list, open);
        QCOMPARE(list.paths(), QStringList({"/x/one", "/x/two"}).mid(0, size == 1 ? 1 : 2));
        QCOMPARE(open, "/x/open");
    }
}

void TestSettings::noteOpened_data()
{
    QTest::addColumn<QString>("change"); // the list before | path opened | history size | after
    QTest::newRow("full list drops the oldest") << "/a /b /c|/d|3|/d /a /b";
    QTest::newRow("full list, known path") << "/a /b /c|/b|3|/b /a /c";
    QTest::newRow("history size lowered meanwhile") << "/a /b /c /d|/e|2|/e /a";
    QTest::newRow("history size zero keeps the newest") << "/a|/b|0|/b";
    QTest::newRow("paths differing in case") << "/a|/A|10|/A /a";
}

void TestSettings::noteOpened()
{
    QFETCH(QString, change);
    const QStringList paths = change.section('|', 0, 0).split(' ');
    RecentFiles list;
    for (const QString &path : paths + paths) { // a path already listed is refused
        QCOMPARE(list.add(path), list.count() < paths.size());
    }
    list.noteOpened(change.section('|', 1, 1), change.section('|', 2, 2).toShort());
    QCOMPARE(list.paths().join(' '), change.section('|', 3));
    QCOMPARE(list.item(1) + list.item(list.count() + 1), change.section('|', 1, 1));
}

void TestSettings::placement()
{
    ProgramOptions options;
    Settings settings;
    QWidget window, next, dialog;
    // Where 16 bits reach, and beyond: on the right screen, across both.
    for (const auto &[geometry, values] :
         {std::pair{QRect(120, 80, 400, 300), "f-H=4500 f-State=0 f-W=6000 f-X=1800 f-Y=1200"},
          {QRect(3000, 100, 400, 300), "f-H=4500 f-State=0 f-W=6000 f-X=45000 f-Y=1500"},
          {QRect(100, 100, 2500, 300), "f-H=4500 f-State=0 f-W=37500 f-X=1500 f-Y=1500"}}) {
        window.setGeometry(geometry);
        SavePlacement(window, "f", options, settings);
        QCOMPARE(stored(), values);
        RestorePlacement(next, "f", nullptr, options, settings);
        QCOMPARE(next.geometry(), geometry);
    }
    // A placement off every screen is centred, in the size it had.
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    QSettings("Quorvan", "VLM").setValue("1.0/f-X", -60000);
    RestorePlacement(dialog, "f", nullptr, options, settings);
    QCOMPARE(dialog.size(), QSize(2500, 300));
    QCOMPARE(dialog.frameGeometry().center(), middle);
    // Switched off, nothing is saved or restored; centred over a shown main window, or the screen.
    options.AutoSaveWin = options.AutoLoadWin = false;
    SavePlacement(window, "f", options, settings);
    QCOMPARE(stored(), "f-H=4500 f-State=0 f-W=37500 f-X=-60000 f-Y=1500");
    dialog.resize(200, 100);
    window.show();
    RestorePlacement(dialog, "f", &window, options, settings);
    QCOMPARE(dialog.frameGeometry().center(), window.frameGeometry().center());
    RestorePlacement(window, "f", &window, options, settings);
    QCOMPARE(window.frameGeometry().center(), middle);
    options.AutoSaveWin = options.AutoLoadWin = true;
    // Maximized or minimized, the normal geometry stays as it was.
    for (const auto state : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        window.setWindowState(state);
        SavePlacement(window, "f", options, settings);
        QCOMPARE(stored(), QString("f-H=4500 f-State=%1 f-W=37500 f-X=-60000 f-Y=1500")
                               .arg(state == Qt::WindowMaximized ? 2 : 1));
        RestorePlacement(next, "f", nullptr, options, settings);
        QCOMPARE(next.windowState(), state);
    }
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
