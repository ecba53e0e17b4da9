// Grid: keyed 1-based columns and rows, cell looks as painted, sorting,
// selection, hit tests, typing to search and the signals of a shown grid.

#include "Grid.h"
#include "GridModel.h"
#include "ResourceImages.h"
#include "TableSource.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace controls;

namespace {

int countColour(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 0)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance &&
                     std::abs(c.green() - colour.green()) <= tolerance &&
                     std::abs(c.blue() - colour.blue()) <= tolerance;
        }
    }
    return count;
}

using Adjust = void (*)(GridColumnDefinition &);
const Adjust hidden = [](GridColumnDefinition &d) { d.visible = false; };
const Adjust rowText = [](GridColumnDefinition &d) { d.rowText = true; };
const Adjust dated = [](GridColumnDefinition &d) { d.format = "dd/mm/yyyy"; };

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void columns();
    void rows();
    void sort_data();
    void sort();
    void resort_data();
    void resort();
    void colours_data();
    void colours();
    void cellLooks();
    void shown();

private:
    int add(const QString &key, int width = 80, Adjust adjust = nullptr);
    // Rows of the grid's own cells or, with a source, the same cells from it.
    // Column 1 holds each row's first index; values go in column 2, as images
    // or as texts.
    void fill(const QStringList &values, bool fromSource, bool images);
    void showSample();
    QTableView *table() const { return grid->findChild<QTableView *>(); }
    QRect onShot(int row, int column) const
    {
        return grid->cellRect(row, column)
            .translated(grid->viewport()->mapTo(grid.get(), QPoint()));
    }
    // A column as the host reads it back to save it.
    QString settings(const QString &key) const
    {
        const int c = grid->columnIndex(key);
        return QStringList{grid->columnHeader(key),
                           QString::number(grid->columnWidth(key)),
                           grid->columnVisible(key) ? "shown" : "hidden",
                           grid->columnFixedWidth(c)  ? "fixed"
                           : grid->columnIsRowText(c) ? "row-text"
                                                      : grid->columnFormat(c),
                           QString::number(grid->columnSortCode(key)),
                           QString::number(grid->columnSortOrder(key)),
                           QString::number(grid->columnHeaderImage(key))}
            .join(' ');
    }

    std::unique_ptr<Grid> grid;
};

void TestGrid::init()
{
    grid = std::make_unique<Grid>();
    grid->resize(520, 300);
    grid->setDefaultRowHeight(16);
}

int TestGrid::add(const QString &key, int width, Adjust adjust)
{
    GridColumnDefinition definition;
    definition.key = definition.header = key;
    definition.width = width;
    if (adjust != nullptr)
        adjust(definition);
    return grid->addColumn(definition);
}

void TestGrid::fill(const QStringList &values, bool fromSource, bool images)
{
    std::vector<std::vector<GridCellData>> rows;
    for (int i = 0; i < values.size(); ++i) {
        GridCellData index;
        index.text = QString::number(i);
        GridCellData value;
        if (images)
            value.image = static_cast<qint16>(values[i].toInt());
        else
            value.text = values[i];
        rows.push_back({index, value});
    }
    if (fromSource) {
        grid->setRowSource(std::make_unique<TableSource>(std::move(rows), -1, nullptr));
        return;
    }
    for (const auto &cells : rows) {
        const int row = grid->addRow();
        grid->setCellText(row, 1, cells[0].text);
        if (images)
            grid->setCellImage(row, 2, cells[1].image);
        else
            grid->setCellText(row, 2, cells[1].text);
    }
}

