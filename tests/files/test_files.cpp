// The file routines and their dialogs as a user meets them: every save question
// and answer, opening through the password dialog, save as, import, a file's
// password changed, and the New/Open dialog driven page by page.

#include "DiskWatch.h"
#include "FileRoutines.h"
#include "frmFilePW.h"
#include "frmLoadSave.h"
#include "Grid.h"
#include "TestServices.h"

#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::PromptButtons;
using platform::PromptIcon;
using Asked = QList<platform::PromptRequest>;

namespace {

const QString &New = PasswordStore::NewFileName;

// Runs the steps one event-loop turn apart in the dialog of that type while it shows.
template <typename Dialog> void whileShown(QList<std::function<void(Dialog &)>> steps)
{
    QTimer::singleShot(0, [steps]() mutable {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *d = qobject_cast<Dialog *>(w); d && d->isVisible() && !steps.isEmpty()) {
                steps.takeFirst()(*d);
                whileShown(steps);
            }
        }
    });
}

// Answers the password dialog once it waits: "1:text" types into the first
// field (2 and 3 alike); "ok", "enter", "cancel"; "close" is the close box,
// which it refuses.
void answerPassword(const QStringList &steps)
{
    whileShown<frmFilePW>({[steps](frmFilePW &d) {
        for (const QString &step : steps) {
            QLineEdit *field = step[0] == '1' ? d.txtPW1 : step[0] == '2' ? d.txtPW2 : d.txtPW3;
            if (step.at(1) == ':') {
                QTest::keyClicks(field, step.mid(2));
            } else if (step == "close") {
                QVERIFY(!d.close() && d.isVisible() && d.Waiting());
            } else {
                step == "enter"
                    ? QTest::keyClick(d.txtPW1, Qt::Key_Return)
                    : QTest::mouseClick(step == "ok" ? d.cmdOK : d.cmdCancel, Qt::LeftButton);
            }
        }
    }});
}

// The New/Open dialog as seen: the page, its tabs, which of the browser's OK
// and Cancel, our New button and the browser show, the chosen file and the
// browser's file name.
QString look(const frmLoadSave &d)
{
    QStringList tabs;
    for (int i = 0; i < d.TabMain->count(); ++i) {
        tabs << d.TabMain->tabText(i);
    }
    const auto *name = d.fileDialog()->findChild<QLineEdit *>("fileNameEdit");
    const QString shown = QString(d.dialogOkButton()->isVisible() ? "O" : "") +
                          (d.dialogCancelButton()->isVisible() ? "C" : "") +
                          (d.cmdNewOpen->isVisible() ? "N" : "") + (name->isVisible() ? "B" : "");
    return QStringList{d.currentPage(), tabs.join(','), shown, d.Filename(), name->text()}.join(
        ' ');
}

// Four Tabs and a Shift+Tab from the tab bar: where the focus goes.
QString tabCycle(frmLoadSave &d)
{
    QStringList names;
    d.activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(&d));
    d.TabMain->setFocus();
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                        i < 4 ? Qt::NoModifier : Qt::ShiftModifier);
        const QWidget *w = QApplication::focusWidget();
        const auto *button = qobject_cast<const QPushButton *>(w);
        names << (button ? button->text()
                         : (w->objectName().isEmpty() ? w->parentWidget() : w)->objectName());
    }
    return names.join(',');
}

// A device with no room left: every save fails before a byte is written.
struct FullDevice final : SaveTarget
{
    QBuffer buffer;
    bool open() override { return false; }
    QIODevice &device() override { return buffer; }
    bool commit() override { return false; }
    QString errorString() const override { return "No space left on device"; }
};

} // namespace

