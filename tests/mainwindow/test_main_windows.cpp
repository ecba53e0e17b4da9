// The two main windows taking turns under the real main loop: switching to
// the tray and back asks nothing and never ends the program, closing asks
// the exit questions, a later start's hand-over reaches the window, and the
// window stack switches the tray menu off while a dialog is open.

#include "AfterPasses.h"
#include "frmMain.h"
#include "frmSysTray.h"
#include "frmTray.h"
#include "MainLoop.h"
#include "StartUp.h"
#include "TestRoutines.h"
#include "Tree.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::PromptAnswer;

namespace {

struct Journal
{
    QStringList windows; // "main" / "tray", one per window created
    frmMain *main = nullptr;
    frmTray *tray = nullptr;
};

// Runs the real loop with real windows; each step runs once the passes that
// the previous one caused are done.
void runWith(TestServices &t, const WindowRoutines &routines,
             const QList<std::function<void(Journal &)>> &steps, Journal &journal)
{
    t.options.ViewTips = false; // the tip of the day would wait for its reader
    app::MainLoop loop(t.state, [&](bool tray) -> std::unique_ptr<app::MainWindowOps> {
        journal.windows << (tray ? QStringLiteral("tray") : QStringLiteral("main"));
        if (tray) {
            auto window = std::make_unique<frmTray>(t.services, routines);
            journal.tray = window.get();
            journal.main = nullptr;
            return window;
        }
        auto window = std::make_unique<frmMain>(t.services, routines);
        journal.main = window.get();
        journal.tray = nullptr;
        return window;
    });
    constexpr int turns = 6;
    std::function<void(qsizetype)> runStep = [&](qsizetype i) {
        if (i >= steps.size()) {
            return;
        }
        steps.at(i)(journal);
        afterPasses(&loop, turns, [&runStep, i] { runStep(i + 1); });
    };
    afterPasses(&loop, turns, [&runStep] { runStep(0); });
    // A broken step must not hang the test.
    QTimer::singleShot(10000, &loop, [&t] { t.state.requestExit(); });
    loop.run();
}

QString rootText(frmMain *window)
{
    const controls::Tree *tree = window->tree();
    return tree->firstNode() != 0 ? tree->text(tree->firstNode()) : QString();
}

} // namespace

class TestMainWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void switchingToTrayAndBackAsksNothing();
    void closeAsksBeforeLeaving();
    void trayExitCancelledKeepsRunning();
    void handOverOpensThePath();
    void dialogInTrayModeDisablesMenu();
    void startInTray();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMainWindows::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestMainWindows::switchingToTrayAndBackAsksNothing()
{
    TestRoutines r;
    TestServices &t = r.t;
    t.state.AppTitle = app::buildAppTitle(QVersionNumber(1, 0, 0));
    PasswordEntry entry;
    entry.service = QStringLiteral("Mail");
    t.state.Store->NewFile();
    QVERIFY(t.state.Store->AddPassword(entry)); // modified: a real exit would ask
    bool exitedEarly = true;
    Journal journal;
    runWith(t, r.routines,
            {[&](Journal &j) {
                 QVERIFY(j.main != nullptr);
                 QVERIFY(j.main->isVisible());
                 QCOMPARE(j.main->windowTitle(), QStringLiteral("Vellumor V1.0.0"));
                 QVERIFY(j.main->IsInstanceWindow());
                 QVERIFY(!t.state.FirstStart);
                 QCOMPARE(j.main->minimumSize(), QSize(500, 300));
                 j.main->GotoSysTray();
             },
             [&](Journal &j) {
                 QVERIFY(j.tray != nullptr);
                 QVERIFY(t.state.TrayMode);
                 QVERIFY(j.tray->IsInstanceWindow());
                 QVERIFY(j.tray->MenuEnabled());
                 j.tray->OpenMainWindow();
             },
             [&](Journal &j) {
                 QVERIFY(j.main != nullptr);
                 QVERIFY(!t.state.TrayMode);
                 exitedEarly = t.state.ExitRequested();
                 t.state.requestExit();
             }},
            journal);
    QCOMPARE(journal.windows, (QStringList{"main", "tray", "main"}));
    QVERIFY(!exitedEarly);
    QVERIFY(t.prompt.asked.isEmpty());
}

void TestMainWindows::closeAsksBeforeLeaving()
{
    TestRoutines r;
    TestServices &t = r.t;
    t.prompt.queue(PromptAnswer::No);
    t.prompt.queue(PromptAnswer::Yes);
    bool stayedAfterNo = false;
    Journal journal;
    runWith(t, r.routines,
            {[&](Journal &j) { QVERIFY(!j.main->close()); },
             [&](Journal &j) {
                 stayedAfterNo =
                     j.main != nullptr && j.main->isVisible() && !t.state.ExitRequested();
                 QVERIFY(stayedAfterNo);
                 QVERIFY(j.main->close());
             }},
            journal);
    QVERIFY(stayedAfterNo);
    QCOMPARE(journal.windows, QStringList{"main"});
    QCOMPARE(t.prompt.asked.size(), 2);
    QCOMPARE(t.prompt.asked.at(1).text, QStringLiteral("Are you sure you want to exit VLM?"));
    QVERIFY(t.state.ExitRequested());
}

