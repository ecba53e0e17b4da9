// The file routines as a user meets them: the save question and its three
// answers, opening with and without a password, save as, a new file, and the
// questions before exit; every message checked to the letter.

#include "FileRoutines.h"
#include "TestServices.h"

#include <QTemporaryDir>
#include <QTest>

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

PromptRequest question(const QString &text, PromptButtons buttons = PromptButtons::YesNoCancel)
{
    return {text, QStringLiteral("VLM"), PromptIcon::Question, buttons};
}

const QString exitQuestion = QStringLiteral("Are you sure you want to exit VLM?");
const QString saveBeforeExit = QStringLiteral("Save Datafile before exit ?");

} // namespace

class TestFileRoutines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void askToSave_data();
    void askToSave();
    void openWithoutPassword();
    void openWithPassword_data();
    void openWithPassword();
    void openFailureKeepsData();
    void saveNewFileAsksForName_data();
    void saveNewFileAsksForName();
    void newFileAfterSaveQuestion();
    void addedExtensionAsksBeforeReplacing();
    void confirmExit_data();
    void confirmExit();
    void handOverAlwaysAsks_data();
    void handOverAlwaysAsks();
    void openDialogIsPrepared();
    void openDialogResults_data();
    void openDialogResults();
    void openOrNewAsksAgainBeforeNew();
    void openOrNewCancelledShowsNoDialog();
    void importCategories();
    void pathsSplitAtSeparator_data();
    void pathsSplitAtSeparator();

private:
    // A store holding the file "open.VLM" with one record, then changed.
    void openModified(TestServices &t, files::FileRoutines &routines);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestFileRoutines::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileRoutines::openModified(TestServices &t, files::FileRoutines &routines)
{
    QVERIFY(writeFile(path(QStringLiteral("open.VLM")), QString(), {QStringLiteral("Mail")}));
    QVERIFY(routines.OpenPasswordFile(path(QStringLiteral("open.VLM"))));
    PasswordEntry entry;
    entry.service = QStringLiteral("Bank");
    QVERIFY(t.state.Store->AddPassword(entry));
    QVERIFY(t.state.Store->Modified());
}

void TestFileRoutines::askToSave_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("answer"); // PromptAnswer given, when asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("goOn");
    const int yes = int(PromptAnswer::Yes), no = int(PromptAnswer::No),
              cancel = int(PromptAnswer::Cancel);
    QTest::newRow("unchanged file asks nothing") << false << false << yes << false << false << true;
    QTest::newRow("yes saves") << true << false << yes << true << true << true;
    QTest::newRow("no goes on unsaved") << true << false << no << true << false << true;
    QTest::newRow("cancel stops") << true << false << cancel << true << false << false;
    QTest::newRow("silent saves unasked") << true << true << cancel << false << true << true;
}

void TestFileRoutines::askToSave()
{
    QFETCH(bool, modified);
    QFETCH(bool, silent);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, saved);
    QFETCH(bool, goOn);
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    if (modified) {
        openModified(t, routines);
    } else {
        QVERIFY(writeFile(path(QStringLiteral("open.VLM")), QString(), {QStringLiteral("Mail")}));
        QVERIFY(routines.OpenPasswordFile(path(QStringLiteral("open.VLM"))));
    }
    t.prompt.queue(PromptAnswer(answer));

    QCOMPARE(routines.AskToSave(QStringLiteral("Do you want to save it"), silent), goOn);
    const QList<PromptRequest> expected =
        asked ? QList<PromptRequest>{question(QStringLiteral("Do you want to save it"))}
              : QList<PromptRequest>{};
    QCOMPARE(t.prompt.asked, expected);
    const QStringList onDisk = saved ? QStringList{"Bank", "Mail"} : QStringList{"Mail"};
    QCOMPARE(servicesIn(path(QStringLiteral("open.VLM"))), onDisk);
    QCOMPARE(t.state.Store->Modified(), modified && !saved);
}