// Hidden group column, Service, status icons outside the selection, URL and
// notes; row 2 is tall for its blue notes line, row 3 is selected.
void TestGrid::showSample()
{
    const auto images = resource_images::imageList(101);
    grid->setImageList(images);
    grid->setRedraw(false);
    add("group1", 16, hidden);
    add("Service", 100);
    add("Expire", 26, [](GridColumnDefinition &d) { d.inSelection = false; });
    add("URL", 120);
    add("Notes", 1012, rowText);
    grid->setColumnHeaderImage(3, images->index("PDELETE"));
    const char *rows[][3] = {{"Bank", "ALERT", "bank.example"},
                             {"Mail", "WARNING", "mail.example"},
                             {"Shop", "", "shop.example"},
                             {"Post", "", "web.example"}};
    for (const auto &[service, status, url] : rows) {
        const int row = grid->addRow();
        grid->setCellText(row, 2, service);
        grid->setCellImage(row, 3, images->index(status));
        grid->setCellText(row, 4, url);
    }
    CellDetails note;
    note.text = "PIN is in the drawer";
    note.foreColour = 0xFF0000; // blue, unlike any other text, so its pixels tell where it went
    grid->setCellDetails(2, 5, note);
    grid->setRowHeight(2, grid->rowTextHeight(2) + grid->defaultRowHeight());
    grid->setRedraw(true);
    grid->setSelectedRow(3); // in the first column the user can see
    QCOMPARE(grid->selectedColumn(), 2);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
}

void TestGrid::columns()
{
    grid->setRedraw(false); // the host sets its columns up with painting off
    QCOMPARE(add("group1", 16, hidden), 1);
    QCOMPARE(add("Service", 96, [](GridColumnDefinition &d) { d.fixedWidth = true; }), 2);
    add("ExpDate", 80, [](GridColumnDefinition &d) { d.format = "dd/mm/yyyy", d.headerImage = 3; });
    QCOMPARE(add("Notes", 1012, rowText), 4);
    grid->setRedraw(true);
    QTableView *view = table();
    QCOMPARE(view->horizontalHeader()->sectionResizeMode(1), QHeaderView::Fixed);
    QCOMPARE(view->horizontalHeader()->sectionResizeMode(2), QHeaderView::Interactive);
    QVERIFY(view->isColumnHidden(3)); // the row-text column is a line, never a column
    QCOMPARE(grid->columnIndex("Nope"), 0);
    QCOMPARE(grid->columnKey(5), QString());
    grid->setColumnHeader(3, "Expires");
    QCOMPARE(view->model()->headerData(2, Qt::Horizontal).toString(), QString("Expires"));
    grid->setColumnSortCode("expdate", SortDate); // keys ignore case
    grid->setColumnHeaderImage("ExpDate", -1);
    grid->setColumnSortOrder("ExpDate", SortDescending);
    grid->setColumnSortOrder(3, 7);
    QCOMPARE(settings("ExpDate"), QString("Expires 80 shown dd/mm/yyyy 200 2 0"));
    QCOMPARE(settings("group1"), QString("group1 16 hidden  0 0 0"));
    QCOMPARE(settings("Notes"), QString("Notes 1012 shown row-text 0 0 0"));
    // A hidden column keeps its width and shows with the one set meanwhile.
    grid->setColumnVisible("Service", false);
    QVERIFY(view->isColumnHidden(1));
    grid->setColumnWidth("Service", 120);
    QCOMPARE(settings("Service"), QString("Service 120 hidden fixed 0 0 0"));
    grid->setColumnVisible(2, true);
    QCOMPARE(view->columnWidth(1), 120);
    grid->setColumnVisible("Notes", true);
    QVERIFY(view->isColumnHidden(3));
}

