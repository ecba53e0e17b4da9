// The expiration list window as a user drives it: the message when nothing is
// due, the window stack around it, closing it, editing from it, and the
// placement it keeps.

#include "ExpireFixtures.h"

#include <QPushButton>

using namespace expiretest;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

const PromptRequest NothingDue{QStringLiteral("No password in expiration/changing!"), QString(),
                               PromptIcon::None, PromptButtons::Ok};
const PromptRequest SelectFirst{QStringLiteral("You must select a service before trying to edit!"),
                                QStringLiteral("VLM"), PromptIcon::Exclamation, PromptButtons::Ok};

// Notes the moment a message is asked, as a user would see the screen then.
class WatchingPrompt final : public platform::ScriptedPrompt
{
public:
    using Prompt::ask;
    platform::PromptAnswer ask(const PromptRequest &request) override
    {
        if (onAsk) {
            onAsk();
        }
        return ScriptedPrompt::ask(request);
    }
    std::function<void()> onAsk;
};

} // namespace

class TestCheckExpire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void nothingDue_data();
    void nothingDue();
    void nothingDueThroughCheckExpiration();
    void dueShowsWindowOnStack();
    void closing_data();
    void closing();
    void editWithoutSelection();
    void editOpensSelectedService_data();
    void editOpensSelectedService();
    void editedRecordGoneSinceFilling();
    void passwordDialogStacksOverList();
    void placementKeptBetweenLists();
};

void TestCheckExpire::init()
{
    clearSavedSettings();
}

void TestCheckExpire::nothingDue_data()
{
    QTest::addColumn<bool>("withRecords");
    QTest::newRow("records, none due") << true;
    QTest::newRow("empty file") << false;
}

void TestCheckExpire::nothingDue()
{
    QFETCH(bool, withRecords);
    Fixture f;
    f.t.options.AutoSaveWin = true;
    if (withRecords) {
        f.add(QStringLiteral("later"), expiring(30, true, 29));
        f.add(QStringLiteral("silent"), expiring(3, false, 10));
        Dates off = expiring(-5, true, 5);
        off.expire = false;
        f.add(QStringLiteral("off"), off);
    }
    // The message is shown while the list still holds the window below.
    WatchingPrompt prompt;
    bool mainEnabledDuringMessage = true;
    prompt.onAsk = [&f, &mainEnabledDuringMessage] {
        mainEnabledDuringMessage = f.main.widget.isEnabled();
    };
    const app::Services services{f.t.state,    f.t.windows, f.t.options, f.t.recent,
                                 f.t.settings, prompt,      f.t.dialogs, f.t.clock};
    frmCheckExpire list(services, f.editor());
    QVERIFY(!list.View_Expires());
    QCOMPARE(prompt.asked, QList<PromptRequest>{NothingDue});
    QVERIFY(!mainEnabledDuringMessage);
    QVERIFY(!list.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    // The window never showed, so it left no placement behind.
    QCOMPARE(f.t.settings.OpenLayoutSettings().GetInteger(QStringLiteral("frmCheckExpire-W"), -1),
             qint16(-1));
}

void TestCheckExpire::nothingDueThroughCheckExpiration()
{
    Fixture f;
    f.add(QStringLiteral("later"), expiring(30, true, 5));
    const QPointer<frmCheckExpire> list = dialogs::CheckExpiration(f.t.services, f.editor());
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{NothingDue});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(list.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.edited.isEmpty());
}

void TestCheckExpire::dueShowsWindowOnStack()
{
    Fixture f;
    f.add(QStringLiteral("due"), expiring(0));
    const QPointer<frmCheckExpire> list = dialogs::CheckExpiration(f.t.services, f.editor());
    QVERIFY(!list.isNull());
    QVERIFY(list->isVisible());
    QVERIFY(f.t.prompt.asked.isEmpty());
    QCOMPARE(f.t.windows.count(), 1);
    QCOMPARE(f.t.windows.top(), list.data());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    QCOMPARE(list->grid->rowCount(), 1);
    QCOMPARE(list->windowTitle(), QStringLiteral("Check Expiration/Change"));
    list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(list.isNull());
    QVERIFY(f.main.widget.isEnabled());
}

void TestCheckExpire::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("title bar") << "close";
}