void TestFileRoutines::openWithoutPassword()
{
    TestServices t;
    t.options.HistorySize = 2;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    int checks = 0;
    routines.setExpirationCheck([&checks] { ++checks; });
    RecordingWindow window;
    t.state.setCurrentMainWindow(&window);

    QVERIFY(!routines.OpenPasswordFile(QString()));
    QVERIFY(t.prompt.asked.isEmpty());

    for (const char *name : {"a.VLM", "b.VLM", "c.VLM"}) {
        QVERIFY(writeFile(path(QString::fromUtf8(name)), QString()));
        QVERIFY(routines.OpenPasswordFile(path(QString::fromUtf8(name))));
    }
    QVERIFY(passwords.askedFor.isEmpty());
    QCOMPARE(t.state.Store->FileName(), path(QStringLiteral("c.VLM")));
    QCOMPARE(t.recent.paths(), (QStringList{path("c.VLM"), path("b.VLM")}));
    QCOMPARE(checks, 3);
    QCOMPARE(window.calls, (QStringList{"UpdateView(0)", "ReloadMenu", "UpdateView(0)",
                                        "ReloadMenu", "UpdateView(0)", "ReloadMenu"}));

    // In the tray there is no Reload menu to rebuild; AutoCheck off skips the check.
    t.state.TrayMode = true;
    t.options.AutoCheck = false;
    window.calls.clear();
    QVERIFY(routines.OpenPasswordFile(path(QStringLiteral("a.VLM"))));
    QCOMPARE(window.calls, QStringList{"UpdateView(0)"});
    QCOMPARE(checks, 3);
    QCOMPARE(t.recent.paths(), (QStringList{path("a.VLM"), path("c.VLM")}));
    t.state.setCurrentMainWindow(nullptr);
}

void TestFileRoutines::openWithPassword_data()
{
    QTest::addColumn<QString>("given"); // "" = prompt cancelled
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("errorShown");
    QTest::newRow("right password") << "s3cret" << true << false;
    QTest::newRow("cancelled or empty") << "" << false << false;
    QTest::newRow("wrong password") << "guess" << false << true;
}

void TestFileRoutines::openWithPassword()
{
    QFETCH(QString, given);
    QFETCH(bool, opened);
    QFETCH(bool, errorShown);
    TestServices t;
    ScriptedPasswords passwords;
    passwords.answers << given;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    const QString file = path(QStringLiteral("locked.VLM"));
    QVERIFY(writeFile(file, QStringLiteral("s3cret"), {QStringLiteral("Mail")}));

    QCOMPARE(routines.OpenPasswordFile(file), opened);
    QCOMPARE(passwords.askedFor, QStringList{file});
    QCOMPARE(t.state.Store->FileName(), opened ? file : QString());
    QCOMPARE(t.recent.contains(file), opened);
    if (errorShown) {
        QCOMPARE(t.prompt.asked.size(), 1);
        QCOMPARE(t.prompt.asked.first().text, t.state.Store->LastError());
        QVERIFY(!t.prompt.asked.first().text.isEmpty());
        QCOMPARE(t.prompt.asked.first().title, QStringLiteral("VLM"));
        QCOMPARE(t.prompt.asked.first().icon, PromptIcon::Critical);
        QCOMPARE(t.prompt.asked.first().buttons, PromptButtons::Ok);
    } else {
        QVERIFY(t.prompt.asked.isEmpty());
    }
}

void TestFileRoutines::openFailureKeepsData()
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    openModified(t, routines);
    QVERIFY(!routines.OpenPasswordFile(path(QStringLiteral("missing.VLM"))));
    QCOMPARE(t.prompt.asked.size(), 1);
    QCOMPARE(t.prompt.asked.first().icon, PromptIcon::Critical);
    QCOMPARE(t.state.Store->FileName(), path(QStringLiteral("open.VLM")));
    QVERIFY(t.state.Store->Modified());
    QCOMPARE(t.recent.paths(), QStringList{path("open.VLM")});
}

