// The expiration rule and the list of records due.

#include "Expiration.h"
#include "StoreFixtures.h"

#include <QLocale>
#include <QTest>

namespace {

const QDate Today(2026, 6, 15);

PasswordEntry dated(const QString &service, int expireIn, bool notify, int notice)
{
    PasswordEntry e = makeRecord(service);
    e.blExpire = true;
    e.Dt_Expire = Today.addDays(expireIn);
    e.blNotExpire = notify;
    e.ggNotExpire = static_cast<qint16>(notice);
    e.blChange = false;
    return e;
}

} // namespace

class TestExpiration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void computeDateStatus_data();
    void computeDateStatus();
    void dueList_data();
    void dueList();
    void bothPartsGiveTwoRowsInOrder();
};

void TestExpiration::computeDateStatus_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("daysAhead");
    QTest::addColumn<int>("notice");
    QTest::addColumn<QString>("expected");
    QTest::newRow("inactive, long past") << false << -100 << 5 << "default";
    QTest::newRow("today is due") << true << 0 << 0 << "due";
    QTest::newRow("yesterday") << true << -1 << 10 << "due";
    QTest::newRow("inside notice") << true << 5 << 5 << "notice";
    QTest::newRow("just outside notice") << true << 5 << 4 << "default";
    QTest::newRow("tomorrow, no notice") << true << 1 << 0 << "default";
    QTest::newRow("negative notice") << true << 1 << -3 << "default";
}

void TestExpiration::computeDateStatus()
{
    QFETCH(bool, active);
    QFETCH(int, daysAhead);
    QFETCH(int, notice);
    QFETCH(QString, expected);
    const QString got =
        ComputeDateStatus(active, Today.addDays(daysAhead), notice, QStringLiteral("due"),
                          QStringLiteral("notice"), QStringLiteral("default"), Today);
    QCOMPARE(got, expected);
}

void TestExpiration::dueList_data()
{
    QTest::addColumn<int>("expireIn");
    QTest::addColumn<bool>("notify");
    QTest::addColumn<int>("notice");
    QTest::addColumn<QString>("message"); // "" = not listed
    const QString shortToday = QLocale::system().toString(Today, QLocale::ShortFormat);
    const QString shortPast = QLocale::system().toString(Today.addDays(-3), QLocale::ShortFormat);
    QTest::newRow("expires today")
        << 0 << false << 0 << (QStringLiteral("Expired from ") + shortToday);
    QTest::newRow("expired") << -3 << true << 1 << (QStringLiteral("Expired from ") + shortPast);
    QTest::newRow("in notice") << 5 << true << 5 << "5 days to expiration";
    QTest::newRow("outside notice") << 5 << true << 4 << "";
    QTest::newRow("not notified") << 5 << false << 5 << "";
}

void TestExpiration::dueList()
{
    QFETCH(int, expireIn);
    QFETCH(bool, notify);
    QFETCH(int, notice);
    QFETCH(QString, message);
    auto store = newStore();
    QVERIFY(store->AddPassword(dated(QStringLiteral("svc"), expireIn, notify, notice)));
    PasswordEntry inactive = dated(QStringLiteral("inactive"), -10, true, 30);
    inactive.blExpire = false;
    QVERIFY(store->AddPassword(inactive));
    const std::vector<DueItem> due = DueList(*store, Today);
    if (message.isEmpty()) {
        QVERIFY(due.empty());
        return;
    }
    QCOMPARE(due.size(), std::size_t(1));
    QCOMPARE(due[0].service, QStringLiteral("svc"));
    QCOMPARE(due[0].message, message);
    QCOMPARE(due[0].overdue(), expireIn <= 0);
    QCOMPARE(due[0].date, Today.addDays(expireIn));
}

void TestExpiration::bothPartsGiveTwoRowsInOrder()
{
    auto store = newStore();
    PasswordEntry both = dated(QStringLiteral("both"), -1, false, 0);
    both.blChange = true;
    both.Dt_Change = Today.addDays(3);
    both.blNotChange = true;
    both.ggNotChange = 3;
    QVERIFY(store->AddPassword(both));
    QVERIFY(store->AddPassword(dated(QStringLiteral("another"), 2, true, 2)));
    const std::vector<DueItem> due = DueList(*store, Today);
    QCOMPARE(due.size(), std::size_t(3));
    QCOMPARE(due[0].service, QStringLiteral("another"));
    QCOMPARE(due[1].part, DueItem::Part::Expiration);
    QCOMPARE(due[2].part, DueItem::Part::Change);
    QCOMPARE(due[2].message, QStringLiteral("3 days to changing"));
    QVERIFY(!due[2].overdue());

    PasswordEntry changed = makeRecord(QStringLiteral("changed"));
    changed.blExpire = false;
    changed.blChange = true;
    changed.Dt_Change = Today;
    QVERIFY(store->AddPassword(changed));
    const std::vector<DueItem> more = DueList(*store, Today);
    QCOMPARE(more.size(), std::size_t(4));
    QCOMPARE(more[3].service, QStringLiteral("changed"));
    QCOMPARE(more[3].message, QStringLiteral("Changed from ") +
                                  QLocale::system().toString(Today, QLocale::ShortFormat));
}

QTEST_GUILESS_MAIN(TestExpiration)
#include "test_expiration.moc"
