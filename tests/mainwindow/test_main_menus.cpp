// The main window as a user meets it: which menu entries and buttons work in
// each situation, what the commands do, the layout kept across restarts, and
// the two main windows taking turns under the real main loop.

#include "AfterPasses.h"
#include "FileLock.h"
#include "frmMain.h"
#include "frmPW.h"
#include "frmSysTray.h"
#include "frmTray.h"
#include "Grid.h"
#include "MainLoop.h"
#include "MainMenus.h"
#include "PasswordGrid.h"
#include "PopupMenu.h"
#include "SessionLock.h"
#include "StartUp.h"
#include "TestRoutines.h"
#include "Tree.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

struct Fixture : TestRoutines
{
    platform::SessionLockSource session; // a test emits its signal
    files::FileLock lock{t.services, passwords, &session};
    std::unique_ptr<frmMain> window;

    Fixture()
    {
        routines.lock = &lock;
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
    QAction *item(const char *menu, int index) const { return menus().item(menu, index); }

    // "mail" with a link, "bank" with only an expire link; then the row of
    // the service given, if any.
    void openFile(const QString &service = QString())
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
        if (!service.isEmpty()) {
            window->grid()->setSelectedRow(service == "bank" ? 1 : 2); // sorted by service
        }
    }

    void press(int key) const { QTest::keyClick(window.get(), Qt::Key(key), Qt::ControlModifier); }
};

} // namespace

class TestMainMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QSettings("Quorvan", "VLM").clear(); }
    void states_data();
    void states();
    void editKeys();
    void reloadByPosition();
    void menuIcons();
    void passwordCommands();
    void layoutKept();
    void takingTurns();
    void locking_data();
    void locking();
    void fillsOnce_data();
    void fillsOnce();
};

void TestMainMenus::states_data()
{
    QTest::addColumn<bool>("file");
    QTest::addColumn<QString>("row");
    // Each menu's entries in order, then the toolbar's buttons: h hidden,
    // d shown but disabled, e shown and enabled (Reload and Help never change).
    QTest::addColumn<QString>("menus");
    QTest::addColumn<QString>("toolbar");
    QTest::newRow("no file") << false << ""
                             << "File:eeehhhhhhhhee Edit:hhhhhhhhhhh View:eeehhhh SortOrder:hh "
                                "Password:hhhhhhhhh Option:eheee"
                             << "eedhhhhddddhdddddee";
    QTest::newRow("no row") << true << ""
                            << "File:eeeeeeehhhhee Edit:dddedddeddd View:eeeeeee SortOrder:ee "
                               "Password:eddheeeee Option:eeeee"
                            << "eeehhhheeeeheeeeeee";
    QTest::newRow("row with a link") << true << "mail"
                                     << "File:eeeeeeehhhhee Edit:eedeeeeeede View:eeeeeee "
                                        "SortOrder:ee Password:eeeheeeee Option:eeeee"
                                     << "eeehhhheeeeheeeeeee";
    QTest::newRow("row with an expire link only")
        << true << "bank"
        << "File:eeeeeeehhhhee Edit:eedeeededed View:eeeeeee SortOrder:ee Password:eeeheeeee "
           "Option:eeeee"
        << "eeehhhheeeeheeeeeee";
}

void TestMainMenus::states()
{
    QFETCH(bool, file);
    QFETCH(QString, row);
    QFETCH(QString, menus);
    QFETCH(QString, toolbar);
    Fixture f;
    if (file) {
        f.openFile(row);
    }
    const auto state = [](bool visible, const QAction *item) {
        return QLatin1Char(!visible ? 'h' : item->isEnabled() ? 'e' : 'd');
    };
    QStringList seen;
    for (const QString &expected : menus.split(' ')) {
        const QString menu = "mnu" + expected.section(':', 0, 0);
        seen << expected.section(':', 0, 0) + ':';
        for (int i = 0; i < expected.section(':', 1).size(); ++i) {
            seen.last() += state(f.menus().itemVisible(menu, i), f.menus().item(menu, i));
        }
    }
    QCOMPARE(seen.join(' '), menus);
    QString buttons;
    for (const QAction *button : f.menus().toolbar()->actions()) {
        buttons += state(button->isVisible(), button);
    }
    QCOMPARE(buttons, toolbar);
}

