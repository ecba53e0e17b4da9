// Tree: keyed nodes with stable indexes, relationships, removal with
// descendants, per-node state, selection and hit tests.

#include "DragSupport.h"
#include "ResourceImages.h"
#include "Tree.h"

#include <QApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

using namespace controls;

class TestTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void relationships_data();
    void relationships();
    void failedAdds_data();
    void failedAdds();
    void keysAndLookup();
    void removeWithChildren();
    void indexesStayStable();
    void stateAndCounts();
    void selection();
    void hitTest();
    void images();
    void dragOverAndDrop();
};

namespace {

// Root with categories added as last children, the "C0" node as first child:
// Root -> C0, C1 -> (S0C1, S5C1), C2.
struct Sample
{
    Tree tree;
    int root = 0, c0 = 0, c1 = 0, c2 = 0, s0 = 0, s5 = 0;

    Sample()
    {
        root = tree.addNode(0, LastChild, "Root", "My file", "VLM", "VLM");
        c1 = tree.addNode(root, LastChild, "C1", "Bank", "CATCLOSE", "CATOPEN");
        c2 = tree.addNode(root, LastChild, "C2", "Mail", "CATCLOSE", "CATOPEN");
        c0 = tree.addNode(root, FirstChild, "C0", "No Category", "CFOLDER", "OFOLDER");
        s5 = tree.addNode(c1, LastChild, "S5C1", "Cards", "SCATCLOSE", "SCATOPEN");
        s0 = tree.addNode(c1, FirstChild, "S0C1", "No SubCategory", "CFOLDER", "OFOLDER");
    }
};

} // namespace

void TestTree::relationships_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<int>("children");
    QTest::newRow("root") << "Root"
                          << ""
                          << "C0"
                          << "C2"
                          << ""
                          << "" << 3;
    QTest::newRow("first child added last") << "C0"
                                            << "Root"
                                            << ""
                                            << ""
                                            << "C1"
                                            << "" << 0;
    QTest::newRow("category") << "C1"
                              << "Root"
                              << "S0C1"
                              << "S5C1"
                              << "C2"
                              << "C0" << 2;
    QTest::newRow("last category") << "C2"
                                   << "Root"
                                   << ""
                                   << ""
                                   << ""
                                   << "C1" << 0;
    QTest::newRow("no subcategory") << "S0C1"
                                    << "C1"
                                    << ""
                                    << ""
                                    << "S5C1"
                                    << "" << 0;
    QTest::newRow("subcategory") << "S5C1"
                                 << "C1"
                                 << ""
                                 << ""
                                 << ""
                                 << "S0C1" << 0;
}

void TestTree::relationships()
{
    QFETCH(QString, key);
    QFETCH(QString, parent);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, next);
    QFETCH(QString, previous);
    QFETCH(int, children);
    const Sample s;
    const Tree &tree = s.tree;
    const int node = tree.nodeIndex(key);
    QVERIFY(node != 0);
    QCOMPARE(tree.key(tree.parentNode(node)), parent);
    QCOMPARE(tree.key(tree.firstChild(node)), first);
    QCOMPARE(tree.key(tree.lastChild(node)), last);
    QCOMPARE(tree.key(tree.nextSibling(node)), next);
    QCOMPARE(tree.key(tree.previousSibling(node)), previous);
    QCOMPARE(tree.childCount(node), children);
    QCOMPARE(tree.hasChildren(node), children > 0);
    // "None" is 0, never another node.
    if (parent.isEmpty())
        QCOMPARE(tree.parentNode(node), 0);
    if (next.isEmpty())
        QCOMPARE(tree.nextSibling(node), 0);
}

void TestTree::failedAdds_data()
{
    QTest::addColumn<int>("relative");
    QTest::addColumn<int>("relationship");
    QTest::addColumn<QString>("key");
    QTest::newRow("taken key") << 1 << int(LastChild) << "C1";
    QTest::newRow("missing relative") << 99 << int(LastChild) << "new";
    QTest::newRow("unknown relationship") << 1 << 3 << "new";
    QTest::newRow("relationship zero") << 1 << 0 << "new";
}

void TestTree::failedAdds()
{
    QFETCH(int, relative);
    QFETCH(int, relationship);
    QFETCH(QString, key);
    Sample s;
    const int before = s.tree.nodeCount();
    QCOMPARE(s.tree.addNode(relative, relationship, key, "text"), 0);
    QCOMPARE(s.tree.nodeCount(), before);
    QCOMPARE(s.tree.childCount(s.root), 3);
}

