// The tip window: never shown with tips turned off, its texts, the tip a
// "Next Tip" draws, the check box that writes the stored option at once, and
// the window stack around it.

#include "AboutFixture.h"
#include "frmTip.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

const QString NoTips = QStringLiteral("\nTIPS Not Available for now.");

// The stored ViewTips value as a fresh start would read it; "unset" when
// nothing was written.
QString storedViewTips()
{
    Settings settings;
    SettingsComponent &s = settings.OpenOptionSettings();
    const bool withTrue = s.GetBoolean(QStringLiteral("ViewTips"), true);
    const bool withFalse = s.GetBoolean(QStringLiteral("ViewTips"), false);
    if (withTrue != withFalse) {
        return QStringLiteral("unset");
    }
    return withTrue ? QStringLiteral("true") : QStringLiteral("false");
}

// Draws the given numbers in turn.
about::TipRandom drawing(QList<double> numbers)
{
    return [numbers = std::move(numbers)]() mutable { return numbers.takeFirst(); };
}

} // namespace

class TestTipWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void tipsOff();
    void tipsOffThroughShowTip();
    void texts();
    void nextTipWithoutTips();
    void nextTip_data();
    void nextTip();
    void displayBeforeAnyDraw();
    void showTipsCheck_data();
    void showTipsCheck();
    void stack_data();
    void stack();
    void showTipDeletesItself();
    void look();
};

void TestTipWindow::init()
{
    abouttest::clearSavedSettings();
}

void TestTipWindow::tipsOff()
{
    abouttest::Fixture f;
    f.t.options.ViewTips = false;
    frmTip tip(f.t.services);
    QVERIFY(!tip.View());
    QVERIFY(!tip.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    QCOMPARE(storedViewTips(), QStringLiteral("unset"));
    QCOMPARE(f.t.settings.OpenLayoutSettings().GetInteger(QStringLiteral("frmTip-W"), -1),
             qint16(-1));
}

void TestTipWindow::tipsOffThroughShowTip()
{
    abouttest::Fixture f;
    f.t.options.ViewTips = false;
    const QPointer<frmTip> shown = about::ShowTip(f.t.services);
    QVERIFY(shown.isNull() || !shown->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
}

void TestTipWindow::texts()
{
    abouttest::Fixture f;
    frmTip tip(f.t.services);
    QVERIFY(tip.View());
    QVERIFY(tip.isVisible());
    QCOMPARE(tip.windowTitle(), QStringLiteral("Tip of the Day"));
    QCOMPARE(tip.Label1->text(), QStringLiteral("Did you know..."));
    QCOMPARE(tip.lblTipText->text(), NoTips);
    QCOMPARE(tip.chkLoadTipsAtStartup->text(), QStringLiteral("&Show Tips at Startup"));
    QVERIFY(tip.chkLoadTipsAtStartup->isChecked());
    QCOMPARE(tip.cmdNextTip->text(), QStringLiteral("&Next Tip"));
    QCOMPARE(tip.cmdOK->text(), QStringLiteral("OK"));
    // Checking the box for itself writes nothing.
    QCOMPARE(storedViewTips(), QStringLiteral("unset"));
}

void TestTipWindow::nextTipWithoutTips()
{
    abouttest::Fixture f;
    frmTip tip(f.t.services);
    QVERIFY(tip.View());
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
        QCOMPARE(tip.lblTipText->text(), NoTips);
    }
    QCOMPARE(tip.currentTip(), 1);
}

void TestTipWindow::nextTip_data()
{
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("last");

    QTest::newRow("lowest draw, first tip") << QList<double>{0.0} << QStringList{"first"} << 1;
    QTest::newRow("just under a third") << QList<double>{0.333} << QStringList{"first"} << 1;
    QTest::newRow("a third") << QList<double>{0.34} << QStringList{"second"} << 2;
    QTest::newRow("highest draw, last tip") << QList<double>{0.999} << QStringList{"third"} << 3;
    QTest::newRow("a sequence") << QList<double>{0.7, 0.1, 0.5, 0.9}
                                << QStringList{"third", "first", "second", "third"} << 3;
}

void TestTipWindow::nextTip()
{
    QFETCH(QList<double>, draws);
    QFETCH(QStringList, shown);
    QFETCH(int, last);

    abouttest::Fixture f;
    frmTip tip(f.t.services,
               {QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")},
               drawing(draws));
    QVERIFY(tip.View());
    // Loading shows the fixed text, whatever the list holds.
    QCOMPARE(tip.lblTipText->text(), NoTips);
    QStringList seen;
    for (qsizetype click = 0; click < draws.size(); ++click) {
        QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
        seen << tip.lblTipText->text();
    }
    QCOMPARE(seen, shown);
    QCOMPARE(tip.currentTip(), last);
}

void TestTipWindow::displayBeforeAnyDraw()
{
    abouttest::Fixture f;
    frmTip tip(f.t.services, {QStringLiteral("only")}, drawing({0.5}));
    QVERIFY(tip.View());
    tip.DisplayCurrentTip();
    QCOMPARE(tip.lblTipText->text(), NoTips);
    QTest::mouseClick(tip.cmdNextTip, Qt::LeftButton);
    tip.lblTipText->setText(QStringLiteral("changed"));
    tip.DisplayCurrentTip();
    QCOMPARE(tip.lblTipText->text(), QStringLiteral("only"));
}

void TestTipWindow::showTipsCheck_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");

    QTest::newRow("turned off") << 1 << "false" << false;
    QTest::newRow("off and on again") << 2 << "true" << true;
    QTest::newRow("three clicks") << 3 << "false" << false;
}

void TestTipWindow::showTipsCheck()
{
    QFETCH(int, clicks);
    QFETCH(QString, stored);
    QFETCH(bool, checked);

    abouttest::Fixture f;
    const ProgramOptions before = f.t.options;
    frmTip tip(f.t.services);
    QVERIFY(tip.View());
    for (int click = 0; click < clicks; ++click) {
        QTest::mouseClick(tip.chkLoadTipsAtStartup, Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, tip.chkLoadTipsAtStartup->height() / 2));
    }
    QCOMPARE(tip.chkLoadTipsAtStartup->isChecked(), checked);
    // Written at once, while the window is still open.
    QVERIFY(tip.isVisible());
    QCOMPARE(storedViewTips(), stored);
    // The options of this run stay as they were.
    QVERIFY(f.t.options == before);
    QVERIFY(f.t.options.ViewTips);
}

