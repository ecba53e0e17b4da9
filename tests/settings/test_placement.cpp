// Window placement: where a window opens (over the main window or the
// screen's middle), its state and geometry across runs in twips, and the
// 16-bit limits of the stored values.

#include "Placement.h"
#include "ProgramOptions.h"
#include "Settings.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
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
    void outOfRangeIsNotWritten();
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

void TestPlacement::outOfRangeIsNotWritten()
{
    const ProgramOptions options;
    Settings settings;
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    SavePlacement(window, Tag, options, settings);
    // 3000 pixels are 45000 twips: beyond what a 16-bit value holds.
    window.move(3000, 100);
    SavePlacement(window, Tag, options, settings);
    QCOMPARE(stored(settings, QStringLiteral("-X")), 100 * 15);
    QCOMPARE(stored(settings, QStringLiteral("-State")), 0);
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

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
