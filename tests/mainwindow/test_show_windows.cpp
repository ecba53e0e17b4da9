// The routines the main window and the tray share: the delete question and
// its two answers, the refusal of a subcategory editor without categories,
// and the record dialog opened by service name.

#include "frmPW.h"
#include "ShowWindows.h"
#include "TestServices.h"
#include "TransferRoutines.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

struct Fixture
{
    TestServices t;
    platform::RecordingClipboard clipboard;
    platform::RecordingShell shell;
    platform::RecordingKeyTyper typer;
    transfer::TransferRoutines transfers{t.services, clipboard, shell, typer};
    ShowWindows windows{t.services, transfers, QStringLiteral("/opt/vellumor/vellumor")};
    RecordingWindow main;

    Fixture()
    {
        t.state.Store->NewFile();
        PasswordEntry entry;
        entry.service = QStringLiteral("Mail");
        entry.Password = QStringLiteral("pw");
        t.state.Store->AddPassword(entry);
        t.state.setCurrentMainWindow(&main);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
};

} // namespace

class TestShowWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void subCategoryEditorNeedsCategory();
    void editOpensTheRecord();
    void subCategoryEditorOpensWithCategory();
};

void TestShowWindows::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes deletes and refreshes") << true;
    QTest::newRow("no changes nothing") << false;
}

void TestShowWindows::deleteAsksFirst()
{
    QFETCH(bool, yes);
    Fixture f;
    f.t.prompt.queue(yes ? PromptAnswer::Yes : PromptAnswer::No);
    f.windows.DeleteServicePrompt(QStringLiteral("Mail"), 7);
    QCOMPARE(
        f.t.prompt.asked,
        (QList<PromptRequest>{{QStringLiteral("Do you want to delete Service 'Mail'?"),
                               QStringLiteral("VLM"), PromptIcon::None, PromptButtons::YesNo}}));
    QCOMPARE(f.t.state.Store->Passwords().Item(QStringLiteral("Mail")) == nullptr, yes);
    QCOMPARE(f.main.calls, yes ? QStringList{"UpdateView(7)"} : QStringList{});
}

void TestShowWindows::subCategoryEditorNeedsCategory()
{
    Fixture f;
    f.windows.ShowSubCategoryEditor();
    QCOMPARE(f.t.prompt.asked,
             (QList<PromptRequest>{
                 {QStringLiteral("Cannot insert a subcategory without insert a category first!"),
                  QStringLiteral("VLM"), PromptIcon::Information, PromptButtons::Ok}}));
}

void TestShowWindows::editOpensTheRecord()
{
    Fixture f;
    f.windows.ShowEditPassword(QStringLiteral("Mail"), 3);
    frmPW *dialog = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *pw = qobject_cast<frmPW *>(w); pw != nullptr && pw->isVisible()) {
            dialog = pw;
        }
    }
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->txtService->text(), QStringLiteral("Mail"));
    QCOMPARE(dialog->Selected(), 3);
    QCOMPARE(dialog->Mode(), QStringLiteral("M"));
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.t.windows.isEmpty());
}

void TestShowWindows::subCategoryEditorOpensWithCategory()
{
    Fixture f;
    QVERIFY(f.t.state.Store->AddCategory(QStringLiteral("Banks")));
    f.windows.ShowSubCategoryEditor();
    QVERIFY(f.t.prompt.asked.isEmpty());
    QWidget *editor = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("frmSubCategory") && w->isVisible()) {
            editor = w;
        }
    }
    QVERIFY(editor != nullptr);
    QCOMPARE(f.t.windows.count(), 1);
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.t.windows.isEmpty());
}

QTEST_MAIN(TestShowWindows)
#include "test_show_windows.moc"
