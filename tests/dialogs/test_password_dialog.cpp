// The record dialog as a user drives it: what each way of opening shows,
// the messages it gives, what reaches the store, which controls are
// enabled, and the links it opens.

#include "PasswordDialogFixture.h"

using namespace pwtest;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

const PromptRequest NoService{QStringLiteral("You must specify a Service Name!"),
                              QStringLiteral("VLM"), PromptIcon::Critical, PromptButtons::Ok};

PromptRequest storeRefusal(const QString &text)
{
    return PromptRequest{text, QStringLiteral("VLM"), PromptIcon::None, PromptButtons::Ok};
}

} // namespace

class TestPasswordDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addInitialState_data();
    void addInitialState();
    void addLayout();
    void categoryChoiceFillsSubcategories();
    void editInitialState();
    void pasteNewStartsWithoutService();
    void validation_data();
    void validation();
    void addSavesRecord();
    void editSavesThroughOldKey();
    void renameThatClashes();
    void addAnotherKeepsDialogOpen();
    void addAnotherRefused();
    void enablingRules();
    void goOpensField_data();
    void goOpensField();
};

void TestPasswordDialog::addInitialState_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("sub");
    QTest::addColumn<int>("categoryIndex");
    QTest::addColumn<int>("subIndex");
    QTest::addColumn<QStringList>("subItems");
    QTest::addColumn<bool>("subEnabled");

    const QStringList webSubs{"-Nothing-=0", "Mail=%1", "Shops=%2"};
    QTest::newRow("category and subcategory") << "Web"
                                              << "Shops" << 2 << 2 << webSubs << true;
    QTest::newRow("category without subcategory") << "Web"
                                                  << "" << 2 << 0 << webSubs << true;
    QTest::newRow("category that has no subcategories")
        << "Bank"
        << "" << 1 << 0 << QStringList{"-Nothing-=0"} << true;
    QTest::newRow("no category") << ""
                                 << "" << 0 << 0 << QStringList{"-Nothing-=0"} << false;
    QTest::newRow("category code no item carries")
        << "unknown"
        << "" << -1 << 0 << QStringList{"-Nothing-=0"} << false;
}

void TestPasswordDialog::addInitialState()
{
    QFETCH(QString, category);
    QFETCH(QString, sub);
    QFETCH(int, categoryIndex);
    QFETCH(int, subIndex);
    QFETCH(QStringList, subItems);
    QFETCH(bool, subEnabled);

    Fixture f;
    const qint16 codcat = category.isEmpty()      ? qint16(0)
                          : category == "unknown" ? qint16(999)
                                                  : f.code(category);
    const qint16 codscat = sub.isEmpty() ? qint16(0) : f.subCode(category, sub);
    for (QString &item : subItems) {
        if (item.contains("%1")) {
            item = item.arg(f.subCode("Web", "Mail"));
        } else if (item.contains("%2")) {
            item = item.arg(f.subCode("Web", "Shops"));
        }
    }

    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(codcat, codscat);

    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), QString("Add Password"));
    QCOMPARE(dialog.Mode(), QString("N"));
    QVERIFY(dialog.cmdAnother->isVisible());
    QCOMPARE(dialog.sstPassword->currentIndex(), 0);

    QCOMPARE(items(*dialog.cboCateg),
             (QStringList{"-Nothing-=0", QStringLiteral("Bank=%1").arg(f.code("Bank")),
                          QStringLiteral("Web=%1").arg(f.code("Web"))}));
    QCOMPARE(dialog.cboCateg->currentIndex(), categoryIndex);
    QCOMPARE(items(*dialog.cboSCateg), subItems);
    QCOMPARE(dialog.cboSCateg->currentIndex(), subIndex);
    QCOMPARE(dialog.cboSCateg->isEnabled(), subEnabled);

    for (const QLineEdit *field : {dialog.txtService, dialog.txtName, dialog.txtPw,
                                   dialog.txtURL[0], dialog.txtURL[1], dialog.txtURL[2]}) {
        QCOMPARE(field->text(), QString());
    }
    QCOMPARE(dialog.txtNotes->toPlainText(), QString());
    QCOMPARE(dialog.lblInsert->text(), "Inserted on " + shortDateTime(Now));
    QCOMPARE(dialog.lblModif->text(), "Last Modified on " + shortDateTime(Now));
    QCOMPARE(dialog.txtExpDate->text(), shortDate(Today.addDays(45)));
    QCOMPARE(dialog.TxtChgDate->text(), shortDate(Today.addDays(20)));
    QCOMPARE(dialog.txtDExp->text(), QString("45"));
    QCOMPARE(dialog.txtDChange->text(), QString("20"));
    QCOMPARE(dialog.txtNExp->text(), QString("7"));
    QCOMPARE(dialog.txtNChange->text(), QString("3"));
    QVERIFY(!dialog.chkExpire->isChecked());
    QVERIFY(!dialog.chkChange->isChecked());
    QVERIFY(dialog.chkNExpire->isChecked());
    QVERIFY(dialog.chkNChange->isChecked());
    QVERIFY(!dialog.frexpire->isEnabled());
    QVERIFY(!dialog.frchange->isEnabled());
    QVERIFY(!dialog.txtNExp->isEnabled());
    QVERIFY(!dialog.txtNChange->isEnabled());
    QVERIFY(dialog.txtPw->echoMode() == QLineEdit::Normal);
}

