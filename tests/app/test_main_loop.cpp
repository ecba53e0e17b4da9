#include "AfterPasses.h"
#include "MainLoop.h"
#include "WindowStack.h"

#include <functional>
#include <QTest>
#include <QTimer>

using app::MainLoop;
using app::RunState;

namespace {

// What happened, in order, across every window the loop created.
struct Journal
{
    QStringList events;
    int alive = 0;
    int mostAlive = 0;
};

class FakeWindow : public app::MainWindowOps
{
public:
    FakeWindow(Journal &journal, bool tray) : m_journal(journal), m_kind(tray ? "tray" : "main")
    {
        m_journal.mostAlive = std::max(m_journal.mostAlive, ++m_journal.alive);
        log(QStringLiteral("create"));
    }
    ~FakeWindow() override
    {
        --m_journal.alive;
        log(QStringLiteral("release"));
    }
    FakeWindow(const FakeWindow &) = delete;
    FakeWindow &operator=(const FakeWindow &) = delete;

    void UpdateView(qint32 value) override { log(QStringLiteral("UpdateView %1").arg(value)); }
    void ReloadMenu() override { log(QStringLiteral("ReloadMenu")); }
    void ReInitMenu() override { log(QStringLiteral("ReInitMenu")); }
    void GotoSysTray() override {}
    void SetMenuEnabled(bool) override {}
    QWidget *window() override { return &m_widget; }
    void Load() override
    {
        if (onLoad) {
            onLoad();
            log(QStringLiteral("loaded"));
        }
    }

    // Runs during the load, as a window's own load code may run events.
    std::function<void()> onLoad;

private:
    void log(const QString &what) { m_journal.events.append(m_kind + QLatin1Char(' ') + what); }

    Journal &m_journal;
    QString m_kind;
    QWidget m_widget;
};

// Runs the loop; steps run one after another, each after the passes of the previous one.
QStringList runWith(RunState &state, const QList<std::function<void()>> &steps, Journal &journal)
{
    MainLoop loop(state,
                  [&journal](bool tray) { return std::make_unique<FakeWindow>(journal, tray); });
    constexpr int turns = 6;
    std::function<void(qsizetype)> runStep = [&](qsizetype i) {
        if (i >= steps.size()) {
            return;
        }
        steps.at(i)();
        afterPasses(&loop, turns, [&runStep, i] { runStep(i + 1); });
    };
    afterPasses(&loop, turns, [&runStep] { runStep(0); });
    loop.run();
    return journal.events;
}

} // namespace

class TestMainLoop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refreshAfterTheDialogHasGone();
    void menuOnlyRefresh_data();
    void menuOnlyRefresh();
    void switchingNeverEndsTheLoop();
    void requestsMadeTogetherMakeOnePass();
    void exitDuringLoadWaitsForTheLoad();
};

void TestMainLoop::refreshAfterTheDialogHasGone()
{
    RunState state;
    Journal journal;
    app::WindowStack stack(state);
    QWidget dialog;
    const QStringList events = runWith(state,
                                       {[&] { stack.PushWindow(&dialog); },
                                        [&] {
                                            stack.PopWindow(true, false, 7);
                                            // Nothing is refreshed inside the dialog's unload.
                                            journal.events.append(QStringLiteral("popped"));
                                        },
                                        [&] { state.requestExit(); }},
                                       journal);
    QCOMPARE(events, (QStringList{"main create", "popped", "main UpdateView 7", "main release"}));
    QVERIFY(!state.RefreshRequested());
    QCOMPARE(state.CurrentMainWindow(), nullptr);
}

void TestMainLoop::menuOnlyRefresh_data()
{
    QTest::addColumn<bool>("tray");
    QTest::addColumn<QString>("expected");
    QTest::newRow("main window re-applies the menus") << false << "main ReInitMenu";
    QTest::newRow("tray rebuilds its menu") << true << "tray UpdateView 0";
}

void TestMainLoop::menuOnlyRefresh()
{
    QFETCH(bool, tray);
    QFETCH(QString, expected);
    RunState state;
    state.TrayMode = tray;
    Journal journal;
    const QStringList events =
        runWith(state, {[&] { state.requestRefresh(true, true, 0); }, [&] { state.requestExit(); }},
                journal);
    QCOMPARE(events.at(1), expected);
    QCOMPARE(events.size(), 3);
}

void TestMainLoop::switchingNeverEndsTheLoop()
{
    RunState state;
    Journal journal;
    const QStringList events = runWith(state,
                                       {[&] {
                                            state.TrayMode = true;
                                            state.requestSwitch();
                                        },
                                        [&] {
                                            state.TrayMode = false;
                                            state.requestSwitch();
                                        },
                                        [&] { state.requestExit(); }},
                                       journal);
    QCOMPARE(events, (QStringList{"main create", "main release", "tray create", "tray release",
                                  "main create", "main release"}));
    QCOMPARE(journal.mostAlive, 1); // one main window at a time
    QVERIFY(!state.SwitchWindow());
}

void TestMainLoop::requestsMadeTogetherMakeOnePass()
{
    // Several requests before the loop turns make a single pass.
    RunState state;
    Journal journal;
    const QStringList events = runWith(state, {[&] {
                                           state.requestRefresh(true, false, 1);
                                           state.requestRefresh(true, false, 2);
                                           state.requestExit();
                                       }},
                                       journal);
    QCOMPARE(events, (QStringList{"main create", "main UpdateView 2", "main release"}));
}

void TestMainLoop::exitDuringLoadWaitsForTheLoad()
{
    // The user closes the window while its load still runs events: the
    // window must outlive its own load, then go.
    RunState state;
    Journal journal;
    MainLoop loop(state, [&](bool tray) {
        auto window = std::make_unique<FakeWindow>(journal, tray);
        window->onLoad = [&state] {
            state.requestExit();
            for (int i = 0; i < 5; ++i) {
                QCoreApplication::processEvents();
            }
        };
        return window;
    });
    loop.run();
    QCOMPARE(journal.events, (QStringList{"main create", "main loaded", "main release"}));
    QCOMPARE(journal.alive, 0);
}

QTEST_MAIN(TestMainLoop)
#include "test_main_loop.moc"
