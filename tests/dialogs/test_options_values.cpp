// The options window: each control shows its option and stores that alone, by Apply or OK.

#include "DialogFixture.h"
#include "Registry.h"

#include <QSpinBox>
#include <QTabBar>

namespace {

const QString ProgramPath = "/opt/vellumor/bin/vellumor";

// The options in the settings file as "Name=value", window placements left out.
QStringList stored()
{
    QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
    raw.beginGroup("1.0");
    QStringList lines;
    for (const QString &key : raw.childKeys()) {
        lines << (key.startsWith("frm") ? "" : key + '=' + raw.value(key).toString());
    }
    lines.removeAll({});
    return lines;
}

// "*" marks a control greyed because it does not apply.
QString shown(const QWidget *control)
{
    const auto *button = qobject_cast<const QAbstractButton *>(control);
    const auto *combo = qobject_cast<const QComboBox *>(control);
    return (button != nullptr  ? QString(button->isChecked() ? "checked" : "unchecked")
            : combo != nullptr ? combo->currentText()
                               : control->property("text").toString()) +
           (control->isEnabled() ? "" : "*");
}

// Brings up the page of the control by its tab, as a user must.
void reveal(frmOptions &dialog, const QWidget *control)
{
    for (int tab = 0; tab < dialog.TabStrip->count(); ++tab) {
        if (dialog.pict.at(static_cast<std::size_t>(tab))->isAncestorOf(control)) {
            QTest::mouseClick(dialog.TabStrip, Qt::LeftButton, {},
                              dialog.TabStrip->tabRect(tab).center());
        }
    }
    QVERIFY(control->isVisible());
}

struct Value
{
    const char *name; // the control
    const char *given, *shows;
    const char *action;                                 // "click", "choose:<item>" or "type:<text>"
    const char *changed, *by = "cmdApply", *asked = ""; // a warning, or the field refused
};
const char *const AutoLoadFirst = "You've to check the AutoLoad on Startup to let VLM "
                                  "Automatically load the last opened file.";
const char *const NotANumber = "\"%1\" must be a whole number from -32768 to 32767.";
const Value Values[] = {
    {"optStart1", "", "unchecked", "click", "StartupType=1"},
    {"optStart3", "AutoLoadData=true", "unchecked", "click", "StartupType=3"},
    {"optStart3", "", "unchecked", "click", "StartupType=3", "cmdApply", AutoLoadFirst},
    {"optStart2", "StartupType=2", "checked", "", ""},
    {"optStart0", "StartupType=7", "unchecked", "", ""},
    {"chkSplash", "ViewSplash=false", "unchecked", "click", "ViewSplash=true"},
    {"chkTips", "ViewTips=false", "unchecked", "click", "ViewTips=true"},
    {"chkWizard", "AutoLoadData=true;ViewWizard=false", "unchecked", "click", "ViewWizard=true"},
    {"chkAutoLoadWin", "AutoLoadWin=false", "unchecked", "click", "AutoLoadWin=true"},
    {"chkWizard", "", "checked*", "", ""}, // only for a file loaded at start-up
    {"chkAutoSaveWin", "AutoSaveWin=false", "unchecked", "click", "AutoSaveWin=true"},
    {"chkAutoSaveData", "AutoSaveData=true", "checked", "click", "AutoSaveData=false"},
    {"chkAutoLoadData", "AutoLoadData=true", "checked", "click", "AutoLoadData=false"},
    {"chkExpire", "AutoCheck=false", "unchecked", "click", "AutoCheck=true"},
    {"chkURLTray", "GTSAfterURL=true", "checked", "click", "GTSAfterURL=false"},
    {"chkViewIcon", "ViewMenuIcon=false", "unchecked", "click", "ViewMenuIcon=true"},
    {"chkNotes", "ShowNotes=true", "checked", "click", "ShowNotes=false"},
    {"chkTV", "ShowCatSub=false", "unchecked", "click", "ShowCatSub=true"},
    {"chkFileName", "ViewFileName=false", "unchecked", "click", "ViewFileName=true"},
    {"cbSystray", "SysTrayDef=2", "Add Item", "choose:Open", "SysTrayDef=1"},
    {"cbSystray2", "SysTrayPWDefault=7", "Go to URL", "choose:Copy URL", "SysTrayPWDefault=4"},
    {"cbSystray2", "SysTrayPWDefault=9", "", "", ""}, // shows nothing, keeps the value
    {"cbAction", "DefaultGridAction=5", "Execute URL", "choose:Copy User/PW",
     "DefaultGridAction=3"},
    {"cbBefore", "KeyBeforeCB=13", "ENTER", "choose:-Other-", "KeyBeforeCB=-1"},
    {"cbAfter", "KeyAfterCB=-1", "-Other-", "choose:TAB", "KeyAfterCB=8"},
    {"cbBackup", "", "History Backup", "choose:Single Backup", "BackupHistory=false"},
    {"cbBackup", "BackupFile=false", "None", "choose:History Backup", "BackupFile=true"},
    {"txthistory", "HistorySize=17", "17", "type:15", "HistorySize=15"},
    {"txthistory", "", "10", "type:99999999999", "HistorySize=20"},
    {"txthistory", "", "10", "type:", "HistorySize=2"},
    {"txthistory", "", "10", "type:1a-2 ", "HistorySize=12"},
    {"txtDExpire", "ExpirationDays=-7", "-7", "type:32767", "ExpirationDays=32767"},
    {"txtDChange", "ChangeDays=32767", "32767", "type:-32768", "ChangeDays=-32768"},
    {"txtNExpire", "ExpirationNotify=0", "0", "type: 12 ", "ExpirationNotify=12"},
    {"txtNChange", "ChangeNotify=-32768", "-32768", "type:0", "ChangeNotify=0"},
    {"txtbefore", "KeyBeforeCB=-1;KeyBefore=+", "+", "type::", "KeyBefore=:"},
    {"txtAfter", "KeyAfterCB=-1;KeyAfter=#", "#", "type:xy", "KeyAfter=x"},
    {"txtAfter", "KeyAfter=#", "#*", "", ""}, // typed only in place of "-Other-"
    {"txtClipboardClear", "", "10", "type:45", "ClipboardClearSeconds=45"},
    {"txtClipboardClear", "ClipboardClearSeconds=999", "999", "type:0", "ClipboardClearSeconds=0"},
    {"txtClipboardClear", "", "10", "type:1000", "ClipboardClearSeconds=100"}, // a digit too many
    {"spnLockMinutes", "", "0", "type:15", "LockAfterMinutes=15"},
    {"spnLockMinutes", "LockAfterMinutes=30", "30", "type:0", "LockAfterMinutes=0"},
    {"chkLockSession", "", "checked", "click", "LockOnSessionLock=false"},
    {"chkNotes", "", "unchecked", "click", "ShowNotes=true", "cmdOK"},
    {"chkNotes", "", "unchecked", "click", "", "cmdCancel"},
    {"chkNotes", "", "unchecked", "click", "", "esc"},
    // Refused, with the field's page brought up: nothing is stored.
    {"txtDExpire", "", "60", "type:abc", "", "cmdApply", "Expiration days"},
    {"txtNChange", "", "5", "type:", "", "cmdOK", "Notify change days"},
    {"txtDChange", "", "30", "type:+3", "", "enter", "Change days"},
};

} // namespace

class TestOptionsValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void values_data()
    {
        QTest::addColumn<int>("row");
        for (const Value &v : Values) {
            QTest::addRow("%s %s %s %s", v.name, v.given, v.action, v.by) << int(&v - Values);
        }
    }
    void values()
    {
        QFETCH(int, row);
        const Value &v = Values[row];
        const QString action = v.action;
        Fixture f;
        {
            QSettings raw(QStringLiteral("Quorvan"), QStringLiteral("VLM"));
            for (const QString &option : QString(v.given).split(';', Qt::SkipEmptyParts)) {
                raw.setValue("1.0/" + option.section('=', 0, 0), option.section('=', 1));
            }
        }
        ReadOptions(f.t.settings, f.t.options, {});
        SaveOptions(f.t.settings, f.t.options, ProgramPath);
        QStringList expected = stored();
        for (const QString &change : QString(v.changed).split(';', Qt::SkipEmptyParts)) {
            for (QString &line : expected) {
                line = line.section('=', 0, 0) == change.section('=', 0, 0) ? change : line;
            }
        }
        frmOptions dialog(f.t.services, ProgramPath);
        dialog.show();
        QWidget *widget = dialog.findChild<QWidget *>(v.name);
        QCOMPARE(shown(widget), v.shows);
        reveal(dialog, widget);
        if (action == "click") {
            click(qobject_cast<QAbstractButton *>(widget));
        } else if (action.startsWith("choose:")) {
            chooseItem(*qobject_cast<QComboBox *>(widget), action.mid(7));
        } else if (action.startsWith("type:")) {
            auto *spin = qobject_cast<QSpinBox *>(widget);
            retype(spin != nullptr ? spin->findChild<QLineEdit *>()
                                   : qobject_cast<QLineEdit *>(widget),
                   action.mid(5));
        }
        QString asked = v.asked;
        const bool refused = !asked.isEmpty() && asked != AutoLoadFirst;
        if (refused) {
            asked = QString(NotANumber).arg(asked);
            reveal(dialog, dialog.chkNotes); // another page
        }
        closeDialog(dialog, v.by);
        QCOMPARE(f.asked(), asked.isEmpty() ? QStringList() : QStringList{asked});
        QCOMPARE(stored(), expected);
        if (refused) {
            QVERIFY(widget->isVisible() && dialog.isVisible());
        }
        // The start-up entry follows the startup type.
        QCOMPARE(platform::Registry::RegReadString(platform::Hive::CurrentUser,
                                                   platform::Registry::RunKey, "VLM"),
                 f.t.options.StartupType == 3 ? ProgramPath : QString());
    }
};

QTEST_MAIN(TestOptionsValues)
#include "test_options_values.moc"
