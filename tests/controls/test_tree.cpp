// Tree: keyed nodes with stable indexes, relationships, removal with
// descendants, per-node state, selection, hit tests and dragging.

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
    void init();
    void structure();
    void stateAndCounts();
    void shownAndDragged();

private:
    QString outline(int node) const;
    QModelIndex shownIndex(int row, const QModelIndex &parent = {}) const
    {
        return tree->findChild<QTreeView *>()->model()->index(row, 0, parent);
    }

    std::unique_ptr<Tree> tree;
    int root = 0, c0 = 0, c1 = 0, c2 = 0, s0 = 0, s5 = 0;
};

// Categories added as last children, then "C0" as first child.
void TestTree::init()
{
    tree = std::make_unique<Tree>();
    tree->resize(300, 300);
    root = tree->addNode(0, LastChild, "Root", "My file", "VLM", "VLM");
    c1 = tree->addNode(root, LastChild, "C1", "Bank", "CATCLOSE", "CATOPEN");
    c2 = tree->addNode(root, LastChild, "C2", "Mail", "CATCLOSE", "CATOPEN");
    c0 = tree->addNode(root, FirstChild, "C0", "No Category", "CFOLDER", "OFOLDER");
    s5 = tree->addNode(c1, LastChild, "S5C1", "Cards", "SCATCLOSE", "SCATOPEN");
    s0 = tree->addNode(c1, FirstChild, "S0C1", "No SubCategory", "CFOLDER", "OFOLDER");
}

// The nodes under `node` walked forwards; backward links and counts must agree.
QString TestTree::outline(int node) const
{
    QStringList parts;
    int previous = 0;
    for (int child = node ? tree->firstChild(node) : tree->firstNode(); child != 0;
         child = tree->nextSibling(child)) {
        if (tree->parentNode(child) != node || tree->previousSibling(child) != previous)
            return "broken links at " + tree->key(child);
        const QString inner = outline(child);
        parts.append(tree->key(child) + (inner.isEmpty() ? "" : "(" + inner + ")"));
        previous = child;
    }
    if (node && (tree->lastChild(node) != previous || tree->childCount(node) != parts.size() ||
                 tree->hasChildren(node) != !parts.isEmpty()))
        return "broken counts at " + tree->key(node);
    return parts.join(' ');
}

void TestTree::structure()
{
    QCOMPARE(outline(0), QString("Root(C0 C1(S0C1 S5C1) C2)"));
    // Refused: a taken key, a missing relative, an unknown relationship.
    const std::tuple<int, int, const char *> refused[] = {
        {root, LastChild, "C1"}, {99, LastChild, "new"}, {root, 3, "new"}, {root, 0, "new"}};
    for (const auto &[relative, relationship, key] : refused)
        QCOMPARE(tree->addNode(relative, relationship, key, "text"), 0);
    QCOMPARE(tree->nodeCount(), 6);
    QCOMPARE(tree->nodeIndex("S5C1"), s5);
    QCOMPARE(tree->nodeIndex("c1"), 0); // keys are exact
    tree->setText(c2, "Post");
    QCOMPARE(shownIndex(2, shownIndex(0)).data().toString(), QString("Post"));

    // A node goes with its descendants, and their keys are free again.
    tree->setDropHighlight(s5);
    tree->removeNode(c1);
    tree->removeNode(12345);
    QCOMPARE(outline(0), QString("Root(C0 C2)"));
    QCOMPARE(tree->nodeCount(), 3);
    QVERIFY(!tree->exists(s0));
    QCOMPARE(tree->dropHighlight(), 0);
    // Indexes are handles, not positions: the others still name their nodes.
    QCOMPARE(tree->key(c2), QString("C2"));
    const int again = tree->addNode(root, FirstChild, "C1", "Bank");
    QVERIFY(again != c1);
    QCOMPARE(tree->nodeIndex("C1"), again);
    // A second top-level node added as first child goes before the root.
    tree->addNode(0, FirstChild, "Top", "Top");
    QCOMPARE(outline(0), QString("Top Root(C1 C0 C2)"));
    tree->clear();
    QCOMPARE(outline(0), QString());
    QCOMPARE(tree->addNode(0, LastChild, "Root", "again"), 1);
}

