// What the expiration list shows: which records, with which message, date and
// colour, in which order; its columns, their sorting by date and the width
// the status takes.

#include "ExpireFixtures.h"

#include <QHeaderView>
#include <QPushButton>

using namespace expiretest;

namespace {

QHeaderView *headerOf(const controls::Grid &grid)
{
    for (QHeaderView *header : grid.findChildren<QHeaderView *>()) {
        if (header->orientation() == Qt::Horizontal) {
            return header;
        }
    }
    return nullptr;
}

void clickHeader(const controls::Grid &grid, int column)
{
    QHeaderView *header = headerOf(grid);
    QVERIFY(header != nullptr);
    const int section = column - 1;
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestExpirationList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void columns_data();
    void columns();
    void listsRecordsDue_data();
    void listsRecordsDue();
    void timeOfDayDoesNotCount_data();
    void timeOfDayDoesNotCount();
    void collectionOrderExpirationBeforeChange();
    void dateColumnsSortByDate();
    void statusColumnFitsLongMessages_data();
    void statusColumnFitsLongMessages();
};

void TestExpirationList::init()
{
    clearSavedSettings();
}

void TestExpirationList::columns_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("fixedWidth");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("sortCode");
    QTest::newRow("1") << "Service"
                       << "Service" << 150 << true << "" << int(controls::SortText);
    QTest::newRow("2") << "ExpDate"
                       << "Exp. Date" << 100 << false << "dd/mm/yyyy" << 200;
    QTest::newRow("3") << "ChangeDate"
                       << "Chg. Date" << 100 << false << "dd/mm/yyyy" << 200;
    QTest::newRow("4") << "Status"
                       << "Status" << 160 << false << "" << int(controls::SortText);
}

void TestExpirationList::columns()
{
    QFETCH(QString, key);
    QFETCH(QString, header);
    QFETCH(int, width);
    QFETCH(bool, fixedWidth);
    QFETCH(QString, format);
    QFETCH(int, sortCode);
    TestServices t;
    const frmCheckExpire list(t.services, {});
    const controls::Grid &grid = *list.grid;
    QCOMPARE(grid.columnCount(), 4);
    const int column = QString::fromLatin1(QTest::currentDataTag()).toInt();
    QCOMPARE(grid.columnIndex(key), column);
    QCOMPARE(grid.columnHeader(column), header);
    QCOMPARE(grid.columnWidth(column), width);
    QCOMPARE(grid.columnFixedWidth(column), fixedWidth);
    QCOMPARE(grid.columnFormat(column), format);
    QCOMPARE(grid.columnSortCode(column), sortCode);
    QCOMPARE(grid.columnHeaderImage(column), 0);
    QCOMPARE(grid.defaultRowHeight(), 16);
    QCOMPARE(list.cmdEdit->text(), QStringLiteral("Edit"));
    QCOMPARE(list.cmdcancel->text(), QStringLiteral("Cancel"));
}