void TestFileRoutines::saveNewFileAsksForName_data()
{
    QTest::addColumn<QString>("chosen"); // "" = dialog cancelled
    QTest::addColumn<QString>("savedAs");
    QTest::newRow("extension added") << "mine"
                                     << "mine.VLM";
    QTest::newRow("extension kept") << "mine.VLM"
                                    << "mine.VLM";
    QTest::newRow("extension in other case kept") << "mine.vlm"
                                                  << "mine.vlm";
    QTest::newRow("other extension gets ours too") << "mine.txt"
                                                   << "mine.txt.VLM";
    QTest::newRow("cancelled") << ""
                               << "";
}

void TestFileRoutines::saveNewFileAsksForName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, savedAs);
    TestServices t;
    t.options.Path = m_dir->path();
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    RecordingWindow window;
    t.state.setCurrentMainWindow(&window);
    t.state.Store->SetKdfParams(KdfParams::Minimum());
    t.state.Store->NewFile();
    t.dialogs.queue(chosen.isEmpty() ? std::nullopt : std::optional<QString>(path(chosen)));

    QCOMPARE(routines.SavePasswordFile(false), !savedAs.isEmpty());
    platform::FileDialogRequest expected;
    expected.mode = platform::FileDialogRequest::Mode::Save;
    expected.title = QStringLiteral("Save Password File As....");
    expected.filter = QStringLiteral("Vellumor |*.VLM");
    expected.defaultSuffix = QStringLiteral("VLM");
    expected.initialFolder = m_dir->path();
    expected.overwritePrompt = true;
    expected.createPrompt = true;
    QCOMPARE(t.dialogs.asked, QList<platform::FileDialogRequest>{expected});
    QCOMPARE(window.calls, QStringList{"UpdateView(0)"});
    if (!savedAs.isEmpty()) {
        QVERIFY(QFileInfo::exists(path(savedAs)));
        QCOMPARE(t.state.Store->FileName(), path(savedAs));
        // Saved once under a name, the next save asks nothing.
        QVERIFY(routines.SavePasswordFile(false));
        QCOMPARE(t.dialogs.asked.size(), 1);
    } else {
        QCOMPARE(t.state.Store->FileName(), PasswordStore::NewFileName);
    }
    t.state.setCurrentMainWindow(nullptr);
}

void TestFileRoutines::addedExtensionAsksBeforeReplacing()
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    QVERIFY(writeFile(path(QStringLiteral("taken.txt.VLM")), QString(), {QStringLiteral("Old")}));
    t.state.Store->SetKdfParams(KdfParams::Minimum());
    t.state.Store->NewFile();
    t.dialogs.queue(path(QStringLiteral("taken.txt")));
    t.prompt.queue(PromptAnswer::No);
    QVERIFY(!routines.SavePasswordFile(true));
    QCOMPARE(servicesIn(path(QStringLiteral("taken.txt.VLM"))), QStringList{"Old"});
    QCOMPARE(t.prompt.asked.size(), 1);
    QCOMPARE(t.prompt.asked.first().text,
             path(QStringLiteral("taken.txt.VLM")) +
                 QStringLiteral(" already exists.\nDo you want to replace it?"));
    QCOMPARE(t.prompt.asked.first().buttons, PromptButtons::YesNo);

    t.dialogs.queue(path(QStringLiteral("taken.txt")));
    t.prompt.queue(PromptAnswer::Yes);
    QVERIFY(routines.SavePasswordFile(true));
    QCOMPARE(servicesIn(path(QStringLiteral("taken.txt.VLM"))), QStringList{});
}

void TestFileRoutines::newFileAfterSaveQuestion()
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    openModified(t, routines);
    const PasswordStore *before = t.state.Store.get();

    t.prompt.queue(PromptAnswer::Cancel);
    routines.NewPasswordFile();
    QCOMPARE(t.state.Store.get(), before);
    QCOMPARE(t.state.Store->FileName(), path(QStringLiteral("open.VLM")));

    t.prompt.queue(PromptAnswer::No);
    routines.NewPasswordFile();
    QCOMPARE(t.prompt.asked, (QList<PromptRequest>{question("Do you want To Save the file?"),
                                                   question("Do you want To Save the file?")}));
    QCOMPARE(t.state.Store->FileName(), PasswordStore::NewFileName);
    QVERIFY(!t.state.Store->Modified());
    QCOMPARE(t.state.Store->Passwords().Count(), 0);
    QCOMPARE(servicesIn(path(QStringLiteral("open.VLM"))), QStringList{"Mail"});
}

