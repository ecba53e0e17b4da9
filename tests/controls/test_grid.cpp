// Grid: 1-based rows and columns, keyed and hidden columns, cell details,
// row text, sorting, selection and hit tests on a shown widget.

#include "Colour.h"
#include "Grid.h"
#include "GridModel.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace controls;

Q_DECLARE_METATYPE(controls::GridCell)

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columnsByKey();
    void hiddenColumns();
    void rowsAreOneBased();
    void outOfRangeIsIgnored();
    void batchedFill();
    void columnsAddedWhilePaintingIsOff();
    void sort_data();
    void sort();
    void sortOrderToggles();
    void sortByTwoKeys();
    void selectionFollowsSort();
    void selectionAfterClear();
    void colours_data();
    void colours();
    void cellDetailsRoundTrip();
    void dates();
    void rowText();
    void hitTest();
    void hitTestSkipsHiddenColumns();
    void signals();
};

namespace {

GridColumnDefinition column(const QString &key, int width = 80, bool visible = true)
{
    GridColumnDefinition definition;
    definition.key = key;
    definition.header = key;
    definition.width = width;
    definition.visible = visible;
    return definition;
}

QTableView *tableOf(Grid &grid)
{
    return grid.findChild<QTableView *>();
}

QStringList columnTexts(const Grid &grid, int column)
{
    QStringList texts;
    for (int row = 1; row <= grid.rowCount(); ++row)
        texts.append(grid.cellText(row, column));
    return texts;
}

} // namespace

void TestGrid::columnsByKey()
{
    Grid grid;
    QCOMPARE(grid.addColumn(column("Service")), 1);
    QCOMPARE(grid.addColumn(column("UserName")), 2);
    GridColumnDefinition date = column("ExpDate");
    date.header = "Exp. Date";
    date.format = "dd/mm/yyyy";
    date.sortCode = SortDate;
    date.headerImage = 3;
    QCOMPARE(grid.addColumn(date), 3);
    QCOMPARE(grid.columnCount(), 3);
    QCOMPARE(grid.columnIndex("UserName"), 2);
    QCOMPARE(grid.columnIndex("username"), 2);
    QCOMPARE(grid.columnIndex("ExpDate"), 3);
    QCOMPARE(grid.columnIndex("Nope"), 0);
    QCOMPARE(grid.columnKey(1), QString("Service"));
    QCOMPARE(grid.columnKey(3), QString("ExpDate"));
    QCOMPARE(grid.columnKey(0), QString());
    QCOMPARE(grid.columnKey(4), QString());
    QCOMPARE(grid.columnHeader("ExpDate"), QString("Exp. Date"));
    QCOMPARE(grid.columnSortCode("ExpDate"), int(SortDate));
    QCOMPARE(grid.columnSortCode(1), int(SortText));
    QCOMPARE(grid.columnFormat(3), QString("dd/mm/yyyy"));
    QCOMPARE(grid.columnHeaderImage("ExpDate"), 3);
    grid.setColumnHeaderImage("ExpDate", -1);
    QCOMPARE(grid.columnHeaderImage(3), 0);
    grid.setColumnHeader(2, "User Name");
    QCOMPARE(tableOf(grid)->model()->headerData(1, Qt::Horizontal).toString(),
             QString("User Name"));
    grid.setColumnSortOrder("UserName", SortDescending);
    QCOMPARE(grid.columnSortOrder(2), int(SortDescending));
    grid.setColumnSortOrder(2, 7);
    QCOMPARE(grid.columnSortOrder(2), int(SortDescending));
}

