// Options: the defaults of a first start, the fixed write order, the round
// trip through the settings file and the start-with-session entry.

#include "ProgramOptions.h"
#include "Registry.h"
#include "Settings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {

// Passes every call to a real component and notes the names written, and
// when asked the values as text.
class RecordingComponent final : public SettingsComponent
{
public:
    explicit RecordingComponent(QStringList &log, QMap<QString, QString> *values = nullptr)
        : m_log(log), m_values(values)
    {
    }
    void SetCompany(const QString &v) override { m_real.SetCompany(v); }
    void SetAppName(const QString &v) override { m_real.SetAppName(v); }
    void SetVersion(const QString &v) override { m_real.SetVersion(v); }
    void SaveString(const QString &n, const QString &v) override
    {
        note(n, v), m_real.SaveString(n, v);
    }
    QString GetString(const QString &n, const QString &d) const override
    {
        return m_real.GetString(n, d);
    }
    void SaveLong(const QString &n, qint32 v) override
    {
        note(n, QString::number(v)), m_real.SaveLong(n, v);
    }
    qint32 GetLong(const QString &n, qint32 d) const override { return m_real.GetLong(n, d); }
    void SaveInteger(const QString &n, qint16 v) override
    {
        note(n, QString::number(v)), m_real.SaveInteger(n, v);
    }
    qint16 GetInteger(const QString &n, qint16 d) const override { return m_real.GetInteger(n, d); }
    void SaveBoolean(const QString &n, bool v) override
    {
        note(n, v ? QStringLiteral("True") : QStringLiteral("False")), m_real.SaveBoolean(n, v);
    }
    bool GetBoolean(const QString &n, bool d) const override { return m_real.GetBoolean(n, d); }

private:
    void note(const QString &name, const QString &value)
    {
        m_log << name;
        if (m_values != nullptr) {
            m_values->insert(name, value);
        }
    }
    QStringList &m_log;
    QMap<QString, QString> *m_values;
    QtSettingsComponent m_real;
};

QString autostartEntry()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/VLM.desktop");
}

QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvan/VLM.conf");
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void firstStartGivesDefaults();
    void saveOrderIsFixed();
    void roundTrip();
    void startWithSessionFollowsStartupType();
    void badStoredValuesGiveDefaults();
    void namesIgnoreCase();
};

void TestOptions::init()
{
    QFile::remove(settingsFile());
    QFile::remove(autostartEntry());
}

void TestOptions::firstStartGivesDefaults()
{
    Settings settings;
    ProgramOptions read;
    read.StartupType = 2; // must be overwritten by the defaults
    read.Language = QStringLiteral("XXX");
    ReadOptions(settings, read, QStringLiteral("/opt/vellumor/bin"));
    settings.ReleaseOptionSettings();
    QCOMPARE(read.Path, QStringLiteral("/opt/vellumor/bin"));

    // Written out under their names, the options read must be the table of
    // defaults, literally: comparing with ProgramOptions() would move with it.
    QStringList names;
    QMap<QString, QString> written;
    Settings recording([&] { return std::make_unique<RecordingComponent>(names, &written); });
    SaveOptions(recording, read, QStringLiteral("/usr/bin/vellumor"));
    const QMap<QString, QString> defaults = {
        {"StartupType", "0"},       {"Language", "ENG"},       {"AutoSaveWin", "True"},
        {"AutoSaveData", "False"},  {"AutoLoadData", "False"}, {"AutoLoadWin", "True"},
        {"ViewWizard", "True"},     {"ViewFileName", "True"},  {"ViewTips", "True"},
        {"ViewMenuIcon", "True"},   {"ViewSplash", "True"},    {"GTSAfterURL", "False"},
        {"BackupFile", "True"},     {"BackupHistory", "True"}, {"HistorySize", "10"},
        {"ShowCatSub", "True"},     {"ExpirationDays", "60"},  {"ChangeDays", "30"},
        {"ExpirationNotify", "5"},  {"ChangeNotify", "5"},     {"ShowNotes", "False"},
        {"AutoCheck", "True"},      {"KeyBeforeCB", "8"},      {"KeyAfterCB", "0"},
        {"KeyAfter", ""},           {"KeyBefore", ""},         {"SysTrayPWDefault", "5"},
        {"DefaultGridAction", "1"}, {"SysTrayDef", "1"}};
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        QVERIFY2(written.value(it.key(), QStringLiteral("<missing>")) == it.value(),
                 qPrintable(it.key() + QStringLiteral(": ") + written.value(it.key())));
    }
    QCOMPARE(written.size(), defaults.size());
}

void TestOptions::saveOrderIsFixed()
{
    QStringList log;
    Settings settings([&log] { return std::make_unique<RecordingComponent>(log); });
    SaveOptions(settings, ProgramOptions(), QStringLiteral("/usr/bin/vellumor"));
    const QStringList expected = {
        "StartupType",      "Language",     "AutoSaveWin",   "AutoSaveData",     "AutoLoadData",
        "AutoLoadWin",      "BackupFile",   "BackupHistory", "ViewWizard",       "ViewFileName",
        "ViewTips",         "ViewMenuIcon", "ViewSplash",    "AutoCheck",        "ShowNotes",
        "ShowCatSub",       "GTSAfterURL",  "HistorySize",   "ExpirationDays",   "ChangeDays",
        "ExpirationNotify", "ChangeNotify", "KeyBeforeCB",   "KeyAfterCB",       "SysTrayPWDefault",
        "KeyAfter",         "KeyBefore",    "SysTrayDef",    "DefaultGridAction"};
    QCOMPARE(log, expected);
    QVERIFY(!settings.OptionSettings); // released when done
}