void TestMainMenus::editKeys()
{
    Fixture f;
    f.openFile("mail");
    QAction *paste = f.item("mnuEdit", 2);
    f.press(Qt::Key_C);
    QVERIFY(paste->isEnabled());
    QCOMPARE(f.t.state.ClipboardEntry()->Password, QStringLiteral("mail-pw"));
    QVERIFY(f.clipboard.entries.isEmpty()); // the system clipboard is another thing
    f.window->UpdateView(f.window->tree()->firstNode());
    QVERIFY(!paste->isEnabled()); // a refresh turns the item off; the key still works
    f.press(Qt::Key_V);
    auto *dialog = qobject_cast<frmPW *>(f.t.windows.top());
    QVERIFY(dialog != nullptr);
    // A new record: everything but the name, which must differ.
    QCOMPARE(dialog->txtService->text(), QString());
    QCOMPARE(dialog->txtPw->text(), QStringLiteral("mail-pw"));
    dialog->close();
    f.window->grid()->setSelectedRow(2);
    f.press(Qt::Key_X);
    QCOMPARE(f.window->grid()->rowCount(), 1);
    f.press(Qt::Key_S); // a new file is saved under a name first
    QCOMPARE(f.t.dialogs.asked.size(), 1);
    // Without a file the Edit menu is gone, and its keys with it.
    f.t.state.Store = std::make_unique<PasswordStore>();
    f.window->UpdateView(0);
    f.press(Qt::Key_V);
    QVERIFY(f.t.windows.isEmpty());
}

void TestMainMenus::reloadByPosition()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("First & Co.VLM"));
    const QString second = dir.filePath(QStringLiteral("Second.VLM"));
    QVERIFY(writeFile(second, QString(), {QStringLiteral("two")}));
    Fixture f;
    f.t.recent.add(first);
    f.t.recent.add(second);
    f.window->ReloadMenu();
    QCOMPARE(f.item("mnuReload", 1)->text(), "&1. " + QString(first).replace("&", "&&"));
    QCOMPARE(f.item("mnuReload", 2)->text(), "&2. " + second);
    QVERIFY(!f.item("mnuReload", 0)->isVisible());
    f.item("mnuReload", 2)->trigger();
    QCOMPARE(f.t.state.FilePath, second);
    QCOMPARE(f.item("mnuReload", 1)->text(), "&1. " + second); // opened: now first
    // File > Open offers the files to open, not a new one (the start's wizard does).
    f.window->runCommand(MainCommand::FileOpen);
    QCOMPARE(f.t.openDialog.requests.size(), 1);
    QVERIFY(!f.t.openDialog.requests.last().showNew);
}

void TestMainMenus::menuIcons()
{
    // Icons go by caption: the popup's "&Copy" shares Edit's; Exit has none.
    Fixture f;
    for (const bool on : {false, true}) {
        f.t.options.ViewMenuIcon = on;
        f.window->ReInitMenu();
        QString shown;
        for (const auto &[menu, index] : {std::pair{"mnuPopup", 5}, std::pair{"mnuSortOrder", 0},
                                          std::pair{"mnuPassword", 6}, std::pair{"mnuFile", 12}}) {
            shown += f.item(menu, index)->icon().isNull() ? '-' : 'i';
        }
        QCOMPARE(shown, on ? QStringLiteral("iii-") : QStringLiteral("----"));
    }
    // Each entry answers to its menu and position, under the name that says so.
    for (const char *menu :
         {"mnuFile", "mnuEdit", "mnuView", "mnuPassword", "mnuOption", "mnuHelp", "mnuPopup"}) {
        int index = 0;
        for (; f.item(menu, index) != nullptr; ++index) {
            QCOMPARE(f.item(menu, index)->objectName(), QString("%1(%2)").arg(menu).arg(index));
        }
        QVERIFY2(index > 2, menu);
    }
}