// One user action over open.VLM (Mail, and Bank added when modified), beside
// other.VLM, locked.VLM (password s3cret) and taken.VLM.
struct RoutineCase
{
    QString action;        // and the file it names, if any
    bool modified, option; // option: silent, AutoSaveData; in the tray with AutoCheck off
    QStringList questions; // each as answer (y, n, c, - for OK) and name: "y:ask"
    QStringList steps;     // in the password dialog
    bool result, saved;    // saved: the change reached open.VLM
    QString fileAfter;
    bool full = false; // every save fails: the device is full
};
// The New/Open dialog given recent files ("/name": the folder is written with a
// separator at its end). Steps, one per turn: "see=LOOK", "tabs=NAMES" (see
// above), "page:KEY", "type:TEXT", "click:NAME" (OK: the browser's), "enter" (on
// New), "dbl:GRID:ROW=open" or "=closed" (the window after the double click), "close".
// The open file (open.VLM: Mail) changed here and elsewhere, then taken in.
// Changes: "add:NAME", "edit:NAME" (user name "here" or "there"), "rm:NAME",
// "password:NEW", "touch" (same content, new time), "copy" (a sync tool's
// conflict copy holding Old, offered when the file is opened again).
struct DiskCase
{
    QString here, there;
    QString how;        // "watch" (the watch notices), "check", "save" (File > Save)
    QStringList steps;  // in the password dialog
    QStringList memory; // the services afterwards
    bool modified;
    QString told; // "", "note:TEXT" (status bar), "merged", "saved", "copies"
};
struct LoadSaveCase
{
    bool showNew;
    QStringList recent, steps;
    QString result; // cancelled, new and the file name
};
Q_DECLARE_METATYPE(RoutineCase)
Q_DECLARE_METATYPE(LoadSaveCase)
Q_DECLARE_METATYPE(DiskCase)

class TestFiles : public QObject
{
    Q_OBJECT

    struct Env
    {
        WidgetMainWindow main;
        TestServices t;
        DialogPasswordAsker passwords{t.services};
        files::FileRoutines routines{t.services, passwords, t.openDialog};
    };
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Env> e;
    QString path(const QString &name) const { return m_dir->filePath(name); }

private Q_SLOTS:
    void init()
    {
        e = std::make_unique<Env>();
        e->main.widget.setGeometry(300, 200, 700, 500);
        e->main.widget.show();
        e->t.state.setCurrentMainWindow(&e->main);
        m_dir = std::make_unique<QTemporaryDir>();
        e->t.options.HistorySize = 1;
        e->t.options.Path = m_dir->path();
        QVERIFY(writeFile(path("open.VLM"), QString(), {"Mail"}) &&
                writeFile(path("locked.VLM"), "s3cret"));
        QVERIFY(writeFile(path("other.VLM"), QString(), {"Shop"}) &&
                writeFile(path("taken.VLM"), QString(), {"Old"}));
    }
    void routines_data();
    void routines();
    void openDialogRequest();
    void diskWatch();
    void diskChanges_data();
    void diskChanges();
    void sharedWithCli();
    void loadSave_data();
    void loadSave();
};