void TestGrid::hiddenColumns()
{
    Grid grid;
    grid.addColumn(column("group1", 16, false));
    grid.addColumn(column("Service", 96));
    GridColumnDefinition notes = column("Notes", 1012);
    notes.rowText = true;
    grid.addColumn(notes);
    QTableView *table = tableOf(grid);
    QVERIFY(table->isColumnHidden(0));
    QVERIFY(!table->isColumnHidden(1));
    // The row-text column is never a column of its own.
    QVERIFY(table->isColumnHidden(2));
    QVERIFY(grid.columnIsRowText(3));
    QVERIFY(!grid.columnVisible(1));
    QVERIFY(grid.columnVisible("Service"));

    grid.setColumnVisible("Service", false);
    QVERIFY(table->isColumnHidden(1));
    QVERIFY(!grid.columnVisible(2));
    // The width is kept while hidden and given back when shown.
    QCOMPARE(grid.columnWidth("Service"), 96);
    grid.setColumnWidth("Service", 120);
    grid.setColumnVisible(2, true);
    QVERIFY(!table->isColumnHidden(1));
    QCOMPARE(table->columnWidth(1), 120);
    QCOMPARE(grid.columnWidth(2), 120);
    grid.setColumnVisible("Notes", true);
    QVERIFY(table->isColumnHidden(2));
}

void TestGrid::rowsAreOneBased()
{
    Grid grid;
    grid.addColumn(column("A"));
    grid.addColumn(column("B"));
    QCOMPARE(grid.rowCount(), 0);
    QCOMPARE(grid.addRow(), 1);
    QCOMPARE(grid.addRow(), 2);
    QCOMPARE(grid.addRow(), 3);
    QCOMPARE(grid.rowCount(), 3);
    grid.setCellText(1, 1, "first A");
    grid.setCellText(3, 2, "last B");
    QCOMPARE(grid.cellText(1, 1), QString("first A"));
    QCOMPARE(grid.cellText(3, 2), QString("last B"));
    QCOMPARE(grid.cellText(3, 1), QString());
    const QAbstractItemModel *model = tableOf(grid)->model();
    QCOMPARE(model->data(model->index(0, 0)).toString(), QString("first A"));
    QCOMPARE(model->data(model->index(2, 1)).toString(), QString("last B"));
    grid.clearRows();
    QCOMPARE(grid.rowCount(), 0);
    QCOMPARE(grid.addRow(), 1);
    QCOMPARE(grid.cellText(1, 1), QString());
}

void TestGrid::outOfRangeIsIgnored()
{
    Grid grid;
    grid.addColumn(column("A"));
    grid.addRow();
    grid.setCellText(0, 1, "x");
    grid.setCellText(2, 1, "x");
    grid.setCellText(1, 0, "x");
    grid.setCellText(1, 2, "x");
    QCOMPARE(grid.cellText(1, 1), QString());
    QCOMPARE(grid.cellText(0, 0), QString());
    QCOMPARE(grid.cellImage(5, 5), 0);
    QCOMPARE(grid.rowHeight(2), 0);
    grid.setSelectedRow(9);
    QCOMPARE(grid.selectedRow(), 0);
}

void TestGrid::batchedFill()
{
    Grid grid;
    grid.addColumn(column("A"));
    grid.addRow();
    grid.addRow();
    grid.setSelectedRow(2);
    QCOMPARE(grid.selectedRow(), 2);

    grid.setRedraw(false);
    QVERIFY(!grid.redraw());
    for (int i = 0; i < 50; ++i)
        grid.setCellText(grid.addRow(), 1, QString::number(i));
    QCOMPARE(grid.rowCount(), 52);
    grid.setRedraw(true);
    QVERIFY(grid.redraw());
    QCOMPARE(tableOf(grid)->model()->rowCount(), 52);
    QCOMPARE(grid.cellText(52, 1), QString("49"));
    // The selection survives a batch that kept its row.
    QCOMPARE(grid.selectedRow(), 2);

    grid.setRedraw(false);
    grid.clearRows();
    grid.setCellText(grid.addRow(), 1, "only");
    grid.setRedraw(true);
    QCOMPARE(tableOf(grid)->model()->rowCount(), 1);
    QCOMPARE(grid.selectedRow(), 0);
}

void TestGrid::columnsAddedWhilePaintingIsOff()
{
    // Columns are set up with painting off; their widths, modes and visibility must hold.
    Grid grid;
    grid.setRedraw(false);
    GridColumnDefinition fixed = column("Fixed", 120);
    fixed.fixedWidth = true;
    grid.addColumn(fixed);
    grid.addColumn(column("Hidden", 50, false));
    grid.setCellText(grid.addRow(), 1, "x");
    QVERIFY(!grid.redraw());
    grid.setRedraw(true);
    QTableView *table = tableOf(grid);
    QCOMPARE(table->model()->columnCount(), 2);
    QCOMPARE(table->columnWidth(0), 120);
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    QVERIFY(table->isColumnHidden(1));
    QCOMPARE(grid.cellText(1, 1), QString("x"));
}

