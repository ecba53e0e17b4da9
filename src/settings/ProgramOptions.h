#pragma once

#include <QString>

class Settings;

// The user's options, with their defaults. Loaded once at start-up and written
// back when the options dialog applies its changes.
struct ProgramOptions
{
    qint16 StartupType = 0; // 0 normal, 1 minimized, 2 tray, 3 tray + start with the session
    QString Language = QStringLiteral("ENG");
    QString Path; // default: the program's folder
    bool AutoSaveWin = true;
    bool AutoSaveData = false;
    bool AutoLoadData = false;
    bool AutoLoadWin = true;
    bool ViewWizard = true;
    bool ViewFileName = true;
    bool ViewTips = true;
    bool ViewMenuIcon = true;
    bool ViewSplash = true;
    bool GTSAfterURL = false;
    bool BackupFile = true;
    bool BackupHistory = true;
    qint16 HistorySize = 10;
    bool ShowCatSub = true;
    qint16 ExpirationDays = 60;
    qint16 ChangeDays = 30;
    qint16 ExpirationNotify = 5;
    qint16 ChangeNotify = 5;
    bool ShowNotes = false;
    bool AutoCheck = true;
    qint16 KeyBeforeCB = 8; // 8 TAB, 13 ENTER, 0 nothing, -1 the text of KeyBefore
    qint16 KeyAfterCB = 0;
    QString KeyAfter;
    QString KeyBefore;
    qint16 SysTrayPWDefault = 5;
    qint16 DefaultGridAction = 1;
    qint16 SysTrayDef = 1;
    // A copied password leaves the clipboard after this many seconds; 0
    // leaves it there until the program ends.
    qint16 ClipboardClearSeconds = 10;
    static constexpr qint16 ClipboardClearMost = 999;
    // Beyond the dialog's specified pages: locking the open file.
    qint16 LockAfterMinutes = 0; // without any input to the program; 0 never
    bool LockOnSessionLock = true;

    friend bool operator==(const ProgramOptions &, const ProgramOptions &) = default;
};

// Opens OptionSettings and reads every option, in the order of the options
// table, with its default; programFolder is the default of "Path". The settings
// stay open for the recent-file list, which is read next.
void ReadOptions(Settings &settings, ProgramOptions &options, const QString &programFolder);

// Writes the options in their fixed order, then keeps the start-with-session
// entry in step with StartupType: written for 3, removed otherwise. programPath
// is what the entry starts.
void SaveOptions(Settings &settings, const ProgramOptions &options, const QString &programPath);