void TestMainMenus::passwordCommands()
{
    Fixture f;
    f.openFile();
    QTest::keyClick(f.window->grid()->findChild<QTableView *>(), Qt::Key_F4);
    QCOMPARE(f.t.prompt.asked.last().text,
             QStringLiteral("You must select a service before trying to edit!"));
    f.window->grid()->setSelectedRow(2);
    f.item("mnuPassword", 1)->trigger();
    auto *dialog = qobject_cast<frmPW *>(f.t.windows.top());
    QVERIFY(dialog != nullptr && dialog->txtService->text() == QStringLiteral("mail"));
    dialog->close();
    f.item("mnuPassword", 6)->trigger(); // subcategories need a category first
    QCOMPARE(f.t.prompt.asked.last().text,
             QStringLiteral("Cannot insert a subcategory without insert a category first!"));
    // Delete asks first; No keeps the record.
    f.t.prompt.queue(platform::PromptAnswer::No);
    f.item("mnuPassword", 2)->trigger();
    QCOMPARE(f.t.prompt.asked.last().text, QStringLiteral("Do you want to delete Service 'mail'?"));
    QCOMPARE(f.window->grid()->rowCount(), 2);
    f.item("mnuPassword", 2)->trigger();
    QCOMPARE(f.window->grid()->rowCount(), 1);
}

void TestMainMenus::layoutKept()
{
    {
        Fixture f;
        f.openFile();
        f.item("mnuView", 0)->trigger();
        QVERIFY(f.window->findChild<QToolBar *>() == nullptr);
        f.item("mnuView", 0)->trigger();
        const QAction *save = f.menus().toolButton(QStringLiteral("save"));
        QVERIFY(save->toolTip() == QStringLiteral("Save File") &&
                save->isEnabled());                       // for the file
        f.window->runCommand(MainCommand::ViewStatusBar); // toggles its View item
        f.item("mnuView", 2)->trigger();
        f.window->passwordGrid()->columnMenu()->actions().at(1)->trigger(); // hides Password
        f.window->grid()->setColumnWidth(QStringLiteral("URL"), 150);
        f.window->passwordGrid()->SortGrid(f.window->grid()->columnIndex("ExpDate"), false, true,
                                           2);
        f.item("mnuOption", 3)->trigger(); // Save View Options Now
    }
    // Kept under the names older versions read, without the group or notes columns.
    const QSettings stored("Quorvan", "VLM");
    QVERIFY(stored.value("1.0/SortCol") == 9 && stored.value("1.0/SortOrd") == 2);
    QVERIFY(stored.contains("1.0/ColWidth15") && !stored.contains("1.0/ColVis3") &&
            !stored.contains("1.0/ColVis16"));
    Fixture f;
    QVERIFY(f.window->tree()->isHidden() && f.window->statusBar()->isHidden());
    QVERIFY(!f.item("mnuView", 2)->isChecked() && !f.item("mnuView", 1)->isChecked());
    QVERIFY(!f.window->grid()->columnVisible(QStringLiteral("Password")));
    QVERIFY(!f.window->passwordGrid()->columnMenu()->actions().at(1)->isChecked());
    QCOMPARE(f.window->grid()->columnWidth(QStringLiteral("URL")), 150);
    QCOMPARE(f.window->passwordGrid()->sortColumn(), f.window->grid()->columnIndex("ExpDate"));
    QVERIFY(f.window->passwordGrid()->orderDescendingItem()->isChecked());
}