void TestGrid::sort_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("sorted");
    const QStringList dates{"02/01/2024", "10/12/2023", "", "01/02/2024", "31/01/2024"};
    QTest::newRow("dates chronologically")
        << int(SortDate) << "dd/mm/yyyy" << int(SortAscending) << dates
        << QStringList{"", "10/12/2023", "02/01/2024", "31/01/2024", "01/02/2024"};
    QTest::newRow("dates descending")
        << int(SortDate) << "dd/mm/yyyy" << int(SortDescending) << dates
        << QStringList{"01/02/2024", "31/01/2024", "02/01/2024", "10/12/2023", ""};
    QTest::newRow("the same dates as text")
        << int(SortText) << "dd/mm/yyyy" << int(SortAscending) << dates
        << QStringList{"", "01/02/2024", "02/01/2024", "10/12/2023", "31/01/2024"};
    QTest::newRow("text ignores case") << int(SortText) << "" << int(SortAscending)
                                       << QStringList{"beta", "Alpha", "gamma", "alpha2", "Beta2"}
                                       << QStringList{"Alpha", "alpha2", "beta", "Beta2", "gamma"};
    QTest::newRow("text descending")
        << int(SortText) << "" << int(SortDescending) << QStringList{"beta", "Alpha", "gamma"}
        << QStringList{"gamma", "beta", "Alpha"};
    QTest::newRow("numbers by value")
        << int(SortNumber) << "" << int(SortAscending) << QStringList{"10", "9", "100", "-1", "x"}
        << QStringList{"x", "-1", "9", "10", "100"};
}

void TestGrid::sort()
{
    QFETCH(int, code);
    QFETCH(QString, format);
    QFETCH(int, order);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, sorted);
    Grid grid;
    grid.addColumn(column("Name"));
    GridColumnDefinition definition = column("Value");
    definition.format = format;
    definition.sortCode = code;
    grid.addColumn(definition);
    for (int i = 0; i < cells.size(); ++i) {
        const int row = grid.addRow();
        grid.setCellText(row, 1, QString::number(i));
        grid.setCellText(row, 2, cells[i]);
    }
    grid.addSortKey(2, order, code);
    grid.sort();
    QCOMPARE(columnTexts(grid, 2), sorted);
    // Whole rows move, not just the sorted cells.
    for (int row = 1; row <= grid.rowCount(); ++row)
        QCOMPARE(cells[grid.cellText(row, 1).toInt()], grid.cellText(row, 2));
}

void TestGrid::sortOrderToggles()
{
    Grid grid;
    grid.addColumn(column("Name"));
    GridColumnDefinition status = column("Expire", 26);
    status.sortCode = SortImage;
    grid.addColumn(status);
    // Status icons: 12 stands for alert, 13 for warning, 0 for none; 5 is
    // not ranked by the host and so sorts after the ranked ones.
    grid.setImageSortOrder({13, 12});
    const int images[] = {13, 0, 12, 13, 0, 5};
    for (int i = 0; i < 6; ++i) {
        const int row = grid.addRow();
        grid.setCellText(row, 1, QString::number(i));
        grid.setCellImage(row, 2, images[i]);
    }
    grid.setColumnSortOrder(1, SortAscending);
    grid.addSortKey(2, SortAscending, SortImage);
    grid.sort();
    QCOMPARE(columnTexts(grid, 1), QStringList({"1", "4", "0", "3", "2", "5"}));
    QCOMPARE(grid.columnSortOrder(2), int(SortAscending));
    QCOMPARE(grid.columnSortOrder(1), int(SortNone));

    grid.clearSortKeys();
    QVERIFY(grid.sortKeys().empty());
    grid.addSortKey(2, SortDescending, SortImage);
    grid.sort();
    // Equal statuses keep their earlier order.
    QCOMPARE(columnTexts(grid, 1), QStringList({"5", "2", "0", "3", "1", "4"}));
    QCOMPARE(grid.columnSortOrder("Expire"), int(SortDescending));
}

