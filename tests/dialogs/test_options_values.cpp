// The options window and the values it edits: each control shows the option
// it stands for, changing it and applying stores exactly that option, Cancel
// stores nothing, and the start-with-session entry follows the startup type.

#include "OptionsFixtures.h"

using namespace optionstest;

namespace {

// Option names written to the settings file: every value there but the
// placement of the window itself.
QStringList writtenOptionNames()
{
    QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
    raw.beginGroup(QStringLiteral("1.0"));
    QStringList names;
    for (const QString &key : raw.childKeys()) {
        if (!key.startsWith("frmOptions-", Qt::CaseInsensitive)) {
            names << key;
        }
    }
    return names;
}

const QStringList Controls = {"chkSplash",       "chkTips",     "chkWizard",  "chkAutoLoadWin",
                              "chkAutoSaveWin",  "txthistory",  "cbBackup",   "chkAutoSaveData",
                              "chkAutoLoadData", "chkExpire",   "cbSystray",  "cbSystray2",
                              "chkURLTray",      "chkViewIcon", "chkNotes",   "cbAction",
                              "chkTV",           "chkFileName", "txtDExpire", "txtDChange",
                              "txtNExpire",      "txtNChange",  "cbBefore",   "txtbefore",
                              "cbAfter",         "txtAfter"};

// What each control shows, by name; "startup" is the selected startup button.
QStringList shown(const frmOptions &dialog)
{
    QStringList lines;
    QString startup = "<none>";
    for (const QRadioButton *button : dialog.optStart) {
        if (button->isChecked()) {
            startup = button->objectName();
        }
    }
    lines << "startup=" + startup;
    for (const QString &name : Controls) {
        const QWidget *control = dialog.findChild<QWidget *>(name);
        QString value = "<missing>";
        if (const auto *box = qobject_cast<const QCheckBox *>(control)) {
            value = box->isChecked() ? "checked" : "unchecked";
        } else if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
            value = combo->currentIndex() < 0 ? "<none>" : combo->currentText();
        } else if (const auto *spin = qobject_cast<const QSpinBox *>(control)) {
            value = spin->text();
        } else if (const auto *field = qobject_cast<const QLineEdit *>(control)) {
            value = field->text();
        }
        lines << name + '=' + value;
    }
    return lines;
}

// What a first start shows.
const QStringList Defaults = {"startup=optStart0",
                              "chkSplash=checked",
                              "chkTips=checked",
                              "chkWizard=checked",
                              "chkAutoLoadWin=checked",
                              "chkAutoSaveWin=checked",
                              "txthistory=10",
                              "cbBackup=History Backup",
                              "chkAutoSaveData=unchecked",
                              "chkAutoLoadData=unchecked",
                              "chkExpire=checked",
                              "cbSystray=Open",
                              "cbSystray2=Send Password",
                              "chkURLTray=unchecked",
                              "chkViewIcon=checked",
                              "chkNotes=unchecked",
                              "cbAction=Edit Password",
                              "chkTV=checked",
                              "chkFileName=checked",
                              "txtDExpire=60",
                              "txtDChange=30",
                              "txtNExpire=5",
                              "txtNChange=5",
                              "cbBefore=TAB",
                              "txtbefore=",
                              "cbAfter=NOTHING",
                              "txtAfter="};

// Defaults with "control=value;control=value" in place.
QStringList defaultsWith(const QString &changes)
{
    QStringList expected = Defaults;
    for (const QString &change : changes.split(';', Qt::SkipEmptyParts)) {
        const QString name = change.section('=', 0, 0) + '=';
        for (QString &line : expected) {
            if (line.startsWith(name)) {
                line = change;
            }
        }
    }
    return expected;
}

// One user action: "click", "choose:<item>", "type:<text>" or "none".
void act(frmOptions &dialog, const QString &control, const QString &action)
{
    auto *widget = dialog.findChild<QWidget *>(control);
    QVERIFY2(widget != nullptr, qPrintable(control));
    if (action == "click") {
        click(dialog, qobject_cast<QAbstractButton *>(widget));
    } else if (action.startsWith("choose:")) {
        choose(dialog, qobject_cast<QComboBox *>(widget), action.mid(7));
    } else if (action.startsWith("type:")) {
        type(dialog, widget, action.mid(5));
        leave(widget);
    }
}

} // namespace

class TestOptionsValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsLoadedValue_data();
    void showsLoadedValue();
    void applyStoresThatOption_data();
    void applyStoresThatOption();
    void cancelStoresNothing_data();
    void cancelStoresNothing();
    void cancelAfterApplyKeepsApplied();
    void autostartFollowsStartupType_data();
    void autostartFollowsStartupType();
    void everyOpeningReadsTheOptions();
};

