// The password grid over a real store and tree: its columns and menus, the
// rows of each branch, status icons and date colours by today's date,
// sorting with its header arrows and menu checks, and the default action.

#include "CategoryTree.h"
#include "Grid.h"
#include "PasswordGrid.h"
#include "ResourceImages.h"
#include "TestServices.h"
#include "Tree.h"

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

const QDate Today(2026, 12, 7);

struct Fixture
{
    TestServices t;
    controls::Tree tree;
    controls::Grid grid;
    CategoryTree categories{tree, t.state};
    PasswordGrid passwords{grid, tree, categories, t.services};
    std::shared_ptr<controls::ImageList> images = controls::resource_images::imageList(101);
    QList<MainCommand> commands;

    Fixture()
    {
        t.clock.set(QDateTime(Today, QTime(9, 0)));
        t.state.Store->NewFile();
        categories.setFillGrid([this](int node) { passwords.FillGrid(node); });
        categories.setGridSource(&grid);
        passwords.setImages(images, controls::resource_images::imageList(102));
        passwords.SetupGridColumns();
        QObject::connect(&passwords, &PasswordGrid::commandRequested,
                         [this](MainCommand command) { commands << command; });
        grid.resize(900, 400);
        grid.show();
    }

    PasswordStore &store() { return *t.state.Store; }

    PasswordEntry &add(const QString &service, qint16 codcat = 0, qint16 CodSCat = 0)
    {
        PasswordEntry entry;
        entry.service = service;
        entry.codcat = codcat;
        entry.CodSCat = CodSCat;
        entry.UserName = service + QStringLiteral("-user");
        entry.Password = service + QStringLiteral("-pw");
        entry.URL = QStringLiteral("https://") + service + QStringLiteral(".example");
        pending << entry;
        return pending.last();
    }

    void commit()
    {
        for (const PasswordEntry &entry : pending) {
            store().AddPassword(entry);
        }
        pending.clear();
        categories.LoadTree();
        passwords.FillGrid(tree.firstNode());
    }

    int column(const char *key) const { return grid.columnIndex(QString::fromUtf8(key)); }

    QStringList services() const
    {
        QStringList names;
        for (int row = 1; row <= grid.rowCount(); ++row) {
            names << grid.cellText(row, column("Service"));
        }
        return names;
    }

    int row(const QString &service) const
    {
        return static_cast<int>(services().indexOf(service)) + 1;
    }

    QList<PasswordEntry> pending;
};

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *item : menu->actions()) {
        texts << item->text();
    }
    return texts;
}

} // namespace

class TestPasswordGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columns();
    void menus();
    void branches_data();
    void branches();
    void allRecordsWithoutTreeView();
    void cells();
    void status_data();
    void status();
    void headerSortToggles();
    void iconColumnsSortByStatus();
    void hideColumn();
    void columnPopupForService();
    void defaultAction_data();
    void defaultAction();
    void keys();
};

void TestPasswordGrid::columns()
{
    Fixture f;
    const QStringList keys{"group1",    "group2", "group3",  "Service", "UserName", "Password",
                           "URL",       "Expire", "ExpDate", "ExpURL",  "Change",   "ChangeDate",
                           "ChangeURL", "Cat",    "SubCat",  "Notes"};
    QCOMPARE(f.grid.columnCount(), keys.size());
    for (int c = 1; c <= f.grid.columnCount(); ++c) {
        QCOMPARE(f.grid.columnKey(c), keys.at(c - 1));
    }
    QCOMPARE(f.grid.columnHeader(QStringLiteral("UserName")), QStringLiteral("User Name"));
    QCOMPARE(f.grid.columnHeader(QStringLiteral("ChangeDate")), QStringLiteral("Chg. Date"));
    QCOMPARE(f.grid.columnHeader(QStringLiteral("SubCat")), QStringLiteral("Sub Category"));
    for (const char *group : {"group1", "group2", "group3"}) {
        QVERIFY(!f.grid.columnVisible(f.column(group)));
        QVERIFY(!f.grid.columnInSelection(f.column(group)));
    }
    QVERIFY(f.grid.columnFixedWidth(f.column("Service")));
    QCOMPARE(f.grid.columnWidth(QStringLiteral("Expire")), 26);
    QCOMPARE(f.grid.columnHeaderImage(QStringLiteral("Expire")),
             f.images->index(QStringLiteral("PDELETE")));
    QCOMPARE(f.grid.columnHeaderImage(QStringLiteral("Change")),
             f.images->index(QStringLiteral("PEDIT")));
    QCOMPARE(f.grid.columnSortCode(QStringLiteral("Expire")), 300);
    QVERIFY(!f.grid.columnInSelection(f.column("Change")));
    QCOMPARE(f.grid.columnSortCode(QStringLiteral("ExpDate")), 200);
    QCOMPARE(f.grid.columnFormat(f.column("ChangeDate")), QStringLiteral("dd/mm/yyyy"));
    QVERIFY(f.grid.columnIsRowText(f.column("Notes")));
    QCOMPARE(f.grid.defaultRowHeight(), 16);
}

