// Grid and tree as they are drawn: the pixels show the row text under its
// row, cell colours, icons without their mask colour, and the selection.
// With VELLUMOR_SHOT_DIR set, the pictures are also saved there to look at.

#include "Grid.h"
#include "ResourceImages.h"
#include "Tree.h"

#include <QTest>

using namespace controls;

class TestRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void grid();
    void tree();
};

namespace {

void save(const QImage &image, const char *name)
{
    const QString folder = qEnvironmentVariable("VELLUMOR_SHOT_DIR");
    if (!folder.isEmpty())
        image.save(folder + "/" + name);
}

int countColour(const QImage &image, const QRect &area, const QColor &colour, int tolerance = 0)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance &&
                std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

GridColumnDefinition column(const QString &key, const QString &header, int width)
{
    GridColumnDefinition definition;
    definition.key = key;
    definition.header = header;
    definition.width = width;
    return definition;
}

} // namespace

void TestRender::grid()
{
    const auto images = resource_images::imageList(101);
    Grid grid;
    grid.resize(520, 200);
    grid.setImageList(images);
    grid.setDefaultRowHeight(18);
    grid.addColumn(column("Service", "Service", 120));
    GridColumnDefinition expire = column("Expire", {}, 26);
    expire.headerImage = images->index("PDELETE");
    expire.inSelection = false;
    grid.addColumn(expire);
    GridColumnDefinition date = column("ExpDate", "Exp. Date", 100);
    date.format = "dd/mm/yyyy";
    grid.addColumn(date);
    grid.addColumn(column("URL", "URL", 200));
    GridColumnDefinition notes = column("Notes", {}, 1012);
    notes.rowText = true;
    grid.addColumn(notes);

    QFont bold = grid.font();
    bold.setBold(true);
    const char *names[] = {"Bank", "Mail", "Shop"};
    const int colours[] = {255, 65535, 65280};
    const char *images_[] = {"ALERT", "WARNING", ""};
    grid.setRedraw(false);
    for (int i = 0; i < 3; ++i) {
        const int row = grid.addRow();
        CellDetails service;
        service.text = names[i];
        service.font = bold;
        grid.setCellDetails(row, 1, service);
        grid.setCellImage(row, 2, images->index(images_[i]));
        CellDetails when;
        when.text = QStringLiteral("0%1/03/2024").arg(i + 1);
        when.foreColour = colours[i];
        grid.setCellDetails(row, 3, when);
        grid.setCellText(row, 4, QStringLiteral("https://%1.example.org").arg(names[i]));
    }
    // Blue, unlike any other text here, so its pixels tell where it was drawn.
    CellDetails note;
    note.text = "PIN is in the drawer";
    note.foreColour = 0xFF0000;
    grid.setCellDetails(2, 5, note);
    grid.setRowHeight(2, grid.rowTextHeight(2) + grid.defaultRowHeight());
    grid.setRedraw(true);
    grid.setSelectedRow(3);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    const QImage shot = grid.grab().toImage().convertToFormat(QImage::Format_RGB32);
    save(shot, "grid.png");
    const QPoint origin = grid.viewport()->mapTo(&grid, QPoint(0, 0));
    const auto area = [&](int row, int col) { return grid.cellRect(row, col).translated(origin); };

    // The notes line sits in the lower part of row 2, not among the cells.
    const QColor blue(0, 0, 255);
    const QRect row2 = area(2, 1).united(area(2, 4));
    const QRect notesArea(row2.left(), row2.top() + 18, row2.width(), row2.height() - 18);
    QVERIFY(countColour(shot, notesArea, blue, 60) > 10);
    QCOMPARE(countColour(shot, QRect(row2.topLeft(), QSize(row2.width(), 18)), blue, 60), 0);
    QCOMPARE(countColour(shot, area(1, 1).united(area(1, 4)), blue, 60), 0);
    QCOMPARE(countColour(shot, area(3, 1).united(area(3, 4)), blue, 60), 0);
    // Date colours as given: red for row 1.
    QVERIFY(countColour(shot, area(1, 3), QColor(255, 0, 0), 60) > 5);
    QVERIFY(countColour(shot, area(2, 3), QColor(255, 255, 0), 60) > 5);
    // Status icons are drawn without their mask colour.
    QCOMPARE(countColour(shot, area(1, 2), QColor(191, 191, 191)), 0);
    QVERIFY(countColour(shot, area(1, 2), QColor(255, 255, 255), 30) <
            area(1, 2).width() * area(1, 2).height());
    // The selected row is highlighted, except in its icon column.
    const QColor highlight = grid.palette().color(QPalette::Highlight);
    const QRect selected = area(3, 1);
    QVERIFY(countColour(shot, selected, highlight, 8) > selected.width() * selected.height() / 2);
    QCOMPARE(countColour(shot, area(3, 2), highlight, 8), 0);
}

void TestRender::tree()
{
    Tree tree;
    tree.resize(260, 200);
    tree.setImageList(resource_images::imageList(101));
    const int root = tree.addNode(0, LastChild, "Root", "My passwords", "VLM", "VLM");
    tree.setRecordCount(root, 3);
    tree.setMarker(root, true);
    const int c0 = tree.addNode(root, FirstChild, "C0", "No Category", "CFOLDER", "OFOLDER");
    const int c1 = tree.addNode(root, LastChild, "C1", "Bank", "CATCLOSE", "CATOPEN");
    tree.addNode(c1, LastChild, "S5C1", "Cards", "SCATCLOSE", "SCATOPEN");
    tree.setRecordCount(c0, 1);
    tree.setRecordCount(c1, 2);
    tree.setExpanded(root, true);
    tree.setExpanded(c1, true);
    tree.setSelectedNode(c1);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    const QImage shot = tree.grab().toImage().convertToFormat(QImage::Format_RGB32);
    save(shot, "tree.png");
    const QPoint origin = tree.viewport()->mapTo(&tree, QPoint(0, 0));
    const QColor highlight = tree.palette().color(QPalette::Highlight);
    const QRect selected = tree.nodeRect(c1).translated(origin);
    QVERIFY(countColour(shot, selected, highlight, 8) > selected.width() * selected.height() / 3);
    QCOMPARE(countColour(shot, tree.nodeRect(c0).translated(origin), highlight, 8), 0);
    // The icons carry no mask colour: the first 20 pixels of each node's
    // rectangle hold its icon.
    for (const int node : {root, c0, c1}) {
        const QRect rect = tree.nodeRect(node).translated(origin);
        QCOMPARE(countColour(shot, QRect(rect.topLeft(), QSize(20, rect.height())),
                             QColor(191, 191, 191)),
                 0);
    }
}

QTEST_MAIN(TestRender)
#include "test_render.moc"
