#pragma once

#include <QString>

namespace platform {

enum class Hive
{
    CurrentUser,
    LocalMachine,
};

// The few fixed registry places the program reads and writes itself. On
// Windows this is the real registry. Elsewhere the values live in one settings
// file, except the current user's "...\CurrentVersion\Run" values, which are
// XDG autostart entries, so that starting with the desktop session really works.
// None of these raises: failures answer false or "".
class Registry
{
public:
    // An empty text is stored as one blank.
    static bool RegWriteString(Hive hive, const QString &keyPath, const QString &valueName,
                               const QString &text);
    // "" for a missing value and for one longer than 1024 bytes.
    static QString RegReadString(Hive hive, const QString &keyPath, const QString &valueName);
    static bool RegDeleteValue(Hive hive, const QString &keyPath, const QString &valueName);

    static constexpr int BufferSize = 1024;
    static const QString RunKey; // "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
};

} // namespace platform
