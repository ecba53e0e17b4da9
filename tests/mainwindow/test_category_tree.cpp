// The category tree and the password grid over a real store, joined as in the
// main window: the tree's nodes and drags; the grid's rows, colours, sorting, keys.

#include "CategoryTree.h"
#include "Grid.h"
#include "PasswordGrid.h"
#include "ResourceImages.h"
#include "TestServices.h"
#include "Tree.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

const QDate Today(2026, 12, 7);

// The root's children as the user sees them: text, "(count)" when it holds
// records, children in [].
QString shown(const controls::Tree &tree, int node)
{
    QStringList items;
    for (; node != 0; node = tree.nextSibling(node)) {
        const int count = tree.recordCount(node);
        items << tree.text(node) + (count > 0 ? QStringLiteral(" (%1)").arg(count) : QString());
        if (const int child = tree.firstChild(node)) {
            items.last() += " [" + shown(tree, child) + "]";
        }
    }
    return items.join(", ");
}

QImage dragImage(const char *key)
{
    return controls::resource_images::imageList(102)->pixmap(QString::fromUtf8(key)).toImage();
}

struct Fixture
{
    TestServices t;
    controls::Tree tree;
    controls::Grid grid;
    CategoryTree categories{tree, t.state};
    PasswordGrid passwords{grid, tree, categories, t.services};
    std::shared_ptr<controls::ImageList> images = controls::resource_images::imageList(101);
    QList<MainCommand> commands; // what the grid asked the window to run
    QList<PasswordEntry> pending;

    Fixture()
    {
        t.clock.set(QDateTime(Today, QTime(9, 0)));
        t.state.Store->NewFile();
        categories.setFillGrid([this](int node) { passwords.FillGrid(node); });
        categories.setGridSource(&grid);
        categories.LoadDragIcons(controls::resource_images::imageList(102));
        passwords.setImages(images, controls::resource_images::imageList(102));
        passwords.SetupGridColumns();
        QObject::connect(&passwords, &PasswordGrid::commandRequested,
                         [this](MainCommand command) { commands << command; });
        tree.resize(400, 600);
        tree.show();
        grid.resize(900, 400);
        grid.show();
    }

    PasswordStore &store() { return *t.state.Store; }

    // Banks 1 with Private 1 and Work 2, Mail 2, Cars 3.
    void addFolders()
    {
        store().AddCategory(QStringLiteral("Banks"));
        store().AddCategory(QStringLiteral("Mail"));
        store().AddCategory(QStringLiteral("Cars"));
        store().AddSubCategory(1, QStringLiteral("Private"));
        store().AddSubCategory(1, QStringLiteral("Work"));
    }

    // A record stored by load().
    PasswordEntry &add(const QString &service, qint16 codcat = 0, qint16 CodSCat = 0)
    {
        PasswordEntry &entry = pending.emplace_back();
        entry.service = service;
        entry.codcat = codcat;
        entry.CodSCat = CodSCat;
        return entry;
    }

    // Stores the pending records, then loads the tree, which shows the root's records.
    void load()
    {
        for (const PasswordEntry &entry : pending) {
            store().AddPassword(entry);
        }
        pending.clear();
        categories.LoadTree();
    }

    int node(const QString &key) const { return tree.nodeIndex(key); }
    int column(const char *key) const { return grid.columnIndex(QString::fromUtf8(key)); }

    // The services the grid shows, top down.
    QStringList services() const
    {
        QStringList names;
        for (int row = 1; row <= grid.rowCount(); ++row) {
            names << grid.cellText(row, column("Service"));
        }
        return names;
    }

    // The folders, "loose" outside them and "bank" in Banks/Private, Banks open.
    void family()
    {
        addFolders();
        add("loose");
        add("bank", 1, 1);
        load();
        tree.setExpanded(node("C1"), true);
    }

    QString shown() const { return ::shown(tree, tree.firstChild(tree.firstNode())); }

    // One drag step over a node, as the tree reports it; answers the picture shown.
    QImage over(const QObject *source, const QString &key)
    {
        const QPoint at = tree.nodeRect(node(key)).center();
        categories.dragOver(source, at, 0);
        categories.dragOver(source, at, 2);
        return icon(source);
    }

