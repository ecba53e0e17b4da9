// The dates of the record dialog: the day counters and the date fields
// follow each other, the keys the counters take, the spinners and their
// range, and the calendar dropped down under a date field.

#include "PasswordDialogFixture.h"
#include "UpDown.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>

using namespace pwtest;

namespace {

// The calendar's cell for a day of the month it shows (days 8 to 21 are
// never repeated from the months around it).
QRect dayCell(QCalendarWidget &calendar, int day)
{
    auto *view = calendar.findChild<QTableView *>();
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (model->data(index, Qt::DisplayRole).toInt() == day) {
                return view->visualRect(index);
            }
        }
    }
    return {};
}

void clickDay(QCalendarWidget &calendar, int day)
{
    auto *view = calendar.findChild<QTableView *>();
    const QRect cell = dayCell(calendar, day);
    QVERIFY(cell.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QLineEdit *counterNamed(frmPW &dialog, const QString &name)
{
    return name == "txtDExp" ? dialog.txtDExp : dialog.txtDChange;
}

QLineEdit *dateFor(frmPW &dialog, const QString &name)
{
    return name == "txtDExp" ? dialog.txtExpDate : dialog.TxtChgDate;
}

} // namespace

class TestPasswordDates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedCounterMovesDate_data();
    void typedCounterMovesDate();
    void pastedChangeCounter_data();
    void pastedChangeCounter();
    void spinnerSteps_data();
    void spinnerSteps();
    void counterBeyondTypingLimitFromRecord();
    void dropDownPlacedUnderField();
    void dropDownMoveAndPick_data();
    void dropDownMoveAndPick();
    void dropDownClosedWithoutPick();
    void dropDownSecondClickKeepsField();
    void recordWithoutDates();
};

void TestPasswordDates::typedCounterMovesDate_data()
{
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("days");

    QTest::newRow("expiration: days ahead") << "txtDExp"
                                            << "30"
                                            << "30" << 30;
    QTest::newRow("expiration: days ago") << "txtDExp"
                                          << "-15"
                                          << "-15" << -15;
    QTest::newRow("expiration: letters count as today") << "txtDExp"
                                                        << "abc"
                                                        << "abc" << 0;
    QTest::newRow("expiration: number then letter") << "txtDExp"
                                                    << "5x"
                                                    << "5x" << 0;
    QTest::newRow("expiration: empty is today") << "txtDExp"
                                                << ""
                                                << "" << 0;
    QTest::newRow("expiration: four characters at most") << "txtDExp"
                                                         << "123456"
                                                         << "1234" << 1234;
    QTest::newRow("change: days ahead") << "txtDChange"
                                        << "7"
                                        << "7" << 7;
    QTest::newRow("change: leading sign") << "txtDChange"
                                          << "-40"
                                          << "-40" << -40;
    QTest::newRow("change: letters discarded") << "txtDChange"
                                               << "1a2b"
                                               << "12" << 12;
    QTest::newRow("change: sign after digits discarded") << "txtDChange"
                                                         << "3-4"
                                                         << "34" << 34;
    QTest::newRow("change: second sign discarded") << "txtDChange"
                                                   << "--2"
                                                   << "-2" << -2;
    QTest::newRow("change: four characters at most") << "txtDChange"
                                                     << "-9999"
                                                     << "-999" << -999;
    QTest::newRow("change: blanks discarded") << "txtDChange"
                                              << " 8 "
                                              << "8" << 8;
}

void TestPasswordDates::pastedChangeCounter_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letters and a sign inside") << ""
                                               << "ab-123456"
                                               << "";
    QTest::newRow("too long") << ""
                              << "12345"
                              << "";
    QTest::newRow("signed into an empty field") << ""
                                                << "-12"
                                                << "-12";
    QTest::newRow("sign before digits") << "5"
                                        << "-"
                                        << "5";
    QTest::newRow("digits") << "5"
                            << "12"
                            << "125";
}

// Pasting with Ctrl+V at the start of the field obeys the same rule as typing.
void TestPasswordDates::pastedChangeCounter()
{
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(dialog.chkChange);
    retype(dialog.txtDChange, before);
    dialog.txtDChange->setCursorPosition(0);
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(dialog.txtDChange, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dialog.txtDChange->text(), shown);
}

