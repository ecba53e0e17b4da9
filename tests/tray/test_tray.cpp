// The tray icon and the tray window's menu of every service: its layout,
// what each item does, and the menu kept shut while a dialog is open.

#include "AfterPasses.h"
#include "frmSysTray.h"
#include "frmTray.h"
#include "StartUp.h"
#include "TestRoutines.h"

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTest>

namespace {

// A tray over Banks (Private with "bank", Work), Mail, and "loose" and "mail" outside.
struct Fixture : TestRoutines
{
    frmTray tray{t.services, routines};

    Fixture()
    {
        t.state.TrayMode = true;
        t.state.setCurrentMainWindow(&tray);
        PasswordStore &store = *t.state.Store;
        store.NewFile();
        store.AddCategory("Banks");
        store.AddCategory("Mail");
        store.AddSubCategory(1, "Private");
        store.AddSubCategory(1, "Work");
        PasswordEntry entry;
        for (const QString service : {"loose", "bank", "mail"}) {
            entry.service = service;
            entry.codcat = entry.CodSCat = service == "bank" ? 1 : 0;
            entry.UserName = "anna";
            entry.Password = service + "-pw";
            entry.URL = "https://" + service + ".example";
            store.AddPassword(entry);
        }
        tray.Load();
    }

    controls::PopupMenu &menu() const { return tray.sysTray()->PopupMenuObject(); }

    // Each item as it shows, after its parent's caption, with its picture in <>.
    QString layout() const
    {
        QStringList items;
        for (int item = 1; item <= menu().count(); ++item) {
            const int parent = menu().parentItem(item);
            items << (parent != 0 ? menu().caption(parent) + '/' : QString()) +
                         menu().caption(item) + (menu().enabled(item) ? "" : " [off]") +
                         (menu().checked(item) ? " [x]" : "") +
                         (menu().isDefault(item) ? " (default)" : "") +
                         (menu().image(item).isEmpty() ? "" : " <" + menu().image(item) + ">");
        }
        return items.join(", ");
    }
};

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menu();
    void refresh_data();
    void refresh();
    void chooseInLargeFile();
    void choose_data();
    void choose();
    void menuShutWhileDialogOpen();
    void iconItemsAndMessages();
};

void TestTray::menu()
{
    Fixture f;
    QCOMPARE(f.layout(),
             "Banks <CFOLDER>, Banks/Private <CFOLDER>, Banks/Work [off] <CFOLDER>, "
             "Mail [off] <CFOLDER>, Private/bank <PW>, loose <PW>, mail <PW>, -, &Add, "
             "&Add/&Password <PADD>, &Add/&Category, &Add/&SubCategory, "
             "&Open VLM (default) <VLM>, &Program Option <CONFIG>, -, &Email Me <MAIL>, "
             "&Vlm Homepage <WEB>, &About... <HELP>, -, &Exit VLM");
    QCOMPARE(f.tray.sysTray()->ToolTip(), QStringLiteral("Vellumor!"));
    f.t.options.SysTrayDef = 2;
    f.t.options.ViewMenuIcon = false;
    f.tray.UpdateView(0);
    QVERIFY(f.layout().count("(default)") == 3 && !f.layout().contains('<')); // the add items
    // The tray never names a missing item.
    frmSysTray &icon = *f.tray.sysTray();
    QVERIFY(icon.EnableMenuItem(1, false) && !icon.EnableMenuItem(99, false));
    QVERIFY(icon.RemoveMenuItem(QStringLiteral("email")) && !f.layout().contains("Email"));
}

// A refresh fills the menu's list again; the menu built for the last
// right-click stays as it is unless what it shows has changed.
void TestTray::refresh_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("shown"); // a top-level entry to look for afterwards
    QTest::newRow("nothing") << "none" << true << "loose";
    QTest::newRow("record added") << "add" << false << "new one";
    QTest::newRow("record renamed") << "rename" << false << "renamed";
    QTest::newRow("pictures turned off") << "icons" << false << "loose";
    QTest::newRow("file locked") << "lock" << false << "&Unlock Locked.VLM";
}