    QImage icon(const QObject *source) const
    {
        return (source == &tree ? tree.dragIcon() : grid.dragIcon()).toImage();
    }
};

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *item : menu->actions()) {
        texts << (item->isSeparator() ? "-" : item->text()) + (item->isChecked() ? " [x]" : "") +
                     (item->isVisible() ? "" : " (hidden)");
    }
    return texts;
}

} // namespace

class TestCategoryTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectionAndExpansion();
    void drags_data();
    void drags();
    void dragShowsVerdict();
    void branches();
    void columnsAndCells();
    void status_data();
    void status();
    void sorting();
    void serviceOrder();
    void storeChangedBeforeRefresh();
    void columnPopup();
    void keys_data();
    void keys();
};

void TestCategoryTree::selectionAndExpansion()
{
    Fixture f;
    f.family();
    QVERIFY(f.store().SaveFile(QDir::temp().filePath(QStringLiteral("Family.VLM")), false, false));
    QCOMPARE(f.services(), (QStringList{"bank", "loose"})); // the root's
    // Choosing a node shows its records; an expansion is kept, unchanged.
    f.tree.setSelectedNode(f.node("S1C1"));
    QCOMPARE(f.services(), QStringList{"bank"});
    f.tree.setExpanded(f.node("C1"), true);
    QVERIFY(f.store().GetNodeExpanded(QStringLiteral("Banks")) && !f.store().Modified());
    f.load();
    QVERIFY(f.tree.expanded(f.node("C1")));
}

void TestCategoryTree::drags_data()
{
    // Steps as "dragged>target": a node key, or a record dragged from the
    // grid; "~" opens or closes the target in the same gesture.
    QTest::addColumn<QString>("drags");
    QTest::addColumn<QString>("picture"); // at the pointer over the target
    // The node selected then: a folder drag selects the one under the pointer unless it
    // is the dragged node's parent or the dragged node is special, even if refused.
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("tree"); // after the drop; "" unchanged
    const auto row = [](const char *name, const char *drags, const char *picture,
                        const char *selected, const char *tree) {
        QTest::newRow(name) << QString(drags) << QString(picture) << QString(selected)
                            << QString(tree);
    };
    row("record onto root", "bank>Root", "NODRAG", "Root", "");
    row("record onto category", "bank>C1", "NODRAG", "Root", "");
    row("record onto no category", "bank>C0", "DRAGPW", "Root",
        "No Category (2), Banks [No SubCategory, Private, Work], Cars, Mail");
    row("record onto no subcategory", "bank>S0C1", "DRAGPW", "Root",
        "No Category (1), Banks (1) [No SubCategory (1), Private, Work], Cars, Mail");
    // With the last real subcategory, "No SubCategory" goes too.
    row("subcategories onto root", "S1C1>Root S2C1>Root", "DRAGFOLD", "Root",
        "No Category (1), Banks, Cars, Mail, Private (1), Work");
    const char *moved = "No Category (1), Banks [No SubCategory, Work], Cars, Mail (1) [No "
                        "SubCategory, Private (1)]";
    row("subcategory onto other category", "S1C1>C2", "DRAGFOLD", "C2", moved);
    row("an expand cancels its gesture's drop only", "S1C1>C2~ S1C1>C2", "DRAGFOLD", "C2", moved);
    row("subcategory onto its own category", "S1C1>C1", "NODRAG", "S1C1", "");
    row("subcategory onto no category", "S1C1>C0", "NODRAG", "C0", "");
    row("subcategory onto subcategory", "S1C1>S2C1", "NODRAG", "S2C1", "");
    row("subcategory onto itself", "S1C1>S1C1", "NODRAG", "S1C1", "");
    row("category with subcategories", "C1>C2", "NODRAG", "C2", "");
    row("empty category onto category", "C3>C2", "DRAGFOLD", "C2",
        "No Category (1), Banks (1) [No SubCategory, Private (1), Work], Mail [No SubCategory, "
        "Cars]");
    row("empty category onto root", "C3>Root", "NODRAG", "C3", "");
    row("empty category onto no category", "C3>C0", "NODRAG", "C0", "");
    row("no category is never dragged", "C0>C2", "NODRAG", "C0", "");
    row("no subcategory is never dragged", "S0C1>C2", "NODRAG", "S0C1", "");
    row("root is never dragged", "Root>C2", "NODRAG", "C2", "");
}

