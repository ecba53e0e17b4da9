// Start-up: command-line paths, a later start's hand-over, the options read first.

#include "HandOver.h"
#include "LoadOptions.h"
#include "StartUp.h"
#include "TestServices.h"

#include <QProcess>
#include <QSettings>
#include <QTest>

class TestStartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void programOption_data();
    void programOption();
    void answersOption_data();
    void answersOption();
    void stripQuotes_data();
    void stripQuotes();
    void handOver_data();
    void handOver();
    void loadOptions_data();
    void loadOptions();
};

void TestStartUp::programOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<app::ProgramOption>("option");
    using O = app::ProgramOption;
    QTest::newRow("help") << QStringList{"--help"} << O::Help;
    QTest::newRow("h") << QStringList{"-h"} << O::Help;
    QTest::newRow("help-all") << QStringList{"--help-all"} << O::Help;
    QTest::newRow("version") << QStringList{"--version"} << O::Version;
    QTest::newRow("v") << QStringList{"-v"} << O::Version;
    QTest::newRow("nothing") << QStringList{} << O::None;
    QTest::newRow("unknown option is a file") << QStringList{"--foo"} << O::None;
    QTest::newRow("option and more") << QStringList{"--help", "x"} << O::None;
    QTest::newRow("path split at a blank") << QStringList{"my", "--version"} << O::None;
    QTest::newRow("other case") << QStringList{"--Help"} << O::None;
    QTest::newRow("quoted") << QStringList{"\"--help\""} << O::None;
    QTest::newRow("blank after") << QStringList{"--help "} << O::None;
}

void TestStartUp::programOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(app::ProgramOption, option);
    QCOMPARE(app::programOption(arguments), option);
}

void TestStartUp::answersOption_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected"); // a line of standard output
    QTest::newRow("version") << "--version"
                             << "vellumor " VELLUMOR_VERSION_TEXT;
    QTest::newRow("v") << "-v"
                       << "vellumor " VELLUMOR_VERSION_TEXT;
    QTest::newRow("help") << "--help"
                          << "Usage: " VELLUMOR_PROGRAM " [options] [file]";
    QTest::newRow("h") << "-h"
                       << "  -v, --version  Displays version information.";
}

// The program answers and ends without a display and without taking the
// single-instance lock.
void TestStartUp::answersOption()
{
    QFETCH(QString, option);
    QFETCH(QString, expected);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VELLUMOR_PROGRAM), {option});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardOutput()).split('\n');
    QVERIFY2(lines.contains(expected), qPrintable(lines.join('\n')));
}

void TestStartUp::stripQuotes_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("quoted, blanks around")
        << QString("  \"/home/my files/a.VLM\"  ") << QString("/home/my files/a.VLM");
    QTest::newRow("only leading") << QString("\"a b") << QString("a b");
    QTest::newRow("one pair only") << QString("\"\"a\"\"") << QString("\"a\"");
    QTest::newRow("tab is not a blank") << QString("\t\"a\"") << QString("\t\"a");
}

void TestStartUp::stripQuotes()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(app::StripQuotes(in), out);
    QCOMPARE(app::buildAppTitle(QVersionNumber(1, 2)), QStringLiteral("Vellumor V1.2.0"));
}

void TestStartUp::handOver_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("save");  // the answer to the save question
    QTest::addColumn<bool>("shown"); // the open routine showed the file itself
    QTest::addColumn<QStringList>("expected");
    const QString path = "/home/\u00e4nna/\u043f\u0430\u0440\u043e\u043b\u044c.VLM";
    const QStringList opened{"ask Do you want to save <open file>", "restore", "open " + path,
                             "UpdateView(0)"};
    // Without a path the window only comes forward.
    QTest::newRow("no argument") << app::instancePayload(QString()) << true << false
                                 << QStringList{"restore"};
    QTest::newRow("no bytes") << QByteArray() << true << false << QStringList{"restore"};
    QTest::newRow("quoted path") << app::instancePayload('"' + path + '"') << true << false
                                 << opened;
    // Shown once: no second refresh of the whole window.
    QTest::newRow("opened and shown")
        << app::instancePayload(path) << true << true << opened.mid(0, 3);
    QTest::newRow("save cancelled")
        << app::instancePayload(path) << false << false << QStringList{opened.constFirst()};
    QTest::newRow("quotes only") << app::instancePayload("  \"\"") << true << false
                                 << QStringList{};
}

void TestStartUp::handOver()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, save);
    QFETCH(bool, shown);
    QFETCH(QStringList, expected);
    TestServices t;
    QVERIFY(t.state.Store->NewFile());
    RecordingWindow window;
    t.state.setCurrentMainWindow(&window);
    const app::HandOverActions actions{
        [&] { window.calls << "restore"; },
        [&](const QString &prompt) {
            window.calls << "ask " +
                                QString(prompt).replace(t.state.Store->FileName(), "<open file>");
            return save;
        },
        [&] {
            window.calls << "open " + t.state.FilePath;
            return shown;
        }};
    app::receiveHandOver(t.state, payload, actions);
    QCOMPARE(window.calls, expected);
    QCOMPARE(app::pathFromPayload(payload).isEmpty(), !expected.value(0).startsWith("ask"));
}

void TestStartUp::loadOptions_data()
{
    QTest::addColumn<QString>("language"); // "" leaves the option unset
    QTest::addColumn<bool>("starts");
    QTest::newRow("first start") << "" << true;
    QTest::newRow("code in other case") << "eng" << true;
    QTest::newRow("not installed") << "ITA" << false;
    QTest::newRow("blank") << " " << false;
}

void TestStartUp::loadOptions()
{
    QFETCH(QString, language);
    QFETCH(bool, starts);
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
    TestServices t;
    SettingsComponent &s = t.settings.OpenOptionSettings();
    if (!language.isEmpty()) {
        s.SaveString(QStringLiteral("Language"), language);
    }
    s.SaveInteger(QStringLiteral("HistorySize"), 2); // read first: it cuts the list
    for (const QString name : {"File-1", "File-2", "File-3", "FileName"}) {
        s.SaveString(name, "/a/" + name);
    }
    t.settings.ReleaseOptionSettings();
    const LanguageRegistry registry;
    Language component(registry);
    QString filePath;
    QCOMPARE(
        app::LoadOptions(t.settings, t.options, component, t.prompt, "/opt/v", t.recent, filePath),
        starts);
    QVERIFY(t.settings.OptionSettings == nullptr);
    QCOMPARE(component.LanguageComponent() != nullptr, starts);
    const QList<platform::PromptRequest> told{{"Language DLL Not Found!", "VLM",
                                               platform::PromptIcon::Critical,
                                               platform::PromptButtons::Ok}};
    QCOMPARE(t.prompt.asked, starts ? QList<platform::PromptRequest>{} : told);
    if (starts) {
        QCOMPARE(t.options.Path, QStringLiteral("/opt/v"));
        QCOMPARE(t.recent.paths(), (QStringList{"/a/File-1", "/a/File-2"}));
        QCOMPARE(filePath, QStringLiteral("/a/FileName"));
    }
}

QTEST_GUILESS_MAIN(TestStartUp)
#include "test_startup.moc"