void TestPasswordDialog::addLayout()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    QStringList tabs;
    for (int i = 0; i < dialog.sstPassword->count(); ++i) {
        tabs << dialog.sstPassword->tabText(i);
        QCOMPARE(dialog.sstPassword->widget(i), dialog.Pict.at(static_cast<std::size_t>(i)));
    }
    QCOMPARE(tabs, (QStringList{"General", "URL", "Expiration", "Notes"}));
    // Each field sits on its own page.
    QVERIFY(dialog.Pict[0]->isAncestorOf(dialog.txtService));
    QVERIFY(dialog.Pict[0]->isAncestorOf(dialog.cboSCateg));
    QVERIFY(dialog.Pict[1]->isAncestorOf(dialog.cmdGO[2]));
    QVERIFY(dialog.frexpire->isAncestorOf(dialog.txtDExp));
    QVERIFY(dialog.frchange->isAncestorOf(dialog.UpDown2));
    QVERIFY(!dialog.frexpire->isAncestorOf(dialog.chkExpire));
    QVERIFY(!dialog.frchange->isAncestorOf(dialog.chkChange));
    QVERIFY(dialog.Pict[3]->isAncestorOf(dialog.txtNotes));
    QVERIFY(dialog.txtExpDate->isReadOnly());
    QVERIFY(dialog.TxtChgDate->isReadOnly());
    QVERIFY(!(dialog.txtExpDate->focusPolicy() & Qt::TabFocus));
    // Choosing a tab shows that page alone.
    QTest::mouseClick(dialog.sstPassword->tabBar(), Qt::LeftButton, {},
                      dialog.sstPassword->tabBar()->tabRect(2).center());
    QVERIFY(dialog.Pict[2]->isVisible());
    QVERIFY(!dialog.Pict[0]->isVisible());
}

void TestPasswordDialog::categoryChoiceFillsSubcategories()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    QVERIFY(!dialog.cboSCateg->isEnabled());
    dialog.cboCateg->setFocus();
    QTest::keyClick(dialog.cboCateg, Qt::Key_Down);
    QTest::keyClick(dialog.cboCateg, Qt::Key_Down);
    QCOMPARE(dialog.cboCateg->currentText(), QString("Web"));
    QVERIFY(dialog.cboSCateg->isEnabled());
    QCOMPARE(dialog.cboSCateg->count(), 3);
    QCOMPARE(dialog.cboSCateg->currentIndex(), 0);
    dialog.cboSCateg->setCurrentIndex(2);
    // Back to "-Nothing-": the subcategory list shrinks to its one item.
    QTest::keyClick(dialog.cboCateg, Qt::Key_Home);
    QCOMPARE(dialog.cboCateg->currentIndex(), 0);
    QVERIFY(!dialog.cboSCateg->isEnabled());
    QCOMPARE(items(*dialog.cboSCateg), QStringList{"-Nothing-=0"});
    QCOMPARE(dialog.cboSCateg->currentIndex(), 0);
}