void TestCategoryTree::drags()
{
    QFETCH(QString, drags);
    QFETCH(QString, picture);
    QFETCH(QString, selected);
    QFETCH(QString, tree);
    Fixture f;
    f.family();
    const QString before = f.shown();
    for (const QString &step : drags.split(' ')) {
        const QString dragged = step.section('>', 0, 0);
        QString target = step.section('>', 1);
        const QObject *source = &f.tree;
        if (f.node(dragged) == 0) {
            source = &f.grid; // the grid's drag starts from the node it shows
            f.categories.dragNodeIndex = f.tree.selectedNode();
            f.categories.dragService = dragged;
        } else {
            f.categories.mouseDown(f.tree.nodeRect(f.node(dragged)).center());
        }
        if (target.endsWith('~')) {
            target.chop(1);
            f.tree.setExpanded(f.node(target), !f.tree.expanded(f.node(target)));
        }
        QCOMPARE(f.over(source, target), dragImage(picture.toUtf8()));
        QCOMPARE(f.tree.key(f.tree.selectedNode()), selected);
        f.categories.dragOver(source, QPoint(1, 1), 1); // leaving the tree always says no
        QCOMPARE(f.icon(source), dragImage("NODRAG"));
        f.over(source, target);
        f.categories.dropped(source, f.tree.nodeRect(f.node(target)).center());
    }
    // A folder drop leaves the category counts to the next load.
    const QString expected = tree.isEmpty() ? before : tree;
    const QRegularExpression counts(" \\(\\d+\\)");
    const bool folders = drags.front().isUpper();
    QCOMPARE(folders ? f.shown().remove(counts) : f.shown(),
             folders ? QString(expected).remove(counts) : expected);
    f.load(); // the store holds what the tree shows
    QCOMPARE(f.shown(), expected);
}

void TestCategoryTree::dragShowsVerdict()
{
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        QSKIP("offscreen drags end at once; this runs under Xvfb (test_category_tree_x11)");
    }
    Fixture f;
    f.family();
    f.grid.hide(); // not in the way of the pointer
    // A real drag: the picture at the pointer is what the user sees, once the
    // window system has passed the move on.
    const auto cursor = [] {
        const QCursor *shape = QGuiApplication::overrideCursor();
        return shape != nullptr ? shape->pixmap().toImage() : QImage();
    };
    QStringList seen;
    QTimer::singleShot(0, [&] {
        // Onto its own category, onto the root, onto itself.
        for (const auto &[key, picture] : {std::pair{"C1", "NODRAG"}, std::pair{"Root", "DRAGFOLD"},
                                           std::pair{"S1C1", "NODRAG"}}) {
            const QPoint at = f.tree.nodeRect(f.node(QString::fromUtf8(key))).center();
            QTest::mouseMove(f.tree.viewport(), at);
            QTest::mouseMove(f.tree.viewport(), at + QPoint(1, 0));
            const bool shown =
                QTest::qWaitFor([&] { return cursor() == dragImage(picture); }, 2000);
            seen << (shown ? picture : "another picture");
        }
        QTest::keyClick(f.tree.viewport(), Qt::Key_Escape);
    });
    f.categories.mouseDown(f.tree.nodeRect(f.node("S1C1")).center());
    f.categories.mouseMove(Qt::LeftButton);
    QCOMPARE(seen, (QStringList{"NODRAG", "DRAGFOLD", "NODRAG"}));
}

void TestCategoryTree::branches()
{
    Fixture f;
    f.addFolders();
    f.add("loose");
    f.add("bank", 1);
    f.add("private", 1, 1);
    f.add("mail", 2);
    f.load();
    QStringList shown;
    for (const char *node : {"Root", "C0", "C1", "S0C1", "S1C1", "C2"}) {
        f.tree.setSelectedNode(f.node(node));
        shown << QString(node) + ": " + f.services().join(' ');
    }
    f.passwords.setTreeViewChecked(false); // without the tree, every record
    f.passwords.FillGrid(f.node("C2"));
    shown << "no tree: " + f.services().join(' ');
    QCOMPARE(shown.join(", "),
             "Root: bank loose mail private, C0: loose, C1: bank private, "
             "S0C1: bank, S1C1: private, C2: mail, no tree: bank loose mail private");
}