void TestExpirationList::listsRecordsDue_data()
{
    QTest::addColumn<Dates>("dates");
    QTest::addColumn<QStringList>("rows");
    const auto expired = [](int days) { return QStringLiteral("Expired from ") + shortDate(days); };
    const auto changed = [](int days) { return QStringLiteral("Changed from ") + shortDate(days); };

    QTest::newRow("expires today")
        << expiring(0, false) << QStringList{"svc|07/12/2026@red||" + expired(0) + "@red"};
    QTest::newRow("expired three days ago")
        << expiring(-3, true, 1) << QStringList{"svc|04/12/2026@red||" + expired(-3) + "@red"};
    QTest::newRow("notice exactly reached")
        << expiring(5, true, 5) << QStringList{"svc|12/12/2026@green||5 days to expiration@green"};
    QTest::newRow("a day before the notice") << expiring(5, true, 4) << QStringList{};
    QTest::newRow("notify off") << expiring(5, false, 5) << QStringList{};
    QTest::newRow("tomorrow, one day notice")
        << expiring(1, true, 1) << QStringList{"svc|08/12/2026@green||1 days to expiration@green"};
    QTest::newRow("tomorrow, no notice") << expiring(1, true, 0) << QStringList{};
    QTest::newRow("notice longer than the time left")
        << expiring(25, true, 30)
        << QStringList{"svc|01/01/2027@green||25 days to expiration@green"};
    QTest::newRow("negative notice") << expiring(1, true, -3) << QStringList{};
    Dates off = expiring(-30, true, 60);
    off.expire = false;
    QTest::newRow("expiration off, date long past") << off << QStringList{};
    QTest::newRow("expiration on without a date") << expiring(NoDate, true, 5) << QStringList{};

    QTest::newRow("change today") << changing(0, false)
                                  << QStringList{"svc||07/12/2026@red|" + changed(0) + "@red"};
    QTest::newRow("change overdue")
        << changing(-40, false) << QStringList{"svc||28/10/2026@red|" + changed(-40) + "@red"};
    QTest::newRow("change in notice")
        << changing(2, true, 2) << QStringList{"svc||09/12/2026@green|2 days to changing@green"};
    QTest::newRow("change a day before the notice") << changing(3, true, 2) << QStringList{};
    QTest::newRow("change notify off") << changing(2, false, 9) << QStringList{};
    Dates changeOff = changing(-1);
    changeOff.change = false;
    QTest::newRow("change off, date past") << changeOff << QStringList{};

    Dates both = expiring(-1, false);
    both.change = true;
    both.changeIn = 3;
    both.notifyChange = true;
    both.changeNotice = 3;
    QTest::newRow("both due: expiration row first")
        << both
        << QStringList{"svc|06/12/2026@red||" + expired(-1) + "@red",
                       "svc||10/12/2026@green|3 days to changing@green"};
    Dates onlyExpiration = both;
    onlyExpiration.changeNotice = 2;
    QTest::newRow("both set, only expiration due")
        << onlyExpiration << QStringList{"svc|06/12/2026@red||" + expired(-1) + "@red"};
    Dates onlyChange = both;
    onlyChange.expireIn = 4;
    QTest::newRow("both set, only change due")
        << onlyChange << QStringList{"svc||10/12/2026@green|3 days to changing@green"};
}

void TestExpirationList::listsRecordsDue()
{
    QFETCH(Dates, dates);
    QFETCH(QStringList, rows);
    Fixture f;
    f.add(QStringLiteral("svc"), dates);
    frmCheckExpire list(f.t.services, f.editor());
    QCOMPARE(list.FillExpirationList(), !rows.isEmpty());
    QCOMPARE(rowsOf(*list.grid), rows);
}

void TestExpirationList::timeOfDayDoesNotCount_data()
{
    QTest::addColumn<QTime>("time");
    QTest::newRow("first second of the day") << QTime(0, 0, 0);
    QTest::newRow("last second of the day") << QTime(23, 59, 59);
}

void TestExpirationList::timeOfDayDoesNotCount()
{
    QFETCH(QTime, time);
    Fixture f;
    f.t.clock.set(QDateTime(Today, time));
    f.add(QStringLiteral("today"), expiring(0));
    f.add(QStringLiteral("tomorrow"), expiring(1, true, 1));
    f.add(QStringLiteral("two days"), expiring(2, true, 1));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.FillExpirationList());
    QCOMPARE(rowsOf(*list.grid),
             (QStringList{"today|07/12/2026@red||Expired from " + shortDate(0) + "@red",
                          "tomorrow|08/12/2026@green||1 days to expiration@green"}));
}