void TestPasswordGrid::menus()
{
    Fixture f;
    const QStringList sortable{"Service",   "User Name", "Password", "URL",
                               "Expire",    "Exp. Date", "Exp. URL", "Change",
                               "Chg. Date", "Chg. URL",  "Category", "Sub Category"};
    QCOMPARE(captions(f.passwords.sortMenu()), sortable);
    QStringList hideable = sortable;
    hideable.removeFirst();
    QCOMPARE(captions(f.passwords.columnMenu()), hideable);
    for (const QAction *item : f.passwords.columnMenu()->actions()) {
        QVERIFY(item->isChecked());
    }
    QCOMPARE(captions(f.passwords.sortOrderMenu()), (QStringList{"&Ascending", "&Descending"}));
    QStringList popup;
    for (const QAction *item : f.passwords.columnPopup()->actions()) {
        popup << (item->isSeparator() ? QStringLiteral("-") : item->text()) +
                     (item->isVisible() ? QString() : QStringLiteral(" (hidden)"));
    }
    QCOMPARE(popup, (QStringList{"&Hide Column", "&Group By (hidden)", "-", "Sort &Ascending",
                                 "Sort &Descending"}));
}

void TestPasswordGrid::branches_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<QStringList>("expected");
    // Banks is category 1 with subcategory Private 1; Mail is category 2.
    QTest::newRow("root") << "Root" << QStringList{"a-loose", "b-bank", "c-private", "d-mail"};
    QTest::newRow("no category") << "C0" << QStringList{"a-loose"};
    QTest::newRow("category, every subcategory") << "C1" << QStringList{"b-bank", "c-private"};
    QTest::newRow("no subcategory") << "S0C1" << QStringList{"b-bank"};
    QTest::newRow("subcategory") << "S1C1" << QStringList{"c-private"};
    QTest::newRow("other category") << "C2" << QStringList{"d-mail"};
}

void TestPasswordGrid::branches()
{
    QFETCH(QString, node);
    QFETCH(QStringList, expected);
    Fixture f;
    QVERIFY(f.store().AddCategory(QStringLiteral("Banks")));
    QVERIFY(f.store().AddCategory(QStringLiteral("Mail")));
    QVERIFY(f.store().AddSubCategory(1, QStringLiteral("Private")));
    f.add(QStringLiteral("a-loose"));
    f.add(QStringLiteral("b-bank"), 1);
    f.add(QStringLiteral("c-private"), 1, 1);
    f.add(QStringLiteral("d-mail"), 2);
    f.commit();
    const int index = f.tree.nodeIndex(node);
    QVERIFY(index != 0);
    f.tree.setSelectedNode(index);
    f.passwords.FillGrid(index);
    QCOMPARE(f.services(), expected);
    QCOMPARE(f.categories.currentNodeKey, node);
}

void TestPasswordGrid::allRecordsWithoutTreeView()
{
    Fixture f;
    QVERIFY(f.store().AddCategory(QStringLiteral("Banks")));
    f.add(QStringLiteral("a-loose"));
    f.add(QStringLiteral("b-bank"), 1);
    f.commit();
    f.passwords.setTreeViewChecked(false);
    f.passwords.FillGrid(f.tree.nodeIndex(QStringLiteral("C1")));
    QCOMPARE(f.services(), (QStringList{"a-loose", "b-bank"}));
}

