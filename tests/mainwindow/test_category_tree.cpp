// The category tree over a real store: its nodes, special nodes and counts,
// node keys, selection, and what dragging records and folders onto it is
// allowed to do to the store and the tree.

#include "CategoryTree.h"
#include "Grid.h"
#include "NodeKeys.h"
#include "ResourceImages.h"
#include "TestServices.h"
#include "Tree.h"

#include <QGuiApplication>
#include <QTest>
#include <QTimer>

namespace {

// The tree as indented lines: "key text (count)", children two blanks deeper.
void dump(const controls::Tree &tree, int node, int depth, QStringList &lines)
{
    for (; node != 0; node = tree.nextSibling(node)) {
        lines << QString(depth * 2, QLatin1Char(' ')) + QStringLiteral("%1 %2 (%3)")
                                                            .arg(tree.key(node), tree.text(node))
                                                            .arg(tree.recordCount(node));
        dump(tree, tree.firstChild(node), depth + 1, lines);
    }
}

QStringList dump(const controls::Tree &tree)
{
    QStringList lines;
    dump(tree, tree.firstNode(), 0, lines);
    return lines;
}

struct Fixture
{
    TestServices t;
    controls::Tree tree;
    controls::Grid grid;
    CategoryTree categories{tree, t.state};
    QStringList filled; // keys FillGrid was called for

    Fixture()
    {
        t.state.Store->NewFile();
        categories.setFillGrid([this](int node) { filled << tree.key(node); });
        categories.setGridSource(&grid);
        categories.LoadDragIcons(controls::resource_images::imageList(102));
        tree.resize(400, 600);
        tree.show();
    }

    PasswordStore &store() { return *t.state.Store; }

    qint16 addCategory(const QString &name)
    {
        store().AddCategory(name);
        return store().Categories().Item(name)->codcat;
    }

    qint16 addSub(qint16 codcat, const QString &name)
    {
        store().AddSubCategory(codcat, name);
        return store()
            .SubCategories()
            .Item(QString::number(codcat) + QLatin1Char('!') + name)
            ->CodSCat;
    }

    void addRecord(const QString &service, qint16 codcat = 0, qint16 CodSCat = 0)
    {
        PasswordEntry entry;
        entry.service = service;
        entry.codcat = codcat;
        entry.CodSCat = CodSCat;
        store().AddPassword(entry);
    }

    int node(const QString &key) const { return tree.nodeIndex(key); }

    void expandAll()
    {
        for (int n = tree.firstChild(tree.firstNode()); n != 0; n = tree.nextSibling(n)) {
            tree.setExpanded(n, true);
        }
        tree.setExpanded(tree.firstNode(), true);
    }

    // One drag step over a node, as the tree reports it; answers the verdict.
    bool over(const QObject *source, const QString &key)
    {
        const QPoint at = tree.nodeRect(node(key)).center();
        categories.dragOver(source, at, 0);
        categories.dragOver(source, at, 2);
        return categories.dropAllowed;
    }

    // The press that starts a folder drag.
    void press(const QString &key) { categories.mouseDown(tree.nodeRect(node(key)).center()); }

    void drop(const QObject *source, const QString &key)
    {
        over(source, key);
        categories.dropped(source, tree.nodeRect(node(key)).center());
    }
};

} // namespace

class TestCategoryTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseNodeKey_data();
    void parseNodeKey();
    void nodesAndCounts();
    void noSpecialNodesWhenNotNeeded();
    void noFileLeavesTreeEmpty();
    void selectionFillsOnce();
    void expansionIsKeptInTheStore();
    void dragVerdicts_data();
    void dragVerdicts();
    void recordDropMovesAndRecounts();
    void recordDropRefused();
    void subCategoryOntoRootBecomesCategory();
    void subCategoryOntoCategoryKeepsCode();
    void categoryOntoCategoryBecomesSubCategory();
    void refusedFolderDrops();
    void dragShowsVerdict();
};