void TestFileRoutines::confirmExit_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<bool>("exits");
    const int yes = int(PromptAnswer::Yes), no = int(PromptAnswer::No),
              cancel = int(PromptAnswer::Cancel);
    QTest::newRow("unchanged, yes")
        << false << false << QList<int>{yes} << QStringList{exitQuestion} << true;
    QTest::newRow("unchanged, no")
        << false << false << QList<int>{no} << QStringList{exitQuestion} << false;
    QTest::newRow("changed, cancel")
        << true << false << QList<int>{cancel} << QStringList{saveBeforeExit} << false;
    QTest::newRow("changed, not saved: no second question")
        << true << false << QList<int>{no} << QStringList{saveBeforeExit} << true;
    QTest::newRow("changed, saved, then yes") << true << false << QList<int>{yes, yes}
                                              << QStringList{saveBeforeExit, exitQuestion} << true;
    QTest::newRow("changed, saved, then no") << true << false << QList<int>{yes, no}
                                             << QStringList{saveBeforeExit, exitQuestion} << false;
    QTest::newRow("auto-save saves unasked")
        << true << true << QList<int>{yes} << QStringList{exitQuestion} << true;
}

void TestFileRoutines::confirmExit()
{
    QFETCH(bool, modified);
    QFETCH(bool, autoSave);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, questions);
    QFETCH(bool, exits);
    TestServices t;
    t.options.AutoSaveData = autoSave;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    if (modified) {
        openModified(t, routines);
    }
    for (const int answer : answers) {
        t.prompt.queue(PromptAnswer(answer));
    }
    QCOMPARE(routines.ConfirmExit(), exits);
    QStringList asked;
    for (const PromptRequest &request : t.prompt.asked) {
        asked << request.text;
        const PromptButtons buttons =
            request.text == exitQuestion ? PromptButtons::YesNo : PromptButtons::YesNoCancel;
        QCOMPARE(request, question(request.text, buttons));
    }
    QCOMPARE(asked, questions);
    QCOMPARE(t.prompt.unplanned, 0);
}

void TestFileRoutines::handOverAlwaysAsks_data()
{
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("savedOnDisk");
    QTest::addColumn<QString>("openAfter");
    const int yes = int(PromptAnswer::Yes), no = int(PromptAnswer::No),
              cancel = int(PromptAnswer::Cancel);
    const QStringList unsaved{"Mail"}, saved{"Bank", "Mail"};
    // Unlike exit, another start's file never saves unasked: auto-save is
    // for leaving the program, not for a file arriving from outside.
    QTest::newRow("auto-save still asks; cancel keeps the file")
        << true << cancel << unsaved << "open.VLM";
    QTest::newRow("auto-save still asks; no opens the other")
        << true << no << unsaved << "other.VLM";
    QTest::newRow("yes saves, then opens the other") << false << yes << saved << "other.VLM";
}

void TestFileRoutines::handOverAlwaysAsks()
{
    QFETCH(bool, autoSave);
    QFETCH(int, answer);
    QFETCH(QStringList, savedOnDisk);
    QFETCH(QString, openAfter);
    TestServices t;
    t.options.AutoSaveData = autoSave;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    openModified(t, routines);
    QVERIFY(writeFile(path(QStringLiteral("other.VLM")), QString(), {QStringLiteral("Shop")}));
    t.prompt.queue(PromptAnswer(answer));

    routines.ReceiveHandOver(nullptr,
                             ('"' + path(QStringLiteral("other.VLM")) + '"').toLocal8Bit());
    const QString prompt =
        QStringLiteral("Do you want to save ") + path(QStringLiteral("open.VLM"));
    QCOMPARE(t.prompt.asked, QList<PromptRequest>{question(prompt)});
    QCOMPARE(servicesIn(path(QStringLiteral("open.VLM"))), savedOnDisk);
    QCOMPARE(t.state.Store->FileName(), path(openAfter));
}

