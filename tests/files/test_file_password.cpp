// The file password dialog as a user drives it: typing, OK and Cancel, the
// refused title-bar close, the retry messages, and the window stack while it
// waits without blocking the event loop.

#include "frmFilePW.h"
#include "TestServices.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

using Script = std::function<void(frmFilePW &)>;

// Runs the steps once the dialog is up and waiting, one event-loop turn apart.
void whileWaiting(frmFilePW &dialog, QList<Script> steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps]() mutable {
        if (steps.isEmpty()) {
            return;
        }
        QVERIFY(dialog.Waiting());
        const Script step = steps.takeFirst();
        step(dialog);
        whileWaiting(dialog, steps);
    });
}

void type(QLineEdit *field, const QString &text)
{
    field->clear();
    QTest::keyClicks(field, text);
}

PromptRequest message(const QString &text, PromptIcon icon)
{
    return {text, QStringLiteral("VLM"), icon, PromptButtons::Ok};
}

} // namespace

class TestFilePassword : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void askReturnsTypedPassword();
    void askCancelledOrEmpty_data();
    void askCancelledOrEmpty();
    void titleBarCloseIsRefused();
    void changeChecksOldPasswordAndConfirmation();
    void changeToBlankRemovesPassword();
    void changeCancelledKeepsPassword();
    void disablesWindowBelowWhileOpen();
};

void TestFilePassword::askReturnsTypedPassword()
{
    TestServices t;
    frmFilePW dialog(t.services);
    bool layoutRight = false;
    whileWaiting(dialog, {[&](frmFilePW &d) {
                              layoutRight = d.windowTitle() == QStringLiteral("Enter a password") &&
                                            d.Label1->text() == QStringLiteral("Password") &&
                                            d.txtPW1->isVisible() && !d.txtPW2->isVisible() &&
                                            !d.txtPW3->isVisible() && d.cmdCancel->isVisible() &&
                                            d.txtPW1->echoMode() == QLineEdit::Password;
                              type(d.txtPW1, QStringLiteral("Tr0ub4dor&3"));
                          },
                          [](frmFilePW &d) { QTest::keyClick(d.txtPW1, Qt::Key_Return); }});
    QCOMPARE(dialog.controlla(), QStringLiteral("Tr0ub4dor&3"));
    QVERIFY(layoutRight);
    QVERIFY(!dialog.isVisible());
    QVERIFY(dialog.txtPW1->text().isEmpty()); // nothing left in the field
    QVERIFY(t.windows.isEmpty());
    QVERIFY(t.prompt.asked.isEmpty());
}

void TestFilePassword::askCancelledOrEmpty_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancel after typing") << true;
    QTest::newRow("OK with nothing typed") << false;
}

void TestFilePassword::askCancelledOrEmpty()
{
    QFETCH(bool, cancel);
    TestServices t;
    frmFilePW dialog(t.services);
    whileWaiting(dialog, {[cancel](frmFilePW &d) {
                     if (cancel) {
                         type(d.txtPW1, QStringLiteral("half typed"));
                         QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
                     } else {
                         QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                     }
                 }});
    QCOMPARE(dialog.controlla(), QString());
    QCOMPARE(dialog.Cancelled(), cancel);
}

void TestFilePassword::titleBarCloseIsRefused()
{
    TestServices t;
    frmFilePW dialog(t.services);
    bool refused = false;
    whileWaiting(dialog, {[&](frmFilePW &d) {
                              refused = !d.close() && d.isVisible() && d.Waiting();
                              type(d.txtPW1, QStringLiteral("x"));
                          },
                          [](frmFilePW &d) { QTest::mouseClick(d.cmdOK, Qt::LeftButton); }});
    QCOMPARE(dialog.controlla(), QStringLiteral("x"));
    QVERIFY(refused);
}

