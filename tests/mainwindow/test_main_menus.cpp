// The main window's menus, toolbar and commands as a user meets them: every
// entry's caption, shortcut, visibility and enabled state with no file, with
// a file and no row, and with a row with and without a link; then what the
// table cannot show (Paste as New after Copy and refresh, Cut then Paste,
// Reload by position, menu icons switched on and off, shortcuts).

#include "frmMain.h"
#include "frmPW.h"
#include "Grid.h"
#include "MainMenus.h"
#include "PasswordGrid.h"
#include "TestRoutines.h"
#include "Tree.h"

#include <array>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using platform::PromptAnswer;

namespace {

// The four situations of the table, in its column order.
enum Situation
{
    NoFile,
    NoRow,
    RowWithUrl,
    RowWithoutUrl,
};

struct Fixture : TestRoutines
{
    std::unique_ptr<frmMain> window;

    Fixture()
    {
        t.options.ViewTips = false;
        t.state.FirstStart = false;
        window = std::make_unique<frmMain>(t.services, routines);
        t.state.setCurrentMainWindow(window.get());
        window->Load();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    ~Fixture()
    {
        t.state.setCurrentMainWindow(nullptr);
        t.state.TrayMode = true; // closing asks nothing
        window->close();
    }

    MainMenus &menus() const { return *window->menus(); }
    QAction *item(const char *menu, int index) const
    {
        return menus().item(QString::fromLatin1(menu), index);
    }

    // "mail" with a link, "bank" with only an expire link.
    void openFile()
    {
        t.state.Store->NewFile();
        PasswordEntry mail;
        mail.service = QStringLiteral("mail");
        mail.Password = QStringLiteral("mail-pw");
        mail.URL = QStringLiteral("https://mail.example");
        mail.ChangeURL = QStringLiteral("https://mail.example/change");
        PasswordEntry bank;
        bank.service = QStringLiteral("bank");
        bank.URL = QStringLiteral("   ");
        bank.ExpURL = QStringLiteral("https://bank.example/close");
        QVERIFY(t.state.Store->AddPassword(mail));
        QVERIFY(t.state.Store->AddPassword(bank));
        window->UpdateView(0);
    }

    void select(const QString &service) const
    {
        controls::Grid &grid = *window->grid();
        for (int row = 1; row <= grid.rowCount(); ++row) {
            if (grid.cellText(row, grid.columnIndex(QStringLiteral("Service"))) == service) {
                grid.setSelectedRow(row);
            }
        }
    }

    void reach(Situation situation)
    {
        if (situation != NoFile) {
            openFile();
        }
        if (situation == RowWithUrl) {
            select(QStringLiteral("mail"));
        } else if (situation == RowWithoutUrl) {
            select(QStringLiteral("bank"));
        }
    }

    void press(int key) const { QTest::keyClick(window.get(), Qt::Key(key), Qt::ControlModifier); }
};

// 'h' hidden, 'd' shown but disabled, 'e' shown and enabled.
QChar stateOf(bool visible, bool enabled)
{
    return QLatin1Char(!visible ? 'h' : enabled ? 'e' : 'd');
}

} // namespace

class TestMainMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void menuItems_data();
    void menuItems();
    void toolbar_data();
    void toolbar();
    void pasteFollowsCopyAndRefresh();
    void cutThenPaste();
    void reloadByPosition();
    void menuIcons();
    void viewItems();
    void shortcutsNeedTheirItem();

private:
    // One window per situation, shared by the rows of the two tables.
    std::array<std::unique_ptr<Fixture>, 4> m_situations;
};

void TestMainMenus::initTestCase()
{
    for (const Situation situation : {NoFile, NoRow, RowWithUrl, RowWithoutUrl}) {
        m_situations.at(situation) = std::make_unique<Fixture>();
        m_situations.at(situation)->reach(situation);
    }
}

void TestMainMenus::cleanupTestCase()
{
    for (auto &fixture : m_situations) {
        fixture.reset();
    }
}