void TestPasswordGrid::cells()
{
    Fixture f;
    QVERIFY(f.store().AddCategory(QStringLiteral("Banks")));
    QVERIFY(f.store().AddSubCategory(1, QStringLiteral("Private")));
    PasswordEntry &e = f.add(QStringLiteral("bank"), 1, 1);
    e.ExpURL = QStringLiteral("https://bank.example/close");
    e.Notes = QStringLiteral("PIN letter in the drawer");
    f.t.options.ShowNotes = true;
    f.commit();
    const int row = f.row(QStringLiteral("bank"));
    QCOMPARE(f.grid.cellText(row, f.column("UserName")), QStringLiteral("bank-user"));
    QCOMPARE(f.grid.cellText(row, f.column("Password")), QStringLiteral("bank-pw"));
    QCOMPARE(f.grid.cellText(row, f.column("Cat")), QStringLiteral("Banks"));
    QCOMPARE(f.grid.cellText(row, f.column("SubCat")), QStringLiteral("Private"));
    QVERIFY(f.grid.cellFont(row, f.column("Service")).bold());
    QVERIFY(f.grid.cellFont(row, f.column("URL")).underline());
    QVERIFY(f.grid.cellFont(row, f.column("ExpURL")).underline());
    QVERIFY(!f.grid.cellFont(row, f.column("UserName")).underline());
    QCOMPARE(f.grid.rowText(row), QStringLiteral("PIN letter in the drawer"));
    QCOMPARE(f.grid.cellForeColour(row, f.column("Notes")), QColor(128, 128, 128));
    QCOMPARE(f.grid.rowHeight(row), f.grid.rowTextHeight(row) + 16);
    QCOMPARE(f.passwords.GetSelectedService(), QString());
    f.grid.setSelectedRow(row);
    QCOMPARE(f.passwords.GetSelectedService(), QStringLiteral("bank"));
    QVERIFY(f.passwords.rowSelected);
}

void TestPasswordGrid::status_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("inDays");
    QTest::addColumn<int>("notice");
    QTest::addColumn<QString>("icon"); // "" for none
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("dateShown");
    const QColor red(255, 0, 0), yellow(255, 255, 0), green(0, 255, 0);
    QTest::newRow("passed") << true << -3 << 5 << "ALERT" << red << true;
    QTest::newRow("today") << true << 0 << 5 << "ALERT" << red << true;
    QTest::newRow("last day of notice") << true << 5 << 5 << "WARNING" << yellow << true;
    QTest::newRow("day before notice") << true << 6 << 5 << "" << green << true;
    QTest::newRow("no notice period") << true << 1 << 0 << "" << green << true;
    QTest::newRow("not active, date passed") << false << -3 << 5 << "" << green << false;
}

void TestPasswordGrid::status()
{
    QFETCH(bool, active);
    QFETCH(int, inDays);
    QFETCH(int, notice);
    QFETCH(QString, icon);
    QFETCH(QColor, colour);
    QFETCH(bool, dateShown);
    Fixture f;
    PasswordEntry &e = f.add(QStringLiteral("svc"));
    e.blExpire = active;
    e.Dt_Expire = Today.addDays(inDays);
    e.ggNotExpire = static_cast<qint16>(notice);
    e.blChange = active;
    e.Dt_Change = Today.addDays(inDays);
    e.ggNotChange = static_cast<qint16>(notice);
    f.commit();
    const int expected = icon.isEmpty() ? 0 : f.images->index(icon);
    for (const auto &[iconColumn, dateColumn] :
         {std::pair{"Expire", "ExpDate"}, std::pair{"Change", "ChangeDate"}}) {
        QCOMPARE(f.grid.cellImage(1, f.column(iconColumn)), expected);
        QCOMPARE(f.grid.cellText(1, f.column(dateColumn)),
                 dateShown ? Today.addDays(inDays).toString(QStringLiteral("dd/MM/yyyy"))
                           : QString());
        if (dateShown) {
            QCOMPARE(f.grid.cellForeColour(1, f.column(dateColumn)), colour);
        }
    }
}