void TestPasswordDates::typedCounterMovesDate()
{
    QFETCH(QString, counter);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(int, days);

    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(dialog.chkExpire);
    click(dialog.chkChange);
    QLineEdit *field = counterNamed(dialog, counter);
    retype(field, keys);
    QCOMPARE(field->text(), shown);
    QCOMPARE(dateFor(dialog, counter)->text(), shortDate(Today.addDays(days)));

    QTest::keyClicks(dialog.txtService, "Dated");
    click(dialog.cmdOK);
    const PasswordEntry *saved = f.record("Dated");
    if (saved == nullptr) {
        QFAIL("the record was not saved");
    }
    const QDate stored = counter == "txtDExp" ? saved->Dt_Expire : saved->Dt_Change;
    QCOMPARE(stored, Today.addDays(days));
}

void TestPasswordDates::spinnerSteps_data()
{
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("shown");

    QTest::newRow("up one") << "txtDExp"
                            << "10" << 1 << "11";
    QTest::newRow("down through zero") << "txtDChange"
                                       << "1" << -3 << "-2";
    QTest::newRow("up to the top") << "txtDExp"
                                   << "9998" << 3 << "10000";
    QTest::newRow("down to the bottom") << "txtDChange"
                                        << "-999" << -9005 << "-10000";
    QTest::newRow("from letters") << "txtDExp"
                                  << "ab" << 2 << "2";
}

void TestPasswordDates::spinnerSteps()
{
    QFETCH(QString, counter);
    QFETCH(QString, start);
    QFETCH(int, steps);
    QFETCH(QString, shown);

    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(dialog.chkExpire);
    click(dialog.chkChange);
    QLineEdit *field = counterNamed(dialog, counter);
    dialogs::UpDown *spinner = counter == "txtDExp" ? dialog.UpDown1 : dialog.UpDown2;
    QCOMPARE(spinner->buddy(), field);
    QCOMPARE(spinner->minimum(), -10000);
    QCOMPARE(spinner->maximum(), 10000);
    retype(field, start);

    QToolButton *arrow = steps > 0 ? spinner->upButton() : spinner->downButton();
    const int clicks = std::abs(steps);
    // Long runs step with the arrow key, as a user holding it down would.
    for (int i = 0; i < std::min(clicks, 3); ++i) {
        click(arrow);
    }
    for (int i = 3; i < clicks; ++i) {
        QTest::keyClick(field, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
    }
    QCOMPARE(field->text(), shown);
    QCOMPARE(dateFor(dialog, counter)->text(), shortDate(Today.addDays(shown.toInt())));
}

void TestPasswordDates::counterBeyondTypingLimitFromRecord()
{
    Fixture f;
    PasswordEntry e = fullRecord(f, "Far");
    e.Dt_Expire = Today.addDays(-20000);
    e.Dt_Change = Today.addDays(12345);
    QVERIFY(f.store().AddPassword(e));
    frmPW dialog(f.t.services, f.opener());
    QVERIFY(dialog.PasswordEdit("Far"));
    // Shown whole, though longer than a user may type.
    QCOMPARE(dialog.txtDExp->text(), QString("-20000"));
    QCOMPARE(dialog.txtDChange->text(), QString("12345"));
    // The spinner brings a count outside its range back into it.
    click(dialog.UpDown1->upButton());
    QCOMPARE(dialog.txtDExp->text(), QString("-10000"));
    click(dialog.UpDown2->downButton());
    QCOMPARE(dialog.txtDChange->text(), QString("10000"));
    QCOMPARE(dialog.TxtChgDate->text(), shortDate(Today.addDays(10000)));
}

void TestPasswordDates::dropDownPlacedUnderField()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(dialog.chkExpire);
    QVERIFY(dialog.dropDown() == nullptr);
    click(dialog.chkDDExpDate);
    frmCalendar *calendar = dialog.dropDown();
    QVERIFY(calendar != nullptr);
    QVERIFY(calendar->isVisible());
    QCOMPARE(calendar->ShowState(), 1);
    QCOMPARE(calendar->Value(), Today.addDays(45));
    QCOMPARE(calendar->pos(),
             dialog.txtExpDate->mapToGlobal(QPoint(0, dialog.txtExpDate->height() + 1)));
    QVERIFY(dialog.chkDDExpDate->isChecked());
    QVERIFY(!dialog.chkDDChgDate->isChecked());
    calendar->close();
    QVERIFY(!dialog.chkDDExpDate->isChecked());

    // The same window drops down again, under the other field.
    click(dialog.chkChange);
    click(dialog.chkDDChgDate);
    QCOMPARE(dialog.dropDown(), calendar);
    QVERIFY(calendar->isVisible());
    QCOMPARE(calendar->Value(), Today.addDays(20));
    QCOMPARE(calendar->pos(),
             dialog.TxtChgDate->mapToGlobal(QPoint(0, dialog.TxtChgDate->height() + 1)));
    calendar->close();
}