void TestFiles::routines_data()
{
    QTest::addColumn<RoutineCase>("c");
    const auto row = [](const char *name, const RoutineCase &c) { QTest::newRow(name) << c; };
    const QString open = "open.VLM", other = "other.VLM", locked = "locked.VLM", pw = "1:s3cret",
                  lk = "file:locked.VLM", im = "import:locked.VLM", to = "password:new";
    // Typing adds to what a field holds: only a field the dialog cleared takes the retry.
    const QStringList retries{"3:x", "1:new", "2:new", "ok", "2:x", "ok", "1:new", "2:new", "ok"};
    row("ask: unchanged", {"ask", false, false, {}, {}, true, false, open});
    row("ask: yes saves", {"ask", true, false, {"y:ask"}, {}, true, true, open});
    row("ask: no", {"ask", true, false, {"n:ask"}, {}, true, false, open});
    row("ask: cancel", {"ask", true, false, {"c:ask"}, {}, false, false, open});
    row("ask: silent saves", {"ask", true, true, {}, {}, true, true, open});
    row("exit: unchanged, yes", {"exit", false, false, {"y:exit"}, {}, true, false, open});
    row("exit: unchanged, no", {"exit", false, false, {"n:exit"}, {}, false, false, open});
    row("exit: cancel", {"exit", true, false, {"c:quit"}, {}, false, false, open});
    // Declining to save already said what to lose: no second question.
    row("exit: not saved", {"exit", true, false, {"n:quit"}, {}, true, false, open});
    row("exit: saved, yes", {"exit", true, false, {"y:quit", "y:exit"}, {}, true, true, open});
    row("exit: auto-save", {"exit", true, true, {"y:exit"}, {}, true, true, open});
    // A save that failed stops what was to follow, as Cancel does, and says so.
    const QStringList unsaved{"-:unsaved"}, yes{"y:ask", "-:unsaved"};
    row("ask: save fails", {"ask", true, false, yes, {}, false, false, open, true});
    row("ask: silent save fails", {"ask", true, true, unsaved, {}, false, false, open, true});
    row("exit: save fails",
        {"exit", true, false, {"y:quit", "-:unsaved"}, {}, false, false, open, true});
    row("exit: auto-save fails", {"exit", true, true, unsaved, {}, false, false, open, true});
    row("new: save fails",
        {"new", true, false, {"y:new", "-:unsaved"}, {}, true, false, open, true});
    row("hand-over: save fails",
        {"hand", true, false, {"y:hand", "-:unsaved"}, {}, true, false, open, true});
    row("save as: fails", {"save:a.vlm", true, false, unsaved, {}, false, false, open, true});
    row("new: cancel", {"new", true, false, {"c:new"}, {}, true, false, open});
    row("new: no", {"new", true, false, {"n:new"}, {}, true, false, New});
    // A file sent by another start never saves the open one unasked.
    row("hand-over: no", {"hand", true, true, {"n:hand"}, {}, true, false, other});
    row("hand-over: yes", {"hand", true, false, {"y:hand"}, {}, true, true, other});
    row("open: cancel", {"open?", true, false, {"c:open"}, {}, true, false, open});
    row("open: new asks again", {"new?", true, false, {"n:open", "n:new"}, {}, true, false, New});
    row("open: the chosen file", {"open?", false, false, {}, {}, true, false, other});
    row("file: no password", {"file:other.VLM", true, false, {}, {}, true, false, other});
    row("file: in the tray", {"file:other.VLM", true, true, {}, {}, true, false, other});
    row("file: Enter", {lk, true, false, {}, {pw, "enter"}, true, false, locked});
    row("file: close box refused", {lk, true, false, {}, {pw, "close", "ok"}, true, false, locked});
    row("file: cancelled", {lk, true, false, {}, {pw, "cancel"}, false, false, open});
    row("file: wrong password", {lk, true, false, {"-:error"}, {"1:x", "ok"}, false, false, open});
    row("file: missing", {"file:gone.VLM", true, false, {"-:error"}, {}, false, false, open});
    row("file: no name", {"file:", true, false, {}, {}, false, false, open});
    row("save as: extension kept", {"save:a.vlm", true, false, {}, {}, true, false, "a.vlm"});
    row("save as: ours added", {"save:a.txt", true, false, {}, {}, true, false, "a.txt.VLM"});
    row("save as: cancelled", {"save:", true, false, {}, {}, false, false, open});
    // The dialog asked about the name as typed, not the one we save under.
    row("save as: taken, no", {"save:taken", true, false, {"n:taken"}, {}, false, false, open});
    row("save as: taken, yes",
        {"save:taken", true, false, {"y:taken"}, {}, true, false, "taken.VLM"});
    row("import: cancelled", {im, true, false, {}, {"cancel"}, false, false, open});
    row("import: wrong password",
        {im, true, false, {"-:failed"}, {"1:x", "ok"}, true, false, open});
    row("import", {im, true, false, {"-:imported"}, {pw, "ok"}, true, false, open});
    row("password: retries",
        {to, true, false, {"-:bad", "-:mismatch", "-:changed"}, retries, true, false, open});
    row("password: blank removes it",
        {"password:", true, false, {"-:removed"}, {"ok"}, true, false, open});
    row("password: cancelled",
        {to, true, false, {}, {"1:new", "2:new", "cancel"}, false, false, open});
}