void TestPasswordGrid::headerSortToggles()
{
    Fixture f;
    f.add(QStringLiteral("b"));
    f.add(QStringLiteral("c"));
    f.add(QStringLiteral("a"));
    f.commit();
    const int service = f.column("Service");
    const int user = f.column("UserName");
    const int asc = f.images->index(QStringLiteral("ASC"));
    const int desc = f.images->index(QStringLiteral("DESC"));
    const auto checkedSort = [&f] {
        QStringList checked;
        for (const QAction *item : f.passwords.sortMenu()->actions()) {
            if (item->isChecked()) {
                checked << item->data().toString();
            }
        }
        return checked;
    };
    f.passwords.SortGrid(service, false, false, 0);
    QCOMPARE(f.services(), (QStringList{"a", "b", "c"}));
    QCOMPARE(f.grid.columnHeaderImage(service), asc);
    QVERIFY(f.passwords.orderAscendingItem()->isChecked());
    QCOMPARE(checkedSort(), QStringList{"Service"});
    f.passwords.SortGrid(service, false, false, 0);
    QCOMPARE(f.services(), (QStringList{"c", "b", "a"}));
    QCOMPARE(f.grid.columnHeaderImage(service), desc);
    QVERIFY(f.passwords.orderDescendingItem()->isChecked());
    QVERIFY(!f.passwords.orderAscendingItem()->isChecked());

    // The arrow moves; the sort survives a refill.
    f.passwords.SortGrid(user, false, false, 0);
    QCOMPARE(f.grid.columnHeaderImage(service), 0);
    QCOMPARE(f.grid.columnHeaderImage(user), asc);
    QCOMPARE(checkedSort(), QStringList{"UserName"});
    f.passwords.SortGrid(user, false, true, 2);
    f.passwords.FillGrid(f.tree.firstNode());
    QCOMPARE(f.services(), (QStringList{"c", "b", "a"}));

    // Through the header itself.
    QTableView *table = f.grid.findChild<QTableView *>();
    QHeaderView *header = table->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(service - 1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(f.services(), (QStringList{"a", "b", "c"}));

    // Choosing the "&Sort" item already checked keeps the sort as it is.
    f.passwords.sortMenu()->actions().constFirst()->trigger();
    f.passwords.FillGrid(f.tree.firstNode());
    QCOMPARE(f.services(), (QStringList{"a", "b", "c"}));
    QCOMPARE(f.grid.columnHeaderImage(service), asc);
    QCOMPARE(checkedSort(), QStringList{"Service"});
}

void TestPasswordGrid::iconColumnsSortByStatus()
{
    Fixture f;
    PasswordEntry &fine = f.add(QStringLiteral("fine"));
    fine.blExpire = true;
    fine.Dt_Expire = Today.addDays(100);
    PasswordEntry &late = f.add(QStringLiteral("late"));
    late.blExpire = true;
    late.Dt_Expire = Today.addDays(-1);
    PasswordEntry &soon = f.add(QStringLiteral("soon"));
    soon.blExpire = true;
    soon.Dt_Expire = Today.addDays(2);
    soon.ggNotExpire = 5;
    f.commit();
    const int expire = f.column("Expire");
    f.passwords.SortGrid(expire, false, true, 2);
    QCOMPARE(f.services(), (QStringList{"late", "soon", "fine"}));
    f.passwords.SortGrid(expire, false, true, 1);
    QCOMPARE(f.services(), (QStringList{"fine", "soon", "late"}));
    // Icon columns have no caption: they keep their own header icon.
    QCOMPARE(f.grid.columnHeaderImage(expire), f.images->index(QStringLiteral("PDELETE")));
    f.passwords.SortGrid(f.column("Service"), false, false, 0);
    QCOMPARE(f.grid.columnHeaderImage(expire), f.images->index(QStringLiteral("PDELETE")));
    QCOMPARE(f.grid.columnHeaderImage(f.column("Change")),
             f.images->index(QStringLiteral("PEDIT")));
}

void TestPasswordGrid::hideColumn()
{
    Fixture f;
    QAction *password = nullptr;
    for (QAction *item : f.passwords.columnMenu()->actions()) {
        if (item->data().toString() == QStringLiteral("Password")) {
            password = item;
        }
    }
    QVERIFY(password != nullptr);
    password->trigger();
    QVERIFY(!password->isChecked());
    QVERIFY(!f.grid.columnVisible(QStringLiteral("Password")));
    f.passwords.toggleColumn(password);
    QVERIFY(password->isChecked());
    QVERIFY(f.grid.columnVisible(QStringLiteral("Password")));
}

void TestPasswordGrid::columnPopupForService()
{
    Fixture f;
    f.add(QStringLiteral("a"));
    f.commit();
    bool hideEnabled = true;
    QTimer::singleShot(0, &f.grid, [&] {
        hideEnabled = f.passwords.hideColumnItem()->isEnabled();
        f.passwords.columnPopup()->close();
    });
    const auto [left, right] = f.grid.columnSpan(f.column("Service"));
    f.passwords.showColumnPopup(QPoint((left + right) / 2, 5));
    QVERIFY(!hideEnabled);
    QCOMPARE(f.passwords.headerColumn, f.column("Service"));
    QCOMPARE(f.passwords.headerChoice, -1);

    // Choosing "&Hide Column" on another column hides it.
    QTimer::singleShot(0, &f.grid, [&] {
        QVERIFY(f.passwords.hideColumnItem()->isEnabled());
        f.passwords.columnPopup()->setActiveAction(f.passwords.hideColumnItem());
        QTest::keyClick(f.passwords.columnPopup(), Qt::Key_Return);
    });
    const auto [userLeft, userRight] = f.grid.columnSpan(f.column("UserName"));
    f.passwords.showColumnPopup(QPoint((userLeft + userRight) / 2, 5));
    QCOMPARE(f.passwords.headerChoice, 0);
    QVERIFY(!f.grid.columnVisible(QStringLiteral("UserName")));
}

void TestPasswordGrid::defaultAction_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("command");
    QTest::newRow("edit") << 1 << int(MainCommand::PasswordEdit);
    QTest::newRow("copy password") << 2 << int(MainCommand::EditCopyPassword);
    QTest::newRow("copy user and password") << 3 << int(MainCommand::EditCopyUserPassword);
    QTest::newRow("copy URL") << 4 << int(MainCommand::EditCopyUrl);
    QTest::newRow("open URL") << 5 << int(MainCommand::EditExecuteUrl);
    QTest::newRow("anything else") << 6 << -1;
}

