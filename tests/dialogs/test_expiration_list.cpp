// The expiration list: what it shows of the records due, and editing from it.

#include "DialogFixture.h"
#include "Grid.h"

#include <QHeaderView>

namespace {

// The headers, then each row as "service|exp. date|chg. date|status", colour after "@".
QStringList rowsOf(const controls::Grid &grid)
{
    QStringList rows;
    for (int row = 0; row <= grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column <= grid.columnCount(); ++column) {
            const QColor colour = row == 0 ? QColor() : grid.cellForeColour(row, column);
            cells << (row == 0 ? grid.columnHeader(column) : grid.cellText(row, column)) +
                         (colour == Qt::red     ? "@red"
                          : colour == Qt::green ? "@green"
                                                : "");
        }
        rows << cells.join('|');
    }
    return rows;
}

} // namespace

class TestExpirationList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsRecordsDue()
    {
        Fixture f;
        f.add(dated("a-expired", -3));
        f.add(dated("b-soon", 5, 0, 5));
        f.add(dated("c-change", 0, -1));
        f.add(dated("d-both", -1, 3, 3));
        f.add(dated("e-next-year", 26, 0, 30));
        frmCheckExpire list(f.t.services, {});
        // A large font: the status grows to its message, and the window with it.
        QFont font = list.grid->font();
        font.setPointSize(24);
        list.grid->setFont(font);
        const int width = list.width();
        QVERIFY(list.View_Expires());
        QCOMPARE(
            rowsOf(*list.grid),
            (QStringList{
                "Service|Exp. Date|Chg. Date|Status",
                "a-expired|04/12/2026@red||Expired from " + shortDate(Today.addDays(-3)) + "@red",
                "b-soon|12/12/2026@green||5 days to expiration@green",
                "c-change||06/12/2026@red|Changed from " + shortDate(Today.addDays(-1)) + "@red",
                "d-both|06/12/2026@red||Expired from " + shortDate(Today.addDays(-1)) + "@red",
                "d-both||10/12/2026@green|3 days to changing@green",
                "e-next-year|02/01/2027@green||26 days to expiration@green"}));
        QVERIFY(list.grid->columnWidth(4) >
                QFontMetrics(font).horizontalAdvance("26 days to expiration"));
        QVERIFY(list.width() > width && list.width() > 350 + list.grid->columnWidth(4));
        QVERIFY(list.FillExpirationList() && list.grid->rowCount() == 6); // from empty again
        // A click on a date header sorts by date, a second one the other way round.
        const QList<QHeaderView *> headers = list.grid->findChildren<QHeaderView *>();
        QHeaderView *header = headers[headers[0]->orientation() == Qt::Horizontal ? 0 : 1];
        QString order;
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(1) + 5, 5));
            for (int row = 1; row <= list.grid->rowCount(); ++row) {
                order += list.grid->cellText(row, 2).isEmpty()
                             ? ""
                             : list.grid->cellText(row, 1).left(1);
            }
        }
        QCOMPARE(order, "adbeebda");
    }

    void nothingDue()
    {
        Fixture f; // none of its records is due
        const QPointer<frmCheckExpire> list = dialogs::CheckExpiration(f.t.services, {});
        QCOMPARE(f.asked(), QStringList{"No password in expiration/changing!"});
        QVERIFY(f.t.windows.isEmpty() && f.main.widget.isEnabled() && f.t.state.RefreshRequested());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(list.isNull());
        // The window never showed, so it left no placement behind.
        QCOMPARE(f.t.settings.OpenLayoutSettings().GetInteger("frmCheckExpire-W", -1), qint16(-1));
    }

    void editing()
    {
        // Nothing opens without a line selected, or for a record gone since.
        const std::tuple<const char *, int, const char *> edits[] = {
            {"double", 2, "second"},
            {"return", 2, "second"},
            {"cmdEdit", 0, "You must select a service before trying to edit!"},
            {"cmdEdit", 1, "The service \"first\" is no longer in the file!"}};
        for (const auto &[how, row, result] : edits) {
            Fixture f;
            f.add(dated("first", -1));
            f.add(dated("second", 1, -1, 1));
            QStringList opened;
            frmCheckExpire list(f.t.services, [&](const QString &service) {
                opened << service;
                // The dialog behind this may make a record due no more.
                QVERIFY(f.store().DeletePassword("second"));
            });
            QVERIFY(list.View_Expires());
            const QStringList before = rowsOf(*list.grid);
            if (QString(result).contains("no longer")) {
                QVERIFY(f.store().DeletePassword("first"));
            }
            list.grid->setSelectedRow(row);
            if (QString(how) == "double") {
                QTest::mouseDClick(list.grid->viewport(), Qt::LeftButton, {},
                                   list.grid->cellRect(row, 1).center());
            } else if (QString(how) == "return") {
                QTest::keyClick(list.grid->focusProxy(), Qt::Key_Return);
            } else {
                QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
            }
            QCOMPARE(opened + f.asked(), QStringList{result});
            // Not filled again: a record no longer due stays listed.
            QCOMPARE(rowsOf(*list.grid), before);
        }
    }
};

QTEST_MAIN(TestExpirationList)
#include "test_expiration_list.moc"