void TestMainWindows::trayExitCancelledKeepsRunning()
{
    TestRoutines r;
    TestServices &t = r.t;
    t.state.TrayMode = true;
    PasswordEntry entry;
    entry.service = QStringLiteral("Mail");
    t.state.Store->NewFile();
    QVERIFY(t.state.Store->AddPassword(entry));
    t.prompt.queue(PromptAnswer::Cancel);
    bool stillInTray = false;
    Journal journal;
    runWith(t, r.routines,
            {[&](Journal &j) { j.tray->MenuClick(QStringLiteral("close")); },
             [&](Journal &j) {
                 stillInTray =
                     j.tray != nullptr && j.tray->sysTray() != nullptr && !t.state.ExitRequested();
                 QVERIFY(stillInTray);
                 t.prompt.queue(PromptAnswer::No); // leave without saving
                 j.tray->MenuClick(QStringLiteral("close"));
             }},
            journal);
    QVERIFY(stillInTray);
    QCOMPARE(journal.windows, QStringList{"tray"});
    QCOMPARE(t.prompt.asked.size(), 2);
    QCOMPARE(t.prompt.asked.at(0).text, QStringLiteral("Save Datafile before exit ?"));
    QCOMPARE(t.prompt.asked.at(1).text, QStringLiteral("Save Datafile before exit ?"));
    QVERIFY(t.state.ExitRequested());
}

void TestMainWindows::handOverOpensThePath()
{
    TestRoutines r;
    TestServices &t = r.t;
    const QString file = m_dir->filePath(QStringLiteral("Handed Over.VLM"));
    QVERIFY(writeFile(file, QString(), {QStringLiteral("Mail")}));
    QString rootAfterEmpty, rootAfterPath;
    Journal journal;
    runWith(t, r.routines, {[&](Journal &j) {
                j.main->HandOver(app::instancePayload(QString()));
                rootAfterEmpty = rootText(j.main);
                j.main->HandOver(app::instancePayload(QLatin1Char('"') + file + QLatin1Char('"')));
                rootAfterPath = rootText(j.main);
                t.state.requestExit();
            }},
            journal);
    QCOMPARE(rootAfterEmpty, QString());
    QCOMPARE(rootAfterPath, QStringLiteral("Handed Over"));
    QCOMPARE(t.state.FilePath, file);
    QCOMPARE(t.recent.paths(), QStringList{file});
    QVERIFY(t.prompt.asked.isEmpty()); // nothing to save, nothing asked
}

void TestMainWindows::dialogInTrayModeDisablesMenu()
{
    TestRoutines r;
    TestServices &t = r.t;
    t.state.TrayMode = true;
    QWidget dialog;
    bool disabledWhileOpen = false;
    bool openIgnored = false;
    Journal journal;
    runWith(t, r.routines,
            {[&](Journal &j) {
                 t.windows.PushWindow(&dialog);
                 disabledWhileOpen = !j.tray->MenuEnabled();
                 j.tray->OpenMainWindow(); // a double-click on the icon
                 openIgnored = !t.state.SwitchWindow() && t.state.TrayMode;
             },
             [&](Journal &j) {
                 t.windows.PopWindow(false, false, 0);
                 QVERIFY(j.tray->MenuEnabled());
                 j.tray->OpenMainWindow();
             },
             [&](Journal &) { t.state.requestExit(); }},
            journal);
    QVERIFY(disabledWhileOpen);
    QVERIFY(openIgnored);
    QCOMPARE(journal.windows, (QStringList{"tray", "main"}));
}

void TestMainWindows::startInTray()
{
    TestRoutines r;
    TestServices &t = r.t;
    t.state.TrayMode = true;
    QStringList menu;
    Journal journal;
    runWith(t, r.routines, {[&](Journal &j) {
                QVERIFY(!t.state.FirstStart);
                QVERIFY(!j.tray->isVisible());
                QCOMPARE(j.tray->sysTray()->ToolTip(), QStringLiteral("Vellumor!"));
                controls::PopupMenu &popup = j.tray->sysTray()->PopupMenuObject();
                for (int item = 1; item <= popup.count(); ++item) {
                    menu << popup.caption(item) +
                                (popup.isDefault(item) ? QStringLiteral(" (default)") : QString());
                }
                t.state.requestExit();
            }},
            journal);
    QCOMPARE(journal.windows, QStringList{"tray"});
    // No file open: nothing to add, no services.
    QCOMPARE(menu, (QStringList{"&Open VLM (default)", "&Program Option", "-", "&Email Me",
                                "&Vlm Homepage", "&About...", "-", "&Exit VLM"}));
}

QTEST_MAIN(TestMainWindows)
#include "test_main_windows.moc"