void TestCategoryTree::parseNodeKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("subCategory");
    QTest::addColumn<int>("categoryNotAll");
    QTest::addColumn<int>("subCategoryNotAll");
    QTest::newRow("empty") << "" << -1 << -1 << 0 << 0;
    QTest::newRow("root") << "Root" << -1 << -1 << 0 << 0;
    QTest::newRow("no category") << "C0" << 0 << -1 << 0 << 0;
    QTest::newRow("category") << "C12" << 12 << -1 << 12 << 0;
    QTest::newRow("no subcategory") << "S0C12" << 12 << 0 << 12 << 0;
    QTest::newRow("subcategory") << "S345C12" << 12 << 345 << 12 << 345;
    QTest::newRow("largest codes") << "S32767C32767" << 32767 << 32767 << 32767 << 32767;
}

void TestCategoryTree::parseNodeKey()
{
    QFETCH(QString, key);
    QFETCH(int, category);
    QFETCH(int, subCategory);
    QFETCH(int, categoryNotAll);
    QFETCH(int, subCategoryNotAll);
    qint16 c = 99;
    qint16 s = 99;
    mainwindow::ParseNodeKey(key, c, s, true);
    QCOMPARE(int(c), category);
    QCOMPARE(int(s), subCategory);
    mainwindow::ParseNodeKey(key, c, s, false);
    QCOMPARE(int(c), categoryNotAll);
    QCOMPARE(int(s), subCategoryNotAll);
}

void TestCategoryTree::nodesAndCounts()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    const qint16 mail = f.addCategory(QStringLiteral("Mail"));
    const qint16 private_ = f.addSub(banks, QStringLiteral("Private"));
    const qint16 work = f.addSub(banks, QStringLiteral("Work"));
    f.addRecord(QStringLiteral("loose"));
    f.addRecord(QStringLiteral("bank-a"), banks, private_);
    f.addRecord(QStringLiteral("bank-b"), banks, private_);
    f.addRecord(QStringLiteral("bank-c"), banks);
    f.addRecord(QStringLiteral("webmail"), mail);
    QVERIFY(f.store().SaveFile(QDir::temp().filePath(QStringLiteral("Family.VLM")), false, false));
    f.categories.LoadTree();
    const QString b = QString::number(banks), m = QString::number(mail);
    QCOMPARE(dump(f.tree), (QStringList{
                               QStringLiteral("Root Family (5)"),
                               QStringLiteral("  C0 No Category (1)"),
                               QStringLiteral("  C%1 Banks (3)").arg(b),
                               QStringLiteral("    S0C%1 No SubCategory (1)").arg(b),
                               QStringLiteral("    S%1C%2 Private (2)").arg(private_).arg(b),
                               QStringLiteral("    S%1C%2 Work (0)").arg(work).arg(b),
                               QStringLiteral("  C%1 Mail (1)").arg(m),
                           }));
    QVERIFY(f.tree.marker(f.tree.firstNode()));
    QVERIFY(f.tree.expanded(f.tree.firstNode()));
    QCOMPARE(f.tree.selectedNode(), f.tree.firstNode());
}

void TestCategoryTree::noSpecialNodesWhenNotNeeded()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    f.addRecord(QStringLiteral("bank-a"), banks);
    f.categories.LoadTree();
    QCOMPARE(dump(f.tree), (QStringList{QStringLiteral("Root <New VLM File> (1)"),
                                        QStringLiteral("  C%1 Banks (1)").arg(banks)}));

    // The first subcategory brings "No SubCategory" along, even with nothing in it.
    const int node = f.node(QStringLiteral("C%1").arg(banks));
    f.categories.AddTreeNode(QStringLiteral("S7C%1").arg(banks), QStringLiteral("New"), node);
    QCOMPARE(f.tree.key(f.tree.firstChild(node)), QStringLiteral("S0C%1").arg(banks));
    QCOMPARE(f.tree.recordCount(f.tree.firstChild(node)), 1);
    QCOMPARE(f.categories.AddTreeNode(QStringLiteral("X1"), QStringLiteral("?"), node), 0);
}

