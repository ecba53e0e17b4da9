// vellumor-cli as users meet it: one table of command lines, each after a few
// set-up commands, with the exit code, the output and whether the file changed.

#include "CliRunner.h"
#include "PasswordStore.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void commands_data();
    void commands();
    void createAndHelp();
    void generate();
    void exportAndImport();
    void writersInALoop();

private:
    // A command line as a user types it, with its standard input after "<<".
    // "!" runs it as given; otherwise --password-stdin is added after the
    // command and the file password "pw" goes first.
    CliResult cli(const QString &line)
    {
        const QByteArray input = line.section(" << ", 1).toUtf8().replace("\\n", "\n");
        const bool raw = line.startsWith('!');
        QStringList args = QProcess::splitCommand(line.section(" << ", 0, 0).mid(raw ? 1 : 0));
        if (!raw) {
            args.insert(std::min<qsizetype>(1, args.size()), "--password-stdin");
        }
        return runCli(m_dir->path(), args,
                      (raw ? "" : "pw\n") + input + (raw && input.isEmpty() ? "" : "\n"));
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QCOMPARE(cli("create f.vlm --kdf-ops 1 --kdf-mem 1").status, 0);
}

void TestCli::commands_data()
{
    QTest::addColumn<QString>("setup"); // commands separated by "; ", each of which must pass
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("writes"); // f.vlm
    QTest::addColumn<QString>("out"); // exactly; times show as <now>
    QTest::addColumn<QString>("err"); // a part of it; "" for none at all
    const auto row = [](const char *name, const QString &setup, const QString &line, int status,
                        bool writes, const QString &out, const char *err = "") {
        QTest::newRow(name) << setup << line << status << writes << out << err;
    };
    const QString web = "category f.vlm add Web; subcategory f.vlm Web add Shops; ";
    const QString other = "create o.vlm --kdf-ops 1 --kdf-mem 1; category o.vlm add Web; "
                          "subcategory o.vlm Web add Shops; "
                          "add o.vlm Shop --category Web --subcategory Shops -u x; "
                          "add o.vlm Same; add o.vlm Only; add f.vlm Same; add f.vlm Shop -u y";
    row("add, then show every field",
        web + "add f.vlm \"Amazon Shop\" -u anna@example.org -p --url https://amazon.example "
              "--notes \"line one\nline two\" --category web --subcategory=SHOPS "
              "--expires 2030-02-28 --notify-expire 14 << s3crét",
        "show f.vlm \"AMAZON SHOP\" --show-password", 0, false,
        "Service: Amazon Shop\nCategory: Web\nSubcategory: Shops\nUser name: anna@example.org\n"
        "Password: s3crét\nURL: https://amazon.example\nChange URL: \nExpiration URL: \n"
        "Notes: line one\\nline two\nCreated: <now>\nModified: <now>\nExpires: 2030-02-28\n"
        "Expiration notice: 14 days\nChange by: never\nChange notice: off\n");
    row("edit changes only what is given",
        "add f.vlm Bank -u bob -p --url https://bank --expires 2030-01-01 --change 2029-06-01 "
        "--notify-change 5 << hunter2; edit f.vlm bank -u robert --expires never --rename Savings",
        "show f.vlm Savings", 0, false,
        "Service: Savings\nCategory: \nSubcategory: \nUser name: robert\nPassword: ********\n"
        "URL: https://bank\nChange URL: \nExpiration URL: \nNotes: \nCreated: <now>\n"
        "Modified: <now>\nExpires: never\nExpiration notice: off\nChange by: 2029-06-01\n"
        "Change notice: 5 days\n");
    row("edit that changes nothing", "add f.vlm Bank -u bob", "edit f.vlm Bank -u bob", 0, false,
        "");
    row("edit onto another record", "add f.vlm A; add f.vlm B", "edit f.vlm A --rename b", 1, false,
        "", "There is already a record for the service");
    row("ls", "add f.vlm b; add f.vlm A; add f.vlm C; rm f.vlm c", "ls f.vlm", 0, false, "A\nb\n");
    const QString found =
        "add f.vlm Mail -u Anna; add f.vlm Bank --url https://ANNA.example; "
        "add f.vlm Shop --notes \"x\nby anna\"; add f.vlm Annals; add f.vlm Other "
        "-u bob --url https://b --notes na";
    row("search name, user, URL, notes", found, "search f.vlm aNNa", 0, false,
        "Annals\nBank\nMail\nShop\n");
    row("search, nothing found", found, "search f.vlm zed", 0, false, "");
    row("search without text", "", "search f.vlm", 2, false, "", "too few arguments");
    row("mv into a subcategory", web + "add f.vlm A; mv f.vlm a --category Web --subcategory Shops",
        "ls f.vlm --tree", 0, false, "Web (1)\n  Shops (1)\n    A\n");
    row("mv without category", web + "add f.vlm A --category Web; mv f.vlm A", "ls f.vlm --tree", 0,
        false, "Web (0)\n  Shops (0)\nNo Category (1)\n  A\n");
    row("mv to no such category", "add f.vlm A", "mv f.vlm A --category Nowhere", 1, false, "",
        "There is no category \"Nowhere\"");
    row("rm", "add f.vlm A; add f.vlm B", "rm f.vlm b", 0, true, "");
    row("rm no such record", "add f.vlm A", "rm f.vlm b", 1, false, "", "no record");
    const QString folders =
        web + "category f.vlm add Mail; subcategory f.vlm Web add News; "
              "add f.vlm A --category Web --subcategory Shops; "
              "add f.vlm B --category Web --subcategory News; add f.vlm C --category Mail; "
              "category f.vlm rename mail Post; subcategory f.vlm Web rename news Papers; "
              "subcategory f.vlm Web move Papers Post";
    row("folders in a tree", folders, "ls f.vlm --tree", 0, false,
        "Post (2)\n  Papers (1)\n    B\n  No SubCategory (1)\n    C\nWeb (1)\n  Shops (1)\n    "
        "A\n");
    // rm --keep keeps the records, without it they go with the folder.
    row("rm folders", folders + "; subcategory f.vlm Web rm Shops --keep; category f.vlm rm Post",
        "ls f.vlm --tree", 0, false, "Web (1)\n  No SubCategory (1)\n    A\n");
    row("rm category, keep records",
        folders + "; category f.vlm rm Post; category f.vlm rm Web --keep", "ls f.vlm --tree", 0,
        false, "No Category (1)\n  A\n");
    // rm --keep keeps the records, without it they go with the folder.
    row("category twice", "category f.vlm add X", "category f.vlm add x", 1, false, "",
        "already exists");
    row("subcategory of no category", "", "subcategory f.vlm Nope add S", 1, false, "", "\"Nope\"");
    row("rm no such subcategory", "category f.vlm add X", "subcategory f.vlm X rm Nope", 1, false,
        "", "Nope");
    // Usage errors: exit code 2, with the usage line or a pointer to --help.
    row("no command", "", "", 2, false, "", "no command given");
    row("unknown command", "", "frobnicate f.vlm", 2, false, "", "unknown command 'frobnicate'");
    row("unknown option", "", "ls f.vlm --all", 2, false, "", "unknown option '--all'");
    row("option of another command", "", "ls f.vlm --show-password", 2, false, "", "has no option");
    row("missing service", "", "show f.vlm", 2, false, "", "too few arguments");
    row("extra argument", "", "rm f.vlm a b", 2, false, "", "too many arguments");
    row("import, extra argument", "", "import f.vlm o.vlm x", 2, false, "", "too many arguments");
    row("category, extra argument", "", "category f.vlm rename X Y Z", 2, false, "", "too many");
    row("value missing", "", "add f.vlm a -u", 2, false, "", "needs a value");
    row("option twice", "", "add f.vlm a -u x -u y", 2, false, "", "given twice");
    row("bad date", "", "add f.vlm a --expires 2030-2-3", 2, false, "", "is not a date");
    row("impossible date", "", "add f.vlm a --expires 2030-02-30", 2, false, "", "is not a date");
    row("negative days", "", "add f.vlm a --notify-expire -3", 2, false, "", "is not a number");
    row("too many days", "", "add f.vlm a --notify-change 40000", 2, false, "", "is not a number");
    row("subcategory alone", "", "add f.vlm a --subcategory S", 2, false, "", "needs --category");
    row("unknown action", "", "category f.vlm drop X", 2, false, "", "unknown action");
    row("rename without new", "", "category f.vlm rename X", 2, false, "", "needs a second name");
    row("add with two names", "", "category f.vlm add X Y", 2, false, "", "takes one name");
    row("keep on add", "", "category f.vlm add X --keep", 2, false, "", "--keep belongs to rm");
    row("kdf without password", "", "create g.vlm --no-password --kdf-ops 2", 2, false, "",
        "no key derivation");
    row("kdf zero", "", "create g.vlm --kdf-ops 0", 2, false, "", "at least 1");
    row("generate, too short", "", "!generate --length 3", 2, false, "", "at least 4 characters");
    row("generate, too long", "", "!generate --length=129", 2, false, "", "from 0 to 128");
    row("generate with a file", "", "!generate f.vlm", 2, false, "", "too many arguments");
    row("generate reads no password", "", "!generate --password-stdin", 2, false, "",
        "has no option '--password-stdin'");
    row("value forgotten before an option", "", "add f.vlm a -u --url x", 2, false, "",
        "'-u' needs a value");
    row("value for a plain option", "", "ls f.vlm --tree=yes", 2, false, "", "takes no value");
    row("clip for no time", "", "clip f.vlm X --timeout 0", 2, false, "", "at least 1 second");
    row("option before the command", "", "!--tree ls f.vlm", 2, false, "", "before the command");
    row("length without --generate", "", "add f.vlm a --length 8", 2, false, "",
        "--length needs --generate");
    row("-p and --generate", "", "add f.vlm a -p --generate", 2, false, "", "exclude each other");
    // Failures: exit code 1 with the reason, the file as it was.
    row("wrong password", "", "!add f.vlm X --password-stdin << PW", 1, false, "",
        "Wrong password");
    row("no password line", "", "!add f.vlm X --password-stdin", 1, false, "",
        "Standard input ended");
    row("no record password line", "", "!add f.vlm X -p --password-stdin << pw", 1, false, "",
        "Standard input ended");
    row("overlong password line", "", "!ls f.vlm --password-stdin << " + QByteArray(5000, 'a'), 1,
        false, "", "longer than");
    row("missing file", "", "ls nothing.vlm", 1, false, "", "does not exist");
    row("existing service", "add f.vlm Kept", "add f.vlm KEPT", 1, false, "", "\"Kept\"");
    row("unknown category", "", "add f.vlm Y --category Web", 1, false, "", "no category \"Web\"");
    row("create over a file", "", "create f.vlm", 1, false, "", "already exists");
    // An empty password is refused; --no-password is the explicit way, and
    // such a file is opened without reading a line.
    row("create with empty password", "", "!create g.vlm --password-stdin << \\n", 1, false, "",
        "--no-password");
    row("file without password", "!create g.vlm --no-password; !add g.vlm Free", "!ls g.vlm", 0,
        false, "Free\n");
    row("passwd", "add f.vlm Kept; passwd f.vlm << n3w", "!ls f.vlm --password-stdin << n3w", 0,
        false, "Kept\n");
    row("old password after passwd", "passwd f.vlm << n3w", "ls f.vlm", 1, false, "",
        "Wrong password");
    row("passwd to none", "add f.vlm Kept; passwd f.vlm << ", "!ls f.vlm", 0, false, "Kept\n");
    // Import brings the folders, merge the records (renamed where taken), once.
    row("import, wrong second password", other, "import f.vlm o.vlm << wrong", 1, false, "",
        "Wrong password");
    row("import", other + "; import f.vlm o.vlm << pw", "ls f.vlm --tree", 0, false,
        "Web (0)\n  Shops (0)\nNo Category (2)\n  Same\n  Shop\n");
    row("merge", other, "merge f.vlm o.vlm << pw", 0, true, "1 added, 2 renamed, 0 skipped\n");
    row("merge again", other + "; merge f.vlm o.vlm << pw", "merge f.vlm o.vlm << pw", 0, false,
        "0 added, 0 renamed, 3 skipped\n");
    const auto day = [](int days) { return QDate::currentDate().addDays(days); };
    const auto iso = [&day](int days) { return day(days).toString(Qt::ISODate); };
    row("check",
        "add f.vlm Late --expires " + iso(-3) + "; add f.vlm Soon --notify-expire 10 --expires " +
            iso(4) + "; add f.vlm Far --notify-expire 10 --expires " + iso(40) +
            "; add f.vlm Rotate --notify-change 7 --change " + iso(2),
        "check f.vlm", 0, false,
        "Late\t" + iso(-3) + "\tExpired from " +
            QLocale::system().toString(day(-3), QLocale::ShortFormat) + "\nRotate\t" + iso(2) +
            "\t2 days to changing\nSoon\t" + iso(4) + "\t4 days to expiration\n");
    row("check, nothing due", "add f.vlm Far --expires " + iso(40), "check f.vlm", 0, false, "");
    // Options before the file, "=" values, and a service that looks like an option.
    row("options anywhere", "add --url=https://x f.vlm -- -dash-; edit f.vlm -u=--odd -- -dash-",
        "show f.vlm -- -dash-", 0, false,
        "Service: -dash-\nCategory: \nSubcategory: \nUser name: --odd\nPassword: \n"
        "URL: https://x\nChange URL: \nExpiration URL: \nNotes: \nCreated: <now>\n"
        "Modified: <now>\nExpires: never\nExpiration notice: off\nChange by: never\n"
        "Change notice: off\n");
    row("--password-stdin before the command", "add f.vlm A", "!--password-stdin ls f.vlm << pw", 0,
        false, "A\n");
    row("option-like service without --", "add f.vlm -- -dash-", "show f.vlm -dash-", 2, false, "",
        "unknown option '-dash-'");
}