void TestGrid::sortByTwoKeys()
{
    Grid grid;
    grid.addColumn(column("Cat"));
    grid.addColumn(column("Service"));
    const QStringList cats{"b", "a", "b", "a"};
    const QStringList services{"x", "z", "w", "y"};
    for (int i = 0; i < 4; ++i) {
        const int row = grid.addRow();
        grid.setCellText(row, 1, cats[i]);
        grid.setCellText(row, 2, services[i]);
    }
    grid.addSortKey(1, SortAscending, SortText);
    grid.addSortKey(2, SortDescending, SortText);
    QCOMPARE(grid.sortKeys().size(), size_t(2));
    grid.sort();
    QCOMPARE(columnTexts(grid, 2), QStringList({"z", "y", "x", "w"}));
}

void TestGrid::selectionFollowsSort()
{
    Grid grid;
    grid.addColumn(column("Name"));
    grid.addColumn(column("Other"));
    for (const char *name : {"delta", "alpha", "charlie", "bravo"})
        grid.setCellText(grid.addRow(), 1, name);
    grid.setSelectedRow(1, 2);
    QCOMPARE(grid.selectedRow(), 1);
    QCOMPARE(grid.selectedColumn(), 2);
    grid.addSortKey(1, SortAscending, SortText);
    grid.sort();
    QCOMPARE(grid.cellText(4, 1), QString("delta"));
    QCOMPARE(grid.selectedRow(), 4);
    QCOMPARE(grid.selectedColumn(), 2);
    grid.setSelectedRow(2);
    QCOMPARE(grid.cellText(2, 1), QString("bravo"));
    grid.clearSortKeys();
    grid.addSortKey(1, SortDescending, SortText);
    grid.sort();
    QCOMPARE(grid.selectedRow(), 3);
    QCOMPARE(grid.cellText(grid.selectedRow(), 1), QString("bravo"));
}

void TestGrid::selectionAfterClear()
{
    Grid grid;
    grid.addColumn(column("Name"));
    grid.addRow();
    grid.addRow();
    QSignalSpy spy(&grid, &Grid::selectionChanged);
    grid.setSelectedRow(2);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).toInt(), 2);
    grid.clearRows();
    QCOMPARE(grid.selectedRow(), 0);
    QCOMPARE(grid.selectedColumn(), 0);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toInt(), 0);
    grid.addRow();
    QCOMPARE(grid.selectedRow(), 0);
    grid.setSelectedRow(1);
    grid.setSelectedRow(0);
    QCOMPARE(grid.selectedRow(), 0);
}

void TestGrid::colours_data()
{
    QTest::addColumn<int>("rgb");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << 255 << QColor(255, 0, 0);
    QTest::newRow("green") << 65280 << QColor(0, 255, 0);
    QTest::newRow("yellow") << 65535 << QColor(255, 255, 0);
    QTest::newRow("blue") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("notes grey") << (128 | 128 << 8 | 128 << 16) << QColor(128, 128, 128);
    QTest::newRow("mixed") << (0x12 | 0x34 << 8 | 0x56 << 16) << QColor(0x12, 0x34, 0x56);
    QTest::newRow("black") << 0 << QColor(0, 0, 0);
    QTest::newRow("default") << -1 << QColor();
}

void TestGrid::colours()
{
    QFETCH(int, rgb);
    QFETCH(QColor, colour);
    QCOMPARE(colourFromRgbInt(rgb), colour);
    QCOMPARE(rgbIntFromColour(colour), rgb);

    Grid grid;
    grid.addColumn(column("Date"));
    grid.addRow();
    CellDetails details;
    details.text = "01/01/2024";
    details.foreColour = rgb;
    details.backColour = rgb;
    grid.setCellDetails(1, 1, details);
    QCOMPARE(grid.cellForeColour(1, 1), colour);
    QCOMPARE(grid.cellBackColour(1, 1), colour);
    const QAbstractItemModel *model = tableOf(grid)->model();
    const QVariant shown = model->data(model->index(0, 0), Qt::ForegroundRole);
    QCOMPARE(shown.isValid(), colour.isValid());
    if (colour.isValid())
        QCOMPARE(shown.value<QBrush>().color(), colour);
}

