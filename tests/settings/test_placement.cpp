// Window placement: where a window opens (over the main window or the
// screen's middle), its state and geometry across runs in twips, and the
// 16-bit values kept where they fit and wider ones beyond, on two screens
// side by side.

#include "Placement.h"
#include "ProgramOptions.h"
#include "Settings.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

const QString Tag = QStringLiteral("frmTest");

qint16 stored(Settings &settings, const QString &name)
{
    const qint16 value = settings.OpenLayoutSettings().GetInteger(Tag + name, -1);
    settings.ReleaseLayoutSettings();
    return value;
}

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void roundTripInTwips();
    void minimizedOrMaximizedKeepsNormalGeometry();
    void centredOverMainWindowOrScreen();
    void switchedOffByOptions();
    void beyondSixteenBitsRestores_data();
    void beyondSixteenBitsRestores();
    void offScreenPlacementIsCentred();
};

void TestPlacement::init()
{
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

void TestPlacement::roundTripInTwips()
{
    const ProgramOptions options;
    Settings settings;
    QWidget first;
    first.setGeometry(120, 80, 400, 300);
    SavePlacement(first, Tag, options, settings);
    QVERIFY(settings.LayoutSettings == nullptr);
    const int perPixel = twipsPerPixel();
    QCOMPARE(perPixel, 15); // 96 dpi
    QCOMPARE(stored(settings, QStringLiteral("-State")), 0);
    QCOMPARE(stored(settings, QStringLiteral("-X")), 120 * 15);
    QCOMPARE(stored(settings, QStringLiteral("-Y")), 80 * 15);
    QCOMPARE(stored(settings, QStringLiteral("-W")), 400 * 15);
    QCOMPARE(stored(settings, QStringLiteral("-H")), 300 * 15);

    QWidget next;
    next.resize(200, 100);
    RestorePlacement(next, Tag, nullptr, options, settings);
    QCOMPARE(next.geometry(), QRect(120, 80, 400, 300));
    QVERIFY(settings.LayoutSettings == nullptr);
}

void TestPlacement::minimizedOrMaximizedKeepsNormalGeometry()
{
    const ProgramOptions options;
    Settings settings;
    QWidget window;
    window.setGeometry(50, 60, 300, 200);
    SavePlacement(window, Tag, options, settings);
    window.move(500, 400);
    window.setWindowState(Qt::WindowMaximized);
    SavePlacement(window, Tag, options, settings);
    QCOMPARE(stored(settings, QStringLiteral("-State")), 2);
    QCOMPARE(stored(settings, QStringLiteral("-X")), 50 * 15);

    QWidget next;
    RestorePlacement(next, Tag, nullptr, options, settings);
    QVERIFY(next.windowState().testFlag(Qt::WindowMaximized));

    next.setWindowState(Qt::WindowMinimized);
    SavePlacement(next, Tag, options, settings);
    QCOMPARE(stored(settings, QStringLiteral("-State")), 1);
    QCOMPARE(stored(settings, QStringLiteral("-Y")), 60 * 15);
}

void TestPlacement::centredOverMainWindowOrScreen()
{
    ProgramOptions options;
    options.AutoLoadWin = false;
    Settings settings;
    QWidget main;
    main.setGeometry(100, 100, 600, 400);
    QWidget dialog;
    dialog.resize(200, 100);

    // A hidden main window does not count.
    RestorePlacement(dialog, Tag, &main, options, settings);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(dialog.pos(),
             QPoint(area.x() + (area.width() - 200) / 2, area.y() + (area.height() - 100) / 2));

    main.show();
    RestorePlacement(dialog, Tag, &main, options, settings);
    const QRect frame = main.frameGeometry();
    QCOMPARE(dialog.pos(),
             QPoint(frame.x() + (frame.width() - 200) / 2, frame.y() + (frame.height() - 100) / 2));

    // The main window itself is centred on the screen.
    RestorePlacement(main, Tag, &main, options, settings);
    const QSize outer = main.frameGeometry().size();
    QCOMPARE(main.pos(), QPoint(area.x() + (area.width() - outer.width()) / 2,
                                area.y() + (area.height() - outer.height()) / 2));
}

void TestPlacement::switchedOffByOptions()
{
    ProgramOptions options;
    options.AutoSaveWin = false;
    Settings settings;
    QWidget window;
    window.setGeometry(10, 10, 300, 200);
    SavePlacement(window, Tag, options, settings);
    QCOMPARE(stored(settings, QStringLiteral("-State")), -1);

    options.AutoSaveWin = true;
    SavePlacement(window, Tag, options, settings);
    options.AutoLoadWin = false;
    QWidget next;
    next.resize(100, 50);
    RestorePlacement(next, Tag, nullptr, options, settings);
    QCOMPARE(next.size(), QSize(100, 50));
}

void TestPlacement::beyondSixteenBitsRestores_data()
{
    QTest::addColumn<QRect>("geometry");
    // 16 bits end at 32767 twips, about 2,184 pixels.
    QTest::newRow("right monitor") << QRect(3000, 100, 400, 300);
    QTest::newRow("across two monitors") << QRect(100, 100, 2500, 300);
}

void TestPlacement::beyondSixteenBitsRestores()
{
    QFETCH(QRect, geometry);
    QCOMPARE(QGuiApplication::screens().size(), 2);
    const ProgramOptions options;
    Settings settings;
    QWidget window;
    window.setGeometry(geometry);
    SavePlacement(window, Tag, options, settings);
    const SettingsComponent &s = settings.OpenLayoutSettings();
    QCOMPARE(s.GetLong(Tag + QStringLiteral("-X"), -1), geometry.x() * 15);
    QCOMPARE(s.GetLong(Tag + QStringLiteral("-W"), -1), geometry.width() * 15);
    // What fits stays a 16-bit value.
    QCOMPARE(s.GetInteger(Tag + QStringLiteral("-Y"), -1), geometry.y() * 15);
    settings.ReleaseLayoutSettings();

    QWidget next;
    next.resize(200, 100);
    RestorePlacement(next, Tag, nullptr, options, settings);
    QCOMPARE(next.geometry(), geometry);
}

void TestPlacement::offScreenPlacementIsCentred()
{
    const ProgramOptions options;
    Settings settings;
    SettingsComponent &s = settings.OpenLayoutSettings();
    s.SaveInteger(Tag + QStringLiteral("-State"), 0);
    s.SaveInteger(Tag + QStringLiteral("-X"), -30000);
    s.SaveInteger(Tag + QStringLiteral("-Y"), -30000);
    s.SaveInteger(Tag + QStringLiteral("-W"), 300 * 15);
    s.SaveInteger(Tag + QStringLiteral("-H"), 200 * 15);
    settings.ReleaseLayoutSettings();
    QWidget window;
    RestorePlacement(window, Tag, nullptr, options, settings);
    QCOMPARE(window.size(), QSize(300, 200));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(area.contains(window.geometry().center()));
}

int main(int argc, char *argv[])
{
    // Two 1920-pixel screens side by side, the primary one on the left.
    const QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(R"({"screens": [
            {"name": "left", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96},
            {"name": "right", "x": 1920, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96}
        ]})") < 0) {
        return 1;
    }
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    const QApplication app(argc, argv);
    TestPlacement test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_placement.moc"