void TestCli::commands()
{
    QFETCH(QString, setup);
    QFETCH(QString, line);
    QFETCH(int, status);
    QFETCH(bool, writes);
    QFETCH(QString, out);
    QFETCH(QString, err);
    for (const QString &step : setup.split("; ", Qt::SkipEmptyParts)) {
        const CliResult r = cli(step);
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(step + ": " + r.err));
    }
    const QByteArray before = fileBytes(m_dir->filePath("f.vlm"));
    const CliResult r = cli(line);
    QCOMPARE(r.status, status);
    static const QRegularExpression time(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
    QCOMPARE(QString(r.out).replace(time, "<now>"), out);
    QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.startsWith("vellumor-cli: "),
             qPrintable(r.err));
    QVERIFY2(r.err.contains(err), qPrintable(r.err));
    QCOMPARE(status == 2, r.err.contains("usage: vellumor-cli ") || r.err.contains("--help"));
    QCOMPARE(fileBytes(m_dir->filePath("f.vlm")) != before, writes);
    QVERIFY(!writes || QFile::exists(m_dir->filePath("f.vlm.bak")));
    QVERIFY(status == 0 || !QFile::exists(m_dir->filePath("g.vlm")));
    // The file password never shows, a record's only when asked.
    QVERIFY(!r.out.contains("pw\n") && !r.err.contains("pw\n"));
    QVERIFY(line.contains("--show-password") || !r.out.contains("hunter2"));
}