void TestPasswordDialog::editInitialState()
{
    Fixture f;
    const PasswordEntry stored = fullRecord(f, "Mailbox");
    QVERIFY(f.store().AddPassword(stored));

    frmPW dialog(f.t.services, f.opener());
    QVERIFY(dialog.PasswordEdit("mailbox"));
    QCOMPARE(dialog.Mode(), QString("M"));
    QVERIFY(!dialog.cmdAnother->isVisible());
    QVERIFY(dialog.cmdOK->isVisible());
    QCOMPARE(dialog.windowTitle(), QString("Add Password"));
    QCOMPARE(dialog.txtService->text(), QString("Mailbox"));
    QCOMPARE(dialog.txtName->text(), QString("jane"));
    QCOMPARE(dialog.txtPw->text(), QString("s3cr3t"));
    QCOMPARE(dialog.txtURL[0]->text(), stored.URL);
    QCOMPARE(dialog.txtURL[1]->text(), stored.ExpURL);
    QCOMPARE(dialog.txtURL[2]->text(), stored.ChangeURL);
    QCOMPARE(dialog.txtNotes->toPlainText(), stored.Notes);
    QCOMPARE(dialog.cboCateg->currentText(), QString("Web"));
    QCOMPARE(dialog.cboSCateg->currentText(), QString("Mail"));
    QVERIFY(dialog.cboSCateg->isEnabled());
    QCOMPARE(dialog.lblInsert->text(), "Inserted on " + shortDateTime(stored.Dt_Insert));
    QCOMPARE(dialog.lblModif->text(), "Last Modified on " + shortDateTime(stored.Dt_Modify));
    QCOMPARE(dialog.txtDExp->text(), QString("30"));
    QCOMPARE(dialog.txtExpDate->text(), shortDate(Today.addDays(30)));
    QCOMPARE(dialog.txtDChange->text(), QString("-12"));
    QCOMPARE(dialog.TxtChgDate->text(), shortDate(Today.addDays(-12)));
    QVERIFY(dialog.chkExpire->isChecked());
    QVERIFY(dialog.chkChange->isChecked());
    QVERIFY(!dialog.chkNExpire->isChecked());
    QVERIFY(dialog.chkNChange->isChecked());
    QCOMPARE(dialog.txtNExp->text(), QString("9"));
    QCOMPARE(dialog.txtNChange->text(), QString("4"));
    QVERIFY(dialog.frexpire->isEnabled());
    QVERIFY(!dialog.txtNExp->isEnabled());
    QVERIFY(dialog.txtNChange->isEnabled());
}

void TestPasswordDialog::pasteNewStartsWithoutService()
{
    Fixture f;
    PasswordEntry copied = fullRecord(f, "Mailbox");
    QVERIFY(f.store().AddPassword(copied));

    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordPasteNew(copied);
    QCOMPARE(dialog.Mode(), QString("P"));
    QVERIFY(!dialog.cmdAnother->isVisible());
    QCOMPARE(dialog.txtService->text(), QString());
    QCOMPARE(dialog.txtPw->text(), QString("s3cr3t"));
    QCOMPARE(dialog.cboSCateg->currentText(), QString("Mail"));

    click(dialog.cmdOK);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{NoService});
    QVERIFY(dialog.isVisible());
    QCOMPARE(f.store().Passwords().Count(), 1);

    f.t.clock.advanceDays(1);
    QTest::keyClicks(dialog.txtService, "Mailbox 2");
    click(dialog.cmdOK);
    QVERIFY(!dialog.isVisible());
    const PasswordEntry *made = f.record("Mailbox 2");
    QVERIFY(made != nullptr);
    PasswordEntry expected = copied;
    expected.service = "Mailbox 2";
    expected.Dt_Insert = Now.addDays(1);
    expected.Dt_Modify = Now.addDays(1);
    // The dates were counted from the day the dialog opened.
    QCOMPARE(made->Dt_Expire, copied.Dt_Expire);
    QCOMPARE(made->Dt_Insert.toLocalTime(), expected.Dt_Insert);
    QCOMPARE(made->Dt_Modify.toLocalTime(), expected.Dt_Modify);
    QCOMPARE(made->Password, expected.Password);
    QCOMPARE(made->CodSCat, expected.CodSCat);
    QVERIFY(f.record("Mailbox") != nullptr);
}

