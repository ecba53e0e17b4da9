// Copying, typing and opening a record's fields: the exact texts for each key
// option, the refusals and their messages, the link handed on, and (under
// Xvfb) a user name and password typed into another program's form.

#include "TestServices.h"
#include "TransferRoutines.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>

using platform::PromptButtons;
using platform::PromptIcon;
using Asked = QList<platform::PromptRequest>;

// A desktop that allows no typing says why; a target window that has gone, not.
class RefusingTyper final : public platform::KeyTyper
{
public:
    bool type(const QString &, QString &error) override { return error = reason, false; }
    QString reason;
};

struct Fixture
{
    TestServices t;
    platform::RecordingClipboard clipboard;
    platform::RecordingShell shell;
    platform::RecordingKeyTyper typer;
    transfer::TransferRoutines routines{t.services, clipboard, shell, typer};
    Fixture()
    {
        t.state.Store->NewFile();
        for (const QStringList &r :
             {QStringList{"Bank", "alice", "s3cret", "https://bank.example/"},
              {"Empty", "", "", ""},
              {"Notation", "a+b", "{x}%~", ""},
              {"Broken", "anna", "x)y", ""},
              {"Forum", "o'neil@bank.example", "Pa55 w0rd!äß", ""}}) {
            PasswordEntry entry;
            std::tie(entry.service, entry.UserName, entry.Password, entry.URL) =
                std::tie(r[0], r[1], r[2], r[3]);
            QVERIFY(t.state.Store->AddPassword(entry));
        }
    }
};

class TestTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userAndPassword_data();
    void userAndPassword();
    void refusals();
    void openUrl();
    void typedIntoAnotherProgram();
};

void TestTransfer::userAndPassword_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("before"); // KeyBeforeCB; KeyBefore is "x"
    QTest::addColumn<int>("after");  // KeyAfterCB; KeyAfter is "!"
    QTest::addColumn<QString>("copied");
    QTest::addColumn<QString>("typed");
    // The codes of the options: 8 Tab (a backspace on the clipboard), 13 Enter, 0 nothing,
    // -1 the option's text; any other code is its character there and nothing as keys.
    const auto row = [](const char *name, const char *service, int before, int after,
                        const QString &copied, const QString &typed) {
        QTest::newRow(name) << QString(service) << before << after << copied << typed;
    };
    row("tab, enter", "Bank", 8, 13, "alice\bs3cret\r", "alice{TAB}s3cret{ENTER}");
    row("custom, nothing; any case", "bANK", -1, 0, "alicexs3cret", "alicexs3cret");
    row("other codes", "Bank", 9, -2, "alice\ts3cret", "alices3cret");
    row("notation unchanged", "Notation", 0, -1, "a+b{x}%~!", "a+b{x}%~!");
    row("unknown record", "Gone", 8, 13, "", "");
}

void TestTransfer::userAndPassword()
{
    QFETCH(QString, service);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QString, typed);
    Fixture f;
    f.t.options.KeyBeforeCB = static_cast<qint16>(before);
    f.t.options.KeyAfterCB = static_cast<qint16>(after);
    f.t.options.KeyBefore = "x";
    f.t.options.KeyAfter = "!";
    f.routines.CopyUserPassword(service);
    f.routines.SendUserPassword(service);
    QTEST(f.clipboard.entries.value(0).text, "copied");
    QVERIFY(f.clipboard.entries.size() == 1 && f.clipboard.entries[0].secret);
    QCOMPARE(f.typer.typed, typed.isEmpty() ? QStringList() : QStringList{typed});
}