void TestTree::keysAndLookup()
{
    Sample s;
    Tree &tree = s.tree;
    QCOMPARE(tree.nodeCount(), 6);
    QCOMPARE(tree.firstNode(), s.root);
    QCOMPARE(tree.nodeIndex("C1"), s.c1);
    QCOMPARE(tree.nodeIndex("S5C1"), s.s5);
    QCOMPARE(tree.nodeIndex("C7"), 0);
    QCOMPARE(tree.nodeIndex("c1"), 0); // keys are exact
    QCOMPARE(tree.key(s.s0), QString("S0C1"));
    QCOMPARE(tree.text(s.c2), QString("Mail"));
    QCOMPARE(tree.key(0), QString());
    QCOMPARE(tree.text(99), QString());
    tree.setText(s.c2, "Post");
    QCOMPARE(tree.text(s.c2), QString("Post"));
    // A second top-level node added as first child goes before the root.
    const int top = tree.addNode(0, FirstChild, "Top", "Top");
    QCOMPARE(tree.firstNode(), top);
    QCOMPARE(tree.nextSibling(top), s.root);
    tree.clear();
    QCOMPARE(tree.nodeCount(), 0);
    QCOMPARE(tree.firstNode(), 0);
    QCOMPARE(tree.nodeIndex("Root"), 0);
    QCOMPARE(tree.addNode(0, LastChild, "Root", "again"), 1);
}

void TestTree::removeWithChildren()
{
    Sample s;
    Tree &tree = s.tree;
    tree.setDropHighlight(s.s5);
    tree.removeNode(s.c1);
    QCOMPARE(tree.nodeCount(), 3);
    QVERIFY(!tree.exists(s.c1));
    QVERIFY(!tree.exists(s.s0));
    QVERIFY(!tree.exists(s.s5));
    QCOMPARE(tree.nodeIndex("C1"), 0);
    QCOMPARE(tree.nodeIndex("S5C1"), 0);
    QCOMPARE(tree.nodeIndex("S0C1"), 0);
    QCOMPARE(tree.dropHighlight(), 0);
    QCOMPARE(tree.nextSibling(s.c0), s.c2);
    QCOMPARE(tree.childCount(s.root), 2);
    QCOMPARE(tree.key(s.s5), QString());
    // The keys are free again.
    QVERIFY(tree.addNode(s.c2, LastChild, "S5C1", "Cards") != 0);
    tree.removeNode(12345);
    QCOMPARE(tree.nodeCount(), 4);
}

void TestTree::indexesStayStable()
{
    Sample s;
    Tree &tree = s.tree;
    tree.removeNode(s.c0);
    // Indexes are handles, not positions: the others still name their nodes.
    QCOMPARE(tree.key(s.c1), QString("C1"));
    QCOMPARE(tree.key(s.s5), QString("S5C1"));
    const int added = tree.addNode(s.root, FirstChild, "C0", "No Category");
    QVERIFY(added != s.c0);
    QCOMPARE(tree.firstChild(s.root), added);
    QCOMPARE(tree.nodeIndex("C0"), added);
}

void TestTree::stateAndCounts()
{
    Sample s;
    Tree &tree = s.tree;
    QSignalSpy expanded(&tree, &Tree::expandedNode);
    QSignalSpy collapsed(&tree, &Tree::collapsedNode);
    QVERIFY(!tree.expanded(s.c1));
    tree.setExpanded(s.root, true);
    tree.setExpanded(s.c1, true);
    QVERIFY(tree.expanded(s.c1));
    QVERIFY(!tree.expanded(s.c2));
    QCOMPARE(expanded.count(), 2);
    QCOMPARE(expanded.last().at(0).toInt(), s.c1);
    tree.setExpanded(s.c1, false);
    QVERIFY(!tree.expanded(s.c1));
    QCOMPARE(collapsed.count(), 1);
    QCOMPARE(collapsed.first().at(0).toInt(), s.c1);

    const QAbstractItemModel *model = tree.findChild<QTreeView *>()->model();
    const QModelIndex rootIndex = model->index(0, 0);
    QCOMPARE(tree.recordCount(s.root), -1);
    QCOMPARE(rootIndex.data().toString(), QString("My file"));
    tree.setRecordCount(s.root, 12);
    QCOMPARE(tree.recordCount(s.root), 12);
    QCOMPARE(rootIndex.data().toString(), QString("My file (12)"));
    QCOMPARE(tree.text(s.root), QString("My file"));
    tree.setRecordCount(s.c2, 0);
    QCOMPARE(tree.recordCount(s.c2), 0);
    QCOMPARE(tree.recordCount(s.c1), -1);

    QVERIFY(!tree.marker(s.root));
    QVERIFY(!rootIndex.data(Qt::FontRole).value<QFont>().bold());
    tree.setMarker(s.root, true);
    QVERIFY(tree.marker(s.root));
    QVERIFY(!tree.marker(s.c1));
    QVERIFY(rootIndex.data(Qt::FontRole).value<QFont>().bold());
}

void TestTree::selection()
{
    Sample s;
    Tree &tree = s.tree;
    QSignalSpy selected(&tree, &Tree::nodeSelected);
    QCOMPARE(tree.selectedNode(), 0);
    tree.setSelectedNode(s.s5);
    QCOMPARE(tree.selectedNode(), s.s5);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.last().at(0).toInt(), s.s5);
    tree.setSelectedNode(s.c2);
    QCOMPARE(tree.selectedNode(), s.c2);
    QCOMPARE(selected.last().at(0).toInt(), s.c2);
    tree.setDropHighlight(s.c1);
    QCOMPARE(tree.dropHighlight(), s.c1);
    tree.setDropHighlight(0);
    QCOMPARE(tree.dropHighlight(), 0);
    tree.setSelectedNode(0);
    QCOMPARE(tree.selectedNode(), 0);
}