void TestMainMenus::takingTurns()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Handed Over.VLM"));
    QVERIFY(writeFile(file, QString(), {QStringLiteral("Mail")}));
    TestRoutines r;
    app::RunState &state = r.t.state;
    state.AppTitle = app::buildAppTitle(QVersionNumber(1, 0, 0));
    state.Store->NewFile();
    state.Store->AddCategory(QStringLiteral("Work")); // changed: leaving asks to save
    r.t.options.ViewTips = false; // the tip of the day would wait for its reader
    QStringList made;
    frmMain *main = nullptr;
    frmTray *tray = nullptr;
    app::MainLoop loop(state, [&](bool inTray) -> std::unique_ptr<app::MainWindowOps> {
        made << (inTray ? "tray" : "main");
        main = inTray ? nullptr : new frmMain(r.t.services, r.routines);
        tray = inTray ? new frmTray(r.t.services, r.routines) : nullptr;
        return std::unique_ptr<app::MainWindowOps>(inTray ? static_cast<app::MainWindowOps *>(tray)
                                                          : main);
    });
    const QList<std::function<void()>> steps{
        [&] {
            QVERIFY(main->isVisible() && main->IsInstanceWindow() && !state.FirstStart);
            QCOMPARE(main->windowTitle(), QStringLiteral("Vellumor V1.0.0"));
            main->GotoSysTray();
        },
        [&] {
            QVERIFY(tray->IsInstanceWindow() && tray->MenuEnabled() && !tray->isVisible());
            r.t.prompt.queue(platform::PromptAnswer::Cancel);
            tray->MenuClick(QStringLiteral("close"));
        },
        [&] { tray->OpenMainWindow(); }, // still running: the tray took it
        [&] {
            r.t.prompt.queue(platform::PromptAnswer::No); // not saved, but opened
            main->HandOver(app::instancePayload('"' + file + '"'));
            QCOMPARE(main->tree()->text(main->tree()->firstNode()), QStringLiteral("Handed Over"));
            r.t.prompt.queue(platform::PromptAnswer::No);
            QVERIFY(!main->close());
        },
        [&] {
            r.t.prompt.queue(platform::PromptAnswer::Yes);
            QVERIFY(main->close());
        }};
    std::function<void(qsizetype)> runStep = [&](qsizetype i) {
        if (i < steps.size()) {
            steps.at(i)();
            afterPasses(&loop, 6, [&runStep, i] { runStep(i + 1); });
        }
    };
    afterPasses(&loop, 6, [&runStep] { runStep(0); });
    QTimer::singleShot(10000, &loop, [&state] { state.requestExit(); }); // never hang
    loop.run();
    QCOMPARE(made, (QStringList{"main", "tray", "main"}));
    // The tray's save question, the hand-over's, then the exit question twice.
    QCOMPARE(r.t.prompt.asked.size(), 4);
    QCOMPARE(r.t.prompt.asked.at(0).text, QStringLiteral("Save Datafile before exit ?"));
    QCOMPARE(r.t.recent.paths(), QStringList{file});
}

void TestMainMenus::locking_data()
{
    QTest::addColumn<QString>("cause");  // idle, session; "off": its option is off
    QTest::addColumn<QString>("change"); // none, unsaved, new file (unsaved, never saved)
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<QString>("note"); // the status bar's start when not locked; "" locked
    QTest::newRow("idle") << "idle"
                          << "none" << false << false << "";
    QTest::newRow("idle, off") << "idle off"
                               << "none" << false << false << "-";
    QTest::newRow("session") << "session"
                             << "none" << false << false << "";
    QTest::newRow("session, off") << "session off"
                                  << "none" << false << false << "-";
    QTest::newRow("unsaved, saved first") << "idle"
                                          << "unsaved" << true << false << "";
    QTest::newRow("unsaved, no auto-save")
        << "session"
        << "unsaved" << false << false << "Not locked: the file has unsaved changes.";
    QTest::newRow("unsaved, save fails")
        << "session"
        << "unsaved" << true << true << "Not locked: the changes could not be saved.";
    QTest::newRow("new file") << "session"
                              << "new file" << true << false
                              << "Not locked: the new file has never been saved.";
}