void TestTray::refresh()
{
    QFETCH(QString, change);
    QFETCH(bool, kept);
    QFETCH(QString, shown);
    Fixture f;
    QMenu *built = f.menu().menu();
    const QPointer<QAction> first = built->actions().constFirst();
    PasswordStore &store = *f.t.state.Store;
    PasswordEntry entry = *store.Passwords().Item("loose");
    if (change == "add") {
        entry.service = "new one";
        QVERIFY(store.AddPassword(entry));
    } else if (change == "rename") {
        entry.service = "renamed";
        QVERIFY(store.UpdatePassword(entry, "loose", 0, 0));
    } else if (change == "icons") {
        f.t.options.ViewMenuIcon = false;
    } else if (change == "lock") {
        f.t.state.LockedFile = "Locked.VLM";
    }
    f.tray.UpdateView(0);
    QCOMPARE(f.menu().menu(), built);
    QCOMPARE(!first.isNull() && built->actions().constFirst() == first, kept);
    QStringList top;
    for (const QAction *action : built->actions()) {
        top << action->text();
        if (change != "lock") {
            QCOMPARE(action->icon().isNull(), change == "icons" || action->isSeparator() ||
                                                  action->text() == "&Add" ||
                                                  action->text() == "&Exit VLM");
        }
    }
    QVERIFY2(top.contains(shown), qPrintable(top.join(", ")));
}

// A file too large for its menu to be built whole: services come in groups,
// each filled when it opens; the one chosen from there is the one acted on.
void TestTray::chooseInLargeFile()
{
    Fixture f;
    PasswordStore &store = *f.t.state.Store;
    PasswordEntry entry;
    for (int i = 0; i < 1200; ++i) {
        entry.service = QString("svc%1").arg(i, 4, 10, QChar('0'));
        entry.Password = entry.service + "-pw";
        QVERIFY(store.AddPassword(entry));
    }
    f.t.options.SysTrayPWDefault = 2; // copy the password
    f.tray.UpdateView(0);
    QSystemTrayIcon &icon = *f.tray.sysTray()->icon();
    // Top level: Banks, Mail, loose, mail, svc0000... in groups of 500.
    QString group;
    afterPasses(&f.tray, 3, [&] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (popup == nullptr)
            return;
        QAction *second = popup->actions().at(1);
        group = second->text();
        popup->setActiveAction(second);
        QTest::keyClick(popup, Qt::Key_Right);
        afterPasses(&f.tray, 3, [&f, popup] {
            auto *sub = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (sub == nullptr || sub == popup) {
                popup->close();
                return;
            }
            sub->setActiveAction(sub->actions().at(4));
            QTest::keyClick(sub, Qt::Key_Return);
        });
    });
    Q_EMIT icon.activated(QSystemTrayIcon::Context);
    QCOMPARE(group, QString("svc0496 \u2013 svc0995"));
    QCOMPARE(f.clipboard.entries.size(), 1);
    QCOMPARE(f.clipboard.entries.constLast().text, "svc0500-pw");
}

void TestTray::choose_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("option");   // what a service item does
    QTest::addColumn<QString>("seen"); // clipboard|opened|typed|dialog
    QTest::newRow("edit") << "srvmail" << 1 << "|||frmPW";
    QTest::newRow("copy password") << "srvmail" << 2 << "mail-pw|||";
    QTest::newRow("copy user/password") << "srvmail" << 3 << "anna\bmail-pw|||";
    QTest::newRow("copy URL") << "srvmail" << 4 << "https://mail.example|||";
    QTest::newRow("send password") << "srvmail" << 5 << "||mail-pw|";
    QTest::newRow("send user/password") << "srvmail" << 6 << "||anna{TAB}mail-pw|";
    QTest::newRow("go to URL") << "srvmail" << 7 << "|https://mail.example||";
    QTest::newRow("option out of range") << "srvmail" << 8 << "|||";
    QTest::newRow("about") << "about" << 1 << "|||frmAbout";
    QTest::newRow("options") << "option" << 1 << "|||frmOptions";
    QTest::newRow("add password") << "addpw" << 2 << "|||frmPW";
    QTest::newRow("add category") << "addcat" << 2 << "|||frmCategory";
    QTest::newRow("add subcategory") << "addscat" << 2 << "|||frmSubCategory";
    QTest::newRow("home page") << "home" << 2 << "|" + app::HomePage + "||";
    QTest::newRow("mail") << "email" << 2 << "|" + app::MailAddress + "||";
    QTest::newRow("exit, not saved") << "close" << 2 << "||||exit";
}