void TestPasswordDialog::validation_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("tab");

    const QString noticeMessage = "The days of notice must be a whole number from -32768 to 32767!";
    QTest::newRow("empty service") << ""
                                   << "5" << NoService.text << 0;
    QTest::newRow("blank service") << "   "
                                   << "5" << NoService.text << 0;
    QTest::newRow("notice left empty") << "Bank"
                                       << "" << noticeMessage << 2;
    QTest::newRow("notice only a sign") << "Bank"
                                        << "-" << noticeMessage << 2;
}

void TestPasswordDialog::validation()
{
    QFETCH(QString, service);
    QFETCH(QString, notice);
    QFETCH(QString, message);
    QFETCH(int, tab);

    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    QTest::keyClicks(dialog.txtService, service);
    click(dialog.chkExpire);
    retype(dialog.txtNExp, notice);
    dialog.sstPassword->setCurrentIndex(3);
    for (QPushButton *button : {dialog.cmdOK, dialog.cmdAnother}) {
        f.t.prompt.asked.clear();
        click(button);
        const PromptRequest expected{message, "VLM", PromptIcon::Critical, PromptButtons::Ok};
        QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{expected});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.sstPassword->currentIndex(), tab);
    }
    QCOMPARE(f.store().Passwords().Count(), 0);
    QCOMPARE(f.t.windows.count(), 1);
}

void TestPasswordDialog::addSavesRecord()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(f.code("Web"), f.subCode("Web", "Shops"));
    QTest::keyClicks(dialog.txtService, "  Store  ");
    QTest::keyClicks(dialog.txtName, "joe");
    QTest::keyClicks(dialog.txtPw, "pa ss");
    QTest::keyClicks(dialog.txtURL[0], "https://shop.example");
    QTest::keyClicks(dialog.txtURL[1], "https://shop.example/delete");
    QTest::keyClicks(dialog.txtURL[2], "https://shop.example/change");
    dialog.txtNotes->setFocus();
    QTest::keyClicks(dialog.txtNotes, "note");
    click(dialog.chkExpire);
    // Set while the change frame was on, kept when it was turned off again.
    click(dialog.chkChange);
    click(dialog.chkNChange);
    click(dialog.chkChange);
    retype(dialog.txtDExp, "-3");
    retype(dialog.txtNExp, "2");
    click(dialog.cmdOK);

    QVERIFY(f.t.prompt.asked.isEmpty());
    QVERIFY(!dialog.isVisible());
    const PasswordEntry *saved = f.record("  Store  ");
    QVERIFY(saved != nullptr);
    QCOMPARE(saved->service, QString("  Store  "));
    QCOMPARE(saved->codcat, f.code("Web"));
    QCOMPARE(saved->CodSCat, f.subCode("Web", "Shops"));
    QCOMPARE(saved->UserName, QString("joe"));
    QCOMPARE(saved->Password, QString("pa ss"));
    QCOMPARE(saved->Notes, QString("note"));
    QCOMPARE(saved->URL, QString("https://shop.example"));
    QCOMPARE(saved->ExpURL, QString("https://shop.example/delete"));
    QCOMPARE(saved->ChangeURL, QString("https://shop.example/change"));
    QCOMPARE(saved->Dt_Insert.toLocalTime(), Now);
    QCOMPARE(saved->Dt_Modify.toLocalTime(), Now);
    QCOMPARE(saved->Dt_Expire, Today.addDays(-3));
    QCOMPARE(saved->Dt_Change, Today.addDays(20));
    QVERIFY(saved->blExpire);
    QVERIFY(!saved->blChange);
    QVERIFY(saved->blNotExpire);
    QVERIFY(!saved->blNotChange);
    QCOMPARE(saved->ggNotExpire, qint16(2));
    QCOMPARE(saved->ggNotChange, qint16(3));
}