// Locked by the idle time (on the test clock) or the session; refused when
// changes cannot be saved first; the next use asks for the password and comes
// back to the same node and row.
void TestMainMenus::locking()
{
    QFETCH(QString, cause);
    QFETCH(QString, change);
    QFETCH(bool, autoSave);
    QFETCH(bool, saveFails);
    QFETCH(QString, note);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Locked.VLM"));
    QVERIFY(writeFile(path, QStringLiteral("file-pw"),
                      {QStringLiteral("bank"), QStringLiteral("mail")}));
    Fixture f;
    app::RunState &state = f.t.state;
    state.AppTitle = QStringLiteral("Vellumor V1.0.0");
    f.t.options.AutoSaveData = autoSave;
    f.t.options.AutoCheck = false;
    f.t.options.LockAfterMinutes = cause == "idle off" ? 0 : 5;
    f.t.options.LockOnSessionLock = cause != "session off";
    f.passwords.answers = QStringList{QStringLiteral("file-pw")};
    QVERIFY(f.files.OpenPasswordFile(path));
    controls::Tree &tree = *f.window->tree();
    tree.setSelectedNode(tree.nodeIndex(QStringLiteral("C0")));
    f.window->grid()->setSelectedRow(2);
    state.setClipboardEntry(*state.Store->Passwords().Item(QStringLiteral("bank")));
    if (change == "new file") {
        f.files.NewPasswordFile();
    }
    if (change != "none") {
        QVERIFY(state.Store->AddCategory(QStringLiteral("Work")));
    }
    if (saveFails) {
        QVERIFY(dir.remove());
    }

    f.lock.watchInput();
    if (cause.startsWith("idle")) {
        // Input to one of the program's windows starts the wait again.
        f.t.clock.advance(std::chrono::minutes(4));
        QTest::keyClick(f.window->windowHandle(), Qt::Key_Shift);
        f.t.clock.advance(std::chrono::minutes(4));
        QVERIFY(!state.Locked());
        f.t.clock.advance(std::chrono::minutes(cause == "idle" ? 1 : 10000));
    } else {
        Q_EMIT f.session.sessionLocked();
    }
    const bool locks = note.isEmpty();
    QCOMPARE(state.Locked(), locks);
    const QString status = f.window->statusPanel(0)->text();
    QVERIFY2(note == "-" ? status.isEmpty()
                         : status.startsWith(locks ? "Locked.VLM (locked)" : note),
             qPrintable(status));
    if (!locks) {
        QCOMPARE(state.Store->Modified(), change != "none");
        return;
    }
    QCOMPARE(tree.nodeCount(), 0);
    QCOMPARE(f.window->grid()->rowCount(), 0);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor V1.0.0 - Locked.VLM (locked)"));
    QVERIFY(!f.menus().top("mnuEditTop")->isVisible() &&
            !f.menus().top("mnuPasswordTop")->isVisible());
    QCOMPARE(state.Store->Passwords().Count(), 0);
    QVERIFY(!state.ClipboardEntry().has_value());
    PasswordStore onDisk;
    QVERIFY(onDisk.OpenFile(path, QStringLiteral("file-pw")));
    QCOMPARE(onDisk.Categories().Count(), change == "unsaved" ? 1 : 0);

    // The tray offers nothing but the way back and the way out.
    {
        frmTray tray(f.t.services, f.routines);
        tray.Load();
        controls::PopupMenu &menu = tray.sysTray()->PopupMenuObject();
        QStringList items;
        for (int item = 1; item <= menu.count(); ++item) {
            items << menu.caption(item) + (menu.isDefault(item) ? " (default)" : "");
        }
        QCOMPARE(items, QStringList({"&Unlock Locked.VLM (default)", "-", "&Exit VLM"}));
        QCOMPARE(tray.sysTray()->ToolTip(), QStringLiteral("Vellumor! Locked.VLM (locked)"));
    }
    // Cancelling the password keeps it locked; the password brings it back.
    f.passwords.answers.clear();
    QTest::mouseClick(f.window->grid()->viewport(), Qt::LeftButton);
    QVERIFY(state.Locked());
    f.passwords.answers = QStringList{QStringLiteral("file-pw")};
    QTest::mouseClick(tree.viewport(), Qt::LeftButton);
    QVERIFY(!state.Locked());
    QCOMPARE(f.passwords.askedFor, QStringList({path, path, path}));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Vellumor V1.0.0"));
    QCOMPARE(tree.key(tree.selectedNode()), QStringLiteral("C0"));
    QCOMPARE(f.window->grid()->rowCount(), 2);
    QCOMPARE(f.window->grid()->selectedRow(), 2);
    QCOMPARE(state.Store->Passwords().Count(), 2);
}