void TestMainMenus::menuItems_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("states"); // no file, no row, row with URL, row without
    const auto row = [](const char *menu, int index, const char *caption, const char *shortcut,
                        const char *states) {
        QTest::addRow("%s(%d)", menu, index)
            << QString::fromLatin1(menu) << index << QString::fromLatin1(caption)
            << QString::fromLatin1(shortcut) << QString::fromLatin1(states);
    };
    row("mnuFile", 0, "&New...", "Ctrl+N", "eeee");
    row("mnuFile", 1, "&Open...", "Ctrl+O", "eeee");
    row("mnuFile", 2, "&Reload ", "", "eeee");
    row("mnuReload", 0, "", "", "dddd");
    row("mnuFile", 3, "&Save", "Ctrl+S", "heee");
    row("mnuFile", 4, "Save &As...", "", "heee");
    row("mnuFile", 5, "", "", "heee");
    row("mnuFile", 6, "&Import Cat/SubC...", "", "heee");
    row("mnuFile", 7, "&Export...", "", "hhhh");
    row("mnuFile", 8, "", "", "hhhh");
    row("mnuFile", 9, "Pre&view", "", "hhhh");
    row("mnuFile", 10, "&Print", "", "hhhh");
    row("mnuFile", 11, "", "", "eeee");
    row("mnuFile", 12, "&Exit", "", "eeee");
    row("mnuEdit", 0, "Cu&t", "Ctrl+X", "hdee");
    row("mnuEdit", 1, "&Copy", "Ctrl+C", "hdee");
    row("mnuEdit", 2, "&Paste as New", "Ctrl+V", "hddd");
    row("mnuEdit", 3, "", "", "heee");
    row("mnuEdit", 4, "Copy Pass&word", "", "hdee");
    row("mnuEdit", 5, "Copy &User/Password", "", "hdee");
    row("mnuEdit", 6, "Copy &URL", "", "hded");
    row("mnuEdit", 7, "", "", "heee");
    row("mnuEdit", 8, "&Execute URL", "", "hded");
    row("mnuEdit", 9, "Exec. Expire-PW URL", "", "hdde");
    row("mnuEdit", 10, "Exec. Change-PW URL", "", "hded");
    row("mnuView", 0, "&Toolbar", "", "eeee");
    row("mnuView", 1, "&StatusBar", "", "eeee");
    row("mnuView", 2, "&Tree View", "", "eeee");
    row("mnuView", 3, "", "", "heee");
    row("mnuView", 4, "&Column", "", "heee");
    row("mnuView", 5, "&Sort", "", "heee");
    row("mnuView", 6, "Sort &Order", "", "heee");
    row("mnuSortOrder", 0, "&Ascending", "", "heee");
    row("mnuSortOrder", 1, "&Descending", "", "heee");
    row("mnuPassword", 0, "&Add ...", "", "heee");
    row("mnuPassword", 1, "&Edit ....", "", "hdee");
    row("mnuPassword", 2, "&Delete ...", "", "hdee");
    row("mnuPassword", 3, "C&hange Cat/Sub", "", "hhhh");
    row("mnuPassword", 4, "", "", "heee");
    row("mnuPassword", 5, "&Category Edit ...", "", "heee");
    row("mnuPassword", 6, "&Sub Category Edit ...", "", "heee");
    row("mnuPassword", 7, "", "", "heee");
    row("mnuPassword", 8, "Check Exp./Change", "", "heee");
    row("mnuOption", 0, "&Program Option ...", "", "eeee");
    row("mnuOption", 1, "&Add/Change File Password ...", "", "heee");
    row("mnuOption", 2, "", "", "eeee");
    row("mnuOption", 3, "Save View Options Now", "", "eeee");
    row("mnuOption", 4, "Go to System &Tray", "", "eeee");
    row("mnuHelp", 0, "&Contents", "", "hhhh");
    row("mnuHelp", 1, "&Search For Help On...", "", "hhhh");
    row("mnuHelp", 2, "", "", "hhhh");
    row("mnuHelp", 3, "&WWW Link & Mail", "", "eeee");
    row("mnuHelpWeb", 0, "Go To &Homepage", "", "eeee");
    row("mnuHelpWeb", 1, "&Email me...", "", "eeee");
    row("mnuHelp", 4, "", "", "eeee");
    row("mnuHelp", 5, "&About VLM...", "", "eeee");
    // The popups show only on a click: their captions here, their link
    // entries when the record popup opens.
    const QStringList popup =
        QStringLiteral("&Execute URL|Exec. Expire-PW URL|Exec. Change-PW URL||&Cut|&Copy|"
                       "&Paste as New||Copy Pass&word|Copy &User/Password|Copy &URL||"
                       "&Add Password|&Edit|&Delete")
            .split(QLatin1Char('|'));
    for (int i = 0; i < popup.size(); ++i) {
        QTest::addRow("mnuPopup(%d)", i)
            << QStringLiteral("mnuPopup") << i << popup.at(i) << QString() << QString();
    }
    row("mnuPopupCol", 0, "&Hide Column", "", "");
    row("mnuPopupCol", 1, "&Group By", "", "");
    row("mnuPopupCol", 3, "Sort &Ascending", "", "");
    row("mnuPopupCol", 4, "Sort &Descending", "", "");
}