void TestCategoryTree::columnsAndCells()
{
    Fixture f;
    f.addFolders();
    PasswordEntry &e = f.add("bank", 1, 1);
    e.URL = QStringLiteral("https://bank.example");
    e.ExpURL = QStringLiteral("https://bank.example/close");
    e.Notes = QStringLiteral("PIN letter in the drawer");
    f.t.options.ShowNotes = true;
    f.load();
    QCOMPARE(f.grid.cellText(1, f.column("Cat")) + '/' + f.grid.cellText(1, f.column("SubCat")),
             QStringLiteral("Banks/Private"));
    QVERIFY(f.grid.cellFont(1, f.column("Service")).bold());
    QVERIFY(f.grid.cellFont(1, f.column("ExpURL")).underline());
    QCOMPARE(f.grid.rowText(1), QStringLiteral("PIN letter in the drawer"));
    QCOMPARE(f.grid.cellForeColour(1, f.column("Notes")), QColor(128, 128, 128));
    QCOMPARE(f.grid.rowHeight(1), f.grid.rowTextHeight(1) + 16);
    QStringList headers;
    for (int c = 1; c <= f.grid.columnCount(); ++c) {
        headers << (f.grid.columnVisible(c) ? f.grid.columnHeader(c) : "-");
    }
    // The status columns show an icon for a caption; the notes go on a line under the row.
    QCOMPARE(headers.join(", "), "-, -, -, Service, User Name, Password, URL, , Exp. Date, "
                                 "Exp. URL, , Chg. Date, Chg. URL, Category, Sub Category, ");
    QCOMPARE(f.grid.columnHeaderImage(f.column("Change")), f.images->index("PEDIT"));
    QVERIFY(!f.grid.columnInSelection(f.column("Change")));
}

void TestCategoryTree::status_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("inDays");
    QTest::addColumn<int>("notice");
    QTest::addColumn<QString>("icon"); // "" for none
    QTest::addColumn<QColor>("colour");
    const QColor red(255, 0, 0), yellow(255, 255, 0), green(0, 255, 0);
    QTest::newRow("passed") << true << -3 << 5 << "ALERT" << red;
    QTest::newRow("today") << true << 0 << 5 << "ALERT" << red;
    QTest::newRow("last day of notice") << true << 5 << 5 << "WARNING" << yellow;
    QTest::newRow("day before notice") << true << 6 << 5 << "" << green;
    QTest::newRow("no notice period") << true << 1 << 0 << "" << green;
    QTest::newRow("not active: no date") << false << -3 << 5 << "" << QColor();
}

void TestCategoryTree::status()
{
    QFETCH(bool, active);
    QFETCH(int, inDays);
    QFETCH(int, notice);
    QFETCH(QString, icon);
    QFETCH(QColor, colour);
    Fixture f;
    PasswordEntry &e = f.add("svc");
    e.blExpire = e.blChange = active;
    e.Dt_Expire = e.Dt_Change = Today.addDays(inDays);
    e.ggNotExpire = e.ggNotChange = static_cast<qint16>(notice);
    f.load();
    const int expected = icon.isEmpty() ? 0 : f.images->index(icon);
    for (const auto &[iconColumn, dateColumn] :
         {std::pair{"Expire", "ExpDate"}, std::pair{"Change", "ChangeDate"}}) {
        QCOMPARE(f.grid.cellImage(1, f.column(iconColumn)), expected);
        QCOMPARE(f.grid.cellText(1, f.column(dateColumn)),
                 active ? Today.addDays(inDays).toString("dd/MM/yyyy") : QString());
        if (active) {
            QCOMPARE(f.grid.cellForeColour(1, f.column(dateColumn)), colour);
        }
    }
}