void TestPasswordGrid::defaultAction()
{
    QFETCH(int, option);
    QFETCH(int, command);
    Fixture f;
    f.t.options.DefaultGridAction = static_cast<qint16>(option);
    f.add(QStringLiteral("mail"));
    f.commit();
    f.grid.setSelectedRow(1);
    const QPoint at = f.grid.cellRect(1, f.column("UserName")).center();
    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(f.commands, command < 0 ? QList<MainCommand>{}
                                     : QList<MainCommand>{static_cast<MainCommand>(command)});
}

void TestPasswordGrid::keys()
{
    Fixture f;
    f.t.options.DefaultGridAction = 2;
    f.add(QStringLiteral("mail"));
    f.commit();
    // Tabbing in selects the row with the focus frame, so the keys act on it
    // at once (with one row the arrows could not select it either).
    QWidget *view = f.grid.findChild<QTableView *>();
    f.grid.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.grid));
    view->setFocus(Qt::TabFocusReason);
    QVERIFY(f.passwords.rowSelected);
    QCOMPARE(f.passwords.GetSelectedService(), QStringLiteral("mail"));
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_F4);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(f.commands, (QList<MainCommand>{MainCommand::PasswordDelete, MainCommand::PasswordEdit,
                                             MainCommand::EditCopyPassword}));

    // Typed letters go to the next row whose service, or else user name,
    // starts with them; quick letters make one prefix, a pause starts anew.
    f.add(QStringLiteral("music"));
    f.add(QStringLiteral("alpha")).UserName = QStringLiteral("Zed");
    f.add(QStringLiteral("mare"));
    f.commit();
    QApplication::setKeyboardInputInterval(60000);
    QTest::keyClicks(view, QStringLiteral("mu"));
    QCOMPARE(f.passwords.GetSelectedService(), QStringLiteral("music"));
    QApplication::setKeyboardInputInterval(0);
    QTest::keyClicks(view, QStringLiteral("z"));
    QCOMPARE(f.passwords.GetSelectedService(), QStringLiteral("alpha"));
    QStringList stepped;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClicks(view, QStringLiteral("m"));
        stepped << f.passwords.GetSelectedService();
    }
    stepped.sort();
    QCOMPARE(stepped, (QStringList{"mail", "mare", "music"}));
}

QTEST_MAIN(TestPasswordGrid)
#include "test_password_grid.moc"
