// Popup menu: 1-based items with keys and sub-menus, and the QMenu built from
// them as the user sees it.

#include "PopupMenu.h"
#include "ResourceImages.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QScreen>
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
    void largeMenus_data();
    void largeMenus();
    void sameContentKeepsMenu_data();
    void sameContentKeepsMenu();
    void tallMenuScrolls();

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

// A generated list: `categories` sub-menus of `perCategory` entries each, then
// `loose` top-level entries, a separator and "Exit". Keys name each entry.
static void fillLarge(PopupMenu &menu, int categories, int perCategory, int loose)
{
    menu.clear();
    for (int c = 0; c < categories; ++c) {
        const int title = menu.addItem(QString("Cat %1").arg(c, 3, 10, QChar('0')), "cat");
        for (int e = 0; e < perCategory; ++e)
            menu.addItem(QString("c%1 e%2").arg(c).arg(e), QString("k%1.%2").arg(c).arg(e), title);
    }
    for (int e = 0; e < loose; ++e)
        menu.addItem(QString("loose %1").arg(e, 4, 10, QChar('0')), QString("l%1").arg(e));
    menu.addItem("-");
    menu.addItem("&Exit", "close");
}

static QStringList texts(const QMenu *shownMenu)
{
    QStringList entries;
    for (const QAction *a : shownMenu->actions())
        entries << a->text();
    return entries;
}

// Large lists build their top level only, long runs come in groups; whatever
// was built when, each entry answers its own item and key.
void TestPopupMenu::largeMenus_data()
{
    QTest::addColumn<int>("categories");
    QTest::addColumn<int>("perCategory");
    QTest::addColumn<int>("loose");
    QTest::addColumn<bool>("filledAtOnce");
    QTest::addColumn<QStringList>("top");
    QTest::addColumn<int>("open");       // the top entry opened
    QTest::addColumn<QString>("chosen"); // the entry of it chosen
    QTest::addColumn<QString>("key");
    QTest::newRow("small: built whole")
        << 3 << 5 << 2 << true
        << QStringList({"Cat 000", "Cat 001", "Cat 002", "loose 0000", "loose 0001", "", "&Exit"})
        << 1 << "c1 e4"
        << "k1.4";
    QTest::newRow("large: sub-menus filled when opened")
        << 20 << 60 << 0 << false
        << (QStringList() <<
            [] {
                QStringList cats;
                for (int c = 0; c < 20; ++c)
                    cats << QString("Cat %1").arg(c, 3, 10, QChar('0'));
                return cats;
            }() << ""
                          << "&Exit")
        << 19 << "c19 e59"
        << "k19.59";
    QTest::newRow("long run: groups of consecutive entries")
        << 2 << 600 << 1100 << false
        << QStringList({"Cat 000 \u2013 loose 0497", "loose 0498 \u2013 loose 0997",
                        "loose 0998 \u2013 loose 1099", "", "&Exit"})
        << 0 << "Cat 001"
        << "";
    QTest::newRow("long run: an entry of a group")
        << 2 << 600 << 1100 << false << QStringList() << 1 << "loose 0500"
        << "l500";
}

