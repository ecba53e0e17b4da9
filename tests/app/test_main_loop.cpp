// The main loop and the window stack: who takes input, when refreshes come.

#include "AfterPasses.h"
#include "DialogSupport.h"
#include "MainLoop.h"
#include "TestServices.h"

#include <QTest>

namespace {

std::function<void()> duringLoad = [] {}; // runs inside a window's load

struct FakeWindow final : app::MainWindowOps
{
    QStringList &log;
    QString kind;
    QWidget widget;
    FakeWindow(QStringList &l, bool tray) : log(l), kind(tray ? "tray " : "main ")
    {
        log << kind + "create";
    }
    ~FakeWindow() override { log << kind + "release"; }
    void UpdateView(qint32 value) override { log << kind + QString::number(value); }
    void ReloadMenu() override {}
    void ReInitMenu() override { log << kind + "ReInitMenu"; }
    void GotoSysTray() override {}
    void SetMenuEnabled(bool on) override { log << kind + (on ? "menu on" : "menu off"); }
    QWidget *window() override { return &widget; }
    void Load() override { duringLoad(); }
};

} // namespace

class TestMainLoop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passes_data();
    void passes();
};

void TestMainLoop::passes_data()
{
    // Steps run after the passes of the one before. pop N closes the top dialog
    // asking for UpdateView(N), logged as N (0: none; menu: menus only); look
    // notes who takes input: M/m the main window, then D/d per dialog.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("only the top window takes input; one refresh per pass, after the pop")
        << QStringList{"push pop 1 push pop 2 push push look", "pop 7 look", "pop menu look",
                       "exit"}
        << QStringList{"main create", "mdD", "main 2",          "mD",
                       "main 7",      "M",   "main ReInitMenu", "main release"};
    QTest::newRow("tray menu off while any dialog is open; switching goes on")
        << QStringList{"tray switch", "push push", "pop 0", "pop menu", "main switch", "exit"}
        << QStringList{"main create",   "main release", "tray create",
                       "tray menu off", "tray menu on", "tray 0",
                       "tray release",  "main create",  "main release"};
    QTest::newRow("exit during a load waits for the load")
        << QStringList{"exitinload switch"}
        << QStringList{"main create", "main release", "main create", "main loaded", "main release"};
}

void TestMainLoop::passes()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    TestServices t;
    QStringList log;
    std::array<QWidget, 2> dialogs;
    // The start file's password dialog opens before any main window: nothing
    // to disable or refresh, and the wait for it ends when it closes.
    t.windows.waitUntilEmpty(); // nothing open: returns at once
    t.windows.PushWindow(&dialogs[0]);
    QTimer::singleShot(0, &t.windows, [&t] { t.windows.PopWindow(true, false, 5); });
    t.windows.waitUntilEmpty();
    QVERIFY(dialogs[0].isEnabled() && !t.state.RefreshRequested());
    app::MainLoop loop(t.state, [&](bool tray) { return std::make_unique<FakeWindow>(log, tray); });
    std::function<void(qsizetype)> runStep = [&](qsizetype step) {
        const QStringList words = step < steps.size() ? steps.at(step).split(' ') : QStringList();
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString &word = words.at(i);
            if (word == "tray" || word == "main") {
                t.state.TrayMode = word == "tray";
            } else if (word == "switch") {
                t.state.requestSwitch();
            } else if (word == "exit") {
                t.state.requestExit();
            } else if (word == "push") {
                t.windows.PushWindow(&dialogs.at(size_t(t.windows.count())));
            } else if (word == "pop") {
                const QString value = words.at(++i);
                app::UnloadStackedDialog(t.services, *t.windows.top(), "test", value != "0",
                                         value == "menu", value.toInt());
            } else if (word == "look") {
                log << QString(t.state.CurrentMainWindow()->window()->isEnabled() ? "M" : "m");
                for (qsizetype d = 0; d < t.windows.count(); ++d) {
                    log.last() += dialogs.at(size_t(d)).isEnabled() ? 'D' : 'd';
                }
            } else if (word == "exitinload") {
                duringLoad = [&t, &log] {
                    t.state.requestExit();
                    for (int turn = 0; turn < 5; ++turn) {
                        QCoreApplication::processEvents();
                    }
                    log << "main loaded";
                };
            }
        }
        if (step < steps.size()) {
            afterPasses(&loop, 6, [&runStep, step] { runStep(step + 1); });
        }
    };
    afterPasses(&loop, 6, [&runStep] { runStep(0); });
    QTimer::singleShot(10000, &loop, [&t] { t.state.requestExit(); }); // never hang
    loop.run();
    duringLoad = [] {};
    QCOMPARE(log, expected);
}

QTEST_MAIN(TestMainLoop)
#include "test_main_loop.moc"