void TestOptionsValues::showsLoadedValue_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("expected");
    QTest::newRow("defaults") << ""
                              << "";
    for (int i = 1; i <= 3; ++i) {
        QTest::addRow("StartupType %d", i)
            << QString("StartupType=%1").arg(i) << QString("startup=optStart%1").arg(i);
    }
    QTest::newRow("StartupType unknown") << "StartupType=7"
                                         << "startup=<none>";
    // Every check box in its other state.
    const QList<std::pair<QString, QString>> boxes = {
        {"ViewSplash=false", "chkSplash=unchecked"},
        {"ViewTips=false", "chkTips=unchecked"},
        {"ViewWizard=false", "chkWizard=unchecked"},
        {"AutoLoadWin=false", "chkAutoLoadWin=unchecked"},
        {"AutoSaveWin=false", "chkAutoSaveWin=unchecked"},
        {"AutoSaveData=true", "chkAutoSaveData=checked"},
        {"AutoLoadData=true", "chkAutoLoadData=checked"},
        {"AutoCheck=false", "chkExpire=unchecked"},
        {"GTSAfterURL=true", "chkURLTray=checked"},
        {"ViewMenuIcon=false", "chkViewIcon=unchecked"},
        {"ShowNotes=true", "chkNotes=checked"},
        {"ShowCatSub=false", "chkTV=unchecked"},
        {"ViewFileName=false", "chkFileName=unchecked"}};
    for (const auto &[given, expected] : boxes) {
        QTest::newRow(qPrintable(given)) << given << expected;
    }
    const QStringList serviceActions = {"Edit Service", "Copy Password", "Copy User/Password",
                                        "Copy URL",     "Send Password", "Send User/Password",
                                        "Go to URL"};
    for (int i = 0; i < serviceActions.size(); ++i) {
        QTest::addRow("SysTrayPWDefault %d", i + 1)
            << QString("SysTrayPWDefault=%1").arg(i + 1) << "cbSystray2=" + serviceActions[i];
    }
    const QStringList gridActions = {"Edit Password", "Copy Password", "Copy User/PW", "Copy URL",
                                     "Execute URL"};
    for (int i = 0; i < gridActions.size(); ++i) {
        QTest::addRow("DefaultGridAction %d", i + 1)
            << QString("DefaultGridAction=%1").arg(i + 1) << "cbAction=" + gridActions[i];
    }
    QTest::newRow("SysTrayDef 2") << "SysTrayDef=2"
                                  << "cbSystray=Add Item";
    QTest::newRow("SysTrayPWDefault unknown") << "SysTrayPWDefault=9"
                                              << "cbSystray2=<none>";
    QTest::newRow("DefaultGridAction 0") << "DefaultGridAction=0"
                                         << "cbAction=<none>";
    QTest::newRow("SysTrayDef unknown") << "SysTrayDef=3"
                                        << "cbSystray=<none>";
    for (const auto &[code, text] : QList<std::pair<int, QString>>{
             {8, "TAB"}, {13, "ENTER"}, {0, "NOTHING"}, {-1, "-Other-"}, {9, "<none>"}}) {
        QTest::addRow("KeyBeforeCB %d", code)
            << QString("KeyBeforeCB=%1").arg(code) << "cbBefore=" + text;
        QTest::addRow("KeyAfterCB %d", code)
            << QString("KeyAfterCB=%1").arg(code) << "cbAfter=" + text;
    }
    QTest::newRow("backup none") << "BackupFile=false;BackupHistory=false"
                                 << "cbBackup=None";
    QTest::newRow("backup single") << "BackupFile=true;BackupHistory=false"
                                   << "cbBackup=Single Backup";
    QTest::newRow("history without backup") << "BackupFile=false;BackupHistory=true"
                                            << "cbBackup=None";
    QTest::newRow("history size") << "HistorySize=17"
                                  << "txthistory=17";
    QTest::newRow("numbers") << "ExpirationDays=-7;ChangeDays=32767;ExpirationNotify=0;"
                                "ChangeNotify=-32768"
                             << "txtDExpire=-7;txtDChange=32767;txtNExpire=0;txtNChange=-32768";
    QTest::newRow("key texts") << "KeyBefore=+;KeyAfter=#"
                               << "txtbefore=+;txtAfter=#";
}

void TestOptionsValues::showsLoadedValue()
{
    QFETCH(QString, given);
    QFETCH(QString, expected);
    Fixture f;
    setOptions(f.t.options, given);
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    QCOMPARE(shown(dialog), defaultsWith(expected));
}