void TestFileRoutines::openDialogIsPrepared()
{
    TestServices t;
    t.options.Path = QStringLiteral("/srv/passwords");
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    t.recent.add(QStringLiteral("/home/anna/Work.VLM"));
    t.recent.add(QStringLiteral("no-folder.VLM")); // never listed: nowhere to find it
    t.recent.add(QStringLiteral("/Root.VLM"));

    routines.ShowOpenDialog(true);
    routines.ShowOpenDialog(false);
    QCOMPARE(t.openDialog.requests.size(), 2);
    const files::OpenDialogRequest &withNew = t.openDialog.requests.at(0);
    QVERIFY(withNew.showNew);
    QCOMPARE(withNew.newTypes,
             (QList<files::NewType>{{QStringLiteral("Vellumor File"), QStringLiteral("VLM")}}));
    const QDate date(2000, 1, 1);
    QCOMPARE(withNew.recent, (QList<files::RecentItem>{{"Work.VLM", "/home/anna", date, "VLM"},
                                                       {"Root.VLM", "", date, "VLM"}}));
    QCOMPARE(withNew.fileDialog.filter, QStringLiteral("Vellumor |*.VLM"));
    QCOMPARE(withNew.fileDialog.defaultSuffix, QStringLiteral("VLM"));
    QCOMPARE(withNew.fileDialog.initialFolder, QStringLiteral("/srv/passwords"));
    QCOMPARE(withNew.fileDialog.mode, platform::FileDialogRequest::Mode::Open);
    const files::OpenDialogRequest &plain = t.openDialog.requests.at(1);
    QVERIFY(!plain.showNew);
    QVERIFY(plain.newTypes.isEmpty());
    QCOMPARE(plain.recent, withNew.recent);
}

void TestFileRoutines::openDialogResults_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("isNew");
    QTest::addColumn<QString>("filename");
    QTest::addColumn<QString>("answer");
    QTest::newRow("cancelled") << true << false << "/a/b.VLM"
                               << "";
    QTest::newRow("closed on the New page") << true << true << "Vellumor File"
                                            << "";
    QTest::newRow("new") << false << true << "Vellumor File"
                         << "<New VLM File>";
    QTest::newRow("existing") << false << false << "/a/b.VLM"
                              << "/a/b.VLM";
}

void TestFileRoutines::openDialogResults()
{
    QFETCH(bool, cancelled);
    QFETCH(bool, isNew);
    QFETCH(QString, filename);
    QFETCH(QString, answer);
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    t.openDialog.answers << files::OpenDialogResult{cancelled, isNew, filename};
    QCOMPARE(routines.ShowOpenDialog(true), answer);
}

void TestFileRoutines::openOrNewAsksAgainBeforeNew()
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    openModified(t, routines);
    t.prompt.queue(PromptAnswer::No);
    t.prompt.queue(PromptAnswer::No);
    t.openDialog.answers << files::OpenDialogResult{false, true, QStringLiteral("Vellumor File")};
    routines.OpenOrNew(true);
    QCOMPARE(t.prompt.asked, (QList<PromptRequest>{question("Do you want to Save the file?"),
                                                   question("Do you want To Save the file?")}));
    QCOMPARE(t.state.Store->FileName(), PasswordStore::NewFileName);

    // Choosing an existing file opens it.
    const QString other = path(QStringLiteral("other.VLM"));
    QVERIFY(writeFile(other, QString(), {QStringLiteral("Shop")}));
    t.openDialog.answers << files::OpenDialogResult{false, false, other};
    routines.OpenOrNew(false);
    QCOMPARE(t.state.FilePath, other);
    QCOMPARE(t.state.Store->FileName(), other);
    QCOMPARE(t.recent.item(1), other);
}

