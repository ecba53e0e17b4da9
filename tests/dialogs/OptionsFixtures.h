#pragma once

// The options window over a main window, the options as stored in the
// settings file, and a user's hand: clicks, typing and list choices.

#include "frmOptions.h"
#include "Registry.h"
#include "TestServices.h"

#include <map>
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>

namespace optionstest {

inline const QString ProgramPath = QStringLiteral("/opt/vellumor/bin/vellumor");

inline QString configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}
inline QString settingsFile()
{
    return configFolder() + QStringLiteral("/Quorvan/VLM.conf");
}
inline QString autostartEntry()
{
    return configFolder() + QStringLiteral("/autostart/VLM.desktop");
}
inline QString autostartCommand()
{
    return platform::Registry::RegReadString(platform::Hive::CurrentUser,
                                             platform::Registry::RunKey, QStringLiteral("VLM"));
}

// Every option but "Path" (which the window neither shows nor stores), by name.
inline const std::map<QString, bool ProgramOptions::*> &booleans()
{
    static const std::map<QString, bool ProgramOptions::*> m = {
        {"AutoSaveWin", &ProgramOptions::AutoSaveWin},
        {"AutoSaveData", &ProgramOptions::AutoSaveData},
        {"AutoLoadData", &ProgramOptions::AutoLoadData},
        {"AutoLoadWin", &ProgramOptions::AutoLoadWin},
        {"ViewWizard", &ProgramOptions::ViewWizard},
        {"ViewFileName", &ProgramOptions::ViewFileName},
        {"ViewTips", &ProgramOptions::ViewTips},
        {"ViewMenuIcon", &ProgramOptions::ViewMenuIcon},
        {"ViewSplash", &ProgramOptions::ViewSplash},
        {"GTSAfterURL", &ProgramOptions::GTSAfterURL},
        {"BackupFile", &ProgramOptions::BackupFile},
        {"BackupHistory", &ProgramOptions::BackupHistory},
        {"ShowCatSub", &ProgramOptions::ShowCatSub},
        {"ShowNotes", &ProgramOptions::ShowNotes},
        {"AutoCheck", &ProgramOptions::AutoCheck}};
    return m;
}
inline const std::map<QString, qint16 ProgramOptions::*> &integers()
{
    static const std::map<QString, qint16 ProgramOptions::*> m = {
        {"StartupType", &ProgramOptions::StartupType},
        {"HistorySize", &ProgramOptions::HistorySize},
        {"ExpirationDays", &ProgramOptions::ExpirationDays},
        {"ChangeDays", &ProgramOptions::ChangeDays},
        {"ExpirationNotify", &ProgramOptions::ExpirationNotify},
        {"ChangeNotify", &ProgramOptions::ChangeNotify},
        {"KeyBeforeCB", &ProgramOptions::KeyBeforeCB},
        {"KeyAfterCB", &ProgramOptions::KeyAfterCB},
        {"SysTrayPWDefault", &ProgramOptions::SysTrayPWDefault},
        {"DefaultGridAction", &ProgramOptions::DefaultGridAction},
        {"SysTrayDef", &ProgramOptions::SysTrayDef}};
    return m;
}
inline const std::map<QString, QString ProgramOptions::*> &strings()
{
    static const std::map<QString, QString ProgramOptions::*> m = {
        {"Language", &ProgramOptions::Language},
        {"KeyAfter", &ProgramOptions::KeyAfter},
        {"KeyBefore", &ProgramOptions::KeyBefore}};
    return m;
}

// "Name=value" for every option, sorted by name, so a comparison shows which differ.
inline QStringList describe(const ProgramOptions &o)
{
    QStringList lines;
    for (const auto &[name, member] : booleans()) {
        lines << name + (o.*member ? "=true" : "=false");
    }
    for (const auto &[name, member] : integers()) {
        lines << name + '=' + QString::number(o.*member);
    }
    for (const auto &[name, member] : strings()) {
        lines << name + "=\"" + o.*member + '"';
    }
    lines.sort();
    return lines;
}

// Sets options from "Name=value;Name=value".
inline void setOptions(ProgramOptions &o, const QString &assignments)
{
    for (const QString &assignment : assignments.split(';', Qt::SkipEmptyParts)) {
        const QString name = assignment.section('=', 0, 0);
        const QString value = assignment.section('=', 1);
        if (const auto b = booleans().find(name); b != booleans().end()) {
            o.*(b->second) = value == "true";
        } else if (const auto i = integers().find(name); i != integers().end()) {
            o.*(i->second) = value.toShort();
        } else if (const auto s = strings().find(name); s != strings().end()) {
            o.*(s->second) = value;
        } else {
            QTest::qFail(qPrintable("no option " + name), __FILE__, __LINE__);
        }
    }
}

// The options as the next start would read them from the settings file.
inline ProgramOptions stored()
{
    Settings settings;
    ProgramOptions o;
    ReadOptions(settings, o, QString());
    settings.ReleaseOptionSettings();
    return o;
}

using MainWindow = WidgetMainWindow;

struct Fixture
{
    TestServices t;
    MainWindow main;

    Fixture()
    {
        // Nothing of an earlier case: no settings file, no autostart entry.
        QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
        QFile::remove(settingsFile());
        QFile::remove(autostartEntry());
        main.widget.resize(700, 500);
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;
};

// Opens the window as the program does and waits until it has the focus.
inline void open(frmOptions &dialog)
{
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

inline int pageOf(const frmOptions &dialog, const QWidget *control)
{
    for (int i = 0; i < 5; ++i) {
        if (dialog.pict[static_cast<std::size_t>(i)]->isAncestorOf(control)) {
            return i;
        }
    }
    return -1;
}

inline void clickTab(frmOptions &dialog, int index)
{
    QTest::mouseClick(dialog.TabStrip, Qt::LeftButton, {},
                      dialog.TabStrip->tabRect(index).center());
}

// Brings up the page of the control by its tab, as a user must.
inline void reveal(frmOptions &dialog, QWidget *control)
{
    clickTab(dialog, pageOf(dialog, control));
    QVERIFY(control->isVisible());
}

// On the box or circle itself: a stretched button's middle may be past its text.
inline void click(frmOptions &dialog, QAbstractButton *button)
{
    reveal(dialog, button);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Picks an item with the keyboard: first item, then down to it.
inline void choose(frmOptions &dialog, QComboBox *combo, const QString &text)
{
    reveal(dialog, combo);
    const int wanted = combo->findText(text);
    QVERIFY2(wanted >= 0, qPrintable(text));
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < wanted; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
    QCOMPARE(combo->currentText(), text);
}

// Replaces the field's text as typed, then leaves the field with Tab.
inline void type(frmOptions &dialog, QWidget *field, const QString &text)
{
    reveal(dialog, field);
    QWidget *target = field;
    if (auto *spin = qobject_cast<QSpinBox *>(field)) {
        target = spin->findChild<QLineEdit *>();
    }
    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Backspace);
    QTest::keyClicks(target, text);
}

inline void leave(QWidget *field)
{
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
}

} // namespace optionstest