void TestFiles::routines()
{
    QFETCH(RoutineCase, c);
    const QString arg = c.action.section(':', 1);
    const bool tray = c.option && c.action.startsWith("file:");
    e->t.options.AutoSaveData = c.option;
    int checks = 0;
    e->routines.setExpirationCheck([&checks] { ++checks; });
    QVERIFY(e->routines.OpenPasswordFile(path("open.VLM")));
    PasswordEntry bank;
    bank.service = "Bank";
    QVERIFY(!c.modified || e->t.state.Store->AddPassword(bank));
    if (c.full) {
        e->t.state.Store->SetSaveTargetFactory(
            [](const QString &) { return std::make_unique<FullDevice>(); });
    }
    e->main.calls.clear();
    e->t.state.TrayMode = tray;
    e->t.options.AutoCheck = !tray;
    e->t.openDialog.answers << files::OpenDialogResult{false, c.action == "new?",
                                                       path(arg.isEmpty() ? "other.VLM" : arg)};
    e->t.dialogs.queue(arg.isEmpty() ? std::nullopt : std::optional<QString>(path(arg)));
    for (const QString &q : c.questions) {
        e->t.prompt.queue(platform::PromptAnswer(int(QString("-cyn").indexOf(q[0]))));
    }
    if (!c.steps.isEmpty()) {
        answerPassword(c.steps);
    }
    bool result = true;
    if (c.action == "ask") {
        result = e->routines.AskToSave("Do you want to save it", c.option);
    } else if (c.action == "exit") {
        result = e->routines.ConfirmExit();
    } else if (c.action == "new") {
        e->routines.NewPasswordFile();
    } else if (c.action == "hand") {
        e->routines.ReceiveHandOver(nullptr, ('"' + path("other.VLM") + '"').toLocal8Bit());
    } else if (c.action.startsWith("file:")) {
        result = e->routines.OpenPasswordFile(arg.isEmpty() ? arg : path(arg));
    } else if (c.action.startsWith("save:")) {
        result = e->routines.SavePasswordFile(true);
    } else if (c.action.startsWith("import:")) {
        result = e->routines.ImportPasswordFile();
    } else if (c.action.startsWith("password:")) {
        frmFilePW dialog(e->t.services);
        dialog.changepw();
        QCOMPARE(dialog.Cancelled(), e->t.prompt.asked.isEmpty()); // a choice always says so
        result = e->t.state.Store->CheckPassword(arg);
    } else {
        e->routines.OpenOrNew(c.action == "new?");
    }
    QCOMPARE(result, c.result);
    const auto question = [](const QString &text,
                             PromptButtons buttons = PromptButtons::YesNoCancel) {
        return platform::PromptRequest{text, "VLM", PromptIcon::Question, buttons};
    };
    const auto told = [](const QString &text, PromptIcon icon) {
        return platform::PromptRequest{text, "VLM", icon, PromptButtons::Ok};
    };
    const QString error = e->t.state.Store->LastError();
    const QMap<QString, platform::PromptRequest> said{
        {"ask", question("Do you want to save it")},
        {"quit", question("Save Datafile before exit ?")},
        {"exit", question("Are you sure you want to exit VLM?", PromptButtons::YesNo)},
        {"new", question("Do you want To Save the file?")},
        {"open", question("Do you want to Save the file?")},
        {"hand", question("Do you want to save " + path("open.VLM"))},
        {"taken",
         {path("taken.VLM") + " already exists.\nDo you want to replace it?", "VLM",
          PromptIcon::Exclamation, PromptButtons::YesNo}},
        {"error", told(error, PromptIcon::Critical)},
        {"unsaved", told(error + "\n\nYour changes are still here, in memory only. Save them "
                                 "under another name (File > Save As), or make room and save "
                                 "again.",
                         PromptIcon::Critical)},
        {"failed", told(error, PromptIcon::None)},
        {"imported", told("Import Finished", PromptIcon::None)},
        {"bad", told("Bad Password. Retype password!", PromptIcon::None)},
        {"mismatch", told("Password Incorrect. Retype Password!", PromptIcon::Exclamation)},
        {"changed",
         told("Password Added/Changed!\nSave File to apply change!", PromptIcon::Information)},
        {"removed", told("Password Removed!", PromptIcon::Information)}};
    Asked expected;
    for (const QString &q : c.questions) {
        expected << said[q.mid(2)];
    }
    QCOMPARE(e->t.prompt.asked, expected);
    QVERIFY(!c.questions.contains("-:error") || !error.isEmpty());
    QCOMPARE(servicesIn(path("open.VLM")),
             (c.saved ? QStringList{"Bank", "Mail"} : QStringList{"Mail"}));
    QCOMPARE(servicesIn(path("taken.VLM")),
             (c.fileAfter == "taken.VLM" ? QStringList{"Bank", "Mail"} : QStringList{"Old"}));
    QCOMPARE(e->t.state.Store->FileName(), c.fileAfter == New ? New : path(c.fileAfter));
    QCOMPARE(e->t.state.Store->Modified(), c.modified && !c.saved && c.fileAfter == "open.VLM");
    // Only opening notes a file as recent, runs the expiration check and refreshes the menu.
    const bool opened =
        c.fileAfter != New && c.fileAfter != "open.VLM" && !c.action.startsWith("save");
    QCOMPARE(e->t.recent.paths(), QStringList{path(opened ? c.fileAfter : "open.VLM")});
    QCOMPARE(checks, opened && !tray ? 2 : 1);
    QCOMPARE(e->main.calls.contains("ReloadMenu"), opened && !tray);
    QVERIFY(e->t.windows.isEmpty() && e->main.widget.isEnabled());
    const platform::FileDialogRequest r = e->t.dialogs.asked.value(0);
    QCOMPARE(e->t.dialogs.asked.size(), c.action.startsWith("save:") ? 1 : 0);
    QVERIFY(r.title.isEmpty() ||
            (r.title == "Save Password File As...." && r.filter == "Vellumor |*.VLM" &&
             r.defaultSuffix == "VLM" && r.initialFolder == m_dir->path() && r.overwritePrompt &&
             r.createPrompt));
}

