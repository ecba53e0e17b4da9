// The copy, send and open-link routines against recording doubles: the exact
// clipboard and keystroke texts for each key option, the messages, and the
// way a link is handed to the desktop.

#include "KeyText.h"
#include "Shell.h"
#include "TransferFixture.h"

#include <memory>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWidget>

using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;
using platform::RecordingClipboard;

namespace {

// A typer for a session that allows no typing.
class RefusingTyper final : public platform::KeyTyper
{
public:
    bool type(const QString &notation, QString &error) override
    {
        asked.append(notation);
        error = reason;
        return false;
    }
    QString reason = QStringLiteral("No typing here.");
    QStringList asked;
};

} // namespace

// Receives what the desktop would hand to a browser or mail program.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void openUrl(const QUrl &url) { urls.append(url.toString()); }
    QStringList urls;
};

class TestTransfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userPasswordTexts_data();
    void userPasswordTexts();
    void copies_data();
    void copies();
    void copyReplacesWhatWasThere();
    void sendPassword_data();
    void sendPassword();
    void sendRefusedIsExplained();
    void sendIntoOwnWindowTypesNothing();
    void keyText_data();
    void keyText();
    void openUrl_data();
    void openUrl();
    void desktopOpensLinksAndPrograms();
    void urlThenTray_data();
    void urlThenTray();
    void urlThenTrayWithoutMainWindow();
};

void TestTransfer::userPasswordTexts_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("beforeCode");
    QTest::addColumn<QString>("beforeText");
    QTest::addColumn<int>("afterCode");
    QTest::addColumn<QString>("afterText");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("keys");

    QTest::newRow("defaults: tab between, nothing after") << "Bank" << 8 << "" << 0 << ""
                                                          << "alice\bs3cret"
                                                          << "alice{TAB}s3cret";
    QTest::newRow("enter between") << "Bank" << 13 << "" << 0 << ""
                                   << "alice\rs3cret"
                                   << "alice{ENTER}s3cret";
    QTest::newRow("nothing between: joined directly") << "Bank" << 0 << "" << 0 << ""
                                                      << "alices3cret"
                                                      << "alices3cret";
    QTest::newRow("custom text between") << "Bank" << -1 << ":" << 0 << ""
                                         << "alice:s3cret"
                                         << "alice:s3cret";
    QTest::newRow("custom between, empty text: nothing inserted") << "Bank" << -1 << "" << 0 << ""
                                                                  << "alices3cret"
                                                                  << "alices3cret";
    QTest::newRow("tab after") << "Bank" << 0 << "" << 8 << ""
                               << "alices3cret\b"
                               << "alices3cret{TAB}";
    QTest::newRow("tab between, enter after") << "Bank" << 8 << "" << 13 << ""
                                              << "alice\bs3cret\r"
                                              << "alice{TAB}s3cret{ENTER}";
    QTest::newRow("custom text after") << "Bank" << 8 << "x" << -1 << "!"
                                       << "alice\bs3cret!"
                                       << "alice{TAB}s3cret!";
    QTest::newRow("custom texts ignored for other codes") << "Bank" << 13 << "x" << 0 << "y"
                                                          << "alice\rs3cret"
                                                          << "alice{ENTER}s3cret";
    QTest::newRow("another code: its character, but no key") << "Bank" << 9 << "" << 65 << ""
                                                             << "alice\ts3cretA"
                                                             << "alices3cret";
    QTest::newRow("a negative code other than -1 adds nothing") << "Bank" << -2 << "x" << 0 << ""
                                                                << "alices3cret"
                                                                << "alices3cret";
    QTest::newRow("empty fields keep the separators") << "Empty" << 8 << "" << 13 << ""
                                                      << "\b\r"
                                                      << "{TAB}{ENTER}";
    QTest::newRow("no user name") << "NoUser" << 8 << "" << 0 << ""
                                  << "\bonly-pass"
                                  << "{TAB}only-pass";
    QTest::newRow("notation characters of the fields go in unchanged")
        << "Notation" << -1 << "{TAB}" << -1 << "~"
        << "a+b{TAB}{x}%~~"
        << "a+b{TAB}{x}%~~";
    QTest::newRow("the service name is found in any case") << "bANK" << 8 << "" << 0 << ""
                                                           << "alice\bs3cret"
                                                           << "alice{TAB}s3cret";
    QTest::newRow("unknown record: nothing at all") << "Gone" << 8 << "" << 13 << ""
                                                    << ""
                                                    << "";
}