void TestCategoryTree::noFileLeavesTreeEmpty()
{
    Fixture f;
    f.t.state.Store = std::make_unique<PasswordStore>(); // nothing open
    f.categories.LoadTree();
    QCOMPARE(f.tree.nodeCount(), 0);
}

void TestCategoryTree::selectionFillsOnce()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    f.categories.LoadTree();
    f.filled.clear();
    const int node = f.node(QStringLiteral("C%1").arg(banks));
    f.tree.setSelectedNode(node);
    f.categories.nodeSelected(node);
    f.tree.setSelectedNode(node);
    QCOMPARE(f.filled, QStringList{QStringLiteral("C%1").arg(banks)});
    QCOMPARE(f.categories.currentNodeIndex, node);
}

void TestCategoryTree::expansionIsKeptInTheStore()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    f.addSub(banks, QStringLiteral("Private"));
    QVERIFY(f.store().SaveFile(QDir::temp().filePath(QStringLiteral("Exp.VLM")), false, false));
    f.categories.LoadTree();
    const int node = f.node(QStringLiteral("C%1").arg(banks));
    f.tree.setExpanded(node, true);
    QVERIFY(f.store().GetNodeExpanded(QStringLiteral("Banks")));
    QVERIFY(f.categories.expandToggled);
    QVERIFY(!f.store().Modified());
    f.categories.LoadTree();
    QVERIFY(f.tree.expanded(f.node(QStringLiteral("C%1").arg(banks))));
}

void TestCategoryTree::dragVerdicts_data()
{
    QTest::addColumn<QString>("dragged"); // a node key, or "record"
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("allowed");
    // The selected node after the step: a folder drag selects the node under
    // the pointer unless it is the dragged node's parent or the dragged node
    // is a special one, even where the drop is refused.
    QTest::addColumn<QString>("selected");
    // Codes: Banks 1 with Private 1 and Work 2, Mail 2, Empty 3; records loose and in Banks.
    QTest::newRow("record onto root") << "record"
                                      << "Root" << false << "Root";
    QTest::newRow("record onto category") << "record"
                                          << "C1" << false << "Root";
    QTest::newRow("record onto no category") << "record"
                                             << "C0" << true << "Root";
    QTest::newRow("record onto no subcategory") << "record"
                                                << "S0C1" << true << "Root";
    QTest::newRow("record onto subcategory") << "record"
                                             << "S2C1" << true << "Root";
    QTest::newRow("subcategory onto root") << "S1C1"
                                           << "Root" << true << "Root";
    QTest::newRow("subcategory onto other category") << "S1C1"
                                                     << "C2" << true << "C2";
    QTest::newRow("subcategory onto its own category") << "S1C1"
                                                       << "C1" << false << "S1C1";
    QTest::newRow("subcategory onto no category") << "S1C1"
                                                  << "C0" << false << "C0";
    QTest::newRow("subcategory onto subcategory") << "S1C1"
                                                  << "S2C1" << false << "S2C1";
    QTest::newRow("subcategory onto itself") << "S1C1"
                                             << "S1C1" << false << "S1C1";
    QTest::newRow("category with subcategories") << "C1"
                                                 << "C2" << false << "C2";
    QTest::newRow("empty category onto category") << "C3"
                                                  << "C2" << true << "C2";
    QTest::newRow("empty category onto root") << "C3"
                                              << "Root" << false << "C3";
    QTest::newRow("empty category onto no category") << "C3"
                                                     << "C0" << false << "C0";
    QTest::newRow("no category is never dragged") << "C0"
                                                  << "C2" << false << "C0";
    QTest::newRow("no subcategory is never dragged") << "S0C1"
                                                     << "C2" << false << "S0C1";
    QTest::newRow("root is never dragged") << "Root"
                                           << "C2" << false << "C2";
}