// The cost given is the one in the file, "\r\n" from a Windows file one line end; the help.
void TestCli::createAndHelp()
{
    QCOMPARE(cli("!create k.vlm --kdf-ops 2 --kdf-mem 2 --password-stdin << abc\r").status, 0);
    const QString file = m_dir->filePath("k.vlm");
    QCOMPARE(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
    PasswordStore store;
    QVERIFY2(store.OpenFile(file, "abc"), qPrintable(store.LastError()));
    QCOMPARE(store.GetKdfParams(), (KdfParams{2, 2048}));
    const CliResult help = cli("!--help");
    QCOMPARE(help.status, 0);
    // A command's own help: its synopsis, continued under its first argument,
    // and its options; it wins over anything else on the line.
    const CliResult add = cli("!add --bogus f.vlm -h");
    QCOMPARE(add.status, 0);
    QVERIFY2(add.out.startsWith("Usage: vellumor-cli add FILE SERVICE [-u USER]") &&
                 add.out.contains("\n                        [--notes T] [--category C]") &&
                 add.out.contains("--exclude-similar") && add.out.contains("--password-stdin") &&
                 add.out.contains("SERVICE") && !add.out.contains("--tree"),
             qPrintable(add.out));
    const QString generateHelp = cli("!generate --help").out;
    QVERIFY2(generateHelp.contains("--length <N>") && !generateHelp.contains("--password-stdin"),
             qPrintable(generateHelp));
    QVERIFY(cli("!--version").out.startsWith("vellumor-cli 1."));
    for (const QString command :
         {"create", "ls", "search", "show", "add", "edit", "rm", "mv", "category", "subcategory",
          "check", "passwd", "import", "merge", "generate"}) {
        QVERIFY2(help.out.contains("\n  vellumor-cli " + command + ' '), qPrintable(command));
    }
}

// generate prints the password alone on standard output, its strength on
// standard error; add --generate stores one drawn with the same options.
void TestCli::generate()
{
    const CliResult r = cli("!generate --length 30 --no-symbols --exclude-similar");
    QCOMPARE(r.status, 0);
    QVERIFY2(QRegularExpression("^[a-km-np-zA-HJ-NP-Z2-9]{30}\n$").match(r.out).hasMatch(),
             qPrintable(r.out));
    QCOMPARE(r.err, "estimated strength: 174 bits\n");
    QCOMPARE(cli("!generate").out.size(), 21);

    QCOMPARE(cli("add f.vlm G -u me --generate --length 12 --no-digits --no-symbols").status, 0);
    const QString shown = cli("show f.vlm G --show-password").out;
    QVERIFY2(QRegularExpression("\nPassword: [a-zA-Z]{12}\n").match(shown).hasMatch(),
             qPrintable(shown));
    QCOMPARE(cli("edit f.vlm G --generate").status, 0);
    QVERIFY(cli("show f.vlm G --show-password").out != shown);
}

// Every field survives an export and an import into a new file, in both
// formats; a clear-text export is its owner's alone and replaces nothing
// unasked; a faulty source changes nothing.
void TestCli::exportAndImport()
{
    QVERIFY(cli("category f.vlm add Web").status == 0 &&
            cli("subcategory f.vlm Web add Shops").status == 0);
    QCOMPARE(cli("add f.vlm \"Shop, 'quoted'\" -u änna -p --url https://s --change-url c "
                 "--exp-url e --notes \"two\nlines\" --category Web --subcategory Shops "
                 "--expires 2031-01-02 --notify-expire 9 --change 2030-05-06 --notify-change 3 "
                 "<< pä,ss\"word")
                 .status,
             0);
    QCOMPARE(cli("add f.vlm Plain").status, 0);
    const auto everything = [this](const QString &file) {
        QString all = cli("ls " + file + " --tree").out;
        for (const QString &service : cli("ls " + file).out.split('\n', Qt::SkipEmptyParts)) {
            all += cli("show " + file + " \"" + service + "\" --show-password").out;
        }
        return all;
    };
    const QString before = everything("f.vlm");
    QVERIFY2(before.contains("Password: pä,ss\"word") && before.contains("Web (1)"),
             qPrintable(before));

    for (const QString format : {"csv", "keepass-xml"}) {
        const QString out = m_dir->filePath("out." + format);
        const CliResult exported = cli("export f.vlm --format " + format + " -o out." + format);
        QCOMPARE(exported.status, 0);
        QVERIFY(exported.err.contains("not encrypted"));
        QCOMPARE(QFile::permissions(out) &
                     ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner | QFile::WriteOwner),
                 QFile::Permissions());
        QCOMPARE(cli("export f.vlm --format " + format).out.toUtf8(), fileBytes(out));

        QFile::remove(m_dir->filePath("g.vlm"));
        QCOMPARE(cli("create g.vlm --kdf-ops 1 --kdf-mem 1").status, 0);
        const CliResult imported = cli("import g.vlm out." + format + " --format " + format);
        QCOMPARE(imported.out, "2 added, 0 renamed, 0 skipped\n");
        QCOMPARE(everything("g.vlm"), before);
        QCOMPARE(cli("import g.vlm out." + format + " --format " + format).out,
                 "0 added, 0 renamed, 2 skipped\n");
    }

    // An existing file only with --force, and then made private as well.
    QFile::setPermissions(m_dir->filePath("out.csv"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    const QByteArray kept = fileBytes(m_dir->filePath("out.csv"));
    const CliResult refused = cli("export f.vlm --format keepass-xml -o out.csv");
    QVERIFY(refused.status == 1 && refused.err.contains("--force"));
    QCOMPARE(fileBytes(m_dir->filePath("out.csv")), kept);
    QCOMPARE(cli("export f.vlm --format keepass-xml -o out.csv --force").status, 0);
    QVERIFY(fileBytes(m_dir->filePath("out.csv")).startsWith("<?xml"));
    QVERIFY(!(QFile::permissions(m_dir->filePath("out.csv")) & QFile::ReadOther));

    // A fault in the source: its line, exit 1, the file as it was.
    QFile bad(m_dir->filePath("bad.csv"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("name,url,username,password\nA,https://a,u,p\nB,https://b,\"u,p\n");
    bad.close();
    const QByteArray file = fileBytes(m_dir->filePath("f.vlm"));
    const CliResult faulty = cli("import f.vlm bad.csv --format chrome-csv");
    QCOMPARE(faulty.status, 1);
    QVERIFY2(faulty.err.contains("bad.csv: line 3: "), qPrintable(faulty.err));
    QCOMPARE(fileBytes(m_dir->filePath("f.vlm")), file);

    for (const char *line :
         {"export f.vlm", "export f.vlm --format xml", "export f.vlm --format csv --force",
          "import f.vlm bad.csv --format excel"}) {
        QCOMPARE(cli(line).status, 2);
    }
}

// Several writers on one file, as in a sync folder: in every round a store
// in this process (as the GUI holds one) changes its records in memory, up to
// eleven CLI processes at once add, edit and delete and save, and then the
// store saves: both read, then both saved. So many at once collide between
// check and rename unless the save lock holds them apart. Each record is
// deleted only by a writer that has seen its last edit, so after any
// interleaving the file holds every addition and edit and nothing deleted
// comes back.
void TestCli::writersInALoop()
{
    const QString file = m_dir->filePath("f.vlm");
    PasswordStore store;
    QVERIFY(store.OpenFile(file, "pw"));
    const auto record = [](const QString &service) {
        PasswordEntry e;
        e.service = service;
        return e;
    };
    for (int i = 0; i < 20; ++i) {
        QVERIFY(store.AddPassword(record(QString("s%1").arg(i))));
        if (i >= 1) {
            PasswordEntry e = record(QString("s%1").arg(i - 1));
            e.URL = "edited";
            QVERIFY(store.UpdatePassword(e, e.service, 0, 0));
        }
        if (i >= 2) {
            QVERIFY(store.DeletePassword(QString("a%1").arg(i - 2)));
        }
        std::vector<std::unique_ptr<QProcess>> writers;
        const auto start = [&](const QString &line) {
            QStringList args = QProcess::splitCommand(line);
            args.insert(1, "--password-stdin");
            auto &p = writers.emplace_back(std::make_unique<QProcess>());
            p->setWorkingDirectory(m_dir->path());
            p->start(VELLUMOR_CLI, args);
            // Sent now, not when the process is waited for: they run at once.
            p->write("pw\n");
            QVERIFY(p->waitForBytesWritten(10000));
            p->closeWriteChannel();
        };
        start(QString("add f.vlm a%1").arg(i));
        for (int k = 0; k < 8; ++k) {
            start(QString("add f.vlm x%1-%2").arg(i).arg(k));
        }
        if (i >= 1) {
            start(QString("edit f.vlm a%1 --notes edited").arg(i - 1));
        }
        if (i >= 2) {
            start(QString("rm f.vlm s%1").arg(i - 2));
        }
        for (const auto &p : writers) {
            QVERIFY(p->waitForFinished(60000));
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                     p->readAllStandardError().constData());
        }
        QVERIFY2(store.SaveFile(QString(), false, false), qPrintable(store.LastError()));
        const DiskMergeResult &merged = store.LastDiskMerge();
        QVERIFY(merged.merged && merged.added == 9 && merged.changed == (i >= 1) &&
                merged.deleted == (i >= 2) && merged.conflicts + merged.kept == 0);

        PasswordStore after;
        QVERIFY(after.OpenFile(file, "pw"));
        QStringList found;
        for (const PasswordEntry &e : after.Passwords()) {
            found << e.service + '|' + e.Notes + e.URL;
        }
        QStringList expected{QString("a%1|").arg(i), QString("s%1|").arg(i)};
        for (int j = 0; j <= i; ++j) {
            for (int k = 0; k < 8; ++k) {
                expected << QString("x%1-%2|").arg(j).arg(k);
            }
        }
        if (i >= 1) {
            expected << QString("a%1|edited").arg(i - 1) << QString("s%1|edited").arg(i - 1);
        }
        expected.sort();
        QCOMPARE(found, expected);
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