void TestFiles::diskWatch()
{
    files::DiskWatch watch(50);
    QSignalSpy told(&watch, &files::DiskWatch::changed);
    // Appending changes the file in place: only a watch on the file sees it.
    const auto append = [this] {
        QFile file(path("open.VLM"));
        return file.open(QIODevice::Append) && file.write("x") == 1;
    };
    watch.watch(path("later.VLM"));
    QVERIFY(writeFile(path("later.VLM"), QString(), {"A"}));
    QVERIFY(told.wait(2000)); // created after the watch began
    watch.watch(path("open.VLM"));
    told.clear();
    // Replaced (renamed over) three times in a row, then written in place:
    // each burst is told once, and the replaced file is still watched.
    for (int i = 0; i < 3; ++i) {
        QVERIFY(writeFile(path("open.VLM"), QString(), {"B" + QString::number(i)}));
    }
    QVERIFY(told.wait(2000));
    QVERIFY(append());
    QVERIFY(told.wait(2000));
    QTest::qWait(150);
    QCOMPARE(told.size(), 2);
    watch.watch(QString());
    QVERIFY(append() && writeFile(path("open.VLM"), QString(), {"C"}));
    QVERIFY(!told.wait(300));
}

namespace {

// One change to a store, as DiskCase describes it.
bool change(PasswordStore &store, const QString &what, const QString &user)
{
    const QString op = what.section(':', 0, 0), name = what.section(':', 1);
    PasswordEntry e;
    e.service = name;
    e.Password = "pw";
    if (op == "edit") {
        e = *store.Passwords().Item(name);
        e.UserName = user;
        return store.UpdatePassword(e, name, e.codcat, e.CodSCat);
    }
    if (op == "password") {
        store.SetPassword(name);
        return true;
    }
    if (op == "add" || op == "rm") {
        return op == "add" ? store.AddPassword(e) : store.DeletePassword(name);
    }
    return true; // the change is made on disk, not in the store
}

QStringList services(const PasswordStore &store)
{
    QStringList names;
    for (const PasswordEntry &e : store.Passwords()) {
        names << e.service;
    }
    return names;
}

} // namespace

void TestFiles::diskChanges_data()
{
    QTest::addColumn<DiskCase>("c");
    const auto row = [](const char *name, const DiskCase &c) { QTest::newRow(name) << c; };
    const QStringList both{"Mail", "Mail (changed elsewhere)"};
    row("no changes here: read again", {"",
                                        "add:Shop",
                                        "watch",
                                        {},
                                        {"Mail", "Shop"},
                                        false,
                                        "note:changed elsewhere and has been read again"});
    row("only touched", {"", "touch", "check", {}, {"Mail"}, false, ""});
    row("added on both sides",
        {"add:Bank", "add:Shop", "watch", {}, {"Bank", "Mail", "Shop"}, true, "merged"});
    row("deleted there, changed here",
        {"edit:Mail", "rm:Mail", "check", {}, {"Mail"}, true, "merged"});
    row("deleted there, unchanged here",
        {"add:Bank", "rm:Mail", "check", {}, {"Bank"}, true, "merged"});
    row("changed on both sides", {"edit:Mail", "edit:Mail", "check", {}, both, true, "merged"});
    row("saved over a change there", {"add:Bank", "rm:Mail", "save", {}, {"Bank"}, false, "saved"});
    row("saved over a new password there",
        {"add:Bank", "password:new", "save", {"1:new", "ok"}, {"Bank", "Mail"}, false, "saved"});
    row("new password there", {"",
                               "password:new",
                               "check",
                               {"1:new", "ok"},
                               {"Mail"},
                               false,
                               "note:has been read again"});
    row("new password there, not given",
        {"", "password:new", "check", {"cancel"}, {"Mail"}, false, "note:under another password"});
    row("conflict copy", {"", "copy", "open", {}, {"Mail", "Old"}, true, "copies"});
}