void TestCategoryTree::dragVerdicts()
{
    QFETCH(QString, dragged);
    QFETCH(QString, target);
    QFETCH(bool, allowed);
    QFETCH(QString, selected);
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    f.addCategory(QStringLiteral("Mail"));
    f.addCategory(QStringLiteral("Zoo"));
    QCOMPARE(banks, qint16(1));
    QCOMPARE(f.addSub(banks, QStringLiteral("Private")), qint16(1));
    QCOMPARE(f.addSub(banks, QStringLiteral("Work")), qint16(2));
    f.addRecord(QStringLiteral("loose"));
    f.addRecord(QStringLiteral("bank"), banks, 1);
    f.categories.LoadTree();
    f.expandAll();
    QVERIFY(f.node(target) != 0);
    const QObject *source = &f.tree;
    if (dragged == QStringLiteral("record")) {
        source = &f.grid;
        f.categories.dragService = QStringLiteral("bank");
    } else {
        QVERIFY(f.node(dragged) != 0);
        f.press(dragged);
    }
    QCOMPARE(f.over(source, target), allowed);
    QCOMPARE(f.tree.key(f.tree.selectedNode()), selected);
    // The drag icon follows the verdict.
    const QString icon = !allowed                              ? QStringLiteral("NODRAG")
                         : dragged == QStringLiteral("record") ? QStringLiteral("DRAGPW")
                                                               : QStringLiteral("DRAGFOLD");
    const QPixmap expected = controls::resource_images::imageList(102)->pixmap(icon);
    const QPixmap shown = source == &f.tree ? f.tree.dragIcon() : f.grid.dragIcon();
    if (!allowed) {
        QCOMPARE(shown.toImage(), expected.toImage());
    }
    // Leaving the tree always says no.
    f.categories.dragOver(source, QPoint(1, 1), 1);
    QVERIFY(!f.categories.dropAllowed);
}

void TestCategoryTree::recordDropMovesAndRecounts()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    const qint16 private_ = f.addSub(banks, QStringLiteral("Private"));
    f.addRecord(QStringLiteral("bank"), banks, private_);
    f.addRecord(QStringLiteral("loose"));
    f.categories.LoadTree();
    f.expandAll();
    const QString b = QString::number(banks);
    // The grid's drag starts from the node it shows.
    f.tree.setSelectedNode(f.node(QStringLiteral("S%1C%2").arg(private_).arg(b)));
    f.categories.dragNodeIndex = f.tree.selectedNode();
    f.categories.dragService = QStringLiteral("bank");
    f.filled.clear();
    f.drop(&f.grid, QStringLiteral("C0"));
    const PasswordEntry *moved = f.store().Passwords().Item(QStringLiteral("bank"));
    QCOMPARE(moved->codcat, qint16(0));
    QCOMPARE(moved->CodSCat, qint16(0));
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("C0"))), 2);
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("C%1").arg(b))), 0);
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("S%1C%2").arg(private_).arg(b))), 0);
    QCOMPARE(f.filled, QStringList{QStringLiteral("S%1C%2").arg(private_).arg(b)});
    QCOMPARE(f.categories.dragService, QString());
    QCOMPARE(f.categories.dragNodeIndex, 0);

    // Into "No SubCategory" of Banks.
    f.categories.dragNodeIndex = f.node(QStringLiteral("C0"));
    f.categories.dragService = QStringLiteral("loose");
    f.drop(&f.grid, QStringLiteral("S0C%1").arg(b));
    QCOMPARE(f.store().Passwords().Item(QStringLiteral("loose"))->codcat, banks);
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("S0C%1").arg(b))), 1);
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("C%1").arg(b))), 1);
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("C0"))), 1);
}

