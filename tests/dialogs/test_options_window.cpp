// The options window as a user meets it: its pages, captions and lists, the
// warnings and field rules, the window stack around it and its placement.

#include "OptionsFixtures.h"

#include <QGroupBox>
#include <QLabel>

using namespace optionstest;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

const PromptRequest AutoLoadFirst{
    "You've to check the AutoLoad on Startup to let VLM Automatically load the last opened file.",
    "VLM", PromptIcon::None, PromptButtons::Ok};

PromptRequest notANumber(const QString &caption)
{
    return {'"' + caption + "\" must be a whole number from -32768 to 32767.", "VLM",
            PromptIcon::Exclamation, PromptButtons::Ok};
}

// The text a user reads for a control: its own, else that of its label.
QString captionOf(const frmOptions &dialog, const QWidget *control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        return button->text();
    }
    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        if (label->buddy() == control) {
            return label->text();
        }
    }
    return "<no caption>";
}

QString frameOf(const QWidget *control)
{
    for (const QWidget *w = control->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (const auto *frame = qobject_cast<const QGroupBox *>(w)) {
            return frame->title();
        }
    }
    return "<no frame>";
}

QStringList itemsOf(const QComboBox &combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) {
        items << QString("%1 (%2)").arg(combo.itemText(i), combo.itemData(i).toString());
    }
    return items;
}

} // namespace

class TestOptionsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabsShowTheirPage();
    void captions_data();
    void captions();
    void lists_data();
    void lists();
    void startupWarning_data();
    void startupWarning();
    void wizardFollowsAutoLoad();
    void keyTextFollowsOther_data();
    void keyTextFollowsOther();
    void historySize_data();
    void historySize();
    void badNumberRefused_data();
    void badNumberRefused();
    void closing_data();
    void closing();
    void placementKept();
    void showOptionsDeletesOnClose();
    void pagesDrawnWhole();
};

void TestOptionsWindow::tabsShowTheirPage()
{
    Fixture f;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Options"));
    QStringList tabs;
    for (int i = 0; i < dialog.TabStrip->count(); ++i) {
        tabs << dialog.TabStrip->tabText(i) + " / " + dialog.TabStrip->tabData(i).toString();
    }
    QCOMPARE(tabs, QStringList({"&Startup / STARTUP", "&Load Save / LOADSAVE",
                                "&View-Systray / VIEWSYSTRAY", "&Default Add / DEFAULTADD",
                                "Default &Key / DEFAULTKEY"}));
    for (const int tab : {1, 2, 3, 4, 0, 3}) {
        clickTab(dialog, tab);
        for (std::size_t page = 0; page < dialog.pict.size(); ++page) {
            QCOMPARE(dialog.pict[page]->isVisible(), page == std::size_t(tab));
        }
    }
    // The language button has no tab and does nothing.
    QVERIFY(!dialog.cmdLanguage->isVisible());
    QCOMPARE(dialog.cmdLanguage->text(), QStringLiteral("Select"));
    const QStringList buttons = {dialog.cmdOK->text(), dialog.cmdCancel->text(),
                                 dialog.cmdApply->text()};
    QCOMPARE(buttons, QStringList({"&OK", "Cancel", "&Apply"}));
}