void TestGrid::rows()
{
    add("A");
    add("B");
    QCOMPARE(grid->addRow(), 1);
    QCOMPARE(grid->addRow(), 2);
    grid->setCellText(2, 2, "last B");
    QCOMPARE(table()->model()->index(1, 1).data().toString(), QString("last B"));
    // Out of range: setters do nothing, getters answer empty.
    const std::pair<int, int> outside[] = {{0, 1}, {3, 1}, {1, 0}, {1, 3}};
    CellDetails x;
    x.text = "x";
    for (const auto &[row, column] : outside) {
        grid->setCellText(row, column, "x");
        grid->setCellDetails(row, column, x);
    }
    QCOMPARE(grid->cellText(1, 1) + grid->cellText(2, 1) + grid->cellText(1, 2), QString());
    QCOMPARE(grid->rowHeight(3), 0);
    grid->setSelectedRow(9);
    QCOMPARE(grid->selectedRow(), 0);

    // A batch shows in one step and keeps the selection when its row stays.
    grid->setSelectedRow(2);
    grid->setRedraw(false);
    for (int i = 0; i < 50; ++i)
        grid->setCellText(grid->addRow(), 1, QString::number(i));
    grid->setRedraw(true);
    QVERIFY(table()->updatesEnabled());
    QCOMPARE(table()->verticalHeader()->count(), 52); // the view has learnt of them
    QCOMPARE(table()->model()->index(51, 0).data().toString(), QString("49"));
    QCOMPARE(grid->selectedRow(), 2);
    QSignalSpy spy(grid.get(), &Grid::selectionChanged);
    grid->setRedraw(false);
    grid->clearRows();
    grid->addRow();
    grid->setRedraw(true);
    QCOMPARE(table()->model()->rowCount(), 1);
    QCOMPARE(QList<QVariantList>(spy), QList<QVariantList>({{0}}));

    // A column added to rows that exist: each row keeps its cells, and a sort
    // after it moves whole rows.
    grid->setCellText(1, 1, "A1");
    grid->setCellText(grid->addRow(), 2, "B2");
    QCOMPARE(add("C"), 3);
    grid->setCellText(2, 3, "C2");
    grid->addSortKey(2, SortDescending, SortText);
    grid->sort();
    const QStringList cells{grid->cellText(1, 2), grid->cellText(1, 3), grid->cellText(2, 1),
                            grid->cellText(2, 3)};
    QCOMPARE(cells, QStringList({"B2", "C2", "A1", ""}));
}

void TestGrid::sort_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("cells"); // split at '|'; image numbers for SortImage
    QTest::addColumn<QString>("sorted");
    QTest::addColumn<int>("then"); // a second key: the rows' first order, as a number
    QTest::addColumn<bool>("fromSource");
    const auto row = [](const char *name, int code, int order, const char *cells,
                        const char *sorted, int then = 0) {
        for (const bool fromSource : {false, true})
            QTest::addRow("%s%s", name, fromSource ? ", from a source" : "")
                << code << order << QString(cells) << QString(sorted) << then << fromSource;
    };
    const int up = SortAscending, down = SortDescending;
    const char *dates = "02/01/2024|10/12/2023||01/02/2024|31/01/2024";
    row("dates in order", SortDate, up, dates, "|10/12/2023|02/01/2024|31/01/2024|01/02/2024");
    row("dates descending", SortDate, down, dates, "01/02/2024|31/01/2024|02/01/2024|10/12/2023|");
    row("the same dates as text", SortText, up, dates,
        "|01/02/2024|02/01/2024|10/12/2023|31/01/2024");
    row("text ignores case, ties keep their order", SortText, up, "beta|B|Alpha|b|alpha",
        "Alpha|alpha|B|b|beta");
    row("beyond ASCII too", SortText, up, "\u00c4b|\u00e4a|\u00c4A|Zz",
        "Zz|\u00e4a|\u00c4A|\u00c4b");
    row("ties by a second key", SortText, up, "b|a|b|a", "a|a|b|b", down);
    row("case-sensitive text", SortTextCaseSensitive, up, "b|B|a|A", "A|B|a|b");
    row("numbers by value", SortNumber, up, "10|9|100|-1|x", "x|-1|9|10|100");
    // The host ranks 13 (warning) before 12 (alert); unranked 5 comes after them.
    row("status images", SortImage, up, "13|0|12|13|0|5", "0|0|13|13|12|5");
    row("status images descending", SortImage, down, "13|0|12|5|0", "5|12|13|0|0");
}

