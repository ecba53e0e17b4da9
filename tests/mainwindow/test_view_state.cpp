// The main window's layout across restarts: the defaults of a first start,
// hidden and narrowed columns, the sort, and what is written when.

#include "CategoryTree.h"
#include "Grid.h"
#include "PasswordGrid.h"
#include "ResourceImages.h"
#include "TestServices.h"
#include "Tree.h"
#include "ViewState.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>

namespace {

// A main window's worth of parts, as frmMain puts them together.
struct Window
{
    TestServices &t;
    QSplitter splitter;
    controls::Tree *tree = new controls::Tree(&splitter);
    controls::Grid *grid = new controls::Grid(&splitter);
    QStatusBar statusBar;
    QAction treeView{QStringLiteral("&Tree View")};
    QAction statusBarItem{QStringLiteral("&StatusBar")};
    QAction toolbar{QStringLiteral("&Toolbar")};
    CategoryTree categories{*tree, t.state};
    PasswordGrid passwords{*grid, *tree, categories, t.services};

    explicit Window(TestServices &services) : t(services)
    {
        for (QAction *item : {&treeView, &statusBarItem, &toolbar}) {
            item->setCheckable(true);
            item->setChecked(true);
        }
        passwords.setImages(controls::resource_images::imageList(101), nullptr);
        passwords.SetupGridColumns();
        splitter.resize(800, 400);
        splitter.setSizes({200, 600});
        splitter.show();
        statusBar.show();
    }

    ViewStateParts parts()
    {
        return {splitter, *tree, statusBar, treeView, statusBarItem, toolbar, *grid, passwords};
    }

    QAction *columnItem(const QString &key)
    {
        for (QAction *item : passwords.columnMenu()->actions()) {
            if (item->data().toString() == key) {
                return item;
            }
        }
        return nullptr;
    }
};

QVariant stored(const QString &name)
{
    QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
    raw.beginGroup(QStringLiteral("1.0"));
    return raw.value(name);
}

} // namespace

class TestViewState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstStartDefaults();
    void roundTrip();
    void unsortedWritesOnlySorted();
    void namesWritten();
};

void TestViewState::init()
{
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

void TestViewState::firstStartDefaults()
{
    TestServices t;
    Window w(t);
    const int width = w.grid->columnWidth(QStringLiteral("URL"));
    RestoreViewState(w.parts(), t.settings);
    QVERIFY(!w.tree->isHidden());
    QVERIFY(w.treeView.isChecked());
    QVERIFY(!w.statusBar.isHidden());
    QVERIFY(w.toolbar.isChecked());
    QCOMPARE(w.grid->columnWidth(QStringLiteral("URL")), width);
    for (int c = 4; c <= 15; ++c) {
        QVERIFY(w.grid->columnVisible(c));
    }
    QCOMPARE(w.passwords.sortColumn(), w.grid->columnIndex(QStringLiteral("Service")));
    QVERIFY(w.passwords.orderAscendingItem()->isChecked());
    QVERIFY(t.settings.LayoutSettings == nullptr);
}

void TestViewState::roundTrip()
{
    TestServices t;
    {
        Window w(t);
        RestoreViewState(w.parts(), t.settings);
        w.columnItem(QStringLiteral("Password"))->trigger(); // hidden
        w.grid->setColumnWidth(QStringLiteral("Password"), 40);
        w.grid->setColumnWidth(QStringLiteral("URL"), 150);
        w.passwords.SortGrid(w.grid->columnIndex(QStringLiteral("ExpDate")), false, true, 2);
        w.splitter.setSizes({240, 560});
        w.tree->hide();
        QTRY_COMPARE(w.splitter.sizes().constFirst(), 0); // hidden for a while
        w.statusBar.hide();
        w.toolbar.setChecked(false);
        SaveViewState(w.parts(), t.settings);
    }
    Window next(t);
    RestoreViewState(next.parts(), t.settings);
    QVERIFY(!next.grid->columnVisible(QStringLiteral("Password")));
    QVERIFY(!next.columnItem(QStringLiteral("Password"))->isChecked());
    QCOMPARE(next.grid->columnWidth(QStringLiteral("Password")), 40);
    QCOMPARE(next.grid->columnWidth(QStringLiteral("URL")), 150);
    QCOMPARE(next.passwords.sortColumn(), next.grid->columnIndex(QStringLiteral("ExpDate")));
    QVERIFY(next.passwords.orderDescendingItem()->isChecked());
    QVERIFY(next.tree->isHidden());
    QVERIFY(!next.treeView.isChecked());
    QVERIFY(next.statusBar.isHidden());
    QVERIFY(!next.statusBarItem.isChecked());
    QVERIFY(!next.toolbar.isChecked());
    // The tree comes back as wide as it was last shown.
    next.tree->show();
    QTRY_COMPARE(next.splitter.sizes().constFirst(), 240);
}

void TestViewState::unsortedWritesOnlySorted()
{
    TestServices t;
    Window w(t);
    SaveViewState(w.parts(), t.settings); // nothing sorted yet
    QCOMPARE(stored(QStringLiteral("Sorted")).toString(), QStringLiteral("false"));
    QVERIFY(!stored(QStringLiteral("SortCol")).isValid());
    QVERIFY(!stored(QStringLiteral("SortOrd")).isValid());
    Window next(t);
    RestoreViewState(next.parts(), t.settings);
    QCOMPARE(next.passwords.sortColumn(), 0);
}

void TestViewState::namesWritten()
{
    TestServices t;
    Window w(t);
    RestoreViewState(w.parts(), t.settings);
    SaveViewState(w.parts(), t.settings);
    for (const char *name :
         {"VTreeView", "VSplitterHide", "VStatusBar", "VToolBar", "VSplitterCenter", "ColVis4",
          "ColWidth15", "Sorted", "SortCol", "SortOrd"}) {
        QVERIFY2(stored(QString::fromUtf8(name)).isValid(), name);
    }
    // The group columns and the notes line are not kept.
    for (const char *name : {"ColVis3", "ColWidth3", "ColVis16", "ColWidth16"}) {
        QVERIFY2(!stored(QString::fromUtf8(name)).isValid(), name);
    }
    QCOMPARE(stored(QStringLiteral("SortCol")).toInt(), 4);
    QCOMPARE(stored(QStringLiteral("SortOrd")).toInt(), 1);
}

QTEST_MAIN(TestViewState)
#include "test_view_state.moc"
