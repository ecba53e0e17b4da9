// The expiration rule (due, within notice, neither) and the list of records due.

#include "Expiration.h"
#include "StoreFixtures.h"

#include <QLocale>

class TestExpiration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rule_data();
    void rule();
};

void TestExpiration::rule_data()
{
    QTest::addColumn<bool>("change"); // the change date rather than the expiration
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("days"); // from today
    QTest::addColumn<bool>("notify");
    QTest::addColumn<int>("notice");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message"); // "" = not listed; "Expired from " and the date
    const auto row = [](const char *name, bool change, bool active, int days, bool notify,
                        int notice, const char *status, const char *message) {
        QTest::newRow(name) << change << active << days << notify << notice << QString(status)
                            << QString(message);
    };
    row("inactive, long past", false, false, -100, true, 5, "-", "");
    row("today", false, true, 0, false, 0, "due", "Expired from ");
    row("past", false, true, -3, true, 10, "due", "Expired from ");
    row("inside notice", false, true, 5, true, 5, "notice", "5 days to expiration");
    row("inside notice, not notified", false, true, 5, false, 5, "notice", "");
    row("just outside notice", false, true, 5, true, 4, "-", "");
    row("negative notice", false, true, 1, true, -3, "-", "");
    row("change today", true, true, 0, false, 0, "due", "Changed from ");
    row("change inside notice", true, true, 3, true, 3, "notice", "3 days to changing");
    row("change inactive", true, false, -1, true, 3, "-", "");
}

void TestExpiration::rule()
{
    QFETCH(bool, change);
    QFETCH(bool, active);
    QFETCH(int, days);
    QFETCH(bool, notify);
    QFETCH(int, notice);
    QFETCH(QString, status);
    QFETCH(QString, message);
    const QDate today(2026, 12, 30), date = today.addDays(days);
    QCOMPARE(ComputeDateStatus<QString>(active, date, notice, "due", "notice", "-", today), status);

    PasswordEntry e = makeRecord("svc");
    e.blExpire = !change && active;
    e.blChange = change && active;
    (change ? e.Dt_Change : e.Dt_Expire) = date;
    (change ? e.Dt_Expire : e.Dt_Change) = today.addDays(-10); // inactive, so never listed
    (change ? e.blNotChange : e.blNotExpire) = notify;
    (change ? e.ggNotChange : e.ggNotExpire) = static_cast<qint16>(notice);
    // Beside it a record with both parts announced (the fixture's dates, the change
    // notice on): rows in collection order, a record's expiration before its change.
    PasswordEntry both = makeRecord("both");
    both.blChange = both.blNotChange = true;
    auto store = newStore();
    QVERIFY(store->AddPassword(e) && store->AddPassword(both));
    QStringList rows;
    for (const DueItem &item : DueList(*store, today)) { // the part shows in the message
        QVERIFY(item.service != "svc" || (item.date == date && item.overdue() == (days <= 0)));
        rows << item.service + ": " + item.message;
    }
    if (message.endsWith("from ")) { // and the date in the user's short format
        message += QLocale::system().toString(date, QLocale::ShortFormat);
    }
    const QStringList expected = {"both: 2 days to expiration", "both: 1 days to changing"};
    QCOMPARE(rows, message.isEmpty() ? expected : expected + QStringList{"svc: " + message});
}

QTEST_GUILESS_MAIN(TestExpiration)
#include "test_expiration.moc"
