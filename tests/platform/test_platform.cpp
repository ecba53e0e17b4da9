// The platform layer without other processes: the clipboard hint for secrets and
// when a secret leaves the clipboard again, how links are classified, registry
// values (the Run value a real XDG autostart entry), message boxes and file
// dialogs as asked for, and the keystroke notation.

#include "Clipboard.h"
#include "FileDialogs.h"
#include "KeySequence.h"
#include "Prompt.h"
#include "Registry.h"
#include "Shell.h"

#include <optional>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace platform;
using N = KeyStroke::Named;

Q_DECLARE_METATYPE(Hive)
Q_DECLARE_METATYPE(QList<KeyStroke>)

namespace {

QString autostartEntry()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/autostart/VLM.desktop";
}

// A key with the modifiers named in `held`: S(hift), C(ontrol), A(lt).
KeyStroke key(char32_t character, const char *held = "", N named = N::Character, int function = 0)
{
    const QString h = held;
    return {character, named, function, h.contains('S'), h.contains('C'), h.contains('A')};
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void opened(const QUrl &url) { m_opened << url.toString(); } // the desktop's link handler

private:
    QStringList m_opened;

private Q_SLOTS:
    // The isolation wrapper gives the tests a config folder of their own.
    void initTestCase() { QVERIFY(!qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty()); }
    void secretsCarryTheHint();
    void secretsLeave_data();
    void secretsLeave();
    void classify();
    void registry_data();
    void registry();
    void messageBox();
    void nameFilters();
    void fileDialog();
    void keys_data();
    void keys();
};

void TestPlatform::secretsCarryTheHint()
{
    SystemClipboard clipboard;
    clipboard.setText("hunter2", true);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text() + data->data("x-kde-passwordManagerHint"), QString("hunter2secret"));
    clipboard.setText("https://example.com", false);
    data = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(data->text() + data->data("x-kde-passwordManagerHint"),
             QString("https://example.com"));
}

void TestPlatform::secretsLeave_data()
{
    // Steps: secret:TEXT:DELAY-MS and link:TEXT copied by us, other:TEXT by another
    // program, end when our clipboard object goes (at exit).
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("left");
    const char *const rows[][3] = {
        {"cleared after its delay", "secret:pw:30", ""},
        {"copied over meanwhile", "secret:pw:30 other:mine", "mine"},
        {"a link over the secret", "secret:pw:30 link:www.example.com", "www.example.com"},
        {"a second secret, a new delay", "secret:pw:30 secret:pw2:60000", "pw2"},
        {"a second secret, no delay", "secret:pw:30 secret:pw2:0", "pw2"},
        {"0 keeps it while running", "secret:pw:0", "pw"},
        {"cleared at the end", "secret:pw:60000 end", ""},
        {"cleared at the end, also with 0", "secret:pw:0 end", ""},
        {"at the end, only its own", "secret:pw:60000 other:mine end", "mine"},
        {"a link stays at the end", "link:www.example.com end", "www.example.com"},
    };
    for (const auto &[name, steps, left] : rows) {
        QTest::newRow(name) << QString(steps) << QString(left);
    }
}

void TestPlatform::secretsLeave()
{
    QFETCH(QString, steps);
    QFETCH(QString, left);
    QClipboard *system = QGuiApplication::clipboard();
    system->setText("before");
    std::chrono::milliseconds delay{0};
    std::optional<SystemClipboard> clipboard(std::in_place, [&delay] { return delay; });
    for (const QString &step : steps.split(' ')) {
        const QString kind = step.section(':', 0, 0), text = step.section(':', 1, 1);
        if (kind == "secret") {
            delay = std::chrono::milliseconds(step.section(':', 2).toInt());
            clipboard->setText(text, true);
        } else if (kind == "link") {
            clipboard->setText(text, false);
        } else if (kind == "other") {
            system->setText(text);
        } else {
            clipboard.reset();
        }
    }
    // Long past the short delays: a clear that was due has happened.
    QTest::qWait(300);
    QCOMPARE(system->text(), left);
}