void TestTransfer::refusals()
{
    Fixture f;
    // A secret is marked so, a link is not; an unknown record empties the clipboard.
    for (const char *service : {"Bank", "Gone"}) {
        f.routines.CopyPassword(service);
        f.routines.CopyURL(service);
    }
    QCOMPARE(f.clipboard.entries,
             (QList<platform::RecordingClipboard::Entry>{
                 {"s3cret", true}, {"https://bank.example/", false}, {"", true}, {"", false}}));
    f.routines.RememberTarget();
    for (const char *service : {"Bank", "Notation", "Empty", "Gone", "Broken"}) {
        f.routines.SendPassword(service);
    }
    QVERIFY(!f.routines.SendKeys("") && !f.routines.SendKeys("x)y"));
    {
        QWidget window; // keys meant for another program never land in one of ours
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window) && !f.routines.SendKeys("abc"));
    }
    QVERIFY(f.typer.remembered == 1 && f.typer.typed == QStringList({"s3cret", "{x}%~"}));
    RefusingTyper refusing;
    const transfer::TransferRoutines routines(f.t.services, f.clipboard, f.shell, refusing);
    refusing.reason = "No typing here.";
    QVERIFY(!routines.SendKeys("abc"));
    refusing.reason.clear();
    QVERIFY(!routines.SendKeys("abc"));
    // Text that is not valid notation is refused whole, with the reason.
    QCOMPARE(f.t.prompt.asked.size(), 3);
    QVERIFY(f.t.prompt.asked[0] == f.t.prompt.asked[1] &&
            f.t.prompt.asked[0].text.startsWith("Nothing was typed"));
    QCOMPARE(f.t.prompt.asked[2],
             (platform::PromptRequest{"No typing here.", "VLM", PromptIcon::Critical,
                                      PromptButtons::Ok}));
    QCOMPARE(f.t.prompt.asked[0].icon, PromptIcon::Critical);
}

void TestTransfer::openUrl()
{
    // The text as given, whether the desktop takes it, GTSAfterURL, in the tray already,
    // and whether the full main window goes to the tray after.
    for (const auto &[url, takes, gts, inTray, toTray] :
         {std::tuple{QString(" https://x.example "), false, false, false, false},
          {"https://x.example", true, true, false, true},
          {"https://x.example", true, true, true, false},
          {" \t\r\n", true, true, false, true}}) {
        Fixture f;
        RecordingWindow window;
        f.shell.opens = takes;
        f.t.options.GTSAfterURL = gts;
        f.t.state.TrayMode = inTray;
        const bool blank = url.trimmed().isEmpty();
        QCOMPARE(f.routines.OpenURL(url), takes && !blank);
        f.t.state.setCurrentMainWindow(&window);
        f.routines.ExecuteUrlThenTray(url);
        f.t.state.setCurrentMainWindow(nullptr);
        QCOMPARE(f.shell.opened, blank ? QStringList() : QStringList(2, url));
        QCOMPARE(f.t.prompt.asked,
                 blank ? Asked(2, {"No URL Assigned!", "VLM", PromptIcon::None, PromptButtons::Ok})
                       : Asked());
        QCOMPARE(window.calls, toTray ? QStringList{"GotoSysTray"} : QStringList());
    }
}

void TestTransfer::typedIntoAnotherProgram()
{
    if (QGuiApplication::platformName() != "xcb") {
        QSKIP("needs an X server: run under tests/with-xvfb.sh");
    }
    Fixture f;
    f.t.options.KeyBeforeCB = 8;
    f.t.options.KeyAfterCB = 13;
    const std::unique_ptr<platform::KeyTyper> typer = platform::makeSystemKeyTyper();
    const transfer::TransferRoutines routines(f.t.services, f.clipboard, f.shell, *typer);
    QProcess form;
    form.start(VELLUMOR_LOGIN_TARGET, {});
    QVERIFY(form.waitForReadyRead(10000) && form.readLine() == "ready\n");
    routines.SendUserPassword("Forum");
    // Typing lets pending events run, so the form may have ended already.
    QVERIFY(form.state() == QProcess::NotRunning || form.waitForFinished(10000));
    QCOMPARE(form.readAllStandardOutput(),
             "fields " + QString("o'neil@bank.example").toUtf8().toHex() + ' ' +
                 QString("Pa55 w0rd!äß").toUtf8().toHex() + '\n');
    QVERIFY(f.t.prompt.asked.isEmpty());
}

QTEST_MAIN(TestTransfer)
#include "test_transfer.moc"