void TestGrid::sort()
{
    QFETCH(int, code);
    QFETCH(int, order);
    QFETCH(QString, cells);
    QFETCH(QString, sorted);
    QFETCH(int, then);
    QFETCH(bool, fromSource);
    add("Index");
    add("Value", 80, dated);
    grid->setImageSortOrder({13, 12});
    const bool images = code == SortImage;
    const QStringList values = cells.split('|');
    fill(values, fromSource, images);
    grid->setSelectedRow(1, 2);
    grid->setColumnSortOrder(1, SortAscending);
    grid->addSortKey(2, order, code);
    grid->addSortKey(9, order, code); // no such column
    if (then != 0)
        grid->addSortKey(1, then, SortNumber);
    QCOMPARE(grid->sortKeys().size(), size_t(then ? 2 : 1));
    grid->sort();
    QStringList shown;
    for (int row = 1; row <= grid->rowCount(); ++row) {
        shown.append(images ? QString::number(grid->cellImage(row, 2)) : grid->cellText(row, 2));
        // Whole rows move; equal ones go by the second key, else keep their order.
        const int index = grid->cellText(row, 1).toInt();
        QCOMPARE(values[index], shown.last());
        if (row > 1 && shown[row - 2].compare(shown.last(), Qt::CaseInsensitive) == 0)
            QCOMPARE(index > grid->cellText(row - 1, 1).toInt(), then == 0);
    }
    QCOMPARE(shown.join('|'), sorted);
    // The selection moves with its row; only the sorted columns show an order.
    QCOMPARE(grid->cellText(grid->selectedRow(), 1), QString("0"));
    QCOMPARE(grid->selectedColumn(), 2);
    QCOMPARE(grid->columnSortOrder(2), order);
    QCOMPARE(grid->columnSortOrder(1), then);
    grid->clearSortKeys();
    grid->sort();
    QCOMPARE(grid->columnSortOrder(2), int(SortNone));
}

void TestGrid::resort_data()
{
    QTest::addColumn<QString>("cells");  // split at '|'
    QTest::addColumn<QString>("orders"); // the sorts in turn, 'a'scending or 'd'escending
    QTest::addColumn<QString>("sorted");
    QTest::addColumn<int>("moves"); // how many of the sorts reordered the rows
    QTest::addColumn<bool>("fromSource");
    const auto row = [](const char *name, const char *cells, const char *orders, const char *sorted,
                        int moves) {
        for (const bool fromSource : {false, true})
            QTest::addRow("%s%s", name, fromSource ? ", from a source" : "")
                << QString(cells) << QString(orders) << QString(sorted) << moves << fromSource;
    };
    const char *mixed = "beta|B|Alpha|b|alpha";
    row("in order already", "a|B|b|c", "a", "a|B|b|c", 0);
    row("in order, asked descending", "a|B|b|c", "d", "c|B|b|a", 1);
    row("the same order twice", mixed, "aa", "Alpha|alpha|B|b|beta", 1);
    row("turned, ties keep their order", mixed, "ad", "beta|B|b|Alpha|alpha", 2);
    row("turned back", mixed, "dda", "Alpha|alpha|B|b|beta", 2);
    row("nearly turned", "c|a|b", "d", "c|b|a", 1);
}

void TestGrid::resort()
{
    QFETCH(QString, cells);
    QFETCH(QString, orders);
    QFETCH(QString, sorted);
    QFETCH(int, moves);
    QFETCH(bool, fromSource);
    add("Index");
    add("Value");
    const QStringList values = cells.split('|');
    fill(values, fromSource, false);
    grid->setSelectedRow(1, 2);
    // A sort that finds the rows in order leaves them, and the view, alone.
    const QSignalSpy resets(table()->model(), &QAbstractItemModel::modelReset);
    for (const QChar order : orders) {
        grid->clearSortKeys();
        grid->addSortKey(2, order == 'd' ? SortDescending : SortAscending, SortText);
        grid->sort();
    }
    QStringList shown;
    for (int row = 1; row <= grid->rowCount(); ++row) {
        shown.append(grid->cellText(row, 2));
        // Equal values keep the order they were added in, whichever way the sort goes.
        if (row > 1 && shown[row - 2].compare(shown.last(), Qt::CaseInsensitive) == 0)
            QVERIFY(grid->cellText(row - 1, 1).toInt() < grid->cellText(row, 1).toInt());
    }
    QCOMPARE(shown.join('|'), sorted);
    QCOMPARE(resets.size(), moves);
    QCOMPARE(grid->cellText(grid->selectedRow(), 1), QString("0"));
}