void TestCategoryTree::recordDropRefused()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    f.addRecord(QStringLiteral("loose"));
    f.categories.LoadTree();
    f.expandAll();
    for (const QString &target : {QStringLiteral("Root"), QStringLiteral("C%1").arg(banks)}) {
        f.categories.dragService = QStringLiteral("loose");
        f.drop(&f.grid, target);
        QCOMPARE(f.store().Passwords().Item(QStringLiteral("loose"))->codcat, qint16(0));
    }
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("C0"))), 1);
    QCOMPARE(f.tree.recordCount(f.node(QStringLiteral("C%1").arg(banks))), 0);
}

void TestCategoryTree::subCategoryOntoRootBecomesCategory()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    f.addCategory(QStringLiteral("Mail"));
    const qint16 private_ = f.addSub(banks, QStringLiteral("Private"));
    f.addRecord(QStringLiteral("bank"), banks, private_);
    f.categories.LoadTree();
    f.expandAll();
    const QString b = QString::number(banks);
    f.press(QStringLiteral("S%1C%2").arg(private_).arg(b));
    f.drop(&f.tree, QStringLiteral("Root"));
    const Category *created = f.store().Categories().Item(QStringLiteral("Private"));
    QVERIFY(created != nullptr);
    QCOMPARE(f.store().Passwords().Item(QStringLiteral("bank"))->codcat, created->codcat);
    const int root = f.tree.firstNode();
    QCOMPARE(f.tree.key(f.tree.lastChild(root)), QStringLiteral("C%1").arg(created->codcat));
    QCOMPARE(f.tree.text(f.tree.lastChild(root)), QStringLiteral("Private"));
    // The last real subcategory went, and "No SubCategory" with it.
    QVERIFY(!f.tree.hasChildren(f.node(QStringLiteral("C%1").arg(b))));
    QCOMPARE(f.node(QStringLiteral("S0C%1").arg(b)), 0);
    QCOMPARE(f.categories.dragNodeIndex, 0);
}

void TestCategoryTree::subCategoryOntoCategoryKeepsCode()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    const qint16 mail = f.addCategory(QStringLiteral("Mail"));
    const qint16 private_ = f.addSub(banks, QStringLiteral("Private"));
    f.addSub(banks, QStringLiteral("Work"));
    f.addRecord(QStringLiteral("bank"), banks, private_);
    f.categories.LoadTree();
    f.expandAll();
    f.press(QStringLiteral("S%1C%2").arg(private_).arg(banks));
    f.drop(&f.tree, QStringLiteral("C%1").arg(mail));
    const int moved = f.node(QStringLiteral("S%1C%2").arg(private_).arg(mail));
    QVERIFY(moved != 0);
    QCOMPARE(f.tree.parentNode(moved), f.node(QStringLiteral("C%1").arg(mail)));
    QCOMPARE(f.tree.recordCount(moved), 1);
    // Mail got its "No SubCategory" first; Banks keeps its own, Work is still there.
    QCOMPARE(f.tree.key(f.tree.firstChild(f.node(QStringLiteral("C%1").arg(mail)))),
             QStringLiteral("S0C%1").arg(mail));
    QVERIFY(f.node(QStringLiteral("S0C%1").arg(banks)) != 0);
    const PasswordEntry *record = f.store().Passwords().Item(QStringLiteral("bank"));
    QCOMPARE(record->codcat, mail);
    QCOMPARE(record->CodSCat, private_);
}

void TestCategoryTree::categoryOntoCategoryBecomesSubCategory()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    const qint16 cards = f.addCategory(QStringLiteral("Cards"));
    f.addRecord(QStringLiteral("visa"), cards);
    f.categories.LoadTree();
    f.expandAll();
    f.press(QStringLiteral("C%1").arg(cards));
    f.drop(&f.tree, QStringLiteral("C%1").arg(banks));
    QVERIFY(f.store().Categories().Item(QStringLiteral("Cards")) == nullptr);
    const SubCategory *sub =
        f.store().SubCategories().Item(QString::number(banks) + QStringLiteral("!Cards"));
    QVERIFY(sub != nullptr);
    const int node = f.node(QStringLiteral("S%1C%2").arg(sub->CodSCat).arg(banks));
    QVERIFY(node != 0);
    QCOMPARE(f.tree.recordCount(node), 1);
    QCOMPARE(f.node(QStringLiteral("C%1").arg(cards)), 0);
}