void TestFiles::diskChanges()
{
    QFETCH(DiskCase, c);
    const QString file = path("open.VLM");
    const QString copy = path("open.sync-conflict-20260101-120000-ABCDEFG.VLM");
    e->routines.setDiskSettleTime(20);
    QVERIFY(e->routines.OpenPasswordFile(file));
    QVERIFY(change(*e->t.state.Store, c.here, "here"));
    PasswordStore there;
    QVERIFY(there.OpenFile(file, QString()));
    there.SetKdfParams(KdfParams::Minimum());
    QVERIFY(change(there, c.there, "there"));
    e->main.calls.clear();
    if (!c.steps.isEmpty()) {
        answerPassword(c.steps);
    }
    if (c.there == "touch") {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite) &&
                f.setFileTime(QDateTime::currentDateTime().addSecs(60),
                              QFileDevice::FileModificationTime));
    } else if (c.there == "copy") {
        QVERIFY(writeFile(copy, QString(), {"Mail", "Old"}));
        e->t.prompt.queue(platform::PromptAnswer::Yes);
    } else {
        QVERIFY(there.SaveFile(QString(), false, false));
    }
    if (c.how == "watch") {
        QTRY_COMPARE(services(*e->t.state.Store), c.memory);
    } else if (c.how == "save") {
        QVERIFY(e->routines.SavePasswordFile(false));
        PasswordStore disk;
        QVERIFY(disk.OpenFile(file, c.there.startsWith("password:") ? c.there.mid(9) : ""));
        QCOMPARE(services(disk), c.memory);
    } else if (c.how == "open") {
        QVERIFY(e->routines.OpenPasswordFile(file));
    } else {
        e->routines.TakeChangesOnDisk();
    }
    QCOMPARE(services(*e->t.state.Store), c.memory);
    QCOMPARE(e->t.state.Store->Modified(), c.modified);
    // What the user is told: a note in the status bar, or a message.
    const QStringList notes = e->main.calls.filter("Note: ");
    const QString told = e->t.prompt.asked.isEmpty() ? QString() : e->t.prompt.asked.last().text;
    if (c.told.startsWith("note:")) {
        QVERIFY(told.isEmpty() && notes.size() == 1 && notes[0].contains(c.told.mid(5)));
    } else if (c.told.isEmpty()) {
        QVERIFY(told.isEmpty() && notes.isEmpty());
    } else if (c.told == "copies") {
        QCOMPARE(e->t.prompt.asked.size(), 2);
        QVERIFY(e->t.prompt.asked[0].text.contains(QFileInfo(copy).fileName()));
        QVERIFY(told.startsWith("1 record(s) added") && QFileInfo::exists(copy + ".merged") &&
                !QFileInfo::exists(copy));
    } else {
        QCOMPARE(e->t.prompt.asked.size(), 1);
        QVERIFY2(told.contains(c.told == "saved" ? "It was saved with them."
                                                 : "The result is not saved yet."),
                 qPrintable(told));
    }
    // Read again or merged: the view is rebuilt where the user was.
    QCOMPARE(e->main.calls.contains("Restore(node,2)"), c.how != "save" && c.how != "open" &&
                                                            c.there != "touch" &&
                                                            c.steps != QStringList{"cancel"});
}