void TestTransfer::userPasswordTexts()
{
    QFETCH(QString, service);
    QFETCH(int, beforeCode);
    QFETCH(QString, beforeText);
    QFETCH(int, afterCode);
    QFETCH(QString, afterText);
    QFETCH(QString, clipboard);
    QFETCH(QString, keys);
    TransferFixture f;
    f.t.options.KeyBeforeCB = static_cast<qint16>(beforeCode);
    f.t.options.KeyBefore = beforeText;
    f.t.options.KeyAfterCB = static_cast<qint16>(afterCode);
    f.t.options.KeyAfter = afterText;

    QCOMPARE(f.routines.UserPasswordText(service), clipboard);
    QCOMPARE(f.routines.UserPasswordKeys(service), keys);

    f.routines.CopyUserPassword(service);
    QCOMPARE(f.clipboard.entries, (QList<RecordingClipboard::Entry>{{clipboard, true}}));

    f.routines.SendUserPassword(service);
    QCOMPARE(f.typer.typed, keys.isEmpty() ? QStringList() : QStringList{keys});
    QVERIFY(f.t.prompt.asked.isEmpty());
}

void TestTransfer::copies_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("secret");

    QTest::newRow("password") << "password"
                              << "Bank"
                              << "s3cret" << true;
    QTest::newRow("password, notation kept") << "password"
                                             << "Notation"
                                             << "{x}%~" << true;
    QTest::newRow("empty password") << "password"
                                    << "Empty"
                                    << "" << true;
    QTest::newRow("password of an unknown record") << "password"
                                                   << "Gone"
                                                   << "" << true;
    QTest::newRow("user and password") << "user+password"
                                       << "Bank"
                                       << "alice\bs3cret" << true;
    QTest::newRow("url") << "url"
                         << "Bank"
                         << "https://bank.example/login" << false;
    QTest::newRow("url kept with its blanks") << "url"
                                              << "NoUser"
                                              << "  mailto:me@example.org " << false;
    QTest::newRow("empty url") << "url"
                               << "Empty"
                               << "" << false;
    QTest::newRow("url of an unknown record") << "url"
                                              << "Gone"
                                              << "" << false;
}

void TestTransfer::copies()
{
    QFETCH(QString, routine);
    QFETCH(QString, service);
    QFETCH(QString, text);
    QFETCH(bool, secret);
    TransferFixture f;
    if (routine == QLatin1String("password")) {
        f.routines.CopyPassword(service);
    } else if (routine == QLatin1String("user+password")) {
        f.routines.CopyUserPassword(service);
    } else {
        f.routines.CopyURL(service);
    }
    QCOMPARE(f.clipboard.entries, (QList<RecordingClipboard::Entry>{{text, secret}}));
    QVERIFY(f.typer.typed.isEmpty());
    QVERIFY(f.shell.opened.isEmpty());
    QVERIFY(f.t.prompt.asked.isEmpty());
}

