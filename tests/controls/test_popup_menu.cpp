// Popup menu: 1-based items with keys and sub-menus, and the QMenu built from
// them as the user sees it.

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
    void init();
    void items();
    void builtMenu();

private:
    std::unique_ptr<PopupMenu> menu;
};

// A tray-like menu: a category with a service, an "Add" sub-menu, a separator.
void TestPopupMenu::init()
{
    menu = std::make_unique<PopupMenu>();
    menu->setImageList(resource_images::imageList(105));
    menu->addItem("Bank", "cat1", 0, "CFOLDER", false);                // 1
    menu->addItem("My bank", "srvMy bank", 1, "PW");                   // 2
    menu->addItem("&Add", "add");                                      // 3
    menu->addItem("&Password", "addpw", 3, "PADD", true, false, true); // 4
    menu->addItem("&Category", "addcat", 3);                           // 5
    menu->addItem("-");                                                // 6
    menu->addItem("&Open VLM", "open", 0, "VLM", true, false, true);   // 7
    menu->addItem("Disabled", "off", 0, {}, false);                    // 8
    menu->addItem("&Exit VLM", "close");                               // 9
}

void TestPopupMenu::items()
{
    QCOMPARE(menu->indexOf("addpw"), 4);
    QCOMPARE(menu->indexOf("nope"), 0);
    // Out of range: setters do nothing, getters answer empty; a separator or
    // a missing item cannot be a parent.
    menu->setEnabled(10, true);
    QCOMPARE(menu->caption(10), QString());
    QVERIFY(!menu->enabled(0));
    QCOMPARE(menu->itemOf(nullptr), 0);
    QCOMPARE(menu->addItem("x", "x", 6), 0);
    QCOMPARE(menu->addItem("x", "x", 42), 0);

    // An item goes with its whole branch; the later ones move up with their parents.
    QCOMPARE(menu->addItem("Inner", "inner", 2), 10); // "My bank" becomes a sub-menu
    QVERIFY(!menu->removeItem(0));
    QVERIFY(!menu->removeItem(11));
    QVERIFY(menu->removeItem(1));
    QCOMPARE(menu->count(), 7);
    QCOMPARE(menu->indexOf("inner"), 0);
    QCOMPARE(menu->key(1), QString("add"));
    QCOMPARE(menu->parentItem(3), 1);
    menu->clear();
    QCOMPARE(menu->addItem("again"), 1);
}

void TestPopupMenu::builtMenu()
{
    // Each entry as the user sees it: caption, sub-menu, greyed, bold, icon, tick.
    const auto shown = [](const QMenu *shownMenu) {
        QStringList entries;
        for (const QAction *a : shownMenu->actions()) {
            entries << a->text() + (a->menu() ? " >" : "") + (a->isEnabled() ? "" : " grey") +
                           (a->font().bold() ? " bold" : "") + (a->icon().isNull() ? "" : " icon") +
                           (a->isChecked() ? " ticked" : "");
        }
        return entries;
    };
    const QList<QAction *> top = menu->menu()->actions();
    QCOMPARE(shown(menu->menu()),
             QStringList({"Bank > grey icon", "&Add >", "", "&Open VLM bold icon", "Disabled grey",
                          "&Exit VLM"}));
    QCOMPARE(shown(top[1]->menu()), QStringList({"&Password bold icon", "&Category"}));
    QCOMPARE(menu->itemOf(top[3]), 7);
    QCOMPARE(menu->itemOf(top[1]), 0); // a sub-menu title is not a choice
    QSignalSpy chosen(menu.get(), &PopupMenu::itemChosen);
    top[1]->menu()->actions()[1]->trigger();
    QCOMPARE(chosen.value(0), QVariantList({5, "addcat"}));

    // Each change shows in the menu built next.
    menu->setImage(9, "PW");
    QCOMPARE(shown(menu->menu()).last(), QString("&Exit VLM icon"));
    menu->setChecked(9, true);
    menu->setEnabled(8, true);
    menu->setCaption(9, "&Quit");
    QCOMPARE(shown(menu->menu()).mid(4), QStringList({"Disabled", "&Quit icon ticked"}));
    QCOMPARE(menu->itemOf(menu->menu()->actions()[5]), 9);
    // Shown and dismissed, it answers no item.
    QTimer::singleShot(50, [this] { QTest::keyClick(menu->menu(), Qt::Key_Escape); });
    QCOMPARE(menu->exec(QPoint(20, 20)), 0);
}

QTEST_MAIN(TestPopupMenu)
#include "test_popup_menu.moc"