// Two processes on one file, as two devices behind a sync folder are: this
// program's file routines and the command-line tool add, change and delete
// records in turns and at the same time. Whatever the interleaving, every
// addition and change of either side is in the file at the end, and nothing
// deleted comes back.
void TestFiles::sharedWithCli()
{
    const QString file = path("open.VLM");
    QVERIFY(e->routines.OpenPasswordFile(file));
    PasswordStore &store = *e->t.state.Store;
    QSet<QString> expected{"Mail"};
    QMap<QString, QString> users; // changed user names
    QStringList cliAdded;
    const auto cli = [&file](const QStringList &args) {
        auto process = std::make_unique<QProcess>();
        process->start(VELLUMOR_CLI, QStringList{args[0], file} + args.mid(1));
        return process;
    };
    for (int round = 0; round < 12; ++round) {
        const QString gui = QStringLiteral("Gui %1").arg(round);
        const QString other = QStringLiteral("Cli %1").arg(round);
        // The tool adds (and changes or deletes an earlier one of its own)
        // while this side does the same and saves or takes the news in.
        QStringList args{"add", other};
        if (round % 3 == 2 && !cliAdded.isEmpty()) {
            args = {"edit", cliAdded.last(), "-u", "cli"};
            users[cliAdded.last()] = "cli";
        } else if (round % 4 == 3 && !cliAdded.isEmpty()) {
            args = {"rm", cliAdded.first()};
            expected.remove(cliAdded.first());
            users.remove(cliAdded.takeFirst());
        } else {
            expected << other;
            cliAdded << other;
        }
        const auto process = cli(args);
        QVERIFY(change(store, "add:" + gui, QString()));
        expected << gui;
        if (round % 2 == 1) {
            const QString earlier = QStringLiteral("Gui %1").arg(round - 1);
            QVERIFY(change(store, "edit:" + earlier, "gui"));
            users[earlier] = "gui";
        }
        if (round % 3 == 0 && round > 0) {
            QVERIFY(store.DeletePassword(QStringLiteral("Gui %1").arg(round - 2)));
            expected.remove(QStringLiteral("Gui %1").arg(round - 2));
            users.remove(QStringLiteral("Gui %1").arg(round - 2));
        }
        round % 2 == 0 ? static_cast<void>(e->routines.SavePasswordFile(false))
                       : e->routines.TakeChangesOnDisk();
        QVERIFY(process->waitForFinished(30000));
        QCOMPARE(process->exitCode(), 0);
    }
    e->routines.TakeChangesOnDisk();
    QVERIFY(!store.Modified() || e->routines.SavePasswordFile(false));
    PasswordStore result;
    QVERIFY(result.OpenFile(file, QString()));
    const QStringList names = services(result);
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()), expected);
    for (auto it = users.cbegin(); it != users.cend(); ++it) {
        QCOMPARE(result.Passwords().Item(it.key())->UserName, it.value());
    }
}

void TestFiles::openDialogRequest()
{
    QVERIFY(!e->routines.ImportPasswordFile()); // nothing open to import into: no dialog
    QVERIFY(e->t.openDialog.requests.isEmpty());
    e->t.options.Path = "/srv/passwords";
    e->t.options.HistorySize = 9;
    e->t.recent.add("/home/anna/Work.VLM");
    e->t.recent.add("no-folder.VLM"); // never listed: nowhere to find it
    e->t.recent.add("/Root.VLM");
    e->t.openDialog.answers << files::OpenDialogResult{true, true, "x"};
    QCOMPARE(e->routines.ShowOpenDialog(true), "");  // closed on the New page
    QCOMPARE(e->routines.ShowOpenDialog(false), ""); // closed
    const files::OpenDialogRequest &withNew = e->t.openDialog.requests.first();
    const files::OpenDialogRequest &plain = e->t.openDialog.requests.last();
    QVERIFY(withNew.showNew && !plain.showNew && plain.newTypes.isEmpty());
    QCOMPARE(withNew.newTypes, (QList<files::NewType>{{"Vellumor File", "VLM"}}));
    const QDate date(2000, 1, 1);
    const QList<files::RecentItem> recent{{"Work.VLM", "/home/anna", date, "VLM"},
                                          {"Root.VLM", "", date, "VLM"}};
    QVERIFY(withNew.recent == recent && plain.recent == recent);
    QCOMPARE(plain.fileDialog.filter + plain.fileDialog.defaultSuffix +
                 plain.fileDialog.initialFolder,
             "Vellumor |*.VLMVLM/srv/passwords");
}

