// The tray icon's item model and mouse events, and the tray window's menu of
// every service: its grouping and greying, the items around the services,
// what a service item does for each choice of the option, and the menu that
// stays shut while a dialog is open and notes where keys go when it opens.

#include "AfterPasses.h"
#include "frmSysTray.h"
#include "frmTray.h"
#include "StartUp.h"
#include "TestRoutines.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using controls::PopupMenu;

namespace {

// The menu as it shows, depth first: each item as its caption, " [off]" when
// disabled, " (default)" when default, indented two blanks per level.
void layout(const PopupMenu &menu, int parent, int depth, QStringList &lines)
{
    for (int item = 1; item <= menu.count(); ++item) {
        if (menu.parentItem(item) != parent) {
            continue;
        }
        lines << QString(depth * 2, QLatin1Char(' ')) + menu.caption(item) +
                     (menu.enabled(item) ? QString() : QStringLiteral(" [off]")) +
                     (menu.isDefault(item) ? QStringLiteral(" (default)") : QString());
        layout(menu, item, depth + 1, lines);
    }
}

QStringList layout(const PopupMenu &menu)
{
    QStringList lines;
    layout(menu, 0, 0, lines);
    return lines;
}

struct Fixture : TestRoutines
{
    frmTray tray{t.services, routines};

    Fixture()
    {
        t.state.TrayMode = true;
        t.state.Store->NewFile();
        t.state.setCurrentMainWindow(&tray);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }

    PasswordStore &store() { return *t.state.Store; }

    // The name of the dialog a menu item opened, closed again; "" for none.
    QString takeDialog()
    {
        QWidget *top = t.windows.top();
        if (top == nullptr) {
            return QString();
        }
        const QString name = top->objectName();
        top->close();
        return name;
    }
    PopupMenu &menu() { return tray.sysTray()->PopupMenuObject(); }

    void record(const QString &service, qint16 codcat = 0, qint16 CodSCat = 0)
    {
        PasswordEntry entry;
        entry.service = service;
        entry.codcat = codcat;
        entry.CodSCat = CodSCat;
        entry.UserName = QStringLiteral("anna");
        entry.Password = service + QStringLiteral("-pw");
        entry.URL = QStringLiteral("https://") + service + QStringLiteral(".example");
        store().AddPassword(entry);
    }
};

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mouseMessages_data();
    void mouseMessages();
    void itemsOutOfRange();
    void tipIsCut();
    void categoriesWithoutEntriesAreGrey();
    void servicesUnderTheirFolders();
    void addItemsDefaultWithOption();
    void noImagesWithoutMenuIcons();
    void serviceAction_data();
    void serviceAction();
    void otherItems();
    void menuShutWhileDialogOpen();
};

void TestTray::mouseMessages_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("event");
    QTest::newRow("move") << 512 << "move";
    QTest::newRow("left down") << 513 << "down 1";
    QTest::newRow("left up") << 514 << "up 1";
    QTest::newRow("left double") << 515 << "double 1";
    QTest::newRow("right down") << 516 << "down 2";
    QTest::newRow("right up") << 517 << "up 2";
    QTest::newRow("right double") << 518 << "double 2";
    QTest::newRow("middle down") << 519 << "";
    QTest::newRow("middle up") << 520 << "";
}

void TestTray::mouseMessages()
{
    QFETCH(int, message);
    QFETCH(QString, event);
    frmSysTray tray;
    QStringList seen;
    connect(&tray, &frmSysTray::SysTrayMouseMove, [&] { seen << QStringLiteral("move"); });
    connect(&tray, &frmSysTray::SysTrayMouseDown,
            [&](int b) { seen << QStringLiteral("down %1").arg(b); });
    connect(&tray, &frmSysTray::SysTrayMouseUp,
            [&](int b) { seen << QStringLiteral("up %1").arg(b); });
    connect(&tray, &frmSysTray::SysTrayDoubleClick,
            [&](int b) { seen << QStringLiteral("double %1").arg(b); });
    tray.mouseMessage(message);
    QCOMPARE(seen, event.isEmpty() ? QStringList{} : QStringList{event});
}

