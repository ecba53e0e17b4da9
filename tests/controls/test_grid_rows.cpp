// Grid rows from a source: cells read when asked, sorting by the order a
// source keeps, rows fitted to their text line.

#include "Grid.h"
#include "TableSource.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace controls;

class TestGridRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void rowSource();
    void rowTextFit();

private:
    int add(const QString &key, bool rowText = false)
    {
        GridColumnDefinition definition;
        definition.key = definition.header = key;
        definition.width = rowText ? 1012 : 80;
        definition.rowText = rowText;
        return grid->addColumn(definition);
    }
    QTableView *table() const { return grid->findChild<QTableView *>(); }

    std::unique_ptr<Grid> grid;
};

void TestGridRows::init()
{
    grid = std::make_unique<Grid>();
    grid->resize(520, 300);
    grid->setDefaultRowHeight(16);
}

// Rows from a source: read when asked, never copied, their cells left alone by
// setters; a column the source keeps in order sorts without reading a cell.
void TestGridRows::rowSource()
{
    add("Name");
    add("Rank");
    add("Notes", true);
    QFont bold = grid->font();
    bold.setBold(true);
    const int boldFont = grid->fontIndex(bold);
    std::vector<std::vector<GridCellData>> rows;
    for (const auto &[name, rank] :
         {std::pair{"ant", "3"}, {"bee", "1"}, {"cat", "4"}, {"dog", "2"}}) {
        GridCellData n;
        n.text = name;
        n.font = static_cast<qint16>(boldFont);
        GridCellData r;
        r.text = rank;
        r.foreColour = 255;
        GridCellData note;
        note.text = QString("about ") + name;
        rows.push_back({n, r, note});
    }
    bool gone = false;
    auto owned = std::make_unique<TableSource>(std::move(rows), 0, &gone);
    const TableSource &source = *owned;
    grid->addRow(); // rows of the grid's own give way
    grid->setRowSource(std::move(owned));
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->cellText(2, 1) + grid->cellText(2, 2), QString("bee1"));
    QVERIFY(grid->cellFont(2, 1).bold());
    QCOMPARE(grid->cellForeColour(2, 2), QColor(Qt::red));
    QCOMPARE(grid->rowText(3), QString("about cat"));
    QCOMPARE(table()->model()->index(3, 0).data().toString(), QString("dog"));
    // Its cells are the source's: setters and new rows leave them alone.
    grid->setCellText(1, 1, "x");
    grid->setCellImage(1, 2, 3);
    QCOMPARE(grid->addRow(), 0);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->cellText(1, 1) + QString::number(grid->cellImage(1, 2)), QString("ant0"));
    grid->setRowHeight(4, 40);
    QCOMPARE(grid->rowHeight(4), 40);

    const auto names = [this] {
        QStringList shown;
        for (int row = 1; row <= grid->rowCount(); ++row)
            shown << grid->cellText(row, 1);
        return shown.join(' ');
    };
    // Answers how many cells the sort read.
    const auto sortBy = [this, &source](int column, int order, int code) {
        const int before = source.asked;
        grid->clearSortKeys();
        grid->addSortKey(column, order, code);
        // A second key in the order the source keeps: only ever a tie-breaker.
        grid->addSortKey(1, SortAscending, SortText);
        grid->sort();
        return source.asked - before;
    };
    grid->setSelectedRow(3); // cat
    QVERIFY(sortBy(2, SortAscending, SortNumber) > 0);
    QCOMPARE(names(), QString("bee dog ant cat"));
    QCOMPARE(grid->rowHeight(2), 40); // the height goes with dog's row
    // The order the source keeps, either way round, without a cell read.
    QCOMPARE(sortBy(1, SortDescending, SortText), 0);
    QCOMPARE(names(), QString("dog cat bee ant"));
    QCOMPARE(sortBy(1, SortAscending, SortText), 0);
    QCOMPARE(names(), QString("ant bee cat dog"));
    QCOMPARE(grid->cellText(grid->selectedRow(), 1), QString("cat"));
    QVERIFY(sortBy(1, SortAscending, SortTextCaseSensitive) > 0); // not the order it keeps

    grid->clearRows();
    QVERIFY(gone);
    QCOMPARE(grid->rowCount(), 0);
    QCOMPARE(grid->addRow(), 1);
}

// Rows fitted to their text line: those in view at once, the others while the
// event loop is idle, scrolled-to ones at once; the heights go with their rows.
void TestGridRows::rowTextFit()
{
    add("Name");
    add("Notes", true);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    const int count = 3000;
    const auto source = [] {
        std::vector<std::vector<GridCellData>> rows;
        for (int i = 0; i < count; ++i) {
            GridCellData name;
            name.text = QString("%1").arg(i, 4, 10, QChar('0'));
            GridCellData note;
            note.text = i % 3 == 0 ? "" : i % 3 == 1 ? "one line" : "first\nsecond\nthird";
            rows.push_back({name, note});
        }
        return std::make_unique<TableSource>(std::move(rows), -1, nullptr);
    };
    const auto fitted = [this](int row) {
        const int text = grid->rowTextHeight(row);
        return grid->rowHeight(row) == (text > 0 ? text + 16 : 16);
    };
    const auto allFitted = [&fitted] {
        for (int row = 1; row <= count; ++row) {
            if (!fitted(row))
                return false;
        }
        return true;
    };
    grid->setRowTextFit(true);
    grid->setRowSource(source());
    QVERIFY(grid->rowHeight(3) > grid->rowHeight(2));
    QVERIFY(grid->rowHeight(2) > 16);
    QVERIFY(fitted(1) && fitted(2) && fitted(3));
    QCOMPARE(grid->rowHeight(count), 16); // not measured yet
    // Sorted while the batches are under way: each row keeps its height, and
    // the batches still reach every row.
    QCoreApplication::processEvents();
    grid->clearSortKeys();
    grid->addSortKey(1, SortDescending, SortText);
    grid->sort();
    QCOMPARE(grid->cellText(1, 1), QString("2999"));
    QTRY_VERIFY(allFitted());
    QCoreApplication::processEvents();
    for (const QTimer *timer : grid->findChildren<QTimer *>())
        QVERIFY(!timer->isActive()); // nothing left running

    // Scrolled to rows the batches have not reached: measured before they show.
    grid->setRowSource(source());
    QCoreApplication::processEvents(); // the view learns its new size
    table()->verticalScrollBar()->setValue(table()->verticalScrollBar()->maximum());
    const int bottom = grid->cellAt(QPoint(5, grid->viewport()->height() - 5)).row;
    QVERIFY(bottom > count / 2);
    QVERIFY(fitted(bottom) && fitted(bottom - 1));

    grid->setRowTextFit(false);
    grid->setRowSource(source());
    QCoreApplication::processEvents();
    QCOMPARE(grid->rowHeight(3), 16);
}

QTEST_MAIN(TestGridRows)
#include "test_grid_rows.moc"