void TestTree::stateAndCounts()
{
    QSignalSpy expanded(tree.get(), &Tree::expandedNode);
    QSignalSpy collapsed(tree.get(), &Tree::collapsedNode);
    tree->setExpanded(root, true);
    tree->setExpanded(c1, true);
    tree->setExpanded(c1, false);
    QVERIFY(tree->expanded(root));
    QVERIFY(!tree->expanded(c1));
    QCOMPARE(QList<QVariantList>(expanded), QList<QVariantList>({{root}, {c1}}));
    QCOMPARE(QList<QVariantList>(collapsed), QList<QVariantList>({{c1}}));

    const QModelIndex rootIndex = shownIndex(0);
    tree->setRecordCount(root, 12);
    tree->setRecordCount(c2, 0);
    QCOMPARE(rootIndex.data().toString(), QString("My file (12)"));
    QCOMPARE(shownIndex(2, rootIndex).data().toString(), QString("Mail (0)"));
    QCOMPARE(tree->text(root), QString("My file"));
    QCOMPARE(tree->recordCount(c1), -1);
    QVERIFY(!rootIndex.data(Qt::FontRole).value<QFont>().bold());
    tree->setMarker(root, true);
    QVERIFY(!tree->marker(c1));
    QVERIFY(rootIndex.data(Qt::FontRole).value<QFont>().bold());

    QSignalSpy selected(tree.get(), &Tree::nodeSelected);
    tree->setSelectedNode(s5);
    QCOMPARE(tree->selectedNode(), s5);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.last().at(0).toInt(), s5);
    tree->setSelectedNode(0);
    QCOMPARE(tree->selectedNode(), 0);

    // Binding the images afterwards gives the existing nodes theirs, the
    // second one shown while selected.
    QVERIFY(rootIndex.data(Qt::DecorationRole).value<QIcon>().isNull());
    const auto images = resource_images::imageList(101);
    tree->setImageList(images);
    const QIcon icon = shownIndex(1, rootIndex).data(Qt::DecorationRole).value<QIcon>();
    QCOMPARE(icon.pixmap(16, QIcon::Normal).toImage(), images->pixmap("CATCLOSE").toImage());
    QCOMPARE(icon.pixmap(16, QIcon::Selected).toImage(), images->pixmap("CATOPEN").toImage());
    // Another list replaces them all: the drag pictures have no folder image.
    tree->setImageList(resource_images::imageList(102));
    QVERIFY(shownIndex(1, rootIndex).data(Qt::DecorationRole).value<QIcon>().isNull());
}

void TestTree::shownAndDragged()
{
    tree->setExpanded(root, true);
    tree->setExpanded(c1, true);
    tree->show();
    QVERIFY(QTest::qWaitForWindowExposed(tree.get()));
    // Top to bottom, each where the hit test finds it.
    int lastY = -1;
    for (const int node : {root, c0, c1, s0, s5, c2}) {
        const QRect rect = tree->nodeRect(node);
        QVERIFY(rect.top() > lastY);
        lastY = rect.top();
        QCOMPARE(tree->nodeAt(rect.center()), node);
    }
    QCOMPARE(tree->nodeAt(QPoint(10, lastY + 200)), 0);

    tree->setExpanded(c1, false);
    QVERIFY(!tree->nodeRect(s5).isValid());
    int selectedAtDown = -1;
    connect(tree.get(), &Tree::mouseDown, this, [&] { selectedAtDown = tree->selectedNode(); });
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->nodeRect(c2).center());
    QCOMPARE(selectedAtDown, c2);
    QCOMPARE(tree->selectedNode(), c2);

    // Dragging: the host's rule is that only the "C2" node takes a drop.
    QList<int> states;
    connect(tree.get(), &Tree::dragOver, this, [&](QObject *, QPoint at, int state) {
        states.append(state);
        tree->setDropHighlight(tree->nodeAt(at));
        if (state == DragOver)
            tree->setDropAllowed(tree->dropHighlight() == c2);
    });
    QSignalSpy dropped(tree.get(), &Tree::dropped);
    QMimeData ours;
    ours.setData("application/x-vellumor-control-drag", "grid");
    const QPoint onC1 = tree->nodeRect(c1).center();
    const QPoint onC2 = tree->nodeRect(c2).center();
    const auto send = [&](QEvent &&event) {
        QApplication::sendEvent(tree->viewport(), &event);
        return event.isAccepted();
    };
    const auto enter = [&](QPoint at, const QMimeData *data) {
        return send(QDragEnterEvent(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier));
    };
    const auto over = [&](QPoint at) {
        return send(QDragMoveEvent(at, Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier));
    };
    QVERIFY(enter(onC1, &ours));
    QVERIFY(!over(onC1));
    QCOMPARE(tree->dropHighlight(), c1);
    QVERIFY(over(onC2));
    send(QDragLeaveEvent());
    QCOMPARE(states, QList<int>({DragEnter, DragOver, DragOver, DragLeave}));
    QCOMPARE(dropped.count(), 0);
    // A second drag that ends with a drop on "C2".
    enter(onC2, &ours);
    QVERIFY(over(onC2));
    QVERIFY(send(QDropEvent(QPointF(onC2), Qt::MoveAction, &ours, Qt::LeftButton, Qt::NoModifier)));
    QCOMPARE(dropped.value(0).value(1).toPoint(), onC2);
    // Text from another program is not a drag of ours.
    states.clear();
    QMimeData foreign;
    foreign.setText("not ours");
    enter(onC2, &foreign);
    QVERIFY(states.isEmpty());
}

QTEST_MAIN(TestTree)
#include "test_tree.moc"