void TestTree::hitTest()
{
    Sample s;
    Tree &tree = s.tree;
    tree.resize(300, 400);
    tree.setExpanded(s.root, true);
    tree.setExpanded(s.c1, true);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    // Shown top to bottom: Root, C0, C1, S0C1, S5C1, C2.
    const QList<int> order{s.root, s.c0, s.c1, s.s0, s.s5, s.c2};
    int lastY = -1;
    for (const int node : order) {
        const QRect rect = tree.nodeRect(node);
        QVERIFY(rect.isValid());
        QVERIFY(rect.top() > lastY);
        lastY = rect.top();
        QCOMPARE(tree.nodeAt(rect.center()), node);
    }
    QCOMPARE(tree.nodeAt(QPoint(10, lastY + 200)), 0);
    tree.setExpanded(s.c1, false);
    QVERIFY(!tree.nodeRect(s.s5).isValid());
    QCOMPARE(tree.nodeAt(tree.nodeRect(s.c2).center()), s.c2);

    QSignalSpy down(&tree, &Tree::mouseDown);
    int selectedAtDown = -1;
    connect(&tree, &Tree::mouseDown, this, [&] { selectedAtDown = tree.selectedNode(); });
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.nodeRect(s.c2).center());
    QCOMPARE(down.count(), 1);
    QCOMPARE(selectedAtDown, s.c2);
    QCOMPARE(tree.selectedNode(), s.c2);
}

void TestTree::images()
{
    Sample s;
    Tree &tree = s.tree;
    const QAbstractItemModel *model = tree.findChild<QTreeView *>()->model();
    const QModelIndex rootIndex = model->index(0, 0);
    QVERIFY(rootIndex.data(Qt::DecorationRole).value<QIcon>().isNull());
    // Binding the list afterwards gives the existing nodes their images.
    const auto images = resource_images::imageList(101);
    tree.setImageList(images);
    const QIcon category = model->index(1, 0, rootIndex).data(Qt::DecorationRole).value<QIcon>();
    QVERIFY(!category.isNull());
    const QImage closed = category.pixmap(16, QIcon::Normal).toImage();
    const QImage open = category.pixmap(16, QIcon::Selected).toImage();
    QCOMPARE(closed.convertToFormat(QImage::Format_ARGB32),
             images->pixmap("CATCLOSE").toImage().convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(open.convertToFormat(QImage::Format_ARGB32),
             images->pixmap("CATOPEN").toImage().convertToFormat(QImage::Format_ARGB32));
}

void TestTree::dragOverAndDrop()
{
    Sample s;
    Tree &tree = s.tree;
    tree.resize(300, 300);
    tree.setExpanded(s.root, true);
    tree.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    tree.setDragIcon(icon);
    QCOMPARE(tree.dragIcon().size(), QSize(16, 16));

    // The host's rule: only the "C2" node takes a drop.
    QList<int> states;
    connect(&tree, &Tree::dragOver, this, [&](QObject *, QPoint at, int state) {
        states.append(state);
        tree.setDropHighlight(tree.nodeAt(at));
        if (state == DragOver)
            tree.setDropAllowed(tree.dropHighlight() == s.c2);
    });
    QSignalSpy dropped(&tree, &Tree::dropped);
    QMimeData ours;
    ours.setData("application/x-vellumor-control-drag", "grid");
    QMimeData foreign;
    foreign.setText("not ours");
    QWidget *target = tree.viewport();
    const QPoint onC1 = tree.nodeRect(s.c1).center();
    const QPoint onC2 = tree.nodeRect(s.c2).center();

    QDragEnterEvent enter(onC1, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent overC1(onC1, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &overC1);
    QVERIFY(!overC1.isAccepted());
    QCOMPARE(tree.dropHighlight(), s.c1);
    QDragMoveEvent overC2(onC2, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &overC2);
    QVERIFY(overC2.isAccepted());
    QCOMPARE(tree.dropHighlight(), s.c2);
    QDragLeaveEvent leave;
    QApplication::sendEvent(target, &leave);
    QCOMPARE(states, QList<int>({DragEnter, DragOver, DragOver, DragLeave}));
    QCOMPARE(dropped.count(), 0);

    // A second drag that ends with a drop on "C2".
    QDragEnterEvent again(onC2, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &again);
    QDragMoveEvent overAgain(onC2, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &overAgain);
    QVERIFY(overAgain.isAccepted());
    QDropEvent drop(QPointF(onC2), Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.first().at(1).toPoint(), onC2);

    // Text from another program is not a drag of ours.
    states.clear();
    QDragEnterEvent strange(onC2, Qt::MoveAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &strange);
    QVERIFY(states.isEmpty());
}

QTEST_MAIN(TestTree)
#include "test_tree.moc"