void TestPasswordDialog::editSavesThroughOldKey()
{
    Fixture f;
    const PasswordEntry stored = fullRecord(f, "Mailbox");
    QVERIFY(f.store().AddPassword(stored));
    f.t.clock.advanceDays(2);

    frmPW dialog(f.t.services, f.opener());
    QVERIFY(dialog.PasswordEdit("Mailbox"));
    retype(dialog.txtService, "Post");
    dialog.cboCateg->setCurrentIndex(1);
    retype(dialog.txtPw, "n3w");
    click(dialog.chkExpire);
    click(dialog.cmdOK);

    QVERIFY(f.t.prompt.asked.isEmpty());
    QVERIFY(!dialog.isVisible());
    QVERIFY(f.record("Mailbox") == nullptr);
    const PasswordEntry *saved = f.record("Post");
    QVERIFY(saved != nullptr);
    QCOMPARE(saved->codcat, f.code("Bank"));
    QCOMPARE(saved->CodSCat, qint16(0));
    QCOMPARE(saved->Password, QString("n3w"));
    QVERIFY(!saved->blExpire);
    QCOMPARE(saved->Dt_Insert.toLocalTime(), stored.Dt_Insert);
    QCOMPARE(saved->Dt_Modify.toLocalTime(), Now.addDays(2));
    // The counters were read on the later day and their dates kept.
    QCOMPARE(saved->Dt_Expire, stored.Dt_Expire);
    QCOMPARE(saved->Dt_Change, stored.Dt_Change);
    QCOMPARE(saved->Notes, stored.Notes);
    QCOMPARE(f.store().Passwords().Count(), 1);
}

void TestPasswordDialog::renameThatClashes()
{
    Fixture f;
    QVERIFY(f.store().AddPassword(fullRecord(f, "Alpha")));
    QVERIFY(f.store().AddPassword(fullRecord(f, "Beta")));

    frmPW dialog(f.t.services, f.opener());
    QVERIFY(dialog.PasswordEdit("Alpha"));
    retype(dialog.txtService, "beta");
    retype(dialog.txtName, "changed");
    click(dialog.cmdOK);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{storeRefusal(
                                   "There is already a record for the service \"Beta\".")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.txtService->text(), QString("beta"));
    QCOMPARE(dialog.txtName->text(), QString("changed"));
    QCOMPARE(f.record("Alpha")->UserName, QString("jane"));
    QCOMPARE(f.record("Beta")->UserName, QString("jane"));

    // A second try with a free name still finds the record it came from.
    retype(dialog.txtService, "Gamma");
    click(dialog.cmdOK);
    QCOMPARE(f.t.prompt.asked.size(), 1);
    QVERIFY(!dialog.isVisible());
    QVERIFY(f.record("Alpha") == nullptr);
    QCOMPARE(f.record("Gamma")->UserName, QString("changed"));
    QCOMPARE(f.store().Passwords().Count(), 2);
}

void TestPasswordDialog::addAnotherKeepsDialogOpen()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.setSelected(11);
    dialog.PasswordAdd(f.code("Web"), f.subCode("Web", "Mail"));
    QTest::keyClicks(dialog.txtService, "One");
    QTest::keyClicks(dialog.txtPw, "first");
    QTest::keyClicks(dialog.txtURL[1], "x");
    click(dialog.chkChange);
    retype(dialog.txtDChange, "9");
    retype(dialog.txtNChange, "1");
    dialog.sstPassword->setCurrentIndex(2);

    f.t.clock.advanceDays(3);
    f.t.options.ChangeDays = 10;
    click(dialog.cmdAnother);

    QVERIFY(f.t.prompt.asked.isEmpty());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.Mode(), QString("N"));
    QVERIFY(dialog.cmdAnother->isVisible());
    QCOMPARE(dialog.sstPassword->currentIndex(), 0);
    QCOMPARE(f.record("One")->Password, QString("first"));
    QCOMPARE(f.record("One")->Dt_Change, Today.addDays(9));
    QVERIFY(!f.t.state.RefreshRequested());
    QCOMPARE(f.t.windows.count(), 1);

    QCOMPARE(dialog.txtService->text(), QString());
    QCOMPARE(dialog.txtPw->text(), QString());
    QCOMPARE(dialog.txtURL[1]->text(), QString());
    QVERIFY(!dialog.chkChange->isChecked());
    QVERIFY(dialog.chkNChange->isChecked());
    QCOMPARE(dialog.txtNChange->text(), QString("3"));
    QCOMPARE(dialog.TxtChgDate->text(), shortDate(Today.addDays(3 + 10)));
    QCOMPARE(dialog.txtDChange->text(), QString("10"));
    QCOMPARE(dialog.lblInsert->text(), "Inserted on " + shortDateTime(Now.addDays(3)));
    QCOMPARE(dialog.cboCateg->currentText(), QString("Web"));
    QCOMPARE(dialog.cboSCateg->currentText(), QString("Mail"));

    QTest::keyClicks(dialog.txtService, "Two");
    click(dialog.cmdOK);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.record("Two")->CodSCat, f.subCode("Web", "Mail"));
    QCOMPARE(f.record("Two")->Dt_Change, Today.addDays(13));
    QCOMPARE(f.t.state.RefreshValue(), 11);
}