void TestCheckExpire::closing()
{
    QFETCH(QString, how);
    Fixture f;
    f.add(QStringLiteral("due"), expiring(-2));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    if (how == QLatin1String("cancel")) {
        QTest::mouseClick(list.cmdcancel, Qt::LeftButton);
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(list.grid->focusProxy(), Qt::Key_Escape);
    } else {
        list.close();
    }
    QVERIFY(!list.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    QVERIFY(f.t.prompt.asked.isEmpty());
    QVERIFY(f.edited.isEmpty());
}

void TestCheckExpire::editWithoutSelection()
{
    Fixture f;
    f.add(QStringLiteral("due"), expiring(0));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    list.grid->setSelectedRow(0);
    QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{SelectFirst});
    QVERIFY(f.edited.isEmpty());
    QVERIFY(list.isVisible());
    QCOMPARE(f.t.windows.count(), 1);
}

void TestCheckExpire::editOpensSelectedService_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Edit button") << "button";
    QTest::newRow("double click") << "double";
    QTest::newRow("Return key") << "return";
}

void TestCheckExpire::editOpensSelectedService()
{
    QFETCH(QString, how);
    Fixture f;
    f.add(QStringLiteral("first"), expiring(0));
    Dates both = expiring(1, true, 1);
    both.change = true;
    both.changeIn = -1;
    f.add(QStringLiteral("second"), both);
    f.add(QStringLiteral("third"), expiring(-9));
    // The dialog behind the callback makes the record due no more.
    frmCheckExpire list(f.t.services, [&f](const QString &service) {
        f.edited << service;
        QVERIFY(f.t.state.Store->DeletePassword(QStringLiteral("first")));
    });
    QVERIFY(list.View_Expires());
    const QStringList before = rowsOf(*list.grid);
    QCOMPARE(before.size(), 4);
    if (how == QLatin1String("double")) {
        list.grid->setSelectedRow(1);
        QTest::mouseDClick(list.grid->viewport(), Qt::LeftButton, {},
                           list.grid->cellRect(2, 1).center());
    } else {
        list.grid->setSelectedRow(2);
        if (how == QLatin1String("button")) {
            QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
        } else {
            QTest::keyClick(list.grid->focusProxy(), Qt::Key_Return);
        }
    }
    QCOMPARE(f.edited, QStringList{QStringLiteral("second")});
    QVERIFY(f.t.prompt.asked.isEmpty());
    // Not refilled: the record that is no longer due is still listed.
    QCOMPARE(rowsOf(*list.grid), before);
    QVERIFY(list.isVisible());
}

void TestCheckExpire::editedRecordGoneSinceFilling()
{
    Fixture f;
    f.add(QStringLiteral("doomed"), expiring(0));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    QVERIFY(f.t.state.Store->DeletePassword(QStringLiteral("doomed")));
    list.grid->setSelectedRow(1);
    QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
    QVERIFY(f.edited.isEmpty());
    QCOMPARE(f.t.prompt.asked,
             (QList<PromptRequest>{
                 {QStringLiteral("The service \"doomed\" is no longer in the file!"),
                  QStringLiteral("VLM"), PromptIcon::Exclamation, PromptButtons::Ok}}));
    QVERIFY(list.isVisible());
}

void TestCheckExpire::passwordDialogStacksOverList()
{
    Fixture f;
    f.add(QStringLiteral("due"), expiring(0));
    QWidget passwordDialog;
    frmCheckExpire list(f.t.services, [&](const QString &) {
        // What the password dialog does on load.
        f.t.windows.PushWindow(&passwordDialog);
        passwordDialog.show();
    });
    QVERIFY(list.View_Expires());
    list.grid->setSelectedRow(1);
    QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
    QCOMPARE(f.t.windows.count(), 2);
    QVERIFY(!list.isEnabled());
    QVERIFY(!f.main.widget.isEnabled());

    // The password dialog closes with its own refresh request.
    passwordDialog.hide();
    f.t.windows.PopWindow(true, false, 7);
    QVERIFY(list.isEnabled());
    QVERIFY(!f.main.widget.isEnabled());
    QCOMPARE(f.t.state.RefreshValue(), 7);
    f.t.state.clearRefresh();

    QTest::mouseClick(list.cmdcancel, Qt::LeftButton);
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QCOMPARE(f.t.state.RefreshValue(), 0);
}

void TestCheckExpire::placementKeptBetweenLists()
{
    Fixture f;
    f.t.options.AutoSaveWin = true;
    f.t.options.AutoLoadWin = true;
    f.add(QStringLiteral("due"), expiring(0));
    {
        frmCheckExpire first(f.t.services, f.editor());
        QVERIFY(first.View_Expires());
        first.resize(620, 345);
        first.move(40, 60);
        first.close();
    }
    frmCheckExpire second(f.t.services, f.editor());
    QVERIFY(second.View_Expires());
    QCOMPARE(second.size(), QSize(620, 345));
    QCOMPARE(second.pos(), QPoint(40, 60));
}

QTEST_MAIN(TestCheckExpire)
#include "test_check_expire.moc"