void TestTray::itemsOutOfRange()
{
    frmSysTray tray;
    QCOMPARE(tray.AddMenuItem("One", "one", true, 7, 0, QString(), false, true), 1);
    QCOMPARE(tray.AddMenuItem("Two", "two", false, 0, 0, QString(), true, true), 2);
    QCOMPARE(tray.Default(1), std::optional<bool>(true));
    QCOMPARE(tray.Checked(2), std::optional<bool>(true));
    QCOMPARE(tray.Default(3), std::nullopt);
    QVERIFY(!tray.EnableMenuItem(0, false));
    QVERIFY(!tray.EnableMenuItem(QStringLiteral("missing"), false));
    QVERIFY(!tray.RemoveMenuItem(QStringLiteral("missing")));
    QVERIFY(!tray.setChecked(9, true));
    QCOMPARE(tray.PopupMenuObject().count(), 2);
    QVERIFY(tray.EnableMenuItem(QStringLiteral("two"), false));
    QVERIFY(!tray.PopupMenuObject().enabled(2));
    QVERIFY(tray.RemoveMenuItem(QStringLiteral("one")));
    QCOMPARE(tray.PopupMenuObject().key(1), QStringLiteral("two"));
    // A child item of a missing parent is refused.
    QCOMPARE(tray.AddMenuItem("Orphan", "x", false, 0, 5, QString(), false, true), 0);
}

void TestTray::tipIsCut()
{
    frmSysTray tray;
    const QString longTip(80, QLatin1Char('x'));
    tray.setToolTip(longTip);
    QCOMPARE(tray.ToolTip(), longTip.left(63));
    tray.setToolTip(QStringLiteral("Vellumor!"));
    QCOMPARE(tray.ToolTip(), QStringLiteral("Vellumor!"));
}

void TestTray::categoriesWithoutEntriesAreGrey()
{
    Fixture f;
    f.store().AddCategory(QStringLiteral("Banks"));
    f.store().AddSubCategory(1, QStringLiteral("Private"));
    QVERIFY(f.store().SaveFile(QDir::temp().filePath(QStringLiteral("tray.VLM")), false, false));
    f.tray.Load();
    QCOMPARE(layout(f.menu()),
             (QStringList{"Banks [off]", "  Private [off]", "&Add", "  &Password", "  &Category",
                          "  &SubCategory", "&Open VLM (default)", "&Program Option", "-",
                          "&Email Me", "&Vlm Homepage", "&About...", "-", "&Exit VLM"}));
    QCOMPARE(f.menu().key(1), QStringLiteral("cat1"));
    QCOMPARE(f.menu().key(2), QStringLiteral("scat1"));
    QVERIFY(f.tray.MenuEnabled());
    QCOMPARE(f.tray.sysTray()->ToolTip(), QStringLiteral("Vellumor!"));
}

void TestTray::servicesUnderTheirFolders()
{
    Fixture f;
    f.store().AddCategory(QStringLiteral("Banks"));
    f.store().AddCategory(QStringLiteral("Mail"));
    f.store().AddSubCategory(1, QStringLiteral("Private"));
    f.store().AddSubCategory(1, QStringLiteral("Work"));
    f.record(QStringLiteral("loose"));
    f.record(QStringLiteral("bank"), 1, 1);
    f.tray.Load();
    const QStringList lines = layout(f.menu());
    QCOMPARE(lines.mid(0, 7), (QStringList{"Banks", "  Private", "    bank", "  Work [off]",
                                           "Mail [off]", "loose", "-"}));
    QCOMPARE(f.menu().key(f.menu().indexOf(QStringLiteral("srvbank"))), QStringLiteral("srvbank"));
    QCOMPARE(f.menu().image(f.menu().indexOf(QStringLiteral("srvbank"))), QStringLiteral("PW"));
}

void TestTray::addItemsDefaultWithOption()
{
    Fixture f;
    f.t.options.SysTrayDef = 2;
    f.tray.Load();
    const QStringList lines = layout(f.menu());
    QVERIFY(lines.contains(QStringLiteral("  &Password (default)")));
    QVERIFY(lines.contains(QStringLiteral("  &Category (default)")));
    QVERIFY(lines.contains(QStringLiteral("&Open VLM")));
}