void TestFilePassword::changeChecksOldPasswordAndConfirmation()
{
    TestServices t;
    t.state.Store->NewFile();
    t.state.Store->SetPassword(QStringLiteral("old"));
    frmFilePW dialog(t.services);
    QString oldAfterBad, newAfterMismatch, confirmAfterMismatch;
    bool layoutRight = false;
    whileWaiting(dialog, {[&](frmFilePW &d) {
                              layoutRight =
                                  d.windowTitle() ==
                                      QStringLiteral("Change file password - Blank for NO-PW") &&
                                  d.Label1->text() == QStringLiteral("New Password") &&
                                  d.Label2->text() == QStringLiteral("Confirm Passowrd") &&
                                  d.Label3->text() == QStringLiteral("Old Password") &&
                                  d.txtPW2->isVisible() && d.txtPW3->isVisible();
                              type(d.txtPW3, QStringLiteral("wrong"));
                              type(d.txtPW1, QStringLiteral("new"));
                              type(d.txtPW2, QStringLiteral("new"));
                              QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                              oldAfterBad = d.txtPW3->text();
                          },
                          [&](frmFilePW &d) {
                              type(d.txtPW3, QStringLiteral("old"));
                              type(d.txtPW1, QStringLiteral("new"));
                              type(d.txtPW2, QStringLiteral("typo"));
                              QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                              newAfterMismatch = d.txtPW1->text();
                              confirmAfterMismatch = d.txtPW2->text();
                          },
                          [](frmFilePW &d) {
                              type(d.txtPW1, QStringLiteral("new"));
                              type(d.txtPW2, QStringLiteral("new"));
                              QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                          }});
    dialog.changepw();
    QVERIFY(layoutRight);
    QCOMPARE(oldAfterBad, QString());
    QCOMPARE(newAfterMismatch, QString());
    QCOMPARE(confirmAfterMismatch, QString());
    QCOMPARE(t.prompt.asked,
             (QList<PromptRequest>{
                 message(QStringLiteral("Bad Password. Retype password!"), PromptIcon::None),
                 message(QStringLiteral("Password Incorrect. Retype Password!"),
                         PromptIcon::Exclamation),
                 message(QStringLiteral("Password Added/Changed!\nSave File to apply change!"),
                         PromptIcon::Information)}));
    QVERIFY(t.state.Store->CheckPassword(QStringLiteral("new")));
    QVERIFY(!t.state.Store->CheckPassword(QStringLiteral("old")));
    QVERIFY(t.state.Store->Modified());
}

void TestFilePassword::changeToBlankRemovesPassword()
{
    TestServices t;
    t.state.Store->NewFile();
    t.state.Store->SetPassword(QStringLiteral("old"));
    frmFilePW dialog(t.services);
    whileWaiting(dialog, {[](frmFilePW &d) {
                     type(d.txtPW3, QStringLiteral("old"));
                     QTest::mouseClick(d.cmdOK, Qt::LeftButton);
                 }});
    dialog.changepw();
    QCOMPARE(t.prompt.asked, (QList<PromptRequest>{message(QStringLiteral("Password Removed!"),
                                                           PromptIcon::Information)}));
    QVERIFY(t.state.Store->CheckPassword(QString()));
}

void TestFilePassword::changeCancelledKeepsPassword()
{
    TestServices t;
    t.state.Store->NewFile();
    t.state.Store->SetPassword(QStringLiteral("old"));
    frmFilePW dialog(t.services);
    whileWaiting(dialog, {[](frmFilePW &d) { QTest::mouseClick(d.cmdCancel, Qt::LeftButton); }});
    dialog.changepw();
    QVERIFY(t.prompt.asked.isEmpty());
    QVERIFY(t.state.Store->CheckPassword(QStringLiteral("old")));
}

void TestFilePassword::disablesWindowBelowWhileOpen()
{
    TestServices t;
    WidgetMainWindow owner;
    QWidget &mainWidget = owner.widget;
    mainWidget.show();
    t.state.setCurrentMainWindow(&owner);
    frmFilePW dialog(t.services);
    bool disabledWhileOpen = false;
    qsizetype stacked = 0;
    whileWaiting(dialog, {[&](frmFilePW &d) {
                     disabledWhileOpen = !mainWidget.isEnabled();
                     stacked = t.windows.count();
                     QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
                 }});
    dialog.controlla();
    QVERIFY(disabledWhileOpen);
    QCOMPARE(stacked, 1);
    QVERIFY(mainWidget.isEnabled());
    QVERIFY(t.windows.isEmpty());
    QVERIFY(!t.state.RefreshRequested());
    t.state.setCurrentMainWindow(nullptr);
}

QTEST_MAIN(TestFilePassword)
#include "test_file_password.moc"