void TestPasswordDialog::addAnotherRefused()
{
    Fixture f;
    QVERIFY(f.store().AddPassword(fullRecord(f, "Taken")));
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    QTest::keyClicks(dialog.txtService, "TAKEN");
    QTest::keyClicks(dialog.txtName, "kept");
    click(dialog.cmdAnother);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{storeRefusal(
                                   "There is already a record for the service \"Taken\".")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.txtService->text(), QString("TAKEN"));
    QCOMPARE(dialog.txtName->text(), QString("kept"));
    QCOMPARE(f.store().Passwords().Count(), 1);
}

void TestPasswordDialog::enablingRules()
{
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(2);

    click(dialog.chkChange);
    QVERIFY(dialog.frchange->isEnabled());
    QVERIFY(dialog.txtDChange->isEnabled());
    QVERIFY(dialog.chkDDChgDate->isEnabled());
    QVERIFY(dialog.UpDown2->isEnabled());
    QVERIFY(dialog.txtNChange->isEnabled());
    QVERIFY(!dialog.frexpire->isEnabled());

    click(dialog.chkNChange);
    QVERIFY(!dialog.txtNChange->isEnabled());
    QVERIFY(dialog.txtDChange->isEnabled());

    // Unchecking the frame's box disables all of it, the spinner with it.
    click(dialog.chkChange);
    QVERIFY(!dialog.txtDChange->isEnabled());
    QVERIFY(!dialog.chkNChange->isEnabled());
    QVERIFY(!dialog.UpDown2->isEnabled());
    QVERIFY(!dialog.txtNChange->isEnabled());
    QVERIFY(dialog.chkChange->isEnabled());

    // Checked again, the notice field follows "Notify before".
    click(dialog.chkChange);
    QVERIFY(!dialog.txtNChange->isEnabled());
    click(dialog.chkNChange);
    QVERIFY(dialog.txtNChange->isEnabled());

    click(dialog.chkExpire);
    QVERIFY(dialog.txtNExp->isEnabled());
    click(dialog.chkExpire);
    QVERIFY(!dialog.txtNExp->isEnabled());
    QVERIFY(!dialog.txtDExp->isEnabled());
    QVERIFY(dialog.txtNChange->isEnabled());
}

void TestPasswordDialog::goOpensField_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::newRow("program link") << 0 << "https://a.example";
    QTest::newRow("delete link") << 1 << "https://a.example/delete";
    QTest::newRow("change link") << 2 << "/usr/bin/true";
    // The opener says "No URL Assigned!" for a blank one.
    QTest::newRow("blank") << 1 << "";
}

void TestPasswordDialog::goOpensField()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    Fixture f;
    frmPW dialog(f.t.services, f.opener());
    dialog.PasswordAdd(0, 0);
    dialog.sstPassword->setCurrentIndex(1);
    const auto i = static_cast<std::size_t>(index);
    for (std::size_t other = 0; other < dialog.txtURL.size(); ++other) {
        QTest::keyClicks(dialog.txtURL.at(other), other == i ? text : QString("other"));
    }
    click(dialog.cmdGO.at(i));
    QCOMPARE(f.opened, QStringList{text});
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(TestPasswordDialog)
#include "test_password_dialog.moc"