void TestTray::noImagesWithoutMenuIcons()
{
    Fixture f;
    f.t.options.ViewMenuIcon = false;
    f.tray.Load();
    for (int item = 1; item <= f.menu().count(); ++item) {
        QCOMPARE(f.menu().image(item), QString());
    }
}

void TestTray::serviceAction_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");
    QTest::newRow("edit") << 1 << ""
                          << ""
                          << ""
                          << "frmPW";
    QTest::newRow("copy password") << 2 << "mail-pw"
                                   << ""
                                   << ""
                                   << "";
    QTest::newRow("copy user/password") << 3 << "anna\bmail-pw"
                                        << ""
                                        << ""
                                        << "";
    QTest::newRow("copy URL") << 4 << "https://mail.example"
                              << ""
                              << ""
                              << "";
    QTest::newRow("send password") << 5 << ""
                                   << ""
                                   << "mail-pw"
                                   << "";
    QTest::newRow("send user/password") << 6 << ""
                                        << ""
                                        << "anna{TAB}mail-pw"
                                        << "";
    QTest::newRow("go to URL") << 7 << ""
                               << "https://mail.example"
                               << ""
                               << "";
    QTest::newRow("out of range") << 8 << ""
                                  << ""
                                  << ""
                                  << "";
}

void TestTray::serviceAction()
{
    QFETCH(int, option);
    QFETCH(QString, clipboard);
    QFETCH(QString, opened);
    QFETCH(QString, typed);
    QFETCH(QString, command);
    Fixture f;
    f.t.options.SysTrayPWDefault = static_cast<qint16>(option);
    f.t.options.GTSAfterURL = true;
    f.record(QStringLiteral("mail"));
    f.tray.Load();
    f.tray.MenuClick(QStringLiteral("srvmail"));
    QCOMPARE(f.clipboard.entries.isEmpty() ? QString() : f.clipboard.entries.last().text,
             clipboard);
    QCOMPARE(f.shell.opened.isEmpty() ? QString() : f.shell.opened.last(), opened);
    QCOMPARE(f.typer.typed.join(QString()), typed);
    QCOMPARE(f.takeDialog(), command);
    // Whatever the action, the program stays in the tray.
    QVERIFY(!f.t.state.SwitchWindow());
    QVERIFY(f.t.state.TrayMode);
}

void TestTray::otherItems()
{
    Fixture f;
    f.store().AddCategory(QStringLiteral("Mail"));
    f.tray.Load();
    QStringList opened;
    for (const char *key :
         {"about", "option", "addpw", "addcat", "addscat", "cat1", "scat2", "home", "email"}) {
        f.tray.MenuClick(QString::fromUtf8(key));
        opened << f.takeDialog();
    }
    QCOMPARE(opened, (QStringList{"frmAbout", "frmOptions", "frmPW", "frmCategory",
                                  "frmSubCategory", "", "", "", ""}));
    QCOMPARE(f.shell.opened, (QStringList{app::HomePage, app::MailAddress}));
}

void TestTray::menuShutWhileDialogOpen()
{
    Fixture f;
    f.tray.Load();
    QWidget dialog;
    f.t.windows.PushWindow(&dialog);
    QVERIFY(!f.tray.MenuEnabled());
    bool menuShown = false;
    // Should a menu open anyway, this notices and closes it.
    afterPasses(&f.tray, 3, [&menuShown] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    f.tray.sysTray()->mouseMessage(516);
    f.tray.sysTray()->mouseMessage(515); // a double-click does not open the main window
    QTest::qWait(50);
    QVERIFY(!menuShown);
    QVERIFY(!f.t.state.SwitchWindow());
    f.t.windows.PopWindow(false, false, 0);
    QVERIFY(f.tray.MenuEnabled());
    // Once open, the menu shows, and the window to send keys to was noted
    // before it took the keyboard.
    QCOMPARE(f.typer.remembered, 0);
    afterPasses(&f.tray, 3, [&menuShown, &f] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = f.typer.remembered == 1;
            popup->close();
        }
    });
    f.tray.sysTray()->mouseMessage(516);
    QVERIFY(menuShown);
    f.tray.sysTray()->mouseMessage(515);
    QVERIFY(f.t.state.SwitchWindow());
    QVERIFY(!f.t.state.TrayMode);
}

QTEST_MAIN(TestTray)
#include "test_tray.moc"
