#include "ProgramOptions.h"

#include "Registry.h"
#include "Settings.h"

#include <algorithm>

void ReadOptions(Settings &settings, ProgramOptions &o, const QString &programFolder)
{
    const ProgramOptions d;
    SettingsComponent &s = settings.OpenOptionSettings();
    o.StartupType = s.GetInteger(QStringLiteral("StartupType"), d.StartupType);
    o.Language = s.GetString(QStringLiteral("Language"), d.Language);
    o.Path = s.GetString(QStringLiteral("Path"), programFolder);
    o.AutoSaveWin = s.GetBoolean(QStringLiteral("AutoSaveWin"), d.AutoSaveWin);
    o.AutoSaveData = s.GetBoolean(QStringLiteral("AutoSaveData"), d.AutoSaveData);
    o.AutoLoadData = s.GetBoolean(QStringLiteral("AutoLoadData"), d.AutoLoadData);
    o.AutoLoadWin = s.GetBoolean(QStringLiteral("AutoLoadWin"), d.AutoLoadWin);
    o.ViewWizard = s.GetBoolean(QStringLiteral("ViewWizard"), d.ViewWizard);
    o.ViewFileName = s.GetBoolean(QStringLiteral("ViewFileName"), d.ViewFileName);
    o.ViewTips = s.GetBoolean(QStringLiteral("ViewTips"), d.ViewTips);
    o.ViewMenuIcon = s.GetBoolean(QStringLiteral("ViewMenuIcon"), d.ViewMenuIcon);
    o.ViewSplash = s.GetBoolean(QStringLiteral("ViewSplash"), d.ViewSplash);
    o.GTSAfterURL = s.GetBoolean(QStringLiteral("GTSAfterURL"), d.GTSAfterURL);
    o.BackupFile = s.GetBoolean(QStringLiteral("BackupFile"), d.BackupFile);
    o.BackupHistory = s.GetBoolean(QStringLiteral("BackupHistory"), d.BackupHistory);
    o.HistorySize = s.GetInteger(QStringLiteral("HistorySize"), d.HistorySize);
    o.ShowCatSub = s.GetBoolean(QStringLiteral("ShowCatSub"), d.ShowCatSub);
    o.ExpirationDays = s.GetInteger(QStringLiteral("ExpirationDays"), d.ExpirationDays);
    o.ChangeDays = s.GetInteger(QStringLiteral("ChangeDays"), d.ChangeDays);
    o.ExpirationNotify = s.GetInteger(QStringLiteral("ExpirationNotify"), d.ExpirationNotify);
    o.ChangeNotify = s.GetInteger(QStringLiteral("ChangeNotify"), d.ChangeNotify);
    o.ShowNotes = s.GetBoolean(QStringLiteral("ShowNotes"), d.ShowNotes);
    o.AutoCheck = s.GetBoolean(QStringLiteral("AutoCheck"), d.AutoCheck);
    o.KeyBeforeCB = s.GetInteger(QStringLiteral("KeyBeforeCB"), d.KeyBeforeCB);
    o.KeyAfterCB = s.GetInteger(QStringLiteral("KeyAfterCB"), d.KeyAfterCB);
    o.KeyAfter = s.GetString(QStringLiteral("KeyAfter"), d.KeyAfter);
    o.KeyBefore = s.GetString(QStringLiteral("KeyBefore"), d.KeyBefore);
    o.SysTrayPWDefault = s.GetInteger(QStringLiteral("SysTrayPWDefault"), d.SysTrayPWDefault);
    o.DefaultGridAction = s.GetInteger(QStringLiteral("DefaultGridAction"), d.DefaultGridAction);
    o.SysTrayDef = s.GetInteger(QStringLiteral("SysTrayDef"), d.SysTrayDef);
    // A hand-edited value out of range still gives a delay that can be used.
    o.ClipboardClearSeconds = std::clamp<qint16>(
        s.GetInteger(QStringLiteral("ClipboardClearSeconds"), d.ClipboardClearSeconds), 0,
        ProgramOptions::ClipboardClearMost);
    o.LockAfterMinutes = s.GetInteger(QStringLiteral("LockAfterMinutes"), d.LockAfterMinutes);
    o.LockOnSessionLock = s.GetBoolean(QStringLiteral("LockOnSessionLock"), d.LockOnSessionLock);
}

