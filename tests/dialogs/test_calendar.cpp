// The date drop-down on its own: what it reports and when, its value, and a
// torn-off calendar following the application's activation.

#include "PasswordDialogFixture.h"

#include <QCalendarWidget>
#include <QTableView>

using namespace pwtest;

namespace {

// The drop-down's notifications in the order they came.
struct Recorder
{
    explicit Recorder(frmCalendar &calendar)
    {
        QObject::connect(&calendar, &frmCalendar::Change, &calendar, [this, &calendar] {
            events << "Change " + calendar.Value().toString(Qt::ISODate);
        });
        QObject::connect(&calendar, &frmCalendar::CloseUp, &calendar, [this, &calendar] {
            events << "CloseUp " + calendar.Value().toString(Qt::ISODate);
        });
    }
    QStringList events;
};

QTableView *view(frmCalendar &calendar)
{
    return calendar.VBCalendar1->findChild<QTableView *>();
}

void dropDown(frmCalendar &calendar, const QDate &date)
{
    calendar.move(100, 100);
    calendar.show();
    calendar.setShowState(frmCalendar::DroppedDown);
    calendar.setValue(date);
}

QPoint cellOf(frmCalendar &calendar, int day)
{
    QTableView *table = view(calendar);
    const QAbstractItemModel *model = table->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (model->data(index, Qt::DisplayRole).toInt() == day) {
                return table->visualRect(index).center();
            }
        }
    }
    return {};
}

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valueAndState();
    void pickRaisesChangeThenCloseUp_data();
    void pickRaisesChangeThenCloseUp();
    void movingSelectionRaisesChange();
    void closingWithoutPick();
    void tornOffFollowsActivation();
    void droppedDownIgnoresActivation();
    void tearOffByDragging();
};

void TestCalendar::valueAndState()
{
    frmCalendar calendar;
    Recorder recorder(calendar);
    QVERIFY(!calendar.Cancelled());
    QCOMPARE(calendar.ShowState(), 1);
    calendar.setValue(QDate(2027, 2, 14));
    QCOMPARE(calendar.Value(), QDate(2027, 2, 14));
    QCOMPARE(calendar.VBCalendar1->selectedDate(), QDate(2027, 2, 14));
    calendar.setShowState(2);
    QCOMPARE(calendar.ShowState(), 2);
    calendar.setShowState(7);
    QCOMPARE(calendar.ShowState(), 2);
    calendar.setShowState(1);
    QCOMPARE(calendar.ShowState(), 1);
    QCOMPARE(calendar.windowType(), Qt::Popup);
    QCOMPARE(calendar.tearOff->text(), QString("Drag to make this menu float"));
    // The owner setting the date it shows is not a change.
    QVERIFY(recorder.events.isEmpty());
}

void TestCalendar::pickRaisesChangeThenCloseUp_data()
{
    QTest::addColumn<int>("day");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("the day already selected")
        << 10 << QStringList{"Change 2026-12-10", "CloseUp 2026-12-10"};
    QTest::newRow("another day") << 17
                                 << QStringList{"Change 2026-12-17", "Change 2026-12-17",
                                                "CloseUp 2026-12-17"};
}

void TestCalendar::pickRaisesChangeThenCloseUp()
{
    QFETCH(int, day);
    QFETCH(QStringList, events);
    QWidget owner;
    owner.show();
    frmCalendar calendar(&owner);
    Recorder recorder(calendar);
    dropDown(calendar, QDate(2026, 12, 10));
    QTest::mouseClick(view(calendar)->viewport(), Qt::LeftButton, {}, cellOf(calendar, day));
    QCOMPARE(recorder.events, events);
    QVERIFY(!calendar.isVisible());
    QVERIFY(owner.isVisible());
}

void TestCalendar::movingSelectionRaisesChange()
{
    frmCalendar calendar;
    Recorder recorder(calendar);
    dropDown(calendar, QDate(2026, 12, 10));
    QTest::keyClick(view(calendar), Qt::Key_Right);
    QTest::keyClick(view(calendar), Qt::Key_Up);
    QCOMPARE(recorder.events, (QStringList{"Change 2026-12-11", "Change 2026-12-04"}));
    QVERIFY(calendar.isVisible());
    // Enter picks the selected day.
    QTest::keyClick(view(calendar), Qt::Key_Return);
    QCOMPARE(recorder.events.mid(2), (QStringList{"Change 2026-12-04", "CloseUp 2026-12-04"}));
    QVERIFY(!calendar.isVisible());
}

void TestCalendar::closingWithoutPick()
{
    frmCalendar calendar;
    Recorder recorder(calendar);
    dropDown(calendar, QDate(2026, 12, 10));
    QTest::keyClick(view(calendar), Qt::Key_Escape);
    QCOMPARE(recorder.events, QStringList{"CloseUp 2026-12-10"});
    QVERIFY(!calendar.isVisible());
    // Dropped down again, it is the same calendar.
    dropDown(calendar, QDate(2026, 5, 1));
    QVERIFY(calendar.isVisible());
    calendar.close();
    QCOMPARE(recorder.events.last(), QString("CloseUp 2026-05-01"));
}

void TestCalendar::tornOffFollowsActivation()
{
    frmCalendar calendar;
    Recorder recorder(calendar);
    dropDown(calendar, QDate(2026, 12, 10));
    calendar.setShowState(frmCalendar::Floating);
    QVERIFY(calendar.isVisible());
    QCOMPARE(calendar.windowType(), Qt::Tool);
    QVERIFY(!calendar.tearOff->isVisible());
    calendar.hostActivationChanged(false);
    QVERIFY(!calendar.isVisible());
    calendar.hostActivationChanged(true);
    QVERIFY(calendar.isVisible());
    // Hiding and showing it is not closing it.
    QVERIFY(recorder.events.isEmpty());
    // Closed, it stays closed when the program comes back.
    calendar.close();
    calendar.hostActivationChanged(false);
    calendar.hostActivationChanged(true);
    QVERIFY(!calendar.isVisible());
}

void TestCalendar::droppedDownIgnoresActivation()
{
    frmCalendar calendar;
    dropDown(calendar, QDate(2026, 12, 10));
    calendar.hostActivationChanged(false);
    QVERIFY(calendar.isVisible());
    calendar.close();
    calendar.hostActivationChanged(true);
    QVERIFY(!calendar.isVisible());
}

void TestCalendar::tearOffByDragging()
{
    frmCalendar calendar;
    dropDown(calendar, QDate(2026, 12, 10));
    const QPoint start = calendar.tearOff->rect().center();
    QTest::mousePress(calendar.tearOff, Qt::LeftButton, {}, start);
    QTest::mouseMove(calendar.tearOff, start + QPoint(40, 30));
    QCOMPARE(calendar.ShowState(), 2);
    QVERIFY(calendar.isVisible());
    QCOMPARE(calendar.pos(), QPoint(140, 130));
    QTest::mouseRelease(calendar.tearOff, Qt::LeftButton, {}, start + QPoint(40, 30));
}

QTEST_MAIN(TestCalendar)
#include "test_calendar.moc"
