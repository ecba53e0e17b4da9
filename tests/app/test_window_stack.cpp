#include "RunState.h"
#include "WindowStack.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using app::RunState;
using app::WindowStack;

namespace {

// A main window that records what the stack and the loop asked of it.
class FakeMainWindow : public app::MainWindowOps
{
public:
    void UpdateView(qint32 value) override { updates.append(value); }
    void ReloadMenu() override {}
    void ReInitMenu() override { ++reinits; }
    void GotoSysTray() override {}
    void SetMenuEnabled(bool enabled) override { menuEnabled.append(enabled); }
    QWidget *window() override { return &widget; }

    QWidget widget;
    QList<qint32> updates;
    QList<bool> menuEnabled;
    int reinits = 0;
};

} // namespace

class TestWindowStack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nestedDialogsInTheMainWindow();
    void trayMenuIsOffWhileAnyDialogIsOpen();
    void refreshRequestsOfTheDialogs_data();
    void refreshRequestsOfTheDialogs();
    void withoutMainWindow();
    void waitUntilEmptyIsEventDriven();
};

void TestWindowStack::nestedDialogsInTheMainWindow()
{
    RunState state;
    FakeMainWindow main;
    state.setCurrentMainWindow(&main);
    WindowStack stack(state);
    QSignalSpy passes(&state, &RunState::passRequested);
    QWidget options;
    QWidget password;

    stack.PushWindow(&options);
    QVERIFY(!main.widget.isEnabled());
    stack.PushWindow(&password);
    QVERIFY(!options.isEnabled());
    QVERIFY(!main.widget.isEnabled());
    QCOMPARE(stack.top(), &password);

    // Closing the inner dialog gives control back to the outer one only.
    stack.PopWindow(true, false, 12);
    QVERIFY(options.isEnabled());
    QVERIFY(!main.widget.isEnabled());
    QVERIFY(state.RefreshRequested());
    QCOMPARE(state.RefreshValue(), 12);
    state.clearRefresh();

    stack.PopWindow(false, false, 0);
    QVERIFY(main.widget.isEnabled());
    QVERIFY(stack.isEmpty());
    QVERIFY(!state.RefreshRequested());
    QCOMPARE(passes.count(), 1);
    QVERIFY(main.menuEnabled.isEmpty()); // no tray menu outside tray mode
}

void TestWindowStack::trayMenuIsOffWhileAnyDialogIsOpen()
{
    RunState state;
    state.TrayMode = true;
    FakeMainWindow tray;
    state.setCurrentMainWindow(&tray);
    WindowStack stack(state);
    QWidget first;
    QWidget second;
    stack.PushWindow(&first);
    stack.PushWindow(&second);
    QCOMPARE(tray.menuEnabled, QList<bool>{false});
    stack.PopWindow(false, false, 0);
    QCOMPARE(tray.menuEnabled, QList<bool>{false});
    stack.PopWindow(true, false, 0);
    QCOMPARE(tray.menuEnabled, (QList<bool>{false, true}));
    QVERIFY(tray.widget.isEnabled());
}

void TestWindowStack::refreshRequestsOfTheDialogs_data()
{
    QTest::addColumn<bool>("refresh");
    QTest::addColumn<bool>("menuOnly");
    QTest::addColumn<int>("value");
    QTest::newRow("about box") << false << false << 0;
    QTest::newRow("category editor") << true << false << 0;
    QTest::newRow("password dialog") << true << false << 42;
    QTest::newRow("options") << true << true << 0;
}

void TestWindowStack::refreshRequestsOfTheDialogs()
{
    QFETCH(bool, refresh);
    QFETCH(bool, menuOnly);
    QFETCH(int, value);
    RunState state;
    FakeMainWindow main;
    state.setCurrentMainWindow(&main);
    WindowStack stack(state);
    QSignalSpy passes(&state, &RunState::passRequested);
    QWidget dialog;
    stack.PushWindow(&dialog);
    stack.PopWindow(refresh, menuOnly, value);
    QCOMPARE(state.RefreshRequested(), refresh);
    QCOMPARE(state.MenuOnlyRefresh(), menuOnly);
    QCOMPARE(state.RefreshValue(), value);
    // Only a real request wakes the main loop; nothing is refreshed inside the pop.
    QCOMPARE(passes.count(), refresh ? 1 : 0);
    QVERIFY(main.updates.isEmpty());
    QCOMPARE(main.reinits, 0);
}

void TestWindowStack::withoutMainWindow()
{
    // The file password dialog of the start file opens before any main window.
    RunState state;
    WindowStack stack(state);
    QWidget dialog;
    stack.PushWindow(&dialog);
    QVERIFY(dialog.isEnabled());
    stack.PopWindow(true, false, 5);
    QVERIFY(!state.RefreshRequested()); // no owner, so nothing to refresh
    QVERIFY(stack.isEmpty());
}

void TestWindowStack::waitUntilEmptyIsEventDriven()
{
    RunState state;
    WindowStack stack(state);
    stack.waitUntilEmpty(); // nothing open: returns at once

    QWidget outer;
    QWidget inner;
    stack.PushWindow(&outer);
    stack.PushWindow(&inner);
    QTimer::singleShot(10, &stack, [&stack] { stack.PopWindow(false, false, 0); });
    QTimer::singleShot(20, &stack, [&stack] { stack.PopWindow(false, false, 0); });
    stack.waitUntilEmpty();
    QVERIFY(stack.isEmpty());
}

QTEST_MAIN(TestWindowStack)
#include "test_window_stack.moc"