void TestExpirationList::collectionOrderExpirationBeforeChange()
{
    Fixture f;
    Dates both = expiring(0);
    both.change = true;
    both.changeIn = 0;
    f.add(QStringLiteral("zeta"), both);
    f.add(QStringLiteral("quiet"), expiring(300, true, 5));
    f.add(QStringLiteral("Alpha"), changing(1, true, 1));
    f.add(QStringLiteral("beta"), expiring(2, true, 2));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.FillExpirationList());
    QCOMPARE(rowsOf(*list.grid),
             (QStringList{"Alpha||08/12/2026@green|1 days to changing@green",
                          "beta|09/12/2026@green||2 days to expiration@green",
                          "zeta|07/12/2026@red||Expired from " + shortDate(0) + "@red",
                          "zeta||07/12/2026@red|Changed from " + shortDate(0) + "@red"}));

    // Filling again starts from an empty list.
    QVERIFY(f.t.state.Store->DeletePassword(QStringLiteral("zeta")));
    QVERIFY(list.FillExpirationList());
    QCOMPARE(list.grid->rowCount(), 2);
}

void TestExpirationList::dateColumnsSortByDate()
{
    Fixture f;
    f.add(QStringLiteral("a"), expiring(3, true, 30));  // 10/12/2026
    f.add(QStringLiteral("b"), expiring(26, true, 30)); // 02/01/2027
    f.add(QStringLiteral("c"), expiring(-7));           // 30/11/2026
    f.add(QStringLiteral("d"), changing(-400));         // no expiration date
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    const controls::Grid &grid = *list.grid;
    const auto servicesInOrder = [&grid] {
        QStringList services;
        for (int row = 1; row <= grid.rowCount(); ++row) {
            services << grid.cellText(row, 1);
        }
        return services;
    };
    const int expColumn = grid.columnIndex(QStringLiteral("ExpDate"));
    clickHeader(grid, expColumn);
    // As text "02/01/2027" would come before "10/12/2026".
    QCOMPARE(servicesInOrder(), (QStringList{"d", "c", "a", "b"}));
    QCOMPARE(grid.columnSortOrder(expColumn), int(controls::SortAscending));
    clickHeader(grid, expColumn);
    QCOMPARE(servicesInOrder(), (QStringList{"b", "a", "c", "d"}));
    QCOMPARE(grid.columnSortOrder(expColumn), int(controls::SortDescending));

    const int changeColumn = grid.columnIndex(QStringLiteral("ChangeDate"));
    clickHeader(grid, changeColumn);
    QCOMPARE(servicesInOrder().constLast(), QStringLiteral("d"));
    QCOMPARE(grid.columnSortOrder(changeColumn), int(controls::SortAscending));
    QCOMPARE(grid.columnSortOrder(expColumn), int(controls::SortNone));
}

void TestExpirationList::statusColumnFitsLongMessages_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("wider");
    QTest::newRow("small font keeps 160") << 6 << false;
    QTest::newRow("large font widens") << 24 << true;
}

void TestExpirationList::statusColumnFitsLongMessages()
{
    QFETCH(int, pointSize);
    QFETCH(bool, wider);
    Fixture f;
    f.add(QStringLiteral("svc"), changing(2, true, 2));
    frmCheckExpire list(f.t.services, f.editor());
    QFont font = list.grid->font();
    font.setPointSize(pointSize);
    list.grid->setFont(font);
    const int before = list.width();
    QVERIFY(list.View_Expires());
    const controls::Grid &grid = *list.grid;
    const int status = grid.columnIndex(QStringLiteral("Status"));
    const int textWidth =
        QFontMetrics(font).horizontalAdvance(QStringLiteral("2 days to changing"));
    QCOMPARE(grid.columnWidth(status) > 160, wider);
    QVERIFY(grid.columnWidth(status) > textWidth);
    int columns = 0;
    for (int column = 1; column <= grid.columnCount(); ++column) {
        columns += grid.columnWidth(column);
    }
    QCOMPARE(list.width() > before, wider);
    QVERIFY(list.width() > columns);
}

QTEST_MAIN(TestExpirationList)
#include "test_expiration_list.moc"