void TestTray::choose()
{
    QFETCH(QString, key);
    QFETCH(int, option);
    QFETCH(QString, seen);
    Fixture f;
    f.t.options.SysTrayPWDefault = static_cast<qint16>(option);
    f.t.options.GTSAfterURL = true;
    f.t.prompt.queue(platform::PromptAnswer::No); // if asked to save
    f.tray.MenuClick(key);
    QWidget *dialog = f.t.windows.top();
    QCOMPARE(QStringList({f.clipboard.entries.isEmpty() ? "" : f.clipboard.entries.last().text,
                          f.shell.opened.join(';'), f.typer.typed.join(QString()),
                          dialog != nullptr ? dialog->objectName() : ""})
                     .join('|') +
                 (f.t.state.ExitRequested() ? "|exit" : ""),
             seen);
    delete dialog;
    QVERIFY(!f.t.state.SwitchWindow() && f.t.state.TrayMode); // whatever the item
}

void TestTray::menuShutWhileDialogOpen()
{
    Fixture f;
    QSystemTrayIcon &icon = *f.tray.sysTray()->icon();
    QWidget dialog;
    f.t.windows.PushWindow(&dialog);
    Q_EMIT icon.activated(QSystemTrayIcon::Context);
    Q_EMIT icon.activated(QSystemTrayIcon::DoubleClick); // nor does the main window open
    QVERIFY(f.typer.remembered == 0 && !f.t.state.SwitchWindow());
    f.t.windows.PopWindow(false, false, 0);
    // The menu runs its own loop: once it shows, see that the window to send
    // keys to was noted before the menu took the keyboard, and choose Open.
    bool shown = false;
    afterPasses(&f.tray, 3, [&] {
        if (auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            shown = f.typer.remembered == 1;
            popup->setActiveAction(popup->actions().at(6)); // &Open VLM
            QTest::keyClick(popup, Qt::Key_Return);
        }
    });
    Q_EMIT icon.activated(QSystemTrayIcon::Trigger); // the left and middle buttons show nothing
    Q_EMIT icon.activated(QSystemTrayIcon::MiddleClick);
    Q_EMIT icon.activated(QSystemTrayIcon::Context);
    QVERIFY(shown && f.t.state.SwitchWindow() && !f.t.state.TrayMode);
}

void TestTray::iconItemsAndMessages()
{
    // Items by index or key; a missing one is refused, never guessed.
    frmSysTray icon;
    QCOMPARE(icon.AddMenuItem("One", "one", false, 0, 0, "", false, true), 1);
    QCOMPARE(icon.AddMenuItem("Two", "two", true, 0, 0, "", true, true), 2);
    QVERIFY(icon.Default(2) == true && icon.Default(1) == false && !icon.Default(3));
    QVERIFY(icon.Checked(2) == true && icon.Checked(1) == false && !icon.Checked(0));
    QVERIFY(icon.setDefault(1, true) && icon.setChecked(1, true));
    QVERIFY(!icon.setDefault(3, true) && !icon.setChecked(3, true));
    QVERIFY(icon.Default(1) == true && icon.Checked(1) == true);
    QVERIFY(!icon.RemoveMenuItem("none") && !icon.RemoveMenuItem(3) && icon.RemoveMenuItem(1));
    QCOMPARE(icon.PopupMenuObject().count(), 1);
    QCOMPARE(icon.PopupMenuObject().caption(1), "Two");

    QStringList events;
    const auto note = [&events](const char *what) {
        return [&events, what](int button) { events << QString("%1 %2").arg(what).arg(button); };
    };
    connect(&icon, &frmSysTray::SysTrayMouseDown, this, note("down"));
    connect(&icon, &frmSysTray::SysTrayMouseUp, this, note("up"));
    connect(&icon, &frmSysTray::SysTrayDoubleClick, this, note("double"));
    connect(&icon, &frmSysTray::SysTrayMouseMove, this, [&events] { events << "move"; });
    for (int message = 511; message <= 519; ++message) {
        icon.mouseMessage(message);
    }
    QCOMPARE(events.join(", "), "move, down 1, up 1, double 1, down 2, up 2, double 2");
}

QTEST_MAIN(TestTray)
#include "test_tray.moc"