void TestCategoryTree::sorting()
{
    Fixture f;
    f.add("b");
    f.add("c").blExpire = true;
    f.add("a").blExpire = true;
    f.pending[1].Dt_Expire = Today.addDays(-1); // c has expired
    f.pending[2].Dt_Expire = Today.addDays(100);
    f.load();
    const int service = f.column("Service");
    const auto checked = [&f] {
        return QStringList{captions(f.passwords.sortMenu()).filter("[x]") +
                           captions(f.passwords.sortOrderMenu()).filter("[x]")};
    };
    // The same column again turns the order round; the arrow and the checks follow.
    f.passwords.SortGrid(service, false, false, 0);
    QCOMPARE(f.services(), (QStringList{"a", "b", "c"}));
    QCOMPARE(f.grid.columnHeaderImage(service), f.images->index("ASC"));
    QCOMPARE(checked(), (QStringList{"Service [x]", "&Ascending [x]"}));
    f.passwords.SortGrid(service, false, false, 0);
    QCOMPARE(f.services(), (QStringList{"c", "b", "a"}));
    QCOMPARE(f.grid.columnHeaderImage(service), f.images->index("DESC"));
    QCOMPARE(checked(), (QStringList{"Service [x]", "&Descending [x]"}));
    f.passwords.FillGrid(f.tree.firstNode()); // the sort survives a refill
    QCOMPARE(f.services(), (QStringList{"c", "b", "a"}));
    // A click on a header sorts by it.
    QHeaderView *header = f.grid.findChild<QTableView *>()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(service - 1) + 5, 5));
    QCOMPARE(f.services(), (QStringList{"a", "b", "c"}));
    // Choosing the "&Sort" item already checked keeps the sort, its arrow and its check.
    f.passwords.sortMenu()->actions().constFirst()->trigger();
    QCOMPARE(f.services(), (QStringList{"a", "b", "c"}));
    QCOMPARE(f.grid.columnHeaderImage(service), f.images->index("ASC"));
    QCOMPARE(checked(), (QStringList{"Service [x]", "&Ascending [x]"}));
    // Status columns sort by how urgent, and keep their own header icon.
    f.passwords.SortGrid(f.column("Expire"), false, true, 2);
    QCOMPARE(f.services(), (QStringList{"c", "a", "b"}));
    QCOMPARE(f.grid.columnHeaderImage(f.column("Expire")), f.images->index("PDELETE"));
}

// The grid trusts the store's order for the service column instead of reading
// its cells: that order must be the one a text sort of those cells gives.
void TestCategoryTree::serviceOrder()
{
    Fixture f;
    const QStringList names{"beta",    "Alpha", "\u00e4rger", "Zoo", "alpine", "a b",         "A-C",
                            "\u00c5s", "10",    "9",          "_x",  "\u00df", "Stra\u00dfe", "zz"};
    for (const QString &name : names) {
        f.add(name).UserName = QString::number(names.indexOf(name) % 3);
    }
    f.load();
    const int service = f.column("Service");
    controls::Grid plain; // the same texts in a grid of its own cells
    plain.addColumn("Service", "Service");
    for (const QString &name : names) {
        plain.setCellText(plain.addRow(), 1, name);
    }
    for (const int order : {controls::SortAscending, controls::SortDescending}) {
        f.passwords.SortGrid(service, false, true, order);
        plain.clearSortKeys();
        plain.addSortKey(1, order, controls::SortText);
        plain.sort();
        QStringList expected;
        for (int row = 1; row <= plain.rowCount(); ++row) {
            expected << plain.cellText(row, 1);
        }
        QCOMPARE(f.services(), expected);
    }
    // Any other column is read: the user names, ties in the service order.
    f.passwords.SortGrid(service, false, true, controls::SortAscending);
    f.passwords.SortGrid(f.column("UserName"), false, true, controls::SortAscending);
    QStringList users;
    for (int row = 1; row <= f.grid.rowCount(); ++row) {
        users << f.grid.cellText(row, f.column("UserName"));
    }
    QCOMPARE(users.join(""), "00000111112222");
}