void TestFileRoutines::openOrNewCancelledShowsNoDialog()
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    openModified(t, routines);
    t.prompt.queue(PromptAnswer::Cancel);
    routines.OpenOrNew(false);
    QVERIFY(t.openDialog.requests.isEmpty());
    QCOMPARE(t.state.Store->FileName(), path(QStringLiteral("open.VLM")));
    QVERIFY(t.state.Store->Modified());
}

void TestFileRoutines::importCategories()
{
    TestServices t;
    ScriptedPasswords passwords;
    files::FileRoutines routines(t.services, passwords, t.openDialog);
    // Nothing open: nothing to import into, and no dialog.
    QVERIFY(!routines.ImportPasswordFile());
    QVERIFY(t.openDialog.requests.isEmpty());

    QVERIFY(writeFile(path(QStringLiteral("open.VLM")), QString()));
    QVERIFY(routines.OpenPasswordFile(path(QStringLiteral("open.VLM"))));
    {
        PasswordStore other;
        other.SetKdfParams(KdfParams::Minimum());
        other.NewFile();
        QVERIFY(other.AddCategory(QStringLiteral("Banks")));
        other.SetPassword(QStringLiteral("pw"));
        QVERIFY(other.SaveFile(path(QStringLiteral("other.VLM")), false, false));
    }
    const files::OpenDialogResult chosen{false, false, path(QStringLiteral("other.VLM"))};
    t.openDialog.answers << chosen << chosen << chosen;
    passwords.answers << QString() << QStringLiteral("wrong") << QStringLiteral("pw");

    QVERIFY(!routines.ImportPasswordFile()); // password prompt cancelled
    QVERIFY(t.prompt.asked.isEmpty());
    QVERIFY(routines.ImportPasswordFile()); // wrong password: told, still true
    QVERIFY(routines.ImportPasswordFile());
    QCOMPARE(t.prompt.asked.size(), 2);
    QCOMPARE(t.prompt.asked.at(0).icon, PromptIcon::None);
    QVERIFY(!t.prompt.asked.at(0).text.isEmpty());
    QCOMPARE(t.prompt.asked.at(1),
             (PromptRequest{QStringLiteral("Import Finished"), QStringLiteral("VLM"),
                            PromptIcon::None, PromptButtons::Ok}));
    QVERIFY(t.state.Store->Categories().Item(QStringLiteral("Banks")) != nullptr);
    QVERIFY(!t.openDialog.requests.last().showNew);
}

void TestFileRoutines::pathsSplitAtSeparator_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("splits");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("joined");
    QTest::newRow("nested") << "/home/anna/Work.VLM" << true << "/home/anna"
                            << "Work.VLM"
                            << "/home/anna/Work.VLM";
    QTest::newRow("in the root") << "/Root.VLM" << true << ""
                                 << "Root.VLM"
                                 << "/Root.VLM";
    QTest::newRow("no folder") << "Work.VLM" << false << ""
                               << ""
                               << "";
    QTest::newRow("blank in names") << "/my files/a b.VLM" << true << "/my files"
                                    << "a b.VLM"
                                    << "/my files/a b.VLM";
}

void TestFileRoutines::pathsSplitAtSeparator()
{
    QFETCH(QString, path);
    QFETCH(bool, splits);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(QString, joined);
    QString gotFolder;
    QString gotName;
    QCOMPARE(files::splitPath(path, gotFolder, gotName), splits);
    if (splits) {
        QCOMPARE(gotFolder, folder);
        QCOMPARE(gotName, fileName);
        QCOMPARE(files::joinPath(gotFolder, gotName), joined);
    }
    // A folder that already ends with the separator gets no second one.
    QCOMPARE(files::joinPath(QStringLiteral("/srv/"), QStringLiteral("x.VLM")),
             QStringLiteral("/srv/x.VLM"));
}

QTEST_MAIN(TestFileRoutines)
#include "test_file_routines.moc"