QTEST_MAIN(TestMainMenus)
void TestMainMenus::fillsOnce_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("treeShown"); // as the last run left it
    QTest::newRow("start") << "start" << true;
    QTest::newRow("start without the tree") << "start" << false;
    QTest::newRow("start, file chosen in the wizard") << "wizard" << true;
    QTest::newRow("refresh") << "refresh" << true;
    QTest::newRow("refresh from a folder") << "folder refresh" << true;
    QTest::newRow("hand-over") << "hand-over" << true;
    QTest::newRow("unlocked, back on the folder") << "unlock" << true;
}

// Each of these shows the rows anew exactly once: one fill, already in the
// kept sort (a second fill or a sort after it would reset the rows again).
void TestMainMenus::fillsOnce()
{
    QFETCH(QString, action);
    QFETCH(bool, treeShown);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Shown.VLM"));
    QVERIFY(writeFile(file, QString(), {"b", "a", "c"}));
    TestRoutines r;
    files::FileLock lock(r.t.services, r.passwords, nullptr);
    r.routines.lock = &lock;
    r.t.options.ViewTips = false;
    r.t.options.AutoCheck = false;
    r.t.state.FirstStart = false;
    SettingsComponent &layout = r.t.settings.OpenLayoutSettings();
    layout.SaveBoolean(QStringLiteral("Sorted"), true);
    layout.SaveLong(QStringLiteral("SortCol"), 4); // Service, descending
    layout.SaveLong(QStringLiteral("SortOrd"), 2);
    layout.SaveInteger(QStringLiteral("VSplitterHide"), treeShown ? 0 : 1);
    r.t.settings.ReleaseLayoutSettings();
    if (action == "wizard") {
        r.t.state.FirstStart = true;
        r.t.options.ViewWizard = true;
        r.t.openDialog.answers = {files::OpenDialogResult{false, false, file}};
    } else {
        QVERIFY(r.files.OpenPasswordFile(file)); // before the window, as a start with a file
    }

    frmMain window(r.t.services, r.routines);
    r.t.state.setCurrentMainWindow(&window);
    const QSignalSpy resets(window.grid()->findChild<QTableView *>()->model(),
                            &QAbstractItemModel::modelReset);
    window.Load();
    controls::Tree &tree = *window.tree();
    const int folder = tree.nodeIndex(QStringLiteral("C0"));
    QVERIFY(folder != 0);
    int before = 0;
    const auto reset = [&] { before = int(resets.size()); };
    if (action == "folder refresh") {
        tree.setSelectedNode(folder);
        reset();
        window.UpdateView(0);
    } else if (action == "refresh") {
        reset();
        window.UpdateView(0);
    } else if (action == "hand-over") {
        reset();
        window.HandOver(app::instancePayload('"' + file + '"'));
    } else if (action == "unlock") {
        tree.setSelectedNode(folder);
        QVERIFY(lock.Lock());
        reset();
        QVERIFY(lock.Unlock());
        QCOMPARE(tree.selectedNode(), folder);
    }
    QCOMPARE(int(resets.size()) - before, 1);
    QStringList shown;
    for (int row = 1; row <= window.grid()->rowCount(); ++row) {
        shown << window.grid()->cellText(row, window.grid()->columnIndex("Service"));
    }
    QCOMPARE(shown, (QStringList{"c", "b", "a"}));
    QCOMPARE(tree.isHidden(), !treeShown);
    r.t.state.setCurrentMainWindow(nullptr);
    r.t.state.TrayMode = true; // closing asks nothing
    window.close();
}

#include "test_main_menus.moc"