void TestTransfer::copyReplacesWhatWasThere()
{
    // Through the real clipboard: an unknown record leaves nothing to paste.
    TransferFixture f;
    platform::SystemClipboard system;
    transfer::TransferRoutines routines(f.t.services, system, f.shell, f.typer);
    routines.CopyPassword(QStringLiteral("Bank"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("s3cret"));
    routines.CopyURL(QStringLiteral("Bank"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://bank.example/login"));
    routines.CopyPassword(QStringLiteral("Gone"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestTransfer::sendPassword_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<bool>("withUser");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("refusal");
    const QString invalid = QStringLiteral(
        "Nothing was typed: the text to type is not valid keystroke notation (a \")\" without its "
        "\"(\").\n\nIn a user name, password or key text, write the characters + ^ % ~ ( ) { } as "
        "{+} {^} {%} {~} {(} {)} {{} {}}.");

    QTest::newRow("password") << "Bank" << false << QStringList{"s3cret"} << "";
    QTest::newRow("password as notation") << "Notation" << false << QStringList{"{x}%~"} << "";
    QTest::newRow("empty password: nothing") << "Empty" << false << QStringList() << "";
    QTest::newRow("unknown record: nothing") << "Gone" << false << QStringList() << "";
    QTest::newRow("invalid notation: nothing, and why")
        << "Broken" << false << QStringList() << invalid;
    QTest::newRow("user name with invalid password: nothing, and why")
        << "Broken" << true << QStringList() << invalid;
}

void TestTransfer::sendPassword()
{
    QFETCH(QString, service);
    QFETCH(bool, withUser);
    QFETCH(QStringList, typed);
    QFETCH(QString, refusal);
    TransferFixture f;
    if (withUser) {
        f.routines.SendUserPassword(service);
    } else {
        f.routines.SendPassword(service);
    }
    QCOMPARE(f.typer.typed, typed);
    QVERIFY(f.clipboard.entries.isEmpty());
    QCOMPARE(f.t.prompt.asked,
             refusal.isEmpty() ? QList<PromptRequest>{}
                               : (QList<PromptRequest>{{refusal, QStringLiteral("VLM"),
                                                        PromptIcon::Critical, PromptButtons::Ok}}));
}

void TestTransfer::sendRefusedIsExplained()
{
    TransferFixture f;
    RefusingTyper refusing;
    const transfer::TransferRoutines routines(f.t.services, f.clipboard, f.shell, refusing);
    routines.SendUserPassword(QStringLiteral("Bank"));
    QCOMPARE(refusing.asked, QStringList{QStringLiteral("alice{TAB}s3cret")});
    QCOMPARE(f.t.prompt.asked,
             (QList<PromptRequest>{{QStringLiteral("No typing here."), QStringLiteral("VLM"),
                                    PromptIcon::Critical, PromptButtons::Ok}}));
    QVERIFY(!routines.SendKeys(QStringLiteral("abc")));
    QCOMPARE(f.t.prompt.asked.size(), 2);
    // No reason: the window to type into has gone, and that needs no box.
    refusing.reason.clear();
    QVERIFY(!routines.SendKeys(QStringLiteral("abc")));
    QCOMPARE(f.t.prompt.asked.size(), 2);
}

void TestTransfer::sendIntoOwnWindowTypesNothing()
{
    TransferFixture f;
    QVERIFY(f.routines.SendKeys(QStringLiteral("abc")));
    {
        QWidget window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!f.routines.SendKeys(QStringLiteral("def")));
        f.routines.SendPassword(QStringLiteral("Bank"));
    }
    QCOMPARE(f.typer.typed, QStringList{QStringLiteral("abc")});
    QVERIFY(f.t.prompt.asked.isEmpty());
}

void TestTransfer::keyText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("separator");
    QTest::newRow("tab") << 8 << "x"
                         << "{TAB}"
                         << "\b";
    QTest::newRow("enter") << 13 << "x"
                           << "{ENTER}"
                           << "\r";
    QTest::newRow("nothing") << 0 << "x"
                             << ""
                             << "";
    QTest::newRow("custom") << -1 << "x"
                            << "x"
                            << "x";
    QTest::newRow("custom, empty") << -1 << ""
                                   << ""
                                   << "";
    QTest::newRow("nine is no tab key") << 9 << "x"
                                        << ""
                                        << "\t";
    QTest::newRow("largest code") << 32767 << ""
                                  << "" << QString(QChar(char16_t(32767)));
    QTest::newRow("negative") << -13 << "x"
                              << ""
                              << "";
}

void TestTransfer::keyText()
{
    QFETCH(int, code);
    QFETCH(QString, custom);
    QFETCH(QString, keys);
    QFETCH(QString, separator);
    QCOMPARE(transfer::KeyText(static_cast<qint16>(code), custom), keys);
    QCOMPARE(transfer::SeparatorText(static_cast<qint16>(code), custom), separator);
}

void TestTransfer::openUrl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shellOpens");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("noUrlMessage");

    QTest::newRow("web address") << "https://bank.example/login" << true
                                 << QStringList{"https://bank.example/login"} << true << false;
    QTest::newRow("blanks around are handed on")
        << "  https://x.example " << true << QStringList{"  https://x.example "} << true << false;
    QTest::newRow("program path") << "/usr/bin/true" << true << QStringList{"/usr/bin/true"} << true
                                  << false;
    QTest::newRow("desktop cannot open it: no message")
        << "nothing://here" << false << QStringList{"nothing://here"} << false << false;
    QTest::newRow("empty") << "" << true << QStringList() << false << true;
    QTest::newRow("blanks only") << "    " << true << QStringList() << false << true;
    QTest::newRow("tabs and line ends only") << "\t\r\n" << true << QStringList() << false << true;
}

void TestTransfer::openUrl()
{
    QFETCH(QString, text);
    QFETCH(bool, shellOpens);
    QFETCH(QStringList, opened);
    QFETCH(bool, result);
    QFETCH(bool, noUrlMessage);
    TransferFixture f;
    f.shell.opens = shellOpens;
    QCOMPARE(f.routines.OpenURL(text), result);
    QCOMPARE(f.shell.opened, opened);
    const QList<PromptRequest> expected =
        noUrlMessage
            ? QList<PromptRequest>{{QStringLiteral("No URL Assigned!"), QStringLiteral("VLM"),
                                    PromptIcon::None, PromptButtons::Ok}}
            : QList<PromptRequest>{};
    QCOMPARE(f.t.prompt.asked, expected);
}

void TestTransfer::desktopOpensLinksAndPrograms()
{
    // The real desktop opener: links go to the scheme's handler (caught here),
    // a program path is started.
    TransferFixture f;
    UrlCatcher catcher;
    for (const char *scheme : {"https", "http", "mailto", "file"}) {
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "openUrl");
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString marker = dir.filePath(QStringLiteral("started"));
    const QString program = dir.filePath(QStringLiteral("tool.sh"));
    const QString document = dir.filePath(QStringLiteral("notes.txt"));
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + marker.toUtf8() + "'\n");
        QFile notes(document);
        QVERIFY(notes.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner));

    platform::DesktopShell desktop;
    const transfer::TransferRoutines routines(f.t.services, f.clipboard, desktop, f.typer);
    QVERIFY(routines.OpenURL(QStringLiteral(" https://bank.example/login ")));
    QVERIFY(routines.OpenURL(QStringLiteral("mailto:me@example.org")));
    QVERIFY(routines.OpenURL(QStringLiteral("www.example.com")));
    QVERIFY(routines.OpenURL(document));
    QCOMPARE(catcher.urls, (QStringList{QStringLiteral("https://bank.example/login"),
                                        QStringLiteral("mailto:me@example.org"),
                                        QStringLiteral("http://www.example.com"),
                                        QUrl::fromLocalFile(document).toString()}));
    QVERIFY(routines.OpenURL(program));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QCOMPARE(catcher.urls.size(), 4); // the program went to no link handler
    for (const char *scheme : {"https", "http", "mailto", "file"}) {
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
}

void TestTransfer::urlThenTray_data()
{
    QTest::addColumn<bool>("gtsAfterUrl");
    QTest::addColumn<bool>("trayMode");
    QTest::addColumn<QString>("service");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("windowCalls");
    QTest::addColumn<int>("messages");

    const QStringList bank{"https://bank.example/login"};
    const QStringList toTray{"GotoSysTray"};
    QTest::newRow("option off") << false << false << "Bank" << bank << QStringList() << 0;
    QTest::newRow("option on: to the tray") << true << false << "Bank" << bank << toTray << 0;
    QTest::newRow("option on, already in the tray")
        << true << true << "Bank" << bank << QStringList() << 0;
    QTest::newRow("option off, in the tray")
        << false << true << "Bank" << bank << QStringList() << 0;
    QTest::newRow("no URL: told, then to the tray")
        << true << false << "Notation" << QStringList() << toTray << 1;
    QTest::newRow("unknown record, option off")
        << false << false << "Gone" << QStringList() << QStringList() << 1;
}

void TestTransfer::urlThenTray()
{
    QFETCH(bool, gtsAfterUrl);
    QFETCH(bool, trayMode);
    QFETCH(QString, service);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, windowCalls);
    QFETCH(int, messages);
    TransferFixture f;
    RecordingWindow window;
    f.t.state.setCurrentMainWindow(&window);
    f.t.options.GTSAfterURL = gtsAfterUrl;
    f.t.state.TrayMode = trayMode;

    f.routines.ExecuteUrlThenTray(f.t.state.Store->GetField(4, service));
    QCOMPARE(f.shell.opened, opened);
    QCOMPARE(window.calls, windowCalls);
    QCOMPARE(f.t.prompt.asked.size(), messages);
    if (messages > 0) {
        QCOMPARE(f.t.prompt.asked.first().text, QStringLiteral("No URL Assigned!"));
    }
    f.t.state.setCurrentMainWindow(nullptr);
}

void TestTransfer::urlThenTrayWithoutMainWindow()
{
    TransferFixture f;
    f.t.options.GTSAfterURL = true;
    QCOMPARE(f.t.state.CurrentMainWindow(), nullptr);
    f.routines.ExecuteUrlThenTray(QStringLiteral("https://x.example"));
    QCOMPARE(f.shell.opened, QStringList{QStringLiteral("https://x.example")});
}

QTEST_MAIN(TestTransfer)
#include "test_transfer.moc"