void TestOptions::roundTrip()
{
    ProgramOptions changed;
    changed.StartupType = 1;
    changed.Language = QStringLiteral("ITA");
    changed.AutoSaveWin = false;
    changed.AutoSaveData = true;
    changed.AutoLoadData = true;
    changed.AutoLoadWin = false;
    changed.ViewWizard = false;
    changed.ViewFileName = false;
    changed.ViewTips = false;
    changed.ViewMenuIcon = false;
    changed.ViewSplash = false;
    changed.GTSAfterURL = true;
    changed.BackupFile = false;
    changed.BackupHistory = false;
    changed.HistorySize = 4;
    changed.ShowCatSub = false;
    changed.ExpirationDays = -7;
    changed.ChangeDays = 32767;
    changed.ExpirationNotify = 0;
    changed.ChangeNotify = 9;
    changed.ShowNotes = true;
    changed.AutoCheck = false;
    changed.KeyBeforeCB = -1;
    changed.KeyAfterCB = 13;
    changed.KeyAfter = QStringLiteral("{ENTER}");
    changed.KeyBefore = QStringLiteral(" ; ");
    changed.SysTrayPWDefault = 7;
    changed.DefaultGridAction = 5;
    changed.SysTrayDef = 2;
    {
        Settings settings;
        SaveOptions(settings, changed, QStringLiteral("/usr/bin/vellumor"));
    }
    QVERIFY(QFile::exists(settingsFile()));
    // "Path" is not an option the dialog saves: it keeps its default.
    changed.Path = QStringLiteral("/folder");
    Settings settings;
    ProgramOptions read;
    ReadOptions(settings, read, QStringLiteral("/folder"));
    QCOMPARE(read, changed);
}

void TestOptions::startWithSessionFollowsStartupType()
{
    Settings settings;
    ProgramOptions o;
    o.StartupType = 3;
    SaveOptions(settings, o, QStringLiteral("/usr/local/bin/vellumor"));
    QVERIFY(QFile::exists(autostartEntry()));
    QCOMPARE(platform::Registry::RegReadString(platform::Hive::CurrentUser,
                                               platform::Registry::RunKey, QStringLiteral("VLM")),
             QStringLiteral("/usr/local/bin/vellumor"));
    for (const int mode : {0, 1, 2}) {
        o.StartupType = static_cast<qint16>(mode);
        SaveOptions(settings, o, QStringLiteral("/usr/local/bin/vellumor"));
        QVERIFY2(!QFile::exists(autostartEntry()), qPrintable(QString::number(mode)));
    }
    // Mode 3 writes the entry again on every save, also after the user removed it.
    o.StartupType = 3;
    SaveOptions(settings, o, QStringLiteral("/usr/local/bin/vellumor"));
    QVERIFY(QFile::remove(autostartEntry()));
    SaveOptions(settings, o, QStringLiteral("/usr/local/bin/vellumor"));
    QVERIFY(QFile::exists(autostartEntry()));
}

void TestOptions::badStoredValuesGiveDefaults()
{
    {
        QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
        raw.beginGroup(QStringLiteral("1.0"));
        raw.setValue(QStringLiteral("HistorySize"), QStringLiteral("many"));
        raw.setValue(QStringLiteral("ExpirationDays"), 99999); // beyond 16 bits
        raw.setValue(QStringLiteral("AutoCheck"), QStringLiteral("perhaps"));
        raw.setValue(QStringLiteral("ShowNotes"), QStringLiteral("true"));
    }
    Settings settings;
    ProgramOptions read;
    ReadOptions(settings, read, QString());
    QCOMPARE(read.HistorySize, qint16(10));
    QCOMPARE(read.ExpirationDays, qint16(60));
    QVERIFY(read.AutoCheck);
    QVERIFY(read.ShowNotes);
}

void TestOptions::namesIgnoreCase()
{
    Settings settings;
    settings.OpenOptionSettings().SaveString(QStringLiteral("FileName"), QStringLiteral("/a.VLM"));
    settings.ReleaseOptionSettings();
    SettingsComponent &again = settings.OpenOptionSettings();
    QCOMPARE(again.GetString(QStringLiteral("Filename"), QString()), QStringLiteral("/a.VLM"));
    again.SaveString(QStringLiteral("FILENAME"), QStringLiteral("/b.VLM"));
    QCOMPARE(again.GetString(QStringLiteral("FileName"), QString()), QStringLiteral("/b.VLM"));
    settings.ReleaseOptionSettings();
    QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
    raw.beginGroup(QStringLiteral("1.0"));
    QCOMPARE(raw.childKeys(), QStringList{QStringLiteral("FILENAME")}); // one value, not two
}

QTEST_GUILESS_MAIN(TestOptions)
#include "test_options.moc"
