#pragma once

#include <functional>
#include <QString>
#include <QStringList>

namespace platform {
class Prompt;
class Shell;
} // namespace platform

namespace about {

// How the system information tool is looked for. The real lookups read the
// machine's registry, the file system and the search path; tests hand in
// their own so they decide whether a tool is there.
struct SystemInfoLookup
{
    // A string value under HKEY_LOCAL_MACHINE; "" when there is none.
    std::function<QString(const QString &keyPath, const QString &valueName)> readMachineValue;
    std::function<bool(const QString &path)> fileExists;
    // The full path of a program on the search path; "" when not installed.
    std::function<QString(const QString &program)> findExecutable;

    static SystemInfoLookup desktop();
};

// Windows keeps the tool's path, or else its folder, in the registry.
QString WindowsSystemInfoTool(const SystemInfoLookup &lookup);
// Other desktops have no such entry: the first installed of the usual
// system-information programs stands in.
QString DesktopSystemInfoTool(const SystemInfoLookup &lookup);
// The tool of the platform the program runs on; "" when there is none.
QString SystemInfoTool(const SystemInfoLookup &lookup);

// Programs tried on desktops other than Windows, best first.
QStringList DesktopSystemInfoPrograms();

inline const QString SystemInfoUnavailable =
    QStringLiteral("System Information Is Unavailable At This Time");

// Starts the tool, or says there is none. A tool that fails to start is not
// reported: the user has the same window in front of them either way.
void StartSystemInfo(const SystemInfoLookup &lookup, platform::Shell &shell,
                     platform::Prompt &prompt);

} // namespace about