// The grid reads records when it paints them; a store changed before the next
// fill must show what it holds now, never what a record pointer used to point at.
void TestCategoryTree::storeChangedBeforeRefresh()
{
    Fixture f;
    f.addFolders();
    f.add("bank", 1).UserName = QStringLiteral("old");
    f.add("mail").UserName = QStringLiteral("me");
    f.add("shop").UserName = QStringLiteral("buyer");
    f.load();
    const int user = f.column("UserName");
    const auto rows = [&f, user] {
        QStringList shown;
        for (int row = 1; row <= f.grid.rowCount(); ++row) {
            shown << f.grid.cellText(row, f.column("Service")) + '=' + f.grid.cellText(row, user);
        }
        return shown.join(' ');
    };
    PasswordEntry bank = *f.store().Passwords().Item("bank");
    bank.UserName = QStringLiteral("new");
    QVERIFY(f.store().UpdatePassword(bank, "bank", 1, 0));
    QVERIFY(f.store().DeletePassword("mail"));
    QVERIFY(f.store().RenameCategory("Banks", "Money"));
    f.grid.repaint();
    QCOMPARE(rows(), "bank=new = shop=buyer");
    QCOMPARE(f.grid.cellText(1, f.column("Cat")), "Money");
    // Another store in the place of the old one: read by name, never through old pointers.
    f.t.state.Store = std::make_unique<PasswordStore>();
    f.store().NewFile();
    PasswordEntry shop;
    shop.service = QStringLiteral("Shop");
    shop.UserName = QStringLiteral("other");
    QVERIFY(f.store().AddPassword(shop));
    f.grid.repaint();
    QCOMPARE(rows(), "= = Shop=other");
    f.categories.LoadTree();
    QCOMPARE(rows(), "Shop=other");
}

void TestCategoryTree::columnPopup()
{
    Fixture f;
    f.add("a");
    f.load();
    f.passwords.SortGrid(f.column("Service"), false, true, 2);
    // On the service column "&Hide Column" is off, and the order shows.
    QStringList seen;
    QTimer::singleShot(0, &f.grid, [&] {
        seen = captions(f.passwords.columnPopup());
        f.passwords.columnPopup()->close();
    });
    const auto [left, right] = f.grid.columnSpan(f.column("Service"));
    f.passwords.showColumnPopup(QPoint((left + right) / 2, 5));
    QCOMPARE(seen, (QStringList{"&Hide Column", "&Group By (hidden)", "-", "Sort &Ascending",
                                "Sort &Descending [x]"}));
    QVERIFY(!f.passwords.hideColumnItem()->isEnabled());
    // Chosen on another column, it hides that column.
    QTimer::singleShot(0, &f.grid, [&] {
        f.passwords.columnPopup()->setActiveAction(f.passwords.hideColumnItem());
        QTest::keyClick(f.passwords.columnPopup(), Qt::Key_Return);
    });
    const auto [userLeft, userRight] = f.grid.columnSpan(f.column("UserName"));
    f.passwords.showColumnPopup(QPoint((userLeft + userRight) / 2, 5));
    QVERIFY(!f.grid.columnVisible(QStringLiteral("UserName")));
}

void TestCategoryTree::keys_data()
{
    QTest::addColumn<int>("option"); // the default action, on Return and a double-click
    QTest::addColumn<int>("command");
    QTest::newRow("edit") << 1 << int(MainCommand::PasswordEdit);
    QTest::newRow("copy password") << 2 << int(MainCommand::EditCopyPassword);
    QTest::newRow("copy user and password") << 3 << int(MainCommand::EditCopyUserPassword);
    QTest::newRow("copy URL") << 4 << int(MainCommand::EditCopyUrl);
    QTest::newRow("open URL") << 5 << int(MainCommand::EditExecuteUrl);
    QTest::newRow("anything else") << 6 << int(MainCommand::None);
}

void TestCategoryTree::keys()
{
    QFETCH(int, option);
    QFETCH(int, command);
    Fixture f;
    f.t.options.DefaultGridAction = static_cast<qint16>(option);
    f.add("mail");
    f.load();
    // Tabbing in selects the row with the focus frame, so the keys act on it at once.
    QWidget *view = f.grid.findChild<QTableView *>();
    f.grid.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.grid));
    view->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.passwords.GetSelectedService(), QStringLiteral("mail"));
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_F4);
    QTest::keyClick(view, Qt::Key_Return);
    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {},
                       f.grid.cellRect(1, f.column("UserName")).center());
    QList<MainCommand> expected{MainCommand::PasswordDelete, MainCommand::PasswordEdit};
    if (command != int(MainCommand::None)) {
        expected << MainCommand(command) << MainCommand(command);
    }
    QCOMPARE(f.commands, expected);
}

QTEST_MAIN(TestCategoryTree)
#include "test_category_tree.moc"