void TestTipWindow::stack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("window closed") << "close";
}

void TestTipWindow::stack()
{
    QFETCH(QString, how);

    abouttest::Fixture f;
    frmTip tip(f.t.services, {QStringLiteral("a tip")}, drawing({0.0}));
    QVERIFY(tip.View());
    QCOMPARE(f.t.windows.count(), 1);
    QCOMPARE(f.t.windows.top(), &tip);
    QVERIFY(!f.main.widget.isEnabled());

    if (how == QLatin1String("ok")) {
        QTest::mouseClick(tip.cmdOK, Qt::LeftButton);
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(&tip, Qt::Key_Escape);
    } else if (how == QLatin1String("enter")) {
        QTest::keyClick(&tip, Qt::Key_Return);
    } else {
        tip.close();
    }
    QVERIFY(!tip.isVisible());
    // Enter closed the window rather than drawing a tip.
    QCOMPARE(tip.lblTipText->text(), NoTips);
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QVERIFY(f.main.calls.isEmpty());
    QCOMPARE(storedViewTips(), QStringLiteral("unset"));
}

void TestTipWindow::showTipDeletesItself()
{
    abouttest::Fixture f;
    const QPointer<frmTip> shown = about::ShowTip(f.t.services);
    QVERIFY(!shown.isNull());
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->lblTipText->text(), NoTips);
    QVERIFY(!f.main.widget.isEnabled());
    shown->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(shown.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
}

void TestTipWindow::look()
{
    abouttest::Fixture f;
    frmTip tip(f.t.services);
    QVERIFY(tip.View());
    for (QWidget *part : std::initializer_list<QWidget *>{tip.chkLoadTipsAtStartup, tip.cmdNextTip,
                                                          tip.cmdOK, tip.Label1}) {
        QVERIFY2(part->width() >= part->sizeHint().width(), qPrintable(part->objectName()));
    }
    QVERIFY(tip.rect().contains(tip.cmdOK->geometry()));
    // Sized to what it holds, not to the default size of a new window.
    QCOMPARE(tip.size(), tip.sizeHint());
    abouttest::saveLook(tip, QStringLiteral("tip"));
}

QTEST_MAIN(TestTipWindow)
#include "test_about_tip.moc"