void TestOptionsValues::applyStoresThatOption_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("changed");

    const QList<std::pair<QString, QString>> boxes = {{"chkSplash", "ViewSplash=false"},
                                                      {"chkTips", "ViewTips=false"},
                                                      {"chkAutoLoadWin", "AutoLoadWin=false"},
                                                      {"chkAutoSaveWin", "AutoSaveWin=false"},
                                                      {"chkAutoSaveData", "AutoSaveData=true"},
                                                      {"chkAutoLoadData", "AutoLoadData=true"},
                                                      {"chkExpire", "AutoCheck=false"},
                                                      {"chkURLTray", "GTSAfterURL=true"},
                                                      {"chkViewIcon", "ViewMenuIcon=false"},
                                                      {"chkNotes", "ShowNotes=true"},
                                                      {"chkTV", "ShowCatSub=false"},
                                                      {"chkFileName", "ViewFileName=false"}};
    for (const auto &[control, changed] : boxes) {
        QTest::newRow(qPrintable(control)) << "" << control << "click" << changed;
    }
    // The wizard box can be clicked only while AutoLoad is on.
    QTest::newRow("chkWizard") << "AutoLoadData=true"
                               << "chkWizard"
                               << "click"
                               << "ViewWizard=false";
    QTest::newRow("chkAutoLoadData off") << "AutoLoadData=true"
                                         << "chkAutoLoadData"
                                         << "click"
                                         << "AutoLoadData=false";
    QTest::newRow("optStart1") << ""
                               << "optStart1"
                               << "click"
                               << "StartupType=1";
    QTest::newRow("optStart2") << ""
                               << "optStart2"
                               << "click"
                               << "StartupType=2";
    QTest::newRow("optStart3") << "AutoLoadData=true"
                               << "optStart3"
                               << "click"
                               << "StartupType=3";
    QTest::newRow("optStart0") << "StartupType=2"
                               << "optStart0"
                               << "click"
                               << "StartupType=0";

    QTest::newRow("cbSystray Add Item") << ""
                                        << "cbSystray"
                                        << "choose:Add Item"
                                        << "SysTrayDef=2";
    QTest::newRow("cbSystray Open") << "SysTrayDef=2"
                                    << "cbSystray"
                                    << "choose:Open"
                                    << "SysTrayDef=1";
    const QStringList serviceActions = {"Edit Service", "Copy Password", "Copy User/Password",
                                        "Copy URL",     "Send Password", "Send User/Password",
                                        "Go to URL"};
    for (int i = 0; i < serviceActions.size(); ++i) {
        QTest::addRow("cbSystray2 %d", i + 1)
            << "SysTrayPWDefault=9"
            << "cbSystray2"
            << "choose:" + serviceActions[i] << QString("SysTrayPWDefault=%1").arg(i + 1);
    }
    const QStringList gridActions = {"Edit Password", "Copy Password", "Copy User/PW", "Copy URL",
                                     "Execute URL"};
    for (int i = 0; i < gridActions.size(); ++i) {
        QTest::addRow("cbAction %d", i + 1)
            << "DefaultGridAction=0"
            << "cbAction"
            << "choose:" + gridActions[i] << QString("DefaultGridAction=%1").arg(i + 1);
    }
    for (const auto &[code, text] : QList<std::pair<int, QString>>{
             {8, "TAB"}, {13, "ENTER"}, {0, "NOTHING"}, {-1, "-Other-"}}) {
        QTest::addRow("cbBefore %d", code)
            << "KeyBeforeCB=9"
            << "cbBefore"
            << "choose:" + text << QString("KeyBeforeCB=%1").arg(code);
        QTest::addRow("cbAfter %d", code) << "KeyAfterCB=9"
                                          << "cbAfter"
                                          << "choose:" + text << QString("KeyAfterCB=%1").arg(code);
    }
    QTest::newRow("backup none") << ""
                                 << "cbBackup"
                                 << "choose:None"
                                 << "BackupFile=false;BackupHistory=false";
    QTest::newRow("backup single") << ""
                                   << "cbBackup"
                                   << "choose:Single Backup"
                                   << "BackupFile=true;BackupHistory=false";
    QTest::newRow("backup history") << "BackupFile=false;BackupHistory=false"
                                    << "cbBackup"
                                    << "choose:History Backup"
                                    << "BackupFile=true;BackupHistory=true";
    QTest::newRow("history without backup stored as none") << "BackupFile=false;BackupHistory=true"
                                                           << "cbBackup"
                                                           << "none"
                                                           << "BackupHistory=false";

    QTest::newRow("history 15") << ""
                                << "txthistory"
                                << "type:15"
                                << "HistorySize=15";
    QTest::newRow("history 50") << ""
                                << "txthistory"
                                << "type:50"
                                << "HistorySize=20";
    QTest::newRow("history 1") << ""
                               << "txthistory"
                               << "type:1"
                               << "HistorySize=2";
    QTest::newRow("expiration days") << ""
                                     << "txtDExpire"
                                     << "type:-7"
                                     << "ExpirationDays=-7";
    QTest::newRow("change days") << ""
                                 << "txtDChange"
                                 << "type:32767"
                                 << "ChangeDays=32767";
    QTest::newRow("notify expiration") << ""
                                       << "txtNExpire"
                                       << "type:0"
                                       << "ExpirationNotify=0";
    QTest::newRow("notify change") << ""
                                   << "txtNChange"
                                   << "type:12"
                                   << "ChangeNotify=12";
    QTest::newRow("key before text") << "KeyBeforeCB=-1"
                                     << "txtbefore"
                                     << "type::"
                                     << "KeyBefore=:";
    QTest::newRow("key after text, one character") << "KeyAfterCB=-1"
                                                   << "txtAfter"
                                                   << "type:xy"
                                                   << "KeyAfter=x";
}

