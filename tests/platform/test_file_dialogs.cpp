#include "FileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::FileDialogRequest;

namespace {

FileDialogRequest saveAs(const QString &folder)
{
    FileDialogRequest r;
    r.mode = FileDialogRequest::Mode::Save;
    r.title = QStringLiteral("Save Password File As....");
    r.filter = QStringLiteral("Vellumor |*.VLM");
    r.defaultSuffix = QStringLiteral("VLM");
    r.initialFolder = folder;
    r.overwritePrompt = true;
    return r;
}

// Answers the next modal file dialog with a typed name, as a user would.
void answerNextDialog(const QString &typed, bool accept)
{
    QTimer::singleShot(0, [typed, accept] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        if (!accept) {
            dialog->reject();
            return;
        }
        dialog->selectFile(typed);
        static_cast<QDialog *>(dialog)->accept(); // as the OK button does
    });
}

} // namespace

class TestFileDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameFilters_data();
    void nameFilters();
    void configureFollowsTheRequest();
    void realDialogGivesTheChosenPath();
    void scriptedAnswersInTurn();
};

void TestFileDialogs::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("password files") << "Vellumor |*.VLM" << QStringList{"Vellumor (*.VLM)"};
    QTest::newRow("two pairs") << "Vellumor |*.VLM|All files|*.*"
                               << QStringList{"Vellumor (*.VLM)", "All files (*.*)"};
    QTest::newRow("several patterns") << "Text|*.txt;*.md" << QStringList{"Text (*.txt *.md)"};
    QTest::newRow("no name") << "|*.VLM" << QStringList{"*.VLM"};
    QTest::newRow("dangling name") << "Vellumor |*.VLM|Other" << QStringList{"Vellumor (*.VLM)"};
    QTest::newRow("empty") << "" << QStringList{};
}

void TestFileDialogs::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::nameFilters(filter), expected);
}

void TestFileDialogs::configureFollowsTheRequest()
{
    QTemporaryDir dir;
    QFileDialog save;
    platform::configure(save, saveAs(dir.path()));
    QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(save.fileMode(), QFileDialog::AnyFile);
    QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(save.windowTitle(), QStringLiteral("Save Password File As...."));
    QCOMPARE(save.nameFilters(), QStringList{QStringLiteral("Vellumor (*.VLM)")});
    QCOMPARE(save.defaultSuffix(), QStringLiteral("VLM"));
    QCOMPARE(QDir(save.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());

    FileDialogRequest open;
    open.filter = QStringLiteral("Vellumor |*.VLM");
    QFileDialog opener;
    platform::configure(opener, open);
    QCOMPARE(opener.acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(opener.fileMode(), QFileDialog::ExistingFile);
    open.createPrompt = true;
    platform::configure(opener, open);
    QCOMPARE(opener.fileMode(), QFileDialog::AnyFile);
}

void TestFileDialogs::realDialogGivesTheChosenPath()
{
    QTemporaryDir dir;
    platform::QtFileDialogs dialogs;
    // A name typed without extension gets the default one.
    answerNextDialog(QStringLiteral("fresh"), true);
    const auto chosen = dialogs.choose(saveAs(dir.path()), nullptr);
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).fileName(), QStringLiteral("fresh.VLM"));
    QCOMPARE(QFileInfo(*chosen).dir().canonicalPath(), QDir(dir.path()).canonicalPath());

    answerNextDialog(QString(), false);
    QVERIFY(!dialogs.choose(saveAs(dir.path()), nullptr).has_value());
}

void TestFileDialogs::scriptedAnswersInTurn()
{
    platform::ScriptedFileDialogs dialogs;
    dialogs.queue(QStringLiteral("/data/a.VLM"));
    dialogs.queue(std::nullopt);
    const FileDialogRequest request = saveAs(QStringLiteral("/data"));
    QCOMPARE(dialogs.choose(request, nullptr),
             std::optional<QString>(QStringLiteral("/data/a.VLM")));
    QCOMPARE(dialogs.choose(request, nullptr), std::optional<QString>());
    QCOMPARE(dialogs.unplanned, 0);
    QCOMPARE(dialogs.choose(request, nullptr), std::optional<QString>());
    QCOMPARE(dialogs.unplanned, 1);
    QCOMPARE(dialogs.asked.size(), 3);
    QCOMPARE(dialogs.asked.constFirst(), request);
}

QTEST_MAIN(TestFileDialogs)
#include "test_file_dialogs.moc"