void TestMainMenus::menuItems()
{
    QFETCH(QString, menu);
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(QString, states);
    for (const Situation situation : {NoFile, NoRow, RowWithUrl, RowWithoutUrl}) {
        const Fixture &f = *m_situations.at(situation);
        const QAction *action = f.menus().item(menu, index);
        QVERIFY(action != nullptr);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(), shortcut);
        if (!states.isEmpty()) {
            QCOMPARE(stateOf(f.menus().itemVisible(menu, index), action->isEnabled()),
                     states.at(situation));
        }
    }
}

void TestMainMenus::toolbar_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("states");
    const auto row = [](const char *key, const char *tooltip, const char *states) {
        QTest::newRow(key) << QString::fromLatin1(key) << QString::fromLatin1(tooltip)
                           << QString::fromLatin1(states);
    };
    row("new", "New File", "eeee");
    row("open", "Open File", "eeee");
    row("save", "Save File", "deee");
    row("sep1", "", "hhhh");
    row("preview", "Preview", "hhhh");
    row("print", "Print", "hhhh");
    row("sep2", "", "hhhh");
    row("cut", "Cut", "deee");
    row("copy", "Copy", "deee");
    row("paste", "Paste", "deee");
    row("sep3", "", "deee");
    row("search", "Search", "hhhh");
    row("sep4", "", "deee");
    row("add", "Add Password", "deee");
    row("edit", "Edit Password", "deee");
    row("del", "Delete Password", "deee");
    row("sep5", "", "deee");
    row("help", "Help", "eeee");
    row("what", "What's this?", "eeee");
}

void TestMainMenus::toolbar()
{
    QFETCH(QString, key);
    QFETCH(QString, tooltip);
    QFETCH(QString, states);
    for (const Situation situation : {NoFile, NoRow, RowWithUrl, RowWithoutUrl}) {
        const Fixture &f = *m_situations.at(situation);
        const QAction *button = f.menus().toolButton(key);
        QVERIFY(button != nullptr);
        QCOMPARE(button->isSeparator(), tooltip.isEmpty());
        if (!tooltip.isEmpty()) {
            QCOMPARE(button->toolTip(), tooltip);
            QVERIFY(!button->icon().isNull());
            QVERIFY(button->text().isEmpty() || button->text() == tooltip);
        }
        QCOMPARE(stateOf(button->isVisible(), button->isEnabled()), states.at(situation));
    }
}

void TestMainMenus::pasteFollowsCopyAndRefresh()
{
    Fixture f;
    f.reach(RowWithUrl);
    QAction *paste = f.item("mnuEdit", 2);
    QVERIFY(!paste->isEnabled());
    f.press(Qt::Key_C);
    QVERIFY(paste->isEnabled());
    QCOMPARE(f.t.state.ClipboardEntry()->Password, QStringLiteral("mail-pw"));
    f.window->UpdateView(f.window->tree()->firstNode());
    QVERIFY(!paste->isEnabled());
    QVERIFY(f.t.state.ClipboardEntry().has_value()); // only the item is off
    f.window->UpdateView(0);
    QVERIFY(!paste->isEnabled());
    QVERIFY(f.clipboard.entries.isEmpty()); // the system clipboard is another thing
}

void TestMainMenus::cutThenPaste()
{
    Fixture f;
    f.reach(RowWithUrl);
    f.press(Qt::Key_X);
    QVERIFY(!f.t.state.Store->Passwords().Contains(QStringLiteral("mail")));
    QCOMPARE(f.window->grid()->rowCount(), 1);
    f.press(Qt::Key_V);
    auto *dialog = qobject_cast<frmPW *>(f.t.windows.top());
    QVERIFY(dialog != nullptr);
    // A new record: everything but the name, which must differ.
    QCOMPARE(dialog->txtService->text(), QString());
    QCOMPARE(dialog->txtPw->text(), QStringLiteral("mail-pw"));
    dialog->close();
}