void TestGrid::cellDetailsRoundTrip()
{
    Grid grid;
    grid.addColumn(column("Service"));
    grid.addColumn(column("URL"));
    grid.addRow();
    QFont bold = grid.font();
    bold.setBold(true);
    CellDetails details;
    details.text = "Bank";
    details.alignment = Qt::AlignRight | Qt::AlignVCenter;
    details.image = 4;
    details.font = bold;
    details.indent = 6;
    grid.setCellDetails(1, 1, details);
    const CellDetails back = grid.cellDetails(1, 1);
    QCOMPARE(back.text, QString("Bank"));
    QCOMPARE(back.alignment, Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(back.image, 4);
    QVERIFY(back.font.has_value());
    QVERIFY(back.font->bold());
    QCOMPARE(back.indent, 6);
    QCOMPARE(back.foreColour, -1);
    QVERIFY(grid.cellFont(1, 1).bold());
    QVERIFY(!grid.cellFont(1, 2).bold());
    QVERIFY(!grid.cellDetails(1, 2).font.has_value());
    QCOMPARE(grid.cellText(1, 1), QString("Bank"));
    QCOMPARE(grid.cellImage(1, 1), 4);
}

void TestGrid::dates()
{
    Grid grid;
    GridColumnDefinition date = column("ExpDate");
    date.format = "dd/mm/yyyy";
    grid.addColumn(date);
    grid.addColumn(column("Plain"));
    grid.addRow();
    grid.setCellDate(1, 1, QDate(2024, 3, 7));
    QCOMPARE(grid.cellText(1, 1), QString("07/03/2024"));
    grid.setCellDate(1, 2, QDate(2024, 3, 7));
    QCOMPARE(grid.cellText(1, 2), QString("2024-03-07"));
    grid.setCellDate(1, 1, QDate());
    QCOMPARE(grid.cellText(1, 1), QString());
    QCOMPARE(qtDateFormat("dd/mm/yyyy hh:nn"), QString("dd/MM/yyyy hh:mm"));
}

void TestGrid::rowText()
{
    Grid grid;
    grid.resize(400, 300);
    grid.addColumn(column("Service", 150));
    grid.addColumn(column("User", 150));
    QCOMPARE(grid.rowTextHeight(1), 0);
    grid.addRow();
    grid.setRowText(1, "ignored without a row-text column");
    QCOMPARE(grid.rowText(1), QString());

    GridColumnDefinition notes = column("Notes", 1012);
    notes.rowText = true;
    const int notesColumn = grid.addColumn(notes);
    grid.addRow();
    grid.addRow();
    grid.setRowText(1, "one line");
    grid.setRowText(2, "first\nsecond\nthird");
    QCOMPARE(grid.rowText(1), QString("one line"));
    QCOMPARE(grid.cellText(1, notesColumn), QString("one line"));
    QCOMPARE(grid.rowText(3), QString());
    QCOMPARE(grid.rowTextHeight(3), 0);
    const int one = grid.rowTextHeight(1);
    const int three = grid.rowTextHeight(2);
    QVERIFY(one >= QFontMetrics(grid.font()).height());
    QVERIFY(three >= 3 * QFontMetrics(grid.font()).height());
    // Long text wraps in the width of the visible columns.
    grid.setRowText(3, QString("word ").repeated(200));
    QVERIFY(grid.rowTextHeight(3) > 3 * one);

    grid.setDefaultRowHeight(16);
    QCOMPARE(grid.rowHeight(2), 16);
    grid.setRowHeight(2, three + grid.defaultRowHeight());
    QCOMPARE(grid.rowHeight(2), three + 16);
    QCOMPARE(tableOf(grid)->rowHeight(1), three + 16);
    grid.setRowHeight(2, 0);
    QCOMPARE(grid.rowHeight(2), 16);
}

void TestGrid::hitTest()
{
    Grid grid;
    grid.resize(500, 300);
    grid.setDefaultRowHeight(16);
    grid.addColumn(column("A", 100));
    grid.addColumn(column("B", 120));
    grid.addColumn(column("C", 80));
    for (int i = 0; i < 5; ++i)
        grid.addRow();
    grid.setRowHeight(2, 40);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QCOMPARE(grid.cellAt(QPoint(50, 8)), GridCell({1, 1}));
    QCOMPARE(grid.cellAt(QPoint(150, 8)), GridCell({1, 2}));
    // Row 2 is 40 high: its lower part still belongs to it, row 3 starts at 56.
    QCOMPARE(grid.cellAt(QPoint(150, 50)), GridCell({2, 2}));
    QCOMPARE(grid.cellAt(QPoint(250, 60)), GridCell({3, 3}));
    // Past the last column and below the last row there is no cell.
    QCOMPARE(grid.cellAt(QPoint(450, 8)), GridCell());
    QCOMPARE(grid.cellAt(QPoint(50, 16 * 4 + 40 + 5)), GridCell());
    for (int row = 1; row <= 5; ++row) {
        for (int col = 1; col <= 3; ++col)
            QCOMPARE(grid.cellAt(grid.cellRect(row, col).center()), GridCell({row, col}));
    }
    QCOMPARE(grid.columnSpan(2), std::make_pair(100, 220));
}

void TestGrid::hitTestSkipsHiddenColumns()
{
    Grid grid;
    grid.resize(500, 300);
    grid.addColumn(column("group1", 16, false));
    grid.addColumn(column("A", 100));
    grid.addColumn(column("B", 100));
    grid.addRow();
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QCOMPARE(grid.cellAt(QPoint(5, 5)), GridCell({1, 2}));
    QCOMPARE(grid.cellAt(QPoint(105, 5)), GridCell({1, 3}));
    QCOMPARE(grid.columnSpan(1), std::make_pair(0, 0));
    grid.setColumnVisible(2, false);
    QCOMPARE(grid.cellAt(QPoint(5, 5)), GridCell({1, 3}));
}

void TestGrid::signals()
{
    Grid grid;
    grid.resize(400, 300);
    grid.addColumn(column("A", 100));
    grid.addColumn(column("B", 100));
    for (int i = 0; i < 4; ++i)
        grid.addRow();
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    QSignalSpy down(&grid, &Grid::mouseDown);
    QSignalSpy up(&grid, &Grid::mouseUp);
    QSignalSpy selection(&grid, &Grid::selectionChanged);
    int selectedAtDown = -1;
    connect(&grid, &Grid::mouseDown, this, [&] { selectedAtDown = grid.selectedRow(); });
    const QPoint inRow3 = grid.cellRect(3, 2).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, inRow3);
    QCOMPARE(down.count(), 1);
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.first().at(2).toPoint(), inRow3);
    QCOMPARE(selectedAtDown, 3);
    QCOMPARE(grid.selectedRow(), 3);
    QCOMPARE(grid.selectedColumn(), 2);
    QCOMPARE(selection.last().at(0).toInt(), 3);

    QSignalSpy doubled(&grid, &Grid::doubleClicked);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(2, 1).center());
    QCOMPARE(doubled.count(), 1);
    QCOMPARE(doubled.first().at(0).toInt(), 2);
    QCOMPARE(doubled.first().at(1).toInt(), 1);

    QSignalSpy keys(&grid, &Grid::keyDown);
    QTest::keyClick(tableOf(grid), Qt::Key_Down);
    QCOMPARE(keys.count(), 1);
    QCOMPARE(keys.first().at(0).toInt(), int(Qt::Key_Down));
    QCOMPARE(grid.selectedRow(), 3);

    QSignalSpy header(&grid, &Grid::headerClicked);
    QHeaderView *bar = tableOf(grid)->horizontalHeader();
    QTest::mouseClick(bar->viewport(), Qt::LeftButton, {},
                      QPoint(bar->sectionViewportPosition(1) + 10, bar->height() / 2));
    QCOMPARE(header.count(), 1);
    QCOMPARE(header.first().at(0).toInt(), 2);
}

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