void TestOptionsWindow::captions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("caption");
    const QString start = "Starting UP";
    QTest::newRow("optStart0") << "optStart0" << 0 << start << "Normal startup";
    QTest::newRow("optStart1") << "optStart1" << 0 << start << "Startup minimized";
    QTest::newRow("optStart2") << "optStart2" << 0 << start << "Startup in system tray";
    QTest::newRow("optStart3") << "optStart3" << 0 << start << "Load With Windows in system tray";
    QTest::newRow("chkSplash") << "chkSplash" << 0 << start << "Show Splash screen on Startup";
    QTest::newRow("chkTips") << "chkTips" << 0 << start << "Show Tips on Startup";
    QTest::newRow("chkWizard") << "chkWizard" << 0 << start << "Show Wizard on Startup";
    QTest::newRow("chkAutoLoadWin")
        << "chkAutoLoadWin" << 0 << start << "Load Window position on Startup";
    QTest::newRow("chkAutoSaveWin")
        << "chkAutoSaveWin" << 0 << start << "Automatically Save Window Position";
    const QString load = "Load Save option";
    QTest::newRow("txthistory") << "txthistory" << 1 << load << "Entry in Load History ";
    QTest::newRow("cbBackup") << "cbBackup" << 1 << load << "Backup Type";
    QTest::newRow("chkAutoSaveData") << "chkAutoSaveData" << 1 << load << "AutoSave Data on Exit";
    QTest::newRow("chkAutoLoadData") << "chkAutoLoadData" << 1 << load << "AutoLoad on Startup";
    QTest::newRow("chkExpire") << "chkExpire" << 1 << load << "Check For Expiration on Load";
    const QString tray = "Systray Options";
    QTest::newRow("cbSystray") << "cbSystray" << 2 << tray << "Double Click Action";
    QTest::newRow("cbSystray2") << "cbSystray2" << 2 << tray << "Service Click Action";
    QTest::newRow("chkURLTray") << "chkURLTray" << 2 << tray << "GO to Systray after executing URL";
    const QString view = "View Options";
    QTest::newRow("chkViewIcon") << "chkViewIcon" << 2 << view << "Show Icons in Menu";
    QTest::newRow("chkNotes") << "chkNotes" << 2 << view << "Show Notes on Grid";
    QTest::newRow("cbAction") << "cbAction" << 2 << view << "Default Grid Action";
    QTest::newRow("chkTV") << "chkTV" << 2 << view << "Show Cat/Sub if no Treeview present";
    QTest::newRow("chkFileName") << "chkFileName" << 2 << view << "Show FileName in Title Caption";
    const QString add = "Default Password Insert Value";
    QTest::newRow("txtDExpire") << "txtDExpire" << 3 << add << "Expiration days";
    QTest::newRow("txtDChange") << "txtDChange" << 3 << add << "Change days";
    QTest::newRow("txtNExpire") << "txtNExpire" << 3 << add << "Notify expir. days";
    QTest::newRow("txtNChange") << "txtNChange" << 3 << add << "Notify change days";
    const QString keys = "Default Keys";
    QTest::newRow("cbBefore") << "cbBefore" << 4 << keys << "Key between Username and Password";
    QTest::newRow("cbAfter") << "cbAfter" << 4 << keys << "Key after Password";
}

void TestOptionsWindow::captions()
{
    QFETCH(QString, control);
    QFETCH(int, page);
    QFETCH(QString, frame);
    QFETCH(QString, caption);
    Fixture f;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    const QWidget *widget = dialog.findChild<QWidget *>(control);
    QVERIFY(widget != nullptr);
    QCOMPARE(pageOf(dialog, widget), page);
    QCOMPARE(frameOf(widget), frame);
    QCOMPARE(captionOf(dialog, widget), caption);
}

void TestOptionsWindow::lists_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("cbSystray") << "cbSystray" << QStringList{"Open (1)", "Add Item (2)"};
    QTest::newRow("cbSystray2") << "cbSystray2"
                                << QStringList{"Edit Service (1)",       "Copy Password (2)",
                                               "Copy User/Password (3)", "Copy URL (4)",
                                               "Send Password (5)",      "Send User/Password (6)",
                                               "Go to URL (7)"};
    QTest::newRow("cbAction") << "cbAction"
                              << QStringList{"Edit Password (1)", "Copy Password (2)",
                                             "Copy User/PW (3)", "Copy URL (4)", "Execute URL (5)"};
    const QStringList keys = {"TAB (8)", "ENTER (13)", "NOTHING (0)", "-Other- (-1)"};
    QTest::newRow("cbBefore") << "cbBefore" << keys;
    QTest::newRow("cbAfter") << "cbAfter" << keys;
    QTest::newRow("cbBackup") << "cbBackup"
                              << QStringList{"None (0)", "Single Backup (1)", "History Backup (2)"};
}

void TestOptionsWindow::lists()
{
    QFETCH(QString, control);
    QFETCH(QStringList, items);
    Fixture f;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    const auto *combo = dialog.findChild<QComboBox *>(control);
    QVERIFY(combo != nullptr);
    QVERIFY(!combo->isEditable());
    QCOMPARE(itemsOf(*combo), items);
}

void TestOptionsWindow::startupWarning_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("autoLoad");
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<bool>("warned");
    for (const bool keys : {false, true}) {
        const char *how = keys ? "keyboard" : "mouse";
        QTest::addRow("3 without AutoLoad, %s", how) << 3 << false << keys << true;
        QTest::addRow("3 with AutoLoad, %s", how) << 3 << true << keys << false;
        QTest::addRow("2 without AutoLoad, %s", how) << 2 << false << keys << false;
    }
    QTest::newRow("1 without AutoLoad") << 1 << false << false << false;
}

