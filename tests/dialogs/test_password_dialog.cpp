// The record dialog: what it shows, what it stores, its messages, day counters and calendar.

#include "DialogFixture.h"
#include "UpDown.h"

#include <QAction>
#include <QCalendarWidget>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTabWidget>
#include <QToolButton>

namespace {

// One expiration or change frame: "on|off <days> notify|quiet <notice>".
QString frame(bool on, const QString &days, bool notify, const QString &notice)
{
    return (on ? "on " : "off ") + days + (notify ? " notify " : " quiet ") + notice;
}

// What the dialog shows: "*" after a disabled field, a date not matching its days.
QString shown(const frmPW &d, const QDate &today = Today)
{
    QStringList frames;
    for (QLineEdit *days : {d.txtDExp, d.txtDChange}) {
        const bool exp = days == d.txtDExp;
        QLineEdit *notice = exp ? d.txtNExp : d.txtNChange;
        const QString date = (exp ? d.txtExpDate : d.TxtChgDate)->text();
        frames << frame((exp ? d.chkExpire : d.chkChange)->isChecked(),
                        days->text() + (days->isEnabled() ? "" : "*"),
                        (exp ? d.chkNExpire : d.chkNChange)->isChecked(),
                        notice->text() + (notice->isEnabled() ? "" : "*")) +
                      (date == shortDate(today.addDays(days->text().toInt())) ? "" : " " + date);
    }
    return QString("%1|%2|%3|%4|%5|%6|%7|%8|%9")
               .arg(d.Mode() + (d.cmdAnother->isVisible() ? "+" : ""), d.txtService->text(),
                    d.txtName->text(), d.txtPw->text(), d.txtURL[0]->text(), d.txtURL[1]->text(),
                    d.txtURL[2]->text(), d.txtNotes->toPlainText(), d.cboCateg->currentText()) +
           QString("/%1%2|%3")
               .arg(d.cboSCateg->currentText(), d.cboSCateg->isEnabled() ? "" : "*",
                    frames.join(", "));
}

// A stored record, its dates as days from the fixed day.
QString stored(Fixture &f, const QString &service)
{
    const PasswordEntry &e = *f.record(service);
    const auto days = [](const QDate &date) { return QString::number(Today.daysTo(date)); };
    return QString("%1|%2|%3|%4|%5|%6|%7|%8/%9|")
               .arg(e.service, e.UserName, e.Password, e.URL, e.ExpURL, e.ChangeURL, e.Notes,
                    f.store().CategoryName(e.codcat), f.store().SubCategoryName(e.CodSCat)) +
           frame(e.blExpire, days(e.Dt_Expire), e.blNotExpire, QString::number(e.ggNotExpire)) +
           ", " +
           frame(e.blChange, days(e.Dt_Change), e.blNotChange, QString::number(e.ggNotChange));
}

struct Counter
{
    const char *name, *counter, *before;
    const char *input; // typed; "paste:" text at the start; "up:" or "down:" steps
    const char *shows;
};
const Counter Counters[] = {
    {"letters count as today", "txtDExp", "", "5x", "5x"},
    {"four characters at most", "txtDExp", "", "-123456", "-123"},
    {"change: only digits, a sign first", "txtDChange", "", "-1a -2345", "-123"},
    {"change: pasted letters", "txtDChange", "", "paste:ab", ""},
    {"change: pasted too long", "txtDChange", "", "paste:12345", ""},
    {"change: pasted sign before digits", "txtDChange", "5", "paste:-", "5"},
    {"change: pasted digits", "txtDChange", "5", "paste:12", "125"},
    {"spin from letters", "txtDExp", "ab", "up:2", "2"},
    {"spin to the top", "txtDExp", "9998", "up:4", "10000"},
    {"spin down through zero", "txtDChange", "1", "down:3", "-2"},
};

} // namespace

class TestPasswordDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Ctrl+G in the password field, or its menu entry, fills in a generated password.
    void generatePassword()
    {
        Fixture f;
        frmPW d(f.t.services, {});
        d.PasswordAdd(0, 0);
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.txtName->setFocus();
        QTest::keyClick(d.txtName, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(d.txtPw->text(), ""); // only from the password field
        d.txtPw->setFocus();
        QTest::keyClick(d.txtPw, Qt::Key_G, Qt::ControlModifier);
        const QString first = d.txtPw->text();
        QVERIFY2(QRegularExpression("^[^0Oo1lI|]{20}$").match(first).hasMatch(), qPrintable(first));
        auto *action = d.txtPw->findChild<QAction *>("actGenerate");
        QVERIFY(action != nullptr && d.txtPw->actions().contains(action));
        QCOMPARE(action->text(), "Generate password");
        action->trigger();
        QVERIFY(d.txtPw->text() != first && d.txtPw->text().size() == 20);
    }
    void addOpensOnBranch()
    {
        Fixture f;
        f.t.options.ChangeNotify = 3;
        for (const QString branch : {"Web/Shops", "Web/-Nothing-", "Bank/-Nothing-",
                                     "-Nothing-/-Nothing-*", "/-Nothing-*"}) {
            const QString category = branch.section('/', 0, 0);
            frmPW d(f.t.services, {});
            d.PasswordAdd(category.isEmpty()        ? 999
                          : category == "-Nothing-" ? 0
                                                    : f.code(category),
                          branch.endsWith("Shops") ? f.subCode("Web", "Shops") : 0);
            QCOMPARE(shown(d), "N+||||||||" + branch + "|off 60* notify 5*, off 30* notify 3*");
        }
    }
    void savedShownAgain()
    {
        Fixture f;
        QStringList opened;
        frmPW d(f.t.services, [&opened](const QString &link) { opened << link; });
        d.PasswordAdd(f.code("Web"), f.subCode("Web", "Shops"));
        QTest::keyClicks(d.txtService, "  "); // blanks only decide whether a name was given
        for (QLineEdit *field :
             {d.txtService, d.txtName, d.txtPw, d.txtURL[0], d.txtURL[1], d.txtURL[2]}) {
            QTest::keyClicks(field, field->objectName());
        }
        QTest::keyClicks(d.txtNotes, "notes");
        click(d.cmdGO[2]);
        click(d.cmdGO[0]);
        QCOMPARE(opened, (QStringList{"txtURL2", "txtURL0"}));
        click(d.chkExpire);
        click(d.chkChange);
        click(d.chkNExpire);
        retype(d.txtDExp, "-3");
        retype(d.txtNChange, "4");
        click(d.cmdOK);
        const QString fields = "txtName|txtPw|txtURL0|txtURL1|txtURL2|notes|Web/Shops|";
        QCOMPARE(stored(f, "  txtService"),
                 "  txtService|" + fields + "on -3 quiet 5, on 30 notify 4");
        // Two days later, a copy and the record itself show what was saved.
        f.t.clock.advanceDays(2);
        d.PasswordPasteNew(*f.record("  txtService"));
        QCOMPARE(shown(d, Today.addDays(2)), "P||" + fields + "on -5 quiet 5*, on 28 notify 4");
        click(d.cmdCancel);
        QVERIFY(d.PasswordEdit("  TXTSERVICE"));
        QCOMPARE(shown(d, Today.addDays(2)),
                 "M|  txtService|" + fields + "on -5 quiet 5*, on 28 notify 4");
        // Refused under a taken name, it is still found by its own at the next try.
        retype(d.txtService, "GMAIL");
        chooseItem(*d.cboCateg, "Bank");
        click(d.cmdOK);
        QCOMPARE(f.asked(), QStringList{"There is already a record for the service \"gmail\"."});
        retype(d.txtService, "Post");
        click(d.cmdOK);
        QVERIFY(!d.isVisible() && f.record("  txtService") == nullptr);
        QCOMPARE(stored(f, "Post"), "Post|" + QString(fields).replace("Web/Shops", "Bank/") +
                                        "on -3 quiet 5, on 30 notify 4");
        QCOMPARE(f.record("Post")->Dt_Insert.daysTo(f.record("Post")->Dt_Modify), 2);
        // A record gone meanwhile is said to be gone, and nothing opens.
        QVERIFY(!d.PasswordEdit("  txtService") && !d.isVisible());
        QCOMPARE(f.asked().last(), "The service \"  txtService\" is no longer in the file!");
    }
    void addAnother()
    {
        Fixture f;
        frmPW d(f.t.services, {});
        d.PasswordAdd(f.code("Web"), f.subCode("Web", "Forums"));
        QTest::keyClicks(d.txtName, "One");
        QTest::keyClicks(d.txtNotes, "notes");
        click(d.chkChange);
        // Refused without a name, a notice not a number or a taken name; its page is shown.
        const std::tuple<const char *, const char *, const char *, int> refusals[] = {
            {"  ", "5", "You must specify a Service Name!", 0},
            {"One", "-", "The days of notice must be a whole number from -32768 to 32767!", 2},
            {"GMAIL", "4", "There is already a record for the service \"gmail\".", 3}};
        for (const auto &[service, notice, message, page] : refusals) {
            retype(d.txtService, service);
            retype(d.txtNChange, notice);
            for (QPushButton *button : {d.cmdOK, d.cmdAnother}) {
                d.sstPassword->setCurrentIndex(3);
                click(button);
                QCOMPARE(f.asked().last(), message);
                QCOMPARE(d.sstPassword->currentIndex(), page);
            }
        }
        // Stored, and the next record starts afresh in the same branch, on the day it is.
        retype(d.txtService, "One");
        f.t.clock.advanceDays(3);
        f.t.options.ChangeDays = 10;
        click(d.cmdAnother);
        QCOMPARE(stored(f, "One"), "One|One|||||notes|Web/Forums|off 60 notify 5, on 30 notify 4");
        QVERIFY(!f.t.state.RefreshRequested() && d.sstPassword->currentIndex() == 0);
        QCOMPARE(shown(d, Today.addDays(3)),
                 "N+||||||||Web/Forums|off 60* notify 5*, off 10* notify 5*");
        QTest::keyClicks(d.txtService, "Two");
        click(d.cmdOK);
        QCOMPARE(stored(f, "Two"), "Two|||||||Web/Forums|off 63 notify 5, off 13 notify 5");
    }

    void counters_data() { addRows(Counters); }
    void counters()
    {
        QFETCH(int, row);
        const Counter &c = Counters[row];
        const QString input = c.input;
        Fixture f;
        frmPW d(f.t.services, {});
        d.PasswordAdd(0, 0);
        const bool exp = QString(c.counter) == "txtDExp";
        click(exp ? d.chkExpire : d.chkChange);
        QLineEdit *field = exp ? d.txtDExp : d.txtDChange;
        dialogs::UpDown *spinner = exp ? d.UpDown1 : d.UpDown2;
        retype(field, c.before);
        if (input.startsWith("paste:")) {
            field->setCursorPosition(0);
            QGuiApplication::clipboard()->setText(input.mid(6));
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (input.contains(':')) {
            // Clicks on an arrow, then the arrow key.
            const bool up = input.startsWith("up");
            for (int i = input.section(':', 1).toInt(); i > 0; --i) {
                i > 2 ? click(up ? spinner->upButton() : spinner->downButton())
                      : QTest::keyClick(field, up ? Qt::Key_Up : Qt::Key_Down);
            }
        } else {
            QTest::keyClicks(field, input);
        }
        QCOMPARE(field->text(), c.shows);
        QTest::keyClicks(d.txtService, "Dated");
        click(d.cmdOK);
        const QDate date = exp ? f.record("Dated")->Dt_Expire : f.record("Dated")->Dt_Change;
        QCOMPARE(Today.daysTo(date), QString(c.shows).toInt());
    }

    void dropDown()
    {
        Fixture f;
        frmPW d(f.t.services, {});
        d.PasswordAdd(0, 0);
        d.sstPassword->setCurrentIndex(2);
        click(d.chkExpire);
        click(d.chkChange);
        click(d.chkDDChgDate);
        frmCalendar *calendar = d.dropDown();
        QTableView *days = calendar->VBCalendar1->findChild<QTableView *>();
        QCOMPARE(calendar->pos(), d.TxtChgDate->mapToGlobal(QPoint(0, d.TxtChgDate->height() + 1)));
        QCOMPARE(calendar->Value(), Today.addDays(30));
        QVERIFY(d.chkDDChgDate->isChecked() && !d.chkDDExpDate->isChecked());
        // Moving the selection moves the date at once; Enter picks the day.
        QTest::keyClick(days, Qt::Key_Left);
        QCOMPARE(shown(d).section('|', -1), "on 60 notify 5, on 29 notify 5");
        QTest::keyClick(days, Qt::Key_Return);
        QVERIFY(!calendar->isVisible() && !d.chkDDChgDate->isChecked());
        // The same calendar drops down under the other field; Escape keeps the
        // date it was moved to, and so does a click elsewhere.
        click(d.chkDDExpDate);
        QCOMPARE(d.dropDown(), calendar);
        QCOMPARE(calendar->pos(), d.txtExpDate->mapToGlobal(QPoint(0, d.txtExpDate->height() + 1)));
        QTest::keyClick(days, Qt::Key_Down);
        QTest::keyClick(days, Qt::Key_Escape);
        QVERIFY(!calendar->isVisible() && !d.chkDDExpDate->isChecked());
        click(d.chkDDExpDate);
        QTest::mouseClick(d.windowHandle(), Qt::LeftButton, {},
                          d.mapFromGlobal(d.frexpire->mapToGlobal(QPoint(2, 2))));
        QVERIFY(!calendar->isVisible());
        QCOMPARE(shown(d).section('|', -1), "on 67 notify 5, on 29 notify 5");
        // Torn off, it stays while the button is clicked again; a day clicked is taken.
        click(d.chkDDExpDate);
        calendar->setShowState(frmCalendar::Floating);
        click(d.chkDDExpDate);
        QVERIFY(d.chkDDExpDate->isChecked());
        const QModelIndex selected = days->currentIndex();
        const QModelIndex day = selected.siblingAtColumn(selected.column() % 7 + 1);
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, days->visualRect(day).center());
        QVERIFY(!calendar->isVisible());
        QCOMPARE(d.txtDExp->text().toLongLong(), Today.daysTo(calendar->Value()));
        QVERIFY(d.txtDExp->text() != "67");
        click(d.chkDDExpDate); // dropped down again, no longer torn off
        QCOMPARE(calendar->ShowState(), frmCalendar::DroppedDown);
    }

    void calendarTornOff()
    {
        frmCalendar calendar;
        calendar.move(100, 100);
        calendar.show();
        calendar.setShowState(7); // no such state
        QCOMPARE(calendar.windowType(), Qt::Popup);
        // Dragging the caption strip tears it off where it was dragged to.
        const QPoint start = calendar.tearOff->rect().center();
        QTest::mousePress(calendar.tearOff, Qt::LeftButton, {}, start);
        QTest::mouseMove(calendar.tearOff, start + QPoint(40, 30));
        QTest::mouseRelease(calendar.tearOff, Qt::LeftButton, {}, start + QPoint(40, 30));
        QCOMPARE(calendar.windowType(), Qt::Tool);
        QCOMPARE(calendar.pos(), QPoint(140, 130));
        QVERIFY(calendar.isVisible() && !calendar.tearOff->isVisible());
        // It follows the program in and out of the background, until closed.
        calendar.hostActivationChanged(false);
        QVERIFY(!calendar.isVisible());
        calendar.hostActivationChanged(true);
        QVERIFY(calendar.isVisible());
        calendar.close();
        calendar.hostActivationChanged(true);
        QVERIFY(!calendar.isVisible());
    }
};

QTEST_MAIN(TestPasswordDialog)
#include "test_password_dialog.moc"