void TestPlatform::classify()
{
    QTemporaryDir dir;
    const QString notes = dir.filePath("notes.txt"), tool = dir.filePath("tool.sh");
    QFile(notes).open(QIODevice::WriteOnly);
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\ntouch \"$0.ran\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    using K = DesktopShell::Kind;
    const std::pair<QString, K> targets[] = {{"mailto:me@example.org", K::Url},
                                             {"www.example.com", K::Url},
                                             {"  https://x.example  ", K::Url},
                                             {tool, K::Program},
                                             {notes, K::Document},
                                             {dir.filePath("gone.txt"), K::Url}};
    for (const char *scheme : {"https", "http", "mailto", "file"})
        QDesktopServices::setUrlHandler(scheme, this, "opened");
    // Links go to the desktop's handler (a bare host as http); a program is started.
    for (const auto &[target, kind] : targets) {
        QCOMPARE(DesktopShell::classify(target), kind);
        QVERIFY(DesktopShell().open(target));
    }
    QCOMPARE(m_opened, (QStringList{"mailto:me@example.org", "http://www.example.com",
                                    "https://x.example", QUrl::fromLocalFile(notes).toString(),
                                    QUrl::fromLocalFile(dir.filePath("gone.txt")).toString()}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(tool + ".ran"), 10000);
    for (const char *scheme : {"https", "http", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestPlatform::registry_data()
{
    QTest::addColumn<Hive>("hive");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("exec"); // the autostart entry's Exec line, for the Run value
    const auto row = [](const char *name, Hive hive, const QString &key, const QString &written,
                        const QString &read, const QString &exec = {}) {
        QTest::newRow(name) << hive << key << written << read << exec;
    };
    const QString msinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", run = Registry::RunKey;
    const Hive lm = Hive::LocalMachine, cu = Hive::CurrentUser;
    row("plain", lm, msinfo, "/usr/bin/hardinfo", "/usr/bin/hardinfo");
    row("empty becomes blank", lm, msinfo, "", " ");
    row("1024 bytes fit", lm, msinfo, QString(1024, 'x'), QString(1024, 'x'));
    row("1025 bytes do not", lm, msinfo, QString(1025, 'x'), "");
    row("multi-byte over the buffer", lm, msinfo, QString(600, QChar(0xFC)), "");
    row("ends at a zero", cu, "Software\\Quorvan\\Test", QString::fromUtf8("ab\0c", 4), "ab");
    row("run", cu, run, "/usr/local/bin/vellumor", "/usr/local/bin/vellumor",
        "Exec=\"/usr/local/bin/vellumor\"");
    row("run: empty becomes blank", cu, run, "", " ", "Exec=\" \"");
    row("run: too long", cu, run, QString(2000, 'y'), "");
    // A single % would start a field code, and the quoting's own backslash
    // needs the string escape of every desktop-entry value on top.
    row("run: percent", cu, run, "/opt/100%/vellumor", "/opt/100%/vellumor",
        "Exec=\"/opt/100%%/vellumor\"");
    const QString odd = R"(/opt/My Apps/a\b/$x`"/vell)" + QString("\t\n\r");
    row("run: shell characters", cu, run, odd, odd,
        R"(Exec="/opt/My Apps/a\\\\b/\\$x\\`\\"/vell\t\n\r")");
}

void TestPlatform::registry()
{
    QFETCH(Hive, hive);
    QFETCH(QString, key);
    QFETCH(QString, written);
    QFETCH(QString, read);
    QFETCH(QString, exec);
    QVERIFY(Registry::RegWriteString(hive, key, "VLM", written));
    QCOMPARE(Registry::RegReadString(hive, key, "VLM"), read);
    // Key paths are case-insensitive, as on Windows.
    QCOMPARE(Registry::RegReadString(hive, key.toUpper(), "VLM"), read);
    QFile entry(autostartEntry());
    QCOMPARE(entry.open(QIODevice::ReadOnly), key == Registry::RunKey);
    const QString text = entry.readAll();
    QVERIFY2(exec.isEmpty() || (text.startsWith("[Desktop Entry]\nType=Application\n") &&
                                text.contains('\n' + exec + '\n')),
             qPrintable(text));
    QVERIFY(Registry::RegDeleteValue(hive, key, "VLM"));
    QCOMPARE(Registry::RegReadString(hive, key, "VLM"), QString());
    QVERIFY(!QFile::exists(autostartEntry()));
    QVERIFY(!Registry::RegDeleteValue(hive, key, "VLM")); // gone already
    // A value name that cannot be a file name fails instead of writing elsewhere.
    QCOMPARE(Registry::RegWriteString(hive, key, "../", "x"), key != Registry::RunKey);
}

void TestPlatform::messageBox()
{
    // What a click (0: Esc) answers; the title, icon and buttons (hex) QMessageBox shows.
    using B = PromptButtons;
    using I = PromptIcon;
    using A = PromptAnswer;
    const std::tuple<B, I, const char *, int, A, const char *> cases[] = {
        {B::Ok, I::Critical, "VLM", QMessageBox::Ok, A::Ok, "VLM 3 400"},
        {B::OkCancel, I::Exclamation, "VLM", 0, A::Cancel, "VLM 2 400400"},
        {B::YesNoCancel, I::Question, "VLM", QMessageBox::No, A::No, "VLM 4 414000"},
        {B::YesNo, I::Information, "VLM", 0, A::No, "VLM 1 14000"},
        {B::YesNo, I::None, "", QMessageBox::Yes, A::Yes, "Default 0 14000"}};
    for (const auto &[buttons, icon, title, click, answer, shown] : cases) {
        QString seen;
        QTimer::singleShot(0, [&seen, click = click] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            seen = box->windowTitle() + QString(" %1 ").arg(int(box->icon())) +
                   QString::number(int(box->standardButtons()), 16) + ' ' + box->text();
            if (click == 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(click))->click();
        });
        // Message texts carry carriage returns as line breaks.
        MessageBoxPrompt prompt("Default");
        QCOMPARE(prompt.ask("3 passwords here.\rYES to Move", buttons, icon, title), answer);
        QCOMPARE(seen, shown + QString(" 3 passwords here.\nYES to Move"));
    }
}

void TestPlatform::nameFilters()
{
    const std::pair<QString, QStringList> filters[] = {
        {"Vellumor |*.VLM", {"Vellumor (*.VLM)"}},
        {"Vellumor |*.VLM|All files|*.*", {"Vellumor (*.VLM)", "All files (*.*)"}},
        {"Text|*.txt;*.md", {"Text (*.txt *.md)"}},
        {"|*.VLM", {"*.VLM"}},
        {"Vellumor |*.VLM|Other", {"Vellumor (*.VLM)"}},
        {"Vellumor| ", {}}};
    for (const auto &[filter, expected] : filters)
        QCOMPARE(platform::nameFilters(filter), expected);
}

void TestPlatform::fileDialog()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = "Save Password File As....";
    request.filter = "Vellumor |*.VLM";
    request.defaultSuffix = "VLM";
    request.initialFolder = QDir::rootPath();
    request.overwritePrompt = true;
    // The dialog as the user sees it, and the path picked in it.
    QString seen;
    QTimer::singleShot(0, [&seen] {
        auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        seen = shown->windowTitle() + '|' + shown->nameFilters().join(';') + '|' +
               shown->directory().path() +
               QString("|%1|%2|%3")
                   .arg(int(shown->acceptMode()))
                   .arg(int(shown->fileMode()))
                   .arg(int(shown->testOption(QFileDialog::DontConfirmOverwrite)));
        shown->selectFile("fresh");
        static_cast<QDialog *>(shown)->accept(); // as the OK button does
    });
    QCOMPARE(QtFileDialogs().choose(request, nullptr),
             std::optional(QDir::rootPath() + "fresh.VLM")); // with the default suffix
    QCOMPARE(seen, QString("Save Password File As....|Vellumor (*.VLM)|/|1|0|0"));
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QVERIFY(!QtFileDialogs().choose(request, nullptr).has_value());
    // Opening wants an existing file unless the request may create one.
    QFileDialog dialog;
    FileDialogRequest open;
    configure(dialog, open);
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
    open.createPrompt = true;
    configure(dialog, open);
    QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
}

void TestPlatform::keys_data()
{
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QList<KeyStroke>>("expected"); // empty: refused
    QTest::newRow("tilde is enter, names ignore case")
        << "~{tab 2}" << QList{key(0, "", N::Enter), key(0, "", N::Tab), key(0, "", N::Tab)};
    QTest::newRow("modifiers on the next key or group")
        << "+a^b%c^(de)f" << QList{key('a', "S"), key('b', "C"), key('c', "A"),
                                   key('d', "C"), key('e', "C"), key('f')};
    QTest::newRow("function keys")
        << "{F1}+{F12}" << QList{key(0, "", N::F1, 1), key(0, "S", N::F1, 12)};
    QTest::newRow("outside the BMP")
        << QString::fromUcs4(U"\U0001F511") << QList{key(U'\U0001F511')};
    QTest::newRow("unclosed brace") << "a{b" << QList<KeyStroke>{};
    QTest::newRow("unknown name") << "{NOPE}" << QList<KeyStroke>{};
    QTest::newRow("no F13") << "{F13}" << QList<KeyStroke>{};
    QTest::newRow("trailing modifier") << "a+" << QList<KeyStroke>{};
    QTest::newRow("stray parenthesis") << "x)y" << QList<KeyStroke>{};
    QTest::newRow("unclosed group") << "+(ab" << QList<KeyStroke>{};
    QTest::newRow("bad repeat") << "{TAB x}" << QList<KeyStroke>{};
    QTest::newRow("repeat over 255") << "{TAB 256}" << QList<KeyStroke>{};
}

void TestPlatform::keys()
{
    QFETCH(QString, notation);
    QFETCH(QList<KeyStroke>, expected);
    bool ok = expected.isEmpty();
    QString problem;
    QCOMPARE(parseKeys(notation, &ok, &problem), expected);
    QCOMPARE(ok, !expected.isEmpty());
    // The user is told why, without the text quoted: it may be a password.
    QCOMPARE(problem.isEmpty(), ok);
    QVERIFY(ok || !invalidNotationMessage(problem).contains(notation));
}

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