void TestPopupMenu::largeMenus()
{
    QFETCH(int, categories);
    QFETCH(int, perCategory);
    QFETCH(int, loose);
    QFETCH(bool, filledAtOnce);
    QFETCH(QStringList, top);
    QFETCH(int, open);
    QFETCH(QString, chosen);
    QFETCH(QString, key);
    fillLarge(*menu, categories, perCategory, loose);
    QMenu *built = menu->menu();
    if (!top.isEmpty())
        QCOMPARE(texts(built), top);
    QMenu *sub = built->actions().at(open)->menu();
    QVERIFY(sub != nullptr);
    QCOMPARE(sub->isEmpty(), !filledAtOnce);
    Q_EMIT sub->aboutToShow(); // as QMenu does when it opens
    Q_EMIT sub->aboutToShow(); // and again: filled once only
    const QList<QAction *> entries = sub->actions();
    QVERIFY(!entries.isEmpty() && entries.size() <= PopupMenu::EntryLimit);
    QCOMPARE(texts(sub).count(chosen), 1);
    QAction *action = entries.at(texts(sub).indexOf(chosen));
    if (key.isEmpty()) {
        // A category inside a group: a sub-menu whose own long run is grouped.
        QVERIFY(action->menu() != nullptr);
        Q_EMIT action->menu()->aboutToShow();
        QCOMPARE(texts(action->menu()),
                 QStringList({"c1 e0 \u2013 c1 e499", "c1 e500 \u2013 c1 e599"}));
        QCOMPARE(menu->itemOf(action), 0);
        return;
    }
    const int item = menu->indexOf(key);
    QCOMPARE(menu->itemOf(action), item);
    QSignalSpy spy(menu.get(), &PopupMenu::itemChosen);
    action->trigger();
    QCOMPARE(spy.value(0), QVariantList({item, key}));
    // An action of an earlier build, or of no menu of this one, is no item.
    QAction stranger;
    stranger.setData(item);
    QCOMPARE(menu->itemOf(&stranger), 0);
}

// The tray fills the list again on every refresh: the menu already built
// stays unless something it shows changed.
void TestPopupMenu::sameContentKeepsMenu_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("kept");
    QTest::newRow("refilled alike") << "none" << true;
    QTest::newRow("caption deep in a lazy sub-menu") << "caption" << false;
    QTest::newRow("an entry disabled") << "enabled" << false;
    QTest::newRow("an entry more") << "added" << false;
    QTest::newRow("an entry removed") << "removed" << false;
    QTest::newRow("other pictures") << "images" << false;
}

void TestPopupMenu::sameContentKeepsMenu()
{
    QFETCH(QString, change);
    QFETCH(bool, kept);
    fillLarge(*menu, 20, 60, 10);
    QMenu *built = menu->menu();
    const QPointer<QAction> first = built->actions().constFirst();
    fillLarge(*menu, 20, 60, 10);
    const int deep = menu->indexOf("k19.59");
    if (change == "caption")
        menu->setCaption(deep, "renamed");
    else if (change == "enabled")
        menu->setEnabled(deep, false);
    else if (change == "added")
        menu->addItem("one more", "more", 1);
    else if (change == "removed")
        menu->removeItem(deep);
    else if (change == "images")
        menu->setImageList(resource_images::imageList(105));
    QCOMPARE(menu->menu(), built); // the same QMenu either way
    QCOMPARE(!first.isNull() && built->actions().constFirst() == first, kept);
    // Whatever was built, the last sub-menu shows the list as it is now.
    QMenu *last = menu->menu()->actions().at(19)->menu();
    Q_EMIT last->aboutToShow();
    QCOMPARE(texts(last).size(), change == "removed" ? 59 : 60);
    QCOMPARE(last->actions().constLast()->text(),
             change == "caption" ? "renamed" : (change == "removed" ? "c19 e58" : "c19 e59"));
    QCOMPARE(last->actions().constLast()->isEnabled(), change != "enabled");
}

// A menu taller than the screen scrolls in one column, its own and its
// sub-menus alike, so its last entries stay within reach.
void TestPopupMenu::tallMenuScrolls()
{
    fillLarge(*menu, 1, 300, 300);
    QMenu *built = menu->menu();
    QMenu *sub = built->actions().constFirst()->menu();
    Q_EMIT sub->aboutToShow();
    for (QMenu *shownMenu : {built, sub}) {
        shownMenu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(shownMenu));
        const QList<QAction *> entries = shownMenu->actions();
        QCOMPARE(shownMenu->actionGeometry(entries.constLast()).x(),
                 shownMenu->actionGeometry(entries.constFirst()).x());
        QVERIFY(shownMenu->height() <= shownMenu->screen()->availableGeometry().height());
        shownMenu->close();
    }
}

QTEST_MAIN(TestPopupMenu)
#include "test_popup_menu.moc"
