// Popup menu: the item model (1-based numbers, keys, states, sub-menus) and
// the QMenu built from it, chosen from the keyboard as a user would.

#include "PopupMenu.h"
#include "ResourceImages.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace controls;

class TestPopupMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void removeItemWithItsBranch();
    void itemModel();
    void outOfRange();
    void builtMenu();
    void choose_data();
    void choose();
    void rebuiltAfterChange();
};

namespace {

// A tray-like menu: a category with a service, an "Add" sub-menu, a separator.
void fill(PopupMenu &menu)
{
    menu.addItem("Bank", "cat1", 0, "CFOLDER", false);                // 1
    menu.addItem("My bank", "srvMy bank", 1, "PW");                   // 2
    menu.addItem("&Add", "add");                                      // 3
    menu.addItem("&Password", "addpw", 3, "PADD", true, false, true); // 4
    menu.addItem("&Category", "addcat", 3);                           // 5
    menu.addItem("-");                                                // 6
    menu.addItem("&Open VLM", "open", 0, "VLM", true, false, true);   // 7
    menu.addItem("Disabled", "off", 0, {}, false);                    // 8
    menu.addItem("&Exit VLM", "close");                               // 9
}

QAction *actionFor(QMenu *menu, const QString &text)
{
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

void TestPopupMenu::removeItemWithItsBranch()
{
    PopupMenu menu;
    menu.addItem("first", "a");
    const int sub = menu.addItem("sub", "b");
    menu.addItem("child", "c", sub);
    const int grandchild = menu.addItem("inner", "d", sub);
    menu.addItem("leaf", "e", grandchild);
    menu.addItem("last", "f");
    const int kept = menu.addItem("under last", "g", 6);
    QCOMPARE(kept, 7);
    QVERIFY(!menu.removeItem(0));
    QVERIFY(!menu.removeItem(8));
    QVERIFY(menu.removeItem(sub));
    QCOMPARE(menu.count(), 3);
    QCOMPARE(menu.key(1), QString("a"));
    QCOMPARE(menu.key(2), QString("f"));
    QCOMPARE(menu.key(3), QString("g"));
    QCOMPARE(menu.parentItem(3), 2); // renumbered with its parent
    QCOMPARE(menu.indexOf("c"), 0);
}

void TestPopupMenu::itemModel()
{
    PopupMenu menu;
    fill(menu);
    QCOMPARE(menu.count(), 9);
    QCOMPARE(menu.indexOf("addpw"), 4);
    QCOMPARE(menu.indexOf("close"), 9);
    QCOMPARE(menu.indexOf("nope"), 0);
    QCOMPARE(menu.key(2), QString("srvMy bank"));
    QCOMPARE(menu.caption(7), QString("&Open VLM"));
    QCOMPARE(menu.image(4), QString("PADD"));
    QCOMPARE(menu.parentItem(2), 1);
    QCOMPARE(menu.parentItem(7), 0);
    QVERIFY(menu.hasChildren(3));
    QVERIFY(!menu.hasChildren(4));
    QVERIFY(menu.isSeparator(6));
    QVERIFY(!menu.isSeparator(7));
    QVERIFY(!menu.enabled(1));
    QVERIFY(menu.enabled(2));
    QVERIFY(menu.isDefault(7));
    QVERIFY(menu.isDefault(4));
    QVERIFY(!menu.isDefault(9));
    menu.setEnabled(1, true);
    QVERIFY(menu.enabled(1));
    menu.setChecked(9, true);
    QVERIFY(menu.checked(9));
    // A separator or a missing item cannot be a parent.
    QCOMPARE(menu.addItem("x", "x", 6), 0);
    QCOMPARE(menu.addItem("x", "x", 42), 0);
    QCOMPARE(menu.count(), 9);
    menu.clear();
    QCOMPARE(menu.count(), 0);
    QCOMPARE(menu.addItem("again"), 1);
}

void TestPopupMenu::outOfRange()
{
    PopupMenu menu;
    fill(menu);
    QCOMPARE(menu.key(0), QString());
    QCOMPARE(menu.caption(10), QString());
    QVERIFY(!menu.enabled(0));
    QVERIFY(!menu.isDefault(-1));
    menu.setEnabled(10, true);
    menu.setCaption(0, "x");
    QCOMPARE(menu.count(), 9);
    QCOMPARE(menu.itemOf(nullptr), 0);
}

void TestPopupMenu::builtMenu()
{
    PopupMenu menu;
    menu.setImageList(resource_images::imageList(105));
    fill(menu);
    QMenu *shown = menu.menu();
    const QList<QAction *> top = shown->actions();
    // Bank (sub-menu), Add (sub-menu), separator, Open, Disabled, Exit.
    QCOMPARE(top.size(), 6);
    QVERIFY(top[0]->menu() != nullptr);
    QVERIFY(!top[0]->isEnabled());
    QVERIFY(top[1]->menu() != nullptr);
    QVERIFY(top[2]->isSeparator());
    QCOMPARE(top[3]->text(), QString("&Open VLM"));
    QVERIFY(top[3]->font().bold());
    QVERIFY(!top[5]->font().bold());
    QVERIFY(!top[4]->isEnabled());
    QVERIFY(!top[3]->icon().isNull());
    QVERIFY(top[5]->icon().isNull());
    QCOMPARE(menu.itemOf(top[3]), 7);
    QCOMPARE(menu.itemOf(top[5]), 9);
    QCOMPARE(menu.itemOf(top[1]), 0); // a sub-menu title is not a choice
    const QList<QAction *> add = top[1]->menu()->actions();
    QCOMPARE(add.size(), 2);
    QCOMPARE(menu.itemOf(add[0]), 4);
    QVERIFY(add[0]->font().bold());
    QCOMPARE(menu.itemOf(add[1]), 5);

    QSignalSpy chosen(&menu, &PopupMenu::itemChosen);
    add[1]->trigger();
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().at(0).toInt(), 5);
    QCOMPARE(chosen.first().at(1).toString(), QString("addcat"));
}

void TestPopupMenu::choose_data()
{
    QTest::addColumn<int>("downs");
    QTest::addColumn<int>("expected");
    // Keyboard order of the enabled entries: Add, Open, Exit (Bank and
    // Disabled are greyed and skipped; the first Down selects the first one).
    QTest::newRow("open") << 2 << 7;
    QTest::newRow("exit, past the disabled item") << 3 << 9;
    QTest::newRow("dismissed") << 0 << 0;
}

void TestPopupMenu::choose()
{
    QFETCH(int, downs);
    QFETCH(int, expected);
    PopupMenu menu;
    fill(menu);
    QSignalSpy chosen(&menu, &PopupMenu::itemChosen);
    QMenu *shown = menu.menu();
    QTimer::singleShot(50, shown, [shown, downs] {
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(shown, Qt::Key_Down);
        QTest::keyClick(shown, downs == 0 ? Qt::Key_Escape : Qt::Key_Return);
    });
    QCOMPARE(menu.exec(QPoint(20, 20)), expected);
    QCOMPARE(chosen.count(), expected == 0 ? 0 : 1);
    if (expected != 0)
        QCOMPARE(chosen.first().at(1).toString(), menu.key(expected));
}

void TestPopupMenu::rebuiltAfterChange()
{
    PopupMenu menu;
    fill(menu);
    QVERIFY(actionFor(menu.menu(), "Disabled") && !actionFor(menu.menu(), "Disabled")->isEnabled());
    menu.setEnabled(8, true);
    menu.setCaption(9, "&Quit");
    QVERIFY(actionFor(menu.menu(), "Disabled")->isEnabled());
    QVERIFY(actionFor(menu.menu(), "&Quit") != nullptr);
    QCOMPARE(menu.itemOf(actionFor(menu.menu(), "&Quit")), 9);
}

QTEST_MAIN(TestPopupMenu)
#include "test_popup_menu.moc"