void TestOptionsWindow::startupWarning()
{
    QFETCH(int, choice);
    QFETCH(bool, autoLoad);
    QFETCH(bool, byKeyboard);
    QFETCH(bool, warned);
    Fixture f;
    f.t.options.AutoLoadData = autoLoad;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    QRadioButton *wanted = dialog.optStart[static_cast<std::size_t>(choice)];
    if (byKeyboard) {
        // From the button above it, as arrow keys move through the group.
        click(dialog, dialog.optStart[static_cast<std::size_t>(choice - 1)]);
        f.t.prompt.asked.clear();
        QTest::keyClick(dialog.optStart[static_cast<std::size_t>(choice - 1)], Qt::Key_Down);
    } else {
        click(dialog, wanted);
    }
    QVERIFY(wanted->isChecked());
    QCOMPARE(dialog.chkAutoLoadData->isChecked(), autoLoad);
    QCOMPARE(f.t.prompt.asked,
             warned ? QList<PromptRequest>{AutoLoadFirst} : QList<PromptRequest>{});
}

void TestOptionsWindow::wizardFollowsAutoLoad()
{
    Fixture f;
    f.t.options.AutoLoadData = true;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    QVERIFY(dialog.chkWizard->isEnabled());
    click(dialog, dialog.chkAutoLoadData);
    QVERIFY(!dialog.chkWizard->isEnabled());
    click(dialog, dialog.chkAutoLoadData);
    QVERIFY(dialog.chkWizard->isEnabled());

    f.t.options.AutoLoadData = false;
    frmOptions off(f.t.services, ProgramPath);
    open(off);
    QVERIFY(!off.chkWizard->isEnabled());
}

void TestOptionsWindow::keyTextFollowsOther_data()
{
    QTest::addColumn<bool>("after");
    QTest::newRow("between user name and password") << false;
    QTest::newRow("after password") << true;
}

void TestOptionsWindow::keyTextFollowsOther()
{
    QFETCH(bool, after);
    Fixture f;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    QComboBox *combo = after ? dialog.cbAfter : dialog.cbBefore;
    QLineEdit *text = after ? dialog.txtAfter : dialog.txtbefore;
    QVERIFY(!text->isEnabled());
    choose(dialog, combo, "-Other-");
    QVERIFY(text->isEnabled());
    type(dialog, text, "%");
    QCOMPARE(text->text(), QStringLiteral("%"));
    choose(dialog, combo, "ENTER");
    QVERIFY(!text->isEnabled());
    QCOMPARE(text->text(), QStringLiteral("%")); // kept for a later "-Other-"
}

void TestOptionsWindow::historySize_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownWhileTyping");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("50") << "50"
                        << "50"
                        << "20";
    QTest::newRow("1") << "1"
                       << "1"
                       << "2";
    QTest::newRow("0") << "0"
                       << "0"
                       << "2";
    QTest::newRow("empty") << ""
                           << ""
                           << "2";
    QTest::newRow("huge") << "99999999999999"
                          << "99999999999999"
                          << "20";
    QTest::newRow("in range") << "7"
                              << "7"
                              << "7";
    QTest::newRow("top") << "20"
                         << "20"
                         << "20";
    QTest::newRow("letters refused") << "1a-2 "
                                     << "12"
                                     << "12";
}

void TestOptionsWindow::historySize()
{
    QFETCH(QString, typed);
    QFETCH(QString, shownWhileTyping);
    QFETCH(QString, shownAfter);
    Fixture f;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    type(dialog, dialog.txthistory, typed);
    QCOMPARE(dialog.txthistory->text(), shownWhileTyping);
    leave(dialog.txthistory);
    QCOMPARE(dialog.txthistory->text(), shownAfter);
    // The spinner stops at both ends.
    QTest::keyClick(dialog.txthistory, Qt::Key_Up);
    QCOMPARE(dialog.txthistory->value(), std::min(shownAfter.toInt() + 1, 20));
    dialog.txthistory->setValue(2);
    QTest::keyClick(dialog.txthistory, Qt::Key_Down);
    QCOMPARE(dialog.txthistory->value(), 2);
}

void TestOptionsWindow::badNumberRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byOK");
    QTest::newRow("letters") << "txtDExpire"
                             << "Expiration days"
                             << "abc" << false;
    QTest::newRow("too large") << "txtDChange"
                               << "Change days"
                               << "32768" << true;
    QTest::newRow("too small") << "txtNExpire"
                               << "Notify expir. days"
                               << "-32769" << false;
    QTest::newRow("empty") << "txtNChange"
                           << "Notify change days"
                           << "" << true;
    QTest::newRow("fraction") << "txtDExpire"
                              << "Expiration days"
                              << "1.5" << true;
    QTest::newRow("plus sign") << "txtDChange"
                               << "Change days"
                               << "+3" << false;
}