void SaveOptions(Settings &settings, const ProgramOptions &o, const QString &programPath)
{
    SettingsComponent &s = settings.OpenOptionSettings();
    s.SaveInteger(QStringLiteral("StartupType"), o.StartupType);
    s.SaveString(QStringLiteral("Language"), o.Language);
    s.SaveBoolean(QStringLiteral("AutoSaveWin"), o.AutoSaveWin);
    s.SaveBoolean(QStringLiteral("AutoSaveData"), o.AutoSaveData);
    s.SaveBoolean(QStringLiteral("AutoLoadData"), o.AutoLoadData);
    s.SaveBoolean(QStringLiteral("AutoLoadWin"), o.AutoLoadWin);
    s.SaveBoolean(QStringLiteral("BackupFile"), o.BackupFile);
    s.SaveBoolean(QStringLiteral("BackupHistory"), o.BackupHistory);
    s.SaveBoolean(QStringLiteral("ViewWizard"), o.ViewWizard);
    s.SaveBoolean(QStringLiteral("ViewFileName"), o.ViewFileName);
    s.SaveBoolean(QStringLiteral("ViewTips"), o.ViewTips);
    s.SaveBoolean(QStringLiteral("ViewMenuIcon"), o.ViewMenuIcon);
    s.SaveBoolean(QStringLiteral("ViewSplash"), o.ViewSplash);
    s.SaveBoolean(QStringLiteral("AutoCheck"), o.AutoCheck);
    s.SaveBoolean(QStringLiteral("ShowNotes"), o.ShowNotes);
    s.SaveBoolean(QStringLiteral("ShowCatSub"), o.ShowCatSub);
    s.SaveBoolean(QStringLiteral("GTSAfterURL"), o.GTSAfterURL);
    s.SaveInteger(QStringLiteral("HistorySize"), o.HistorySize);
    s.SaveInteger(QStringLiteral("ExpirationDays"), o.ExpirationDays);
    s.SaveInteger(QStringLiteral("ChangeDays"), o.ChangeDays);
    s.SaveInteger(QStringLiteral("ExpirationNotify"), o.ExpirationNotify);
    s.SaveInteger(QStringLiteral("ChangeNotify"), o.ChangeNotify);
    s.SaveInteger(QStringLiteral("KeyBeforeCB"), o.KeyBeforeCB);
    s.SaveInteger(QStringLiteral("KeyAfterCB"), o.KeyAfterCB);
    s.SaveInteger(QStringLiteral("SysTrayPWDefault"), o.SysTrayPWDefault);
    s.SaveString(QStringLiteral("KeyAfter"), o.KeyAfter);
    s.SaveString(QStringLiteral("KeyBefore"), o.KeyBefore);
    s.SaveInteger(QStringLiteral("SysTrayDef"), o.SysTrayDef);
    s.SaveInteger(QStringLiteral("DefaultGridAction"), o.DefaultGridAction);
    s.SaveInteger(QStringLiteral("ClipboardClearSeconds"), o.ClipboardClearSeconds);
    s.SaveInteger(QStringLiteral("LockAfterMinutes"), o.LockAfterMinutes);
    s.SaveBoolean(QStringLiteral("LockOnSessionLock"), o.LockOnSessionLock);

    // Results ignored: a failing autostart entry must not stop the options.
    if (o.StartupType == 3) {
        platform::Registry::RegWriteString(platform::Hive::CurrentUser, platform::Registry::RunKey,
                                           QStringLiteral("VLM"), programPath);
    } else {
        platform::Registry::RegDeleteValue(platform::Hive::CurrentUser, platform::Registry::RunKey,
                                           QStringLiteral("VLM"));
    }
    settings.ReleaseOptionSettings();
}
