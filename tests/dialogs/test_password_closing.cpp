// Closing the record dialog: by every path it leaves the window stack,
// gives the window below back and asks for the refresh of the branch the
// caller named; Cancel writes nothing; the placement is kept.

#include "PasswordDialogFixture.h"

using namespace pwtest;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

class TestPasswordClosing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void editUnknownKey();
    void cancelChangesNothing();
    void closing_data();
    void closing();
    void placementKept();
};

void TestPasswordClosing::editUnknownKey()
{
    Fixture f;
    f.t.state.requestRefresh(false, false, 0);
    frmPW dialog(f.t.services, f.opener());
    dialog.setSelected(5);
    QVERIFY(!dialog.PasswordEdit("gone"));
    const PromptRequest gone{"The service \"gone\" is no longer in the file!", "VLM",
                             PromptIcon::Exclamation, PromptButtons::Ok};
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{gone});
    QVERIFY(!dialog.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QCOMPARE(f.t.state.RefreshValue(), 5);
}

void TestPasswordClosing::cancelChangesNothing()
{
    Fixture f;
    const PasswordEntry stored = fullRecord(f, "Mailbox");
    QVERIFY(f.store().AddPassword(stored));
    const PasswordEntry before = *f.record("Mailbox");

    frmPW dialog(f.t.services, f.opener());
    dialog.setSelected(3);
    QVERIFY(dialog.PasswordEdit("Mailbox"));
    retype(dialog.txtService, "Other");
    retype(dialog.txtPw, "changed");
    click(dialog.chkChange);
    retype(dialog.txtDExp, "100");
    click(dialog.cmdCancel);

    QVERIFY(!dialog.isVisible());
    QVERIFY(f.t.prompt.asked.isEmpty());
    QCOMPARE(f.store().Passwords().Count(), 1);
    QVERIFY(*f.record("Mailbox") == before);
    QVERIFY(f.t.state.RefreshRequested());
    QCOMPARE(f.t.state.RefreshValue(), 3);
}

void TestPasswordClosing::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("mode");
    QTest::newRow("OK after add") << "ok"
                                  << "add";
    QTest::newRow("OK after edit") << "ok"
                                   << "edit";
    QTest::newRow("OK after paste") << "ok"
                                    << "paste";
    QTest::newRow("Cancel button") << "cancel"
                                   << "add";
    QTest::newRow("Cancel after edit") << "cancel"
                                       << "edit";
    QTest::newRow("Escape key") << "escape"
                                << "add";
    QTest::newRow("Escape in the notes") << "escape-notes"
                                         << "edit";
    QTest::newRow("close box") << "close"
                               << "paste";
}

void TestPasswordClosing::closing()
{
    QFETCH(QString, how);
    QFETCH(QString, mode);

    Fixture f;
    const PasswordEntry stored = fullRecord(f, "Mailbox");
    QVERIFY(f.store().AddPassword(stored));
    auto dialog = std::make_unique<frmPW>(f.t.services, f.opener());
    dialog->setSelected(-7);
    if (mode == "add") {
        dialog->PasswordAdd(0, 0);
    } else if (mode == "edit") {
        QVERIFY(dialog->PasswordEdit("Mailbox"));
    } else {
        dialog->PasswordPasteNew(stored);
    }
    if (dialog->txtService->text().isEmpty()) {
        QTest::keyClicks(dialog->txtService, "Fresh");
    }

    QVERIFY(dialog->isVisible());
    QCOMPARE(f.t.windows.top(), dialog.get());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());

    if (how == "ok") {
        click(dialog->cmdOK);
    } else if (how == "cancel") {
        click(dialog->cmdCancel);
    } else if (how == "escape") {
        QTest::keyClick(dialog->txtService, Qt::Key_Escape);
    } else if (how == "escape-notes") {
        dialog->sstPassword->setCurrentIndex(3);
        QTest::keyClick(dialog->txtNotes, Qt::Key_Escape);
    } else {
        dialog->close();
    }

    QVERIFY(!dialog->isVisible());
    QVERIFY(f.t.prompt.asked.isEmpty());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), -7);
    QCOMPARE(f.record("Fresh") != nullptr, how == "ok" && mode != "edit");

    // Destroying the closed window pops nothing more.
    f.t.state.clearRefresh();
    dialog.reset();
    QVERIFY(!f.t.state.RefreshRequested());
}

void TestPasswordClosing::placementKept()
{
    Fixture f;
    f.t.options.AutoSaveWin = true;
    f.t.options.AutoLoadWin = true;
    {
        frmPW dialog(f.t.services, f.opener());
        dialog.PasswordAdd(0, 0);
        dialog.resize(520, 430);
        dialog.close();
    }
    QVERIFY(f.t.settings.OpenLayoutSettings().GetInteger("frmPW-W", -1) > 0);
    frmPW again(f.t.services, f.opener());
    again.PasswordAdd(0, 0);
    QCOMPARE(again.size(), QSize(520, 430));
}

QTEST_MAIN(TestPasswordClosing)
#include "test_password_closing.moc"