void TestOptionsValues::applyStoresThatOption()
{
    QFETCH(QString, given);
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(QString, changed);
    Fixture f;
    setOptions(f.t.options, given);
    ProgramOptions expected = f.t.options;
    setOptions(expected, changed);

    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    act(dialog, control, action);
    QTest::mouseClick(dialog.cmdApply, Qt::LeftButton);

    QCOMPARE(describe(stored()), describe(expected));
    QCOMPARE(describe(f.t.options), describe(expected)); // the live record too
    QVERIFY(dialog.isVisible());
    QCOMPARE(f.t.prompt.asked.size(), 0);
}

void TestOptionsValues::cancelStoresNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("title bar") << "close";
}

void TestOptionsValues::cancelStoresNothing()
{
    QFETCH(QString, how);
    Fixture f;
    f.t.options.AutoLoadData = true;
    const ProgramOptions before = f.t.options;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    click(dialog, dialog.chkNotes);
    choose(dialog, dialog.cbAction, "Copy URL");
    type(dialog, dialog.txtDExpire, "99");
    click(dialog, dialog.optStart[3]);
    if (how == "cancel") {
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    } else if (how == "escape") {
        QTest::keyClick(dialog.txtDExpire, Qt::Key_Escape);
    } else {
        dialog.close();
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(writtenOptionNames(), QStringList());
    QVERIFY(!QFile::exists(autostartEntry()));
    QCOMPARE(describe(f.t.options), describe(before));
}

void TestOptionsValues::cancelAfterApplyKeepsApplied()
{
    Fixture f;
    ProgramOptions expected = f.t.options;
    expected.ShowNotes = true;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    click(dialog, dialog.chkNotes);
    QTest::mouseClick(dialog.cmdApply, Qt::LeftButton);
    click(dialog, dialog.chkTips);
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(describe(stored()), describe(expected));
    QCOMPARE(describe(f.t.options), describe(expected));
}

void TestOptionsValues::autostartFollowsStartupType_data()
{
    QTest::addColumn<int>("startup");
    QTest::addColumn<bool>("entryBefore");
    for (int i = 0; i <= 3; ++i) {
        QTest::addRow("type %d, no entry before", i) << i << false;
        QTest::addRow("type %d, entry before", i) << i << true;
    }
}

void TestOptionsValues::autostartFollowsStartupType()
{
    QFETCH(int, startup);
    QFETCH(bool, entryBefore);
    Fixture f;
    f.t.options.AutoLoadData = true;
    if (entryBefore) {
        f.t.options.StartupType = 3;
        SaveOptions(f.t.settings, f.t.options, ProgramPath);
        QVERIFY(QFile::exists(autostartEntry()));
    }
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    click(dialog, dialog.optStart[static_cast<std::size_t>(startup)]);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(stored().StartupType, qint16(startup));
    QCOMPARE(QFile::exists(autostartEntry()), startup == 3);
    QCOMPARE(autostartCommand(), startup == 3 ? ProgramPath : QString());
}

void TestOptionsValues::everyOpeningReadsTheOptions()
{
    Fixture f;
    {
        frmOptions first(f.t.services, ProgramPath);
        open(first);
        click(first, first.chkNotes);
        QTest::mouseClick(first.cmdOK, Qt::LeftButton);
    }
    // Changed behind the window's back, as the View menu does.
    f.t.options.ViewFileName = false;
    frmOptions second(f.t.services, ProgramPath);
    open(second);
    QCOMPARE(shown(second), defaultsWith("chkNotes=checked;chkFileName=unchecked"));
    QCOMPARE(second.TabStrip->currentIndex(), 0);
}

QTEST_MAIN(TestOptionsValues)
#include "test_options_values.moc"