void TestMainMenus::reloadByPosition()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("First & Co.VLM"));
    const QString second = dir.filePath(QStringLiteral("Second.VLM"));
    QVERIFY(writeFile(first, QString(), {QStringLiteral("one")}));
    QVERIFY(writeFile(second, QString(), {QStringLiteral("two")}));
    Fixture f;
    f.t.recent.add(first);
    f.t.recent.add(second);
    f.window->ReloadMenu();
    QCOMPARE(f.item("mnuReload", 2)->text(), QStringLiteral("&2. ") + second);
    QCOMPARE(f.item("mnuReload", 1)->text(),
             QStringLiteral("&1. ") +
                 QString(first).replace(QStringLiteral("&"), QStringLiteral("&&")));
    QVERIFY(!f.item("mnuReload", 0)->isVisible());
    f.item("mnuReload", 2)->trigger();
    QCOMPARE(f.t.state.Store->FileName(), second);
    QCOMPARE(f.t.state.FilePath, second);
    // Opening moved it to the front; the items follow the list.
    QCOMPARE(f.item("mnuReload", 1)->text(), QStringLiteral("&1. ") + second);
    // A modified file is offered for saving first; Cancel keeps it open.
    QVERIFY(f.t.state.Store->AddCategory(QStringLiteral("Work")));
    f.t.prompt.queue(PromptAnswer::Cancel);
    f.item("mnuReload", 2)->trigger();
    QCOMPARE(f.t.prompt.asked.last().text,
             QStringLiteral("Do you want to save ") + second + QStringLiteral("?"));
    QCOMPARE(f.t.state.Store->FileName(), second);
}

void TestMainMenus::menuIcons()
{
    Fixture f;
    // Icons go by caption: Edit's "&Copy" shares the popup's, the grid's
    // sort-order and column popup entries have theirs, Exit has none.
    const auto iconed = [&f] {
        QList<bool> shown;
        for (const auto &[menu, index] :
             std::initializer_list<std::pair<const char *, int>>{{"mnuEdit", 1},
                                                                 {"mnuPopup", 5},
                                                                 {"mnuSortOrder", 0},
                                                                 {"mnuPopupCol", 0},
                                                                 {"mnuView", 2},
                                                                 {"mnuHelpWeb", 1},
                                                                 {"mnuFile", 12}}) {
            shown << !f.item(menu, index)->icon().isNull();
        }
        return shown;
    };
    const QList<bool> on{true, true, true, true, true, true, false};
    QCOMPARE(iconed(), on);
    f.t.options.ViewMenuIcon = false;
    f.window->ReInitMenu();
    QCOMPARE(iconed(), QList<bool>(on.size(), false));
    f.t.options.ViewMenuIcon = true;
    f.window->ReInitMenu();
    QCOMPARE(iconed(), on);
}

void TestMainMenus::viewItems()
{
    Fixture f;
    f.reach(NoRow);
    QAction *toolbar = f.item("mnuView", 0);
    toolbar->trigger();
    QVERIFY(f.menus().toolbar() == nullptr);
    QVERIFY(f.window->findChild<QToolBar *>() == nullptr);
    toolbar->trigger();
    QVERIFY(f.menus().toolButton(QStringLiteral("save"))->isEnabled()); // built for the file
    f.item("mnuView", 1)->trigger();
    QVERIFY(f.window->statusBar()->isHidden());
    f.item("mnuView", 2)->trigger();
    QVERIFY(f.window->tree()->isHidden());
}

void TestMainMenus::shortcutsNeedTheirItem()
{
    Fixture f;
    f.reach(RowWithUrl);
    f.press(Qt::Key_C);
    // Without a file the Edit menu is gone, and its keys with it.
    f.t.state.Store = std::make_unique<PasswordStore>();
    f.window->UpdateView(0);
    f.press(Qt::Key_V);
    QVERIFY(f.t.windows.isEmpty());
    f.openFile();
    f.press(Qt::Key_X); // no row: nothing to cut
    QCOMPARE(f.t.state.Store->Passwords().Count(), 2);
    f.press(Qt::Key_S); // a new file is saved under a name first
    QCOMPARE(f.t.dialogs.asked.size(), 1);
    // The key of a disabled item still runs its command.
    f.press(Qt::Key_V);
    QVERIFY(qobject_cast<frmPW *>(f.t.windows.top()) != nullptr);
    f.t.windows.top()->close();
    // F4 without a row says why nothing opens.
    QTest::keyClick(f.window->grid()->findChild<QTableView *>(), Qt::Key_F4);
    QVERIFY(!f.t.prompt.asked.isEmpty());
    QCOMPARE(f.t.prompt.asked.last().text,
             QStringLiteral("You must select a service before trying to edit!"));
    QCOMPARE(f.t.prompt.asked.last().icon, platform::PromptIcon::Exclamation);
}

QTEST_MAIN(TestMainMenus)
#include "test_main_menus.moc"