void TestOptionsWindow::badNumberRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, caption);
    QFETCH(QString, typed);
    QFETCH(bool, byOK);
    Fixture f;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    auto *edit = dialog.findChild<QLineEdit *>(field);
    type(dialog, edit, typed);
    click(dialog, dialog.chkNotes); // also on another page, and not stored either
    QTest::mouseClick(byOK ? dialog.cmdOK : dialog.cmdApply, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{notANumber(caption)});
    QVERIFY(dialog.isVisible());
    QVERIFY(edit->isVisible()); // its page is brought up
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->text(), typed);
    QCOMPARE(describe(stored()), describe(ProgramOptions()));
    QVERIFY(!f.t.options.ShowNotes);
    QCOMPARE(f.t.windows.count(), 1);
}

void TestOptionsWindow::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK button") << "ok";
    QTest::newRow("Enter key") << "enter";
    QTest::newRow("Enter on the history size") << "enter-history";
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("title bar") << "close";
    QTest::newRow("destroyed") << "delete";
}

void TestOptionsWindow::closing()
{
    QFETCH(QString, how);
    Fixture f;
    auto dialog = std::make_unique<frmOptions>(f.t.services, ProgramPath);
    QVERIFY(f.t.windows.isEmpty()); // nothing happens before it is shown
    open(*dialog);
    QCOMPARE(f.t.windows.count(), 1);
    QCOMPARE(f.t.windows.top(), dialog.get());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());

    click(*dialog, dialog->chkNotes);
    const bool applies = how.startsWith("ok") || how.startsWith("enter");
    if (how == "ok") {
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    } else if (how == "enter") {
        QTest::keyClick(dialog->chkNotes, Qt::Key_Return);
    } else if (how == "enter-history") {
        type(*dialog, dialog->txthistory, "90");
        QTest::keyClick(dialog->txthistory, Qt::Key_Enter, Qt::KeypadModifier);
    } else if (how == "cancel") {
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    } else if (how == "escape") {
        QTest::keyClick(dialog->chkNotes, Qt::Key_Escape);
    } else if (how == "close") {
        dialog->close();
    } else {
        dialog.reset();
    }
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    QCOMPARE(stored().ShowNotes, applies);
    QCOMPARE(stored().HistorySize, qint16(how == "enter-history" ? 20 : 10));
    QVERIFY(f.t.prompt.asked.isEmpty());
}

void TestOptionsWindow::placementKept()
{
    Fixture f;
    QRect moved;
    {
        frmOptions first(f.t.services, ProgramPath);
        open(first);
        first.move(first.pos() + QPoint(37, 23));
        first.resize(first.width() + 40, first.height() + 30);
        moved = first.geometry();
        QTest::mouseClick(first.cmdCancel, Qt::LeftButton);
    }
    SettingsComponent &layout = f.t.settings.OpenLayoutSettings();
    QVERIFY(layout.GetInteger("frmOptions-W", -1) > 0);
    f.t.settings.ReleaseLayoutSettings();
    frmOptions second(f.t.services, ProgramPath);
    open(second);
    QCOMPARE(second.geometry(), moved);
}

void TestOptionsWindow::showOptionsDeletesOnClose()
{
    Fixture f;
    const QPointer<frmOptions> dialog = dialogs::ShowOptions(f.t.services, ProgramPath);
    QVERIFY(!dialog.isNull());
    QVERIFY(dialog->isVisible());
    QCOMPARE(f.t.windows.top(), dialog.data());
    QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(QFile::exists(settingsFile()));
}

// Every page in the window's first size: nothing cut off or outside the
// window. With VELLUMOR_SHOT_DIR set, the pages are saved there to look at.
void TestOptionsWindow::pagesDrawnWhole()
{
    Fixture f;
    f.t.options.AutoLoadData = true;
    f.t.options.KeyBeforeCB = -1;
    frmOptions dialog(f.t.services, ProgramPath);
    open(dialog);
    const QString folder = qEnvironmentVariable("VELLUMOR_SHOT_DIR");
    for (int tab = 0; tab < 5; ++tab) {
        clickTab(dialog, tab);
        const QWidget *page = dialog.pict[static_cast<std::size_t>(tab)];
        for (const QWidget *control : page->findChildren<QWidget *>()) {
            // Qt's own parts of a spin box or list are its business.
            if (!control->isVisible() || control->objectName().startsWith("qt_")) {
                continue;
            }
            const QRect inWindow(control->mapTo(&dialog, QPoint(0, 0)), control->size());
            const QString what = control->objectName() + ' ' + control->metaObject()->className();
            QVERIFY2(dialog.rect().contains(inWindow), qPrintable(what));
            QVERIFY2(control->width() >= control->minimumSizeHint().width(), qPrintable(what));
            QVERIFY2(control->height() >= control->minimumSizeHint().height(), qPrintable(what));
        }
        if (!folder.isEmpty()) {
            dialog.grab().save(QString("%1/options-%2.png").arg(folder).arg(tab));
        }
    }
}

QTEST_MAIN(TestOptionsWindow)
#include "test_options_window.moc"