void TestCategoryTree::refusedFolderDrops()
{
    Fixture f;
    const qint16 banks = f.addCategory(QStringLiteral("Banks"));
    const qint16 mail = f.addCategory(QStringLiteral("Mail"));
    const qint16 private_ = f.addSub(banks, QStringLiteral("Private"));
    f.categories.LoadTree();
    f.expandAll();
    const QStringList before = dump(f.tree);
    const QString sub = QStringLiteral("S%1C%2").arg(private_).arg(banks);
    // On itself, on its own parent, a category with children, a special node.
    const QList<std::pair<QString, QString>> drops{
        {sub, sub},
        {sub, QStringLiteral("C%1").arg(banks)},
        {QStringLiteral("C%1").arg(banks), QStringLiteral("C%1").arg(mail)},
        {QStringLiteral("S0C%1").arg(banks), QStringLiteral("C%1").arg(mail)}};
    for (const auto &[dragged, target] : drops) {
        f.press(dragged);
        f.drop(&f.tree, target);
        QCOMPARE(dump(f.tree), before);
    }
    // An expand or collapse in the same gesture makes the drop a no-op.
    f.press(sub);
    f.tree.setExpanded(f.node(QStringLiteral("C%1").arg(mail)), false);
    QVERIFY(f.categories.expandToggled);
    f.drop(&f.tree, QStringLiteral("C%1").arg(mail));
    QVERIFY(f.store().SubCategories().Item(QString::number(banks) + QStringLiteral("!Private")) !=
            nullptr);
    QVERIFY(!f.categories.expandToggled);
    // The next gesture's drop counts again.
    f.press(sub);
    f.drop(&f.tree, QStringLiteral("C%1").arg(mail));
    QVERIFY(f.store().SubCategories().Item(QString::number(mail) + QStringLiteral("!Private")) !=
            nullptr);
}

void TestCategoryTree::dragShowsVerdict()
{
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        QSKIP("offscreen drags end at once; this runs under Xvfb (test_category_tree_x11)");
    }
    Fixture f;
    f.addSub(f.addCategory(QStringLiteral("Banks")), QStringLiteral("Private"));
    f.categories.LoadTree();
    f.expandAll();
    // A real drag: the picture at the pointer is what the user sees.
    QList<QImage> seen;
    QTimer::singleShot(0, [&] {
        // Onto its own category, onto the root, onto itself.
        for (const char *key : {"C1", "Root", "S1C1"}) {
            const QPoint at = f.tree.nodeRect(f.node(QString::fromUtf8(key))).center();
            QTest::mouseMove(f.tree.viewport(), at);
            QTest::mouseMove(f.tree.viewport(), at + QPoint(1, 0));
            const QCursor *cursor = QGuiApplication::overrideCursor();
            seen << (cursor != nullptr ? cursor->pixmap().toImage() : QImage());
        }
        QTest::keyClick(f.tree.viewport(), Qt::Key_Escape);
    });
    f.press(QStringLiteral("S1C1"));
    f.categories.mouseMove(Qt::LeftButton);
    const auto icon = [](const char *key) {
        return controls::resource_images::imageList(102)->pixmap(QString::fromUtf8(key)).toImage();
    };
    QCOMPARE(seen, (QList<QImage>{icon("NODRAG"), icon("DRAGFOLD"), icon("NODRAG")}));
}

QTEST_MAIN(TestCategoryTree)
#include "test_category_tree.moc"