void TestGrid::colours_data()
{
    // Colours come as Windows RGB integers, 0x00BBGGRR; -1 is the default look.
    QTest::addColumn<int>("rgb");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << 255 << QColor(255, 0, 0);
    QTest::newRow("green") << 65280 << QColor(0, 255, 0);
    QTest::newRow("blue") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("mixed") << (0x12 | 0x34 << 8 | 0x56 << 16) << QColor(0x12, 0x34, 0x56);
    QTest::newRow("default") << -1 << QColor();
}

void TestGrid::colours()
{
    QFETCH(int, rgb);
    QFETCH(QColor, colour);
    QCOMPARE(colourFromRgbInt(rgb), colour);
    QCOMPARE(rgbIntFromColour(colour), rgb);
    add("Date");
    grid->addRow();
    CellDetails details;
    details.foreColour = details.backColour = rgb;
    grid->setCellDetails(1, 1, details);
    QCOMPARE(grid->cellForeColour(1, 1), colour);
    QCOMPARE(grid->cellBackColour(1, 1), colour);
}

void TestGrid::cellLooks()
{
    add("Service");
    add("URL");
    add("ExpDate", 80, dated);
    grid->addRow();
    CellDetails details;
    details.image = 4;
    details.font = grid->font();
    details.font->setBold(true);
    details.indent = 6;
    grid->setCellDetails(1, 1, details);
    const CellDetails back = grid->cellDetails(1, 1);
    QCOMPARE(QVariantList({back.image, back.font->bold(), back.indent, back.foreColour}),
             QVariantList({4, true, 6, -1}));
    QVERIFY(table()->model()->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(!grid->cellFont(2, 1).bold());
    QVERIFY(!grid->cellFont(1, 4).bold());
    // Dates show in the column's display format, or as ISO without one.
    grid->setCellDate(1, 3, QDate(2024, 3, 7));
    grid->setCellDate(1, 2, QDate(2024, 3, 7));
    QCOMPARE(grid->cellText(1, 3) + " " + grid->cellText(1, 2), QString("07/03/2024 2024-03-07"));
    grid->setCellDate(1, 3, QDate());
    QCOMPARE(grid->cellText(1, 3), QString());
    QCOMPARE(qtDateFormat("dd/mm/yyyy hh:nn"), QString("dd/MM/yyyy hh:mm"));
}

void TestGrid::shown()
{
    showSample();
    // Row text takes the lines it needs, wrapped in the width of the visible columns.
    const int line = QFontMetrics(grid->font()).height();
    QCOMPARE(grid->rowTextHeight(3), 0);
    grid->setRowText(3, "first\nsecond\nthird");
    QVERIFY(grid->rowTextHeight(3) >= 3 * line);
    grid->setRowText(4, QString("word ").repeated(30));
    QVERIFY(grid->rowTextHeight(4) >= 3 * line);

    const QImage image = grid->grab().toImage();
    // The notes line sits in the lower part of row 2, not among the cells.
    const QRect row2 = onShot(2, 2).united(onShot(2, 4));
    QVERIFY(countColour(image, row2.adjusted(0, 16, 0, 0), Qt::blue, 60) > 10);
    QCOMPARE(countColour(image, row2.adjusted(0, 0, 0, 16 - row2.height()), Qt::blue, 60), 0);
    // Status icons show, without their mask colour.
    const QRect icon = onShot(1, 3);
    QCOMPARE(countColour(image, icon, QColor(191, 191, 191)), 0);
    QVERIFY(countColour(image, icon, Qt::white, 30) < icon.width() * icon.height());
    // The selected row is highlighted, except in its icon column.
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    const QRect selected = onShot(3, 2);
    QVERIFY(countColour(image, selected, highlight, 8) > selected.width() * selected.height() / 2);
    QCOMPARE(countColour(image, onShot(3, 3), highlight, 8), 0);

    // Hit tests: the hidden first column takes no room (Service 0-100, Expire
    // -126, URL -246) and a tall row's lower part still belongs to it.
    for (int row = 1; row <= 4; ++row) {
        for (int col = 2; col <= 4; ++col)
            QCOMPARE(grid->cellAt(grid->cellRect(row, col).center()), GridCell({row, col}));
    }
    QCOMPARE(grid->cellAt(QPoint(50, 16 + grid->rowHeight(2) - 3)), GridCell({2, 2}));
    QCOMPARE(grid->cellAt(QPoint(300, 8)), GridCell());
    QCOMPARE(grid->cellAt(QPoint(50, 3 * 16 + grid->rowHeight(2) + 5)), GridCell());
    QCOMPARE(grid->columnSpan(4), std::make_pair(126, 246));
    QCOMPARE(grid->columnSpan(1), std::make_pair(0, 0));
    grid->setColumnVisible(2, false);
    QCOMPARE(grid->cellAt(QPoint(5, 5)), GridCell({1, 3}));
    grid->setRowHeight(2, 0); // back to the default height
    QCOMPARE(table()->rowHeight(1), 16);
    grid->setColumnVisible(2, true);

    // Mouse and keys.
    QSignalSpy down(grid.get(), &Grid::mouseDown);
    QSignalSpy up(grid.get(), &Grid::mouseUp);
    QSignalSpy selection(grid.get(), &Grid::selectionChanged);
    int selectedAtDown = -1;
    connect(grid.get(), &Grid::mouseDown, this, [&] { selectedAtDown = grid->selectedRow(); });
    const QPoint inRow4 = grid->cellRect(4, 4).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, inRow4);
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.value(0).value(2).toPoint(), inRow4);
    QCOMPARE(selectedAtDown, 4);
    QCOMPARE(grid->selectedColumn(), 4);
    QCOMPARE(selection.last().at(0).toInt(), 4);
    QSignalSpy doubled(grid.get(), &Grid::doubleClicked);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(2, 2).center());
    QCOMPARE(doubled.value(0), QVariantList({2, 2}));
    QSignalSpy keys(grid.get(), &Grid::keyDown);
    QTest::keyClick(table(), Qt::Key_Down);
    QCOMPARE(keys.value(0).value(0).toInt(), int(Qt::Key_Down));
    QCOMPARE(grid->selectedRow(), 3);

    // A drag of ours over the grid is told to the host, and refused unless it allows it.
    QSignalSpy dragged(grid.get(), &Grid::dragOver);
    QMimeData ours;
    ours.setData("application/x-vellumor-control-drag", "tree");
    QDragEnterEvent enter(inRow4, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &enter);
    QDragMoveEvent move(inRow4, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QCOMPARE(dragged.size(), 2);
    QVERIFY(!move.isAccepted());

    // A typed letter finds a row by Service, else by URL while that is shown.
    QApplication::setKeyboardInputInterval(0); // every letter starts a new search
    grid->setSearchColumns(2, 4);
    const auto typed = [this](const char *letter) {
        QTest::keyClicks(table(), letter);
        return grid->selectedRow();
    };
    QCOMPARE(typed("m"), 2);
    QCOMPARE(typed("w"), 4);
    grid->setColumnVisible(4, false);
    QCOMPARE(typed("b"), 1);
    QCOMPARE(typed("w"), 1);

    QSignalSpy header(grid.get(), &Grid::headerClicked);
    QHeaderView *bar = table()->horizontalHeader();
    QTest::mouseClick(bar->viewport(), Qt::LeftButton, {},
                      QPoint(bar->sectionViewportPosition(1) + 10, bar->height() / 2));
    QCOMPARE(header.value(0).value(0).toInt(), 2);
}

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