void TestPasswordDates::dropDownMoveAndPick_data()
{
    QTest::addColumn<bool>("expiration");
    QTest::addColumn<int>("day");
    QTest::newRow("expiration, later day") << true << 20;
    QTest::newRow("expiration, earlier day") << true << 9;
    QTest::newRow("change, later day") << false << 18;
    QTest::newRow("change, earlier day") << false << 8;
}

void TestPasswordDates::dropDownMoveAndPick()
{
    QFETCH(bool, expiration);
    QFETCH(int, day);

    Fixture f;
    // Both dates fall in the fixed day's month, so the picked day is in it.
    f.t.options.ExpirationDays = 6;
    f.t.options.ChangeDays = 7;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(expiration ? dialog.chkExpire : dialog.chkChange);
    QToolButton *button = expiration ? dialog.chkDDExpDate : dialog.chkDDChgDate;
    QLineEdit *field = expiration ? dialog.txtExpDate : dialog.TxtChgDate;
    QLineEdit *counter = expiration ? dialog.txtDExp : dialog.txtDChange;
    QLineEdit *otherField = expiration ? dialog.TxtChgDate : dialog.txtExpDate;
    const QString otherBefore = otherField->text();

    click(button);
    frmCalendar *calendar = dialog.dropDown();
    // Moving the selection with the keyboard moves the field at once.
    QTest::keyClick(calendar->VBCalendar1->findChild<QTableView *>(), Qt::Key_Right);
    const int offset = expiration ? 6 : 7;
    QCOMPARE(field->text(), shortDate(Today.addDays(offset + 1)));
    QCOMPARE(counter->text(), QString::number(offset + 1));
    QVERIFY(calendar->isVisible());

    clickDay(*calendar->VBCalendar1, day);
    const QDate picked(Today.year(), Today.month(), day);
    QVERIFY(!calendar->isVisible());
    QCOMPARE(field->text(), shortDate(picked));
    QCOMPARE(counter->text(), QString::number(Today.daysTo(picked)));
    QCOMPARE(otherField->text(), otherBefore);
    QVERIFY(!button->isChecked());
}

void TestPasswordDates::dropDownClosedWithoutPick()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(dialog.chkExpire);
    click(dialog.chkDDExpDate);
    frmCalendar *calendar = dialog.dropDown();
    auto *view = calendar->VBCalendar1->findChild<QTableView *>();
    QTest::keyClick(view, Qt::Key_Down);
    // Escape closes it; the date it was moved to stays.
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!calendar->isVisible());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.txtExpDate->text(), shortDate(Today.addDays(45 + 7)));
    QCOMPARE(dialog.txtDExp->text(), QString("52"));
    QVERIFY(!dialog.chkDDExpDate->isChecked());

    // A click elsewhere closes it too and keeps the date it was opened with.
    click(dialog.chkDDExpDate);
    QVERIFY(calendar->isVisible());
    // Through the window system, as the popup sees a click outside it.
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                      dialog.mapFromGlobal(dialog.frexpire->mapToGlobal(QPoint(2, 2))));
    QVERIFY(!calendar->isVisible());
    QCOMPARE(dialog.txtDExp->text(), QString("52"));
    QVERIFY(!dialog.chkDDExpDate->isChecked());
}

void TestPasswordDates::dropDownSecondClickKeepsField()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);
    click(dialog.chkExpire);
    click(dialog.chkDDExpDate);
    frmCalendar *calendar = dialog.dropDown();
    // Torn off, the calendar stays while the user clicks the button again.
    calendar->setShowState(frmCalendar::Floating);
    QVERIFY(calendar->isVisible());
    click(dialog.chkDDExpDate);
    QVERIFY(dialog.chkDDExpDate->isChecked());
    QTest::keyClick(calendar->VBCalendar1->findChild<QTableView *>(), Qt::Key_Left);
    QCOMPARE(dialog.txtDExp->text(), QString("44"));
    QCOMPARE(dialog.txtDChange->text(), QString("20"));
    calendar->close();
}

void TestPasswordDates::recordWithoutDates()
{
    Fixture f;
    PasswordEntry e;
    e.service = "Bare";
    QVERIFY(f.store().AddPassword(e));
    frmPW dialog(f.t.services, f.opener());
    QVERIFY(dialog.PasswordEdit("Bare"));
    QCOMPARE(dialog.txtDExp->text(), QString("0"));
    QCOMPARE(dialog.txtExpDate->text(), shortDate(Today));
    QCOMPARE(dialog.TxtChgDate->text(), shortDate(Today));
    click(dialog.cmdOK);
    QCOMPARE(f.record("Bare")->Dt_Expire, Today);
}

QTEST_MAIN(TestPasswordDates)
#include "test_password_dates.moc"
