// Finding and starting the system information tool: the registry places of
// Windows, the program list of other desktops, and what the user sees when
// there is no tool or it will not start.

#include "AboutFixture.h"
#include "Shell.h"
#include "SystemInfo.h"

#include <QMap>
#include <QSet>

using about::SystemInfoLookup;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

const PromptRequest Unavailable{QStringLiteral("System Information Is Unavailable At This Time"),
                                QString(), PromptIcon::None, PromptButtons::Ok};

// A machine described by its registry values, files and installed programs;
// anything not listed is not there.
struct Machine
{
    QMap<QString, QString> registry; // "key|value" -> data
    QSet<QString> files;
    QSet<QString> programs;
    QStringList filesAsked;

    SystemInfoLookup lookup()
    {
        SystemInfoLookup l;
        l.readMachineValue = [this](const QString &key, const QString &value) {
            return registry.value(key + QLatin1Char('|') + value);
        };
        l.fileExists = [this](const QString &path) {
            filesAsked << path;
            return files.contains(path);
        };
        l.findExecutable = [this](const QString &program) {
            return programs.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
        };
        return l;
    }
};

} // namespace

class TestSystemInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsTool_data();
    void windowsTool();
    void desktopTool_data();
    void desktopTool();
    void platformToolIsTheDesktopsOnLinux();
    void start_data();
    void start();
};

void TestSystemInfo::windowsTool_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("filesAsked");

    const QString folder = QStringLiteral("C:\\Program Files\\Common Files\\MSInfo");
    const QString file = folder + QStringLiteral("\\MSINFO32.EXE");
    QTest::newRow("path given") << "C:\\Tools\\msinfo32.exe" << folder << true
                                << "C:\\Tools\\msinfo32.exe" << QStringList();
    QTest::newRow("path given, not checked on disk")
        << "C:\\Gone\\msinfo32.exe" << QString() << false << "C:\\Gone\\msinfo32.exe"
        << QStringList();
    QTest::newRow("folder with the tool")
        << QString() << folder << true << file << QStringList{file};
    QTest::newRow("folder without the tool")
        << QString() << folder << false << QString() << QStringList{file};
    QTest::newRow("neither") << QString() << QString() << false << QString() << QStringList();
}

void TestSystemInfo::windowsTool()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(bool, fileThere);
    QFETCH(QString, expected);
    QFETCH(QStringList, filesAsked);

    Machine m;
    if (!path.isEmpty()) {
        m.registry.insert(ToolKey + QStringLiteral("|PATH"), path);
    }
    if (!folder.isEmpty()) {
        m.registry.insert(FolderKey + QStringLiteral("|MSINFO"), folder);
    }
    if (fileThere) {
        m.files.insert(folder + QStringLiteral("\\MSINFO32.EXE"));
    }
    QCOMPARE(about::WindowsSystemInfoTool(m.lookup()), expected);
    QCOMPARE(m.filesAsked, filesAsked);
}

void TestSystemInfo::desktopTool_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("only a process monitor")
        << QStringList{"gnome-system-monitor"} << "/usr/bin/gnome-system-monitor";
    QTest::newRow("an overview beats a monitor")
        << QStringList{"gnome-system-monitor", "kinfocenter"} << "/usr/bin/kinfocenter";
    QTest::newRow("hardinfo first")
        << QStringList{"kinfocenter", "hardinfo", "lxtask"} << "/usr/bin/hardinfo";
    QTest::newRow("unknown programs do not count") << QStringList{"msinfo32", "top"} << QString();
}

void TestSystemInfo::desktopTool()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, expected);

    Machine m;
    m.programs = QSet<QString>(installed.cbegin(), installed.cend());
    // Registry entries of Windows mean nothing to other desktops.
    m.registry.insert(ToolKey + QStringLiteral("|PATH"), QStringLiteral("C:\\msinfo32.exe"));
    QCOMPARE(about::DesktopSystemInfoTool(m.lookup()), expected);
}

void TestSystemInfo::platformToolIsTheDesktopsOnLinux()
{
    Machine m;
    m.registry.insert(ToolKey + QStringLiteral("|PATH"), QStringLiteral("C:\\msinfo32.exe"));
    m.programs.insert(QStringLiteral("kinfocenter"));
#ifdef Q_OS_WIN
    QCOMPARE(about::SystemInfoTool(m.lookup()), QStringLiteral("C:\\msinfo32.exe"));
#else
    QCOMPARE(about::SystemInfoTool(m.lookup()), QStringLiteral("/usr/bin/kinfocenter"));
#endif
}

void TestSystemInfo::start_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QList<PromptRequest>>("asked");

    QTest::newRow("tool found and started")
        << QStringList{"hardinfo"} << true << QStringList{"/usr/bin/hardinfo"}
        << QList<PromptRequest>();
    // A failed start is not reported.
    QTest::newRow("tool found, will not start")
        << QStringList{"hardinfo"} << false << QStringList{"/usr/bin/hardinfo"}
        << QList<PromptRequest>();
    QTest::newRow("no tool") << QStringList() << true << QStringList()
                             << QList<PromptRequest>{Unavailable};
}

void TestSystemInfo::start()
{
    QFETCH(QStringList, installed);
    QFETCH(bool, starts);
    QFETCH(QStringList, opened);
    QFETCH(QList<PromptRequest>, asked);

    Machine m;
    m.programs = QSet<QString>(installed.cbegin(), installed.cend());
    platform::RecordingShell shell;
    shell.opens = starts;
    platform::ScriptedPrompt prompt;
    about::StartSystemInfo(m.lookup(), shell, prompt);
    QCOMPARE(shell.opened, opened);
    QCOMPARE(prompt.asked, asked);
}

QTEST_MAIN(TestSystemInfo)
#include "test_about_system_info.moc"
