#include "SystemInfo.h"

#include "Prompt.h"
#include "Registry.h"
#include "Shell.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace about {

namespace {

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ToolValue = QStringLiteral("PATH");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString FolderValue = QStringLiteral("MSINFO");
const QString ToolFile = QStringLiteral("\\MSINFO32.EXE");

#ifdef Q_OS_WIN
constexpr bool OnWindows = true;
#else
constexpr bool OnWindows = false;
#endif

} // namespace

SystemInfoLookup SystemInfoLookup::desktop()
{
    SystemInfoLookup lookup;
    lookup.readMachineValue = [](const QString &keyPath, const QString &valueName) {
        return platform::Registry::RegReadString(platform::Hive::LocalMachine, keyPath, valueName);
    };
    lookup.fileExists = [](const QString &path) { return QFileInfo::exists(path); };
    lookup.findExecutable = [](const QString &program) {
        return QStandardPaths::findExecutable(program);
    };
    return lookup;
}

QString WindowsSystemInfoTool(const SystemInfoLookup &lookup)
{
    const QString path = lookup.readMachineValue(ToolKey, ToolValue);
    if (!path.isEmpty()) {
        return path;
    }
    const QString folder = lookup.readMachineValue(FolderKey, FolderValue);
    if (!folder.isEmpty()) {
        const QString file = folder + ToolFile;
        if (lookup.fileExists(file)) {
            return file;
        }
    }
    return {};
}

QStringList DesktopSystemInfoPrograms()
{
    // Hardware and system overviews first; the process monitors of the
    // common desktops still show the machine's resources when nothing else
    // is installed.
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"),
            QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

QString DesktopSystemInfoTool(const SystemInfoLookup &lookup)
{
    for (const QString &program : DesktopSystemInfoPrograms()) {
        QString path = lookup.findExecutable(program);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

QString SystemInfoTool(const SystemInfoLookup &lookup)
{
    if constexpr (OnWindows) {
        return WindowsSystemInfoTool(lookup);
    } else {
        return DesktopSystemInfoTool(lookup);
    }
}

void StartSystemInfo(const SystemInfoLookup &lookup, platform::Shell &shell,
                     platform::Prompt &prompt)
{
    const QString tool = SystemInfoTool(lookup);
    if (tool.isEmpty()) {
        prompt.ask(SystemInfoUnavailable, platform::PromptButtons::Ok, platform::PromptIcon::None,
                   QString());
        return;
    }
    shell.open(tool);
}

} // namespace about