void TestFiles::loadSave_data()
{
    QTest::addColumn<LoadSaveCase>("c");
    const auto row = [](const char *name, bool showNew, QStringList recent, QStringList steps,
                        QString result) {
        QTest::newRow(name) << LoadSaveCase{showNew, recent, steps, result};
    };
    const QString all = "New,Existing,Recent ", open = "~/open.VLM",
                  vlm = "chosen new Vellumor File";
    // A recent file that has gone is handed on: opening it says why it fails.
    row("without New: on Recent", false, {"open.VLM", "/gone.VLM"},
        {"see=RECENT Existing,Recent OC " + open + " " + open, "dbl:grdRecent:2=open"},
        "chosen ~/gone.VLM");
    row("typed name kept", true, {"open.VLM"},
        {"see=NEW " + all + "N  ", "tabs=grdNew,&New,&Cancel,TabMain,&Cancel", "page:LOAD",
         "type:by-hand", "page:RECENT", "see=RECENT " + all + "OC " + open + " " + open,
         "tabs=grdRecent,&Open,Cancel,TabMain,Cancel", "page:LOAD",
         "see=LOAD " + all + "OCB " + open + " by-hand", "close"},
        "cancelled " + open);
    row("empty Recent hides OK", true, {},
        {"page:RECENT", "see=RECENT " + all + "C  ", "page:LOAD", "see=LOAD " + all + "OCB  ",
         "close"},
        "cancelled ");
    row("browser's choice", true, {}, {"page:LOAD", "type:open.VLM", "click:OK"}, "chosen " + open);
    row("New button", true, {}, {"click:cmdNewOpen"}, vlm);
    row("Enter on New", true, {}, {"enter"}, vlm);
    row("double click on New", true, {}, {"dbl:grdNew:1=closed"}, vlm);
    row("cancel on New", true, {}, {"click:CmdNewCancel"}, "cancelled new ");
}

void TestFiles::loadSave()
{
    QFETCH(LoadSaveCase, c);
    const QString dir = m_dir->path();
    QWidget owner; // another dialog, elsewhere on the screen
    owner.setGeometry(0, 0, 200, 100);
    files::OpenDialogRequest request{c.showNew, {{"Vellumor File", "VLM"}}, {}, {}};
    request.fileDialog.initialFolder = dir;
    for (const QString &name : c.recent) {
        request.recent.append(
            {QString(name).remove('/'), dir + (name.startsWith('/') ? "/" : ""), {}, "VLM"});
    }
    QList<std::function<void(frmLoadSave &)>> steps;
    for (const QString &step : c.steps) {
        steps << [this, step, dir](frmLoadSave &d) {
            const QString arg = step.section(':', 1).section('=', 0, 0),
                          want = step.section('=', 1);
            if (step.startsWith("see") || step.startsWith("tabs")) {
                QCOMPARE((step.startsWith("see") ? look(d) : tabCycle(d)).replace(dir, "~"), want);
                // Over the main window, not the owner.
                QVERIFY((d.frameGeometry().center() - e->main.widget.frameGeometry().center())
                            .manhattanLength() <= 6);
            } else if (step.startsWith("page:")) {
                d.selectPage(arg);
            } else if (step.startsWith("type:")) {
                QTest::keyClicks(d.fileDialog()->findChild<QLineEdit *>("fileNameEdit"), arg);
            } else if (step.startsWith("click:")) {
                QTest::mouseClick(arg == "OK" ? d.dialogOkButton()
                                              : d.findChild<QPushButton *>(arg),
                                  Qt::LeftButton);
            } else if (step == "enter") {
                d.grdNew->setFocus();
                QTest::keyClick(d.grdNew->viewport(), Qt::Key_Return);
            } else if (step.startsWith("dbl:")) {
                auto *grid = d.findChild<controls::Grid *>(arg.section(':', 0, 0));
                const QPoint at = grid->cellRect(arg.section(':', 1).toInt(), 1).center();
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
                // Recent closes the window on the next turn, outside the browser's accept.
                QCOMPARE(QString(d.isVisible() ? "open" : "closed"), want);
            } else {
                d.close();
            }
        };
    }
    whileShown(steps);
    const auto r = files::LoadSaveDialogHost(e->t.services).showOpenDialog(request, &owner);
    QCOMPARE(QString(r.cancelled ? "cancelled " : "chosen ") + (r.isNew ? "new " : "") +
                 QString(r.filename).replace(dir, "~"),
             c.result);
}

QTEST_MAIN(TestFiles)
#include "test_files.moc"
