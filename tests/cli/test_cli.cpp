#include "CliRunner.h"
#include "PasswordStore.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

namespace {

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

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
    void recordRoundTrip();
    void passwordIsShownOnlyWhenAsked();
    void editChangesOnlyWhatIsGiven();
    void moveAndDelete();
    void categoriesAndSubcategories();
    void usageErrors_data();
    void usageErrors();
    void failuresLeaveTheFileAlone_data();
    void failuresLeaveTheFileAlone();
    void createRules();
    void passwd();
    void importAndMerge();
    void checkListsWhatIsDue();
    void optionsAnywhereAndDoubleDash();
    void helpAndVersion();

private:
    // vellumor-cli with --password-stdin, the file password first on stdin.
    CliResult cli(const QStringList &args, const QByteArray &more = {},
                  const QByteArray &password = "pw")
    {
        QByteArray input = password.isNull() ? QByteArray() : password + '\n';
        return runCli(m_dir->path(), QStringList(args) << QStringLiteral("--password-stdin"),
                      input + more);
    }
    CliResult cli(const char *args, const QByteArray &more = {}) { return cli(words(args), more); }
    QString path(const char *name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    // A store opened on a file of the test folder, to check what the tool wrote.
    std::unique_ptr<PasswordStore> load(const char *name, const QString &pw = QStringLiteral("pw"))
    {
        auto store = std::make_unique<PasswordStore>();
        if (!store->OpenFile(path(name), pw)) {
            qWarning("%s", qPrintable(store->LastError()));
            return nullptr;
        }
        return store;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const CliResult r = runCli(m_dir->path(),
                               words("create f.vlm --kdf-ops 1 --kdf-mem 1 "
                                     "--password-stdin"),
                               "pw\n");
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
}

void TestCli::recordRoundTrip()
{
    QCOMPARE(cli("category f.vlm add Web").status, 0);
    QCOMPARE(cli("subcategory f.vlm Web add Shops").status, 0);
    const QStringList add = {QStringLiteral("add"),
                             QStringLiteral("f.vlm"),
                             QStringLiteral("Amazon Shop"),
                             QStringLiteral("-u"),
                             QStringLiteral("anna@example.org"),
                             QStringLiteral("-p"),
                             QStringLiteral("--url"),
                             QStringLiteral("https://amazon.example"),
                             QStringLiteral("--notes"),
                             QStringLiteral("line one\nline two"),
                             QStringLiteral("--category"),
                             QStringLiteral("web"),
                             QStringLiteral("--subcategory=SHOPS"),
                             QStringLiteral("--expires"),
                             QStringLiteral("2030-02-28"),
                             QStringLiteral("--notify-expire"),
                             QStringLiteral("14")};
    const CliResult r = cli(add, "s3cr\xc3\xa9t\n");
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QVERIFY(QFile::exists(path("f.vlm.bak")));

    const auto store = load("f.vlm");
    QVERIFY(store);
    const PasswordEntry *e = store->Passwords().Item(QStringLiteral("amazon shop"));
    QVERIFY(e != nullptr);
    QCOMPARE(e->service, QStringLiteral("Amazon Shop"));
    QCOMPARE(e->UserName, QStringLiteral("anna@example.org"));
    QCOMPARE(e->Password, QStringLiteral("s3cr\u00e9t"));
    QCOMPARE(e->Notes, QStringLiteral("line one\nline two"));
    QCOMPARE(store->CategoryName(e->codcat), QStringLiteral("Web"));
    QCOMPARE(store->SubCategoryName(e->CodSCat), QStringLiteral("Shops"));
    QVERIFY(e->blExpire && e->blNotExpire && !e->blChange && !e->blNotChange);
    QCOMPARE(e->Dt_Expire, QDate(2030, 2, 28));
    QCOMPARE(e->ggNotExpire, qint16(14));
    QVERIFY(e->Dt_Insert.isValid() && e->Dt_Insert == e->Dt_Modify);

    const CliResult ls = cli("ls f.vlm");
    QCOMPARE(ls.out, QStringLiteral("Amazon Shop\n"));
    const CliResult tree = cli("ls f.vlm --tree");
    QCOMPARE(tree.out, QStringLiteral("Web (1)\n  Shops (1)\n    Amazon Shop\n"));
    // Notes stay on one line so that scripts can read field by field.
    const CliResult show =
        runCli(m_dir->path(),
               {QStringLiteral("show"), QStringLiteral("f.vlm"), QStringLiteral("AMAZON SHOP"),
                QStringLiteral("--password-stdin")},
               "pw\n");
    QCOMPARE(show.status, 0);
    QVERIFY(show.out.contains(QStringLiteral("Notes: line one\\nline two\n")));
    QVERIFY(show.out.contains(QStringLiteral("Subcategory: Shops\n")));
    QVERIFY(show.out.contains(QStringLiteral("Expires: 2030-02-28\n")));
    QVERIFY(show.out.contains(QStringLiteral("Expiration notice: 14 days\n")));
    QVERIFY(show.out.contains(QStringLiteral("Change by: never\n")));
}

void TestCli::passwordIsShownOnlyWhenAsked()
{
    QCOMPARE(cli("add f.vlm Mail -p", "hunter2\n").status, 0);
    const CliResult hidden = cli("show f.vlm Mail");
    QCOMPARE(hidden.status, 0);
    QVERIFY(!hidden.out.contains(QStringLiteral("hunter2")));
    QVERIFY(hidden.out.contains(QStringLiteral("Password: ********\n")));
    const CliResult shown = cli("show f.vlm Mail --show-password");
    QVERIFY(shown.out.contains(QStringLiteral("Password: hunter2\n")));
    // The file password never appears in what the tool prints, not even in errors.
    for (const char *args : {"ls f.vlm", "show f.vlm Nothing", "check f.vlm", "rm f.vlm x"}) {
        const CliResult r = cli(words(args), {}, "pw");
        QVERIFY(!(r.out + r.err).contains(QStringLiteral("pw\n")));
        QVERIFY(!(r.out + r.err).contains(QStringLiteral("hunter2")));
    }
}

void TestCli::editChangesOnlyWhatIsGiven()
{
    QCOMPARE(cli("add f.vlm Bank -u bob --url https://bank --expires 2030-01-01 "
                 "--change 2029-06-01 --notify-change 5")
                 .status,
             0);
    const auto before = load("f.vlm");
    QVERIFY(before);
    const PasswordEntry original = *before->Passwords().Item(QStringLiteral("Bank"));

    QCOMPARE(cli("edit f.vlm bank -u robert --expires never --rename Savings").status, 0);
    const auto after = load("f.vlm");
    QVERIFY(after);
    QVERIFY(after->Passwords().Item(QStringLiteral("Bank")) == nullptr);
    const PasswordEntry *e = after->Passwords().Item(QStringLiteral("Savings"));
    QVERIFY(e != nullptr);
    QCOMPARE(e->UserName, QStringLiteral("robert"));
    QCOMPARE(e->URL, original.URL);
    QVERIFY(!e->blExpire && !e->Dt_Expire.isValid());
    QVERIFY(e->blChange && e->blNotChange);
    QCOMPARE(e->Dt_Change, QDate(2029, 6, 1));
    QCOMPARE(e->ggNotChange, qint16(5));
    QCOMPARE(e->Dt_Insert, original.Dt_Insert);
    QVERIFY(e->Dt_Modify >= original.Dt_Modify);

    // An edit that changes nothing does not rewrite the file.
    const QByteArray bytes = fileBytes(path("f.vlm"));
    QCOMPARE(cli("edit f.vlm Savings -u robert").status, 0);
    QCOMPARE(fileBytes(path("f.vlm")), bytes);

    // Renaming onto another record is refused.
    QCOMPARE(cli("add f.vlm Other").status, 0);
    const CliResult clash = cli("edit f.vlm Savings --rename OTHER");
    QCOMPARE(clash.status, 1);
    QVERIFY(clash.err.startsWith(QStringLiteral("vellumor-cli: ")));
}

void TestCli::moveAndDelete()
{
    QCOMPARE(cli("category f.vlm add Web").status, 0);
    QCOMPARE(cli("subcategory f.vlm Web add Shops").status, 0);
    QCOMPARE(cli("add f.vlm A").status, 0);
    QCOMPARE(cli("add f.vlm B").status, 0);
    QCOMPARE(cli("mv f.vlm a --category Web --subcategory Shops").status, 0);
    {
        const auto s = load("f.vlm");
        QVERIFY(s);
        QCOMPARE(s->CountSubCategoryPasswords(s->Categories().Item(QStringLiteral("Web"))->codcat,
                                              QStringLiteral("Shops")),
                 1);
    }
    // mv without --category takes the record out of every category.
    QCOMPARE(cli("mv f.vlm A").status, 0);
    QCOMPARE(cli("rm f.vlm b").status, 0);
    const auto s = load("f.vlm");
    QVERIFY(s);
    QCOMPARE(s->Passwords().Count(), 1);
    QCOMPARE(s->CountCategoryPasswords(QString()), 1);
    QCOMPARE(cli("rm f.vlm b").status, 1);
    QCOMPARE(cli("mv f.vlm A --category Nowhere").status, 1);
}

void TestCli::categoriesAndSubcategories()
{
    for (const char *step :
         {"category f.vlm add Web", "category f.vlm add Mail", "subcategory f.vlm Web add Shops",
          "subcategory f.vlm Web add News", "add f.vlm A --category Web --subcategory Shops",
          "add f.vlm B --category Web --subcategory News", "add f.vlm C --category Mail",
          "category f.vlm rename mail Post", "subcategory f.vlm Web rename news Papers",
          "subcategory f.vlm Web move Papers Post"}) {
        const CliResult r = cli(step);
        QVERIFY2(r.status == 0,
                 qPrintable(QString::fromLatin1(step) + QLatin1String(": ") + r.err));
    }
    QCOMPARE(cli("ls f.vlm --tree").out,
             QStringLiteral("Post (2)\n  Papers (1)\n    B\n  No SubCategory (1)\n    C\n"
                            "Web (1)\n  Shops (1)\n    A\n"));
    // rm --keep keeps the records, without it they go with the category.
    QCOMPARE(cli("subcategory f.vlm Web rm Shops --keep").status, 0);
    QCOMPARE(cli("category f.vlm rm Post").status, 0);
    QCOMPARE(cli("ls f.vlm --tree").out, QStringLiteral("Web (1)\n  No SubCategory (1)\n    A\n"));
    QCOMPARE(cli("category f.vlm rm Web --keep").status, 0);
    QCOMPARE(cli("ls f.vlm --tree").out, QStringLiteral("No Category (1)\n  A\n"));

    // Clashes and unknown names fail with the reason.
    QCOMPARE(cli("category f.vlm add X").status, 0);
    const CliResult twice = cli("category f.vlm add x");
    QCOMPARE(twice.status, 1);
    QVERIFY(twice.err.startsWith(QStringLiteral("vellumor-cli: ")));
    QCOMPARE(cli("subcategory f.vlm Nope add S").status, 1);
    QCOMPARE(cli("subcategory f.vlm X rm Nope").status, 1);
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << ""
                                << "no command given";
    QTest::newRow("unknown command") << "frobnicate f.vlm"
                                     << "unknown command 'frobnicate'";
    QTest::newRow("unknown option") << "ls f.vlm --all"
                                    << "unknown option '--all'";
    QTest::newRow("option of another command") << "ls f.vlm --show-password"
                                               << "has no option";
    QTest::newRow("missing service") << "show f.vlm"
                                     << "too few arguments";
    QTest::newRow("extra argument") << "rm f.vlm a b"
                                    << "too many arguments";
    QTest::newRow("value missing") << "add f.vlm a -u"
                                   << "needs a value";
    QTest::newRow("option twice") << "add f.vlm a -u x -u y"
                                  << "given twice";
    QTest::newRow("bad date") << "add f.vlm a --expires 2030-2-3"
                              << "is not a date";
    QTest::newRow("impossible date") << "add f.vlm a --expires 2030-02-30"
                                     << "is not a date";
    QTest::newRow("negative days") << "add f.vlm a --notify-expire -3"
                                   << "is not a number";
    QTest::newRow("too many days") << "add f.vlm a --notify-change 40000"
                                   << "is not a number";
    QTest::newRow("subcategory alone") << "add f.vlm a --subcategory S"
                                       << "needs --category";
    QTest::newRow("unknown action") << "category f.vlm drop X"
                                    << "unknown action";
    QTest::newRow("rename without new") << "category f.vlm rename X"
                                        << "needs a second name";
    QTest::newRow("keep on add") << "category f.vlm add X --keep"
                                 << "--keep belongs to rm";
    QTest::newRow("kdf on no password") << "create g.vlm --no-password --kdf-ops 2"
                                        << "no key derivation";
    QTest::newRow("kdf zero") << "create g.vlm --kdf-ops 0"
                              << "at least 1";
}

void TestCli::usageErrors()
{
    QFETCH(QString, args);
    QFETCH(QString, message);
    const QByteArray before = fileBytes(path("f.vlm"));
    const CliResult r = cli(args.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.startsWith(QStringLiteral("vellumor-cli: ")), qPrintable(r.err));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("usage: vellumor-cli ")) ||
            r.err.contains(QStringLiteral("--help")));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(fileBytes(path("f.vlm")), before);
    QVERIFY(!QFile::exists(path("g.vlm")));
}

void TestCli::failuresLeaveTheFileAlone_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password")
        << words("add f.vlm X --password-stdin") << QByteArray("PW\n") << "Wrong password";
    QTest::newRow("no password line")
        << words("add f.vlm X --password-stdin") << QByteArray() << "Standard input ended";
    QTest::newRow("no record password line")
        << words("add f.vlm X -p --password-stdin") << QByteArray("pw\n") << "Standard input ended";
    QTest::newRow("missing file") << words("ls nothing.vlm --password-stdin") << QByteArray("pw\n")
                                  << "does not exist";
    QTest::newRow("existing service")
        << words("add f.vlm Kept --password-stdin") << QByteArray("pw\n") << "Kept";
    QTest::newRow("unknown category") << words("add f.vlm Y --category Web --password-stdin")
                                      << QByteArray("pw\n") << "There is no category \"Web\"";
    QTest::newRow("create over a file")
        << words("create f.vlm --password-stdin") << QByteArray("new\n") << "already exists";
    QTest::newRow("overlong password line")
        << words("ls f.vlm --password-stdin") << QByteArray(5000, 'a') + '\n'
        << "longer than";
}

void TestCli::failuresLeaveTheFileAlone()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    QCOMPARE(cli("add f.vlm Kept").status, 0);
    const QByteArray before = fileBytes(path("f.vlm"));
    const CliResult r = runCli(m_dir->path(), args, input);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("vellumor-cli: ")), qPrintable(r.err));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!r.err.contains(QStringLiteral("usage:")));
    QCOMPARE(fileBytes(path("f.vlm")), before);
}

void TestCli::createRules()
{
    // An empty password is refused; --no-password is the explicit way.
    const CliResult empty = runCli(m_dir->path(), words("create e.vlm --password-stdin"), "\n");
    QCOMPARE(empty.status, 1);
    QVERIFY(empty.err.contains(QStringLiteral("--no-password")));
    QVERIFY(!QFile::exists(path("e.vlm")));

    const CliResult open = runCli(m_dir->path(), words("create o.vlm --no-password"));
    QCOMPARE(open.status, 0);
    // A file without password is opened without reading a line.
    QCOMPARE(runCli(m_dir->path(), words("add o.vlm Free")).status, 0);
    QCOMPARE(runCli(m_dir->path(), words("ls o.vlm")).out, QStringLiteral("Free\n"));

    // The cost given is the one in the file; "\r\n" from a Windows file is one line end.
    QCOMPARE(runCli(m_dir->path(), words("create k.vlm --kdf-ops 2 --kdf-mem 2 --password-stdin"),
                    "abc\r\n")
                 .status,
             0);
    QFile::Permissions perms = QFile::permissions(path("k.vlm"));
    QCOMPARE(perms & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
    PasswordStore store;
    QVERIFY2(store.OpenFile(path("k.vlm"), QStringLiteral("abc")), qPrintable(store.LastError()));
    QCOMPARE(store.GetKdfParams(), (KdfParams{2, 2048}));
}

void TestCli::passwd()
{
    QCOMPARE(cli("add f.vlm Kept").status, 0);
    QCOMPARE(cli(words("passwd f.vlm"), "n3w\n").status, 0);
    QCOMPARE(cli("ls f.vlm").status, 1);
    QVERIFY(load("f.vlm", QStringLiteral("n3w")));
    // An empty new password removes protection.
    QCOMPARE(cli(words("passwd f.vlm"), "\n", "n3w").status, 0);
    PasswordStore store;
    QVERIFY(store.HasNoPassword(path("f.vlm")));
    QCOMPARE(runCli(m_dir->path(), words("ls f.vlm")).out, QStringLiteral("Kept\n"));
}

void TestCli::importAndMerge()
{
    QVERIFY(runCli(m_dir->path(), words("create o.vlm --kdf-ops 1 --kdf-mem 1 --password-stdin"),
                   "other\n")
                .status == 0);
    const auto other = [this](const char *args) {
        return runCli(m_dir->path(), words(args) << QStringLiteral("--password-stdin"), "other\n");
    };
    QCOMPARE(other("category o.vlm add Web").status, 0);
    QCOMPARE(other("subcategory o.vlm Web add Shops").status, 0);
    QCOMPARE(other("add o.vlm Shop --category Web --subcategory Shops -u x").status, 0);
    QCOMPARE(other("add o.vlm Same").status, 0);
    QCOMPARE(cli("add f.vlm Same").status, 0);
    QCOMPARE(cli("add f.vlm Shop -u y").status, 0);

    // Wrong second password: nothing changes.
    const QByteArray before = fileBytes(path("f.vlm"));
    QCOMPARE(cli(words("import f.vlm o.vlm"), "wrong\n").status, 1);
    QCOMPARE(fileBytes(path("f.vlm")), before);

    QCOMPARE(cli(words("import f.vlm o.vlm"), "other\n").status, 0);
    QCOMPARE(cli("ls f.vlm --tree").out,
             QStringLiteral("Web (0)\n  Shops (0)\nNo Category (2)\n  Same\n  Shop\n"));

    // Records whose service exists with other content come in renamed; a
    // second merge finds them all and adds nothing.
    QCOMPARE(other("add o.vlm Only").status, 0);
    const CliResult merged = cli(words("merge f.vlm o.vlm"), "other\n");
    QCOMPARE(merged.status, 0);
    QCOMPARE(merged.out, QStringLiteral("1 added, 2 renamed, 0 skipped\n"));
    QCOMPARE(cli("ls f.vlm").out, QStringLiteral("Only\nSame\nSame (2)\nShop\nShop (2)\n"));
    const CliResult again = cli(words("merge f.vlm o.vlm"), "other\n");
    QCOMPARE(again.out, QStringLiteral("0 added, 0 renamed, 3 skipped\n"));
    QCOMPARE(cli("ls f.vlm").out, QStringLiteral("Only\nSame\nSame (2)\nShop\nShop (2)\n"));
}

void TestCli::checkListsWhatIsDue()
{
    const QDate today = QDate::currentDate();
    const auto iso = [&](int days) { return today.addDays(days).toString(Qt::ISODate); };
    QCOMPARE(cli(words("add f.vlm Late --expires") << iso(-3)).status, 0);
    QCOMPARE(cli(words("add f.vlm Soon --notify-expire 10 --expires") << iso(4)).status, 0);
    QCOMPARE(cli(words("add f.vlm Far --notify-expire 10 --expires") << iso(40)).status, 0);
    QCOMPARE(cli(words("add f.vlm Rotate --notify-change 7 --change") << iso(2)).status, 0);
    const CliResult r = cli("check f.vlm");
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).startsWith(QStringLiteral("Late\t") + iso(-3) +
                                   QStringLiteral("\tExpired from ")));
    QCOMPARE(lines.at(1),
             QStringLiteral("Rotate\t") + iso(2) + QStringLiteral("\t2 days to changing"));
    QCOMPARE(lines.at(2),
             QStringLiteral("Soon\t") + iso(4) + QStringLiteral("\t4 days to expiration"));

    // Nothing due is no failure.
    QCOMPARE(cli("rm f.vlm Late").status, 0);
    QCOMPARE(cli("rm f.vlm Soon").status, 0);
    QCOMPARE(cli("rm f.vlm Rotate").status, 0);
    const CliResult none = cli("check f.vlm");
    QCOMPARE(none.status, 0);
    QVERIFY(none.out.isEmpty());
}

void TestCli::optionsAnywhereAndDoubleDash()
{
    // Options before the file, "=" values, and a service that looks like an option.
    const QString dir = m_dir->path();
    QCOMPARE(
        runCli(dir, words("add --password-stdin --url=https://x f.vlm -- -dash-"), "pw\n").status,
        0);
    const CliResult r = runCli(dir, words("show f.vlm --password-stdin -- -dash-"), "pw\n");
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.startsWith(QStringLiteral("Service: -dash-\n")));
    QVERIFY(r.out.contains(QStringLiteral("URL: https://x\n")));
    // A value that looks like an option is given with "=".
    QCOMPARE(runCli(dir, words("edit f.vlm -u=--odd --password-stdin -- -dash-"), "pw\n").status,
             0);
    QVERIFY(
        cli(words("show f.vlm -dash-")).err.contains(QStringLiteral("unknown option '-dash-'")));
    QVERIFY(runCli(dir, words("show f.vlm --password-stdin -- -dash-"), "pw\n")
                .out.contains(QStringLiteral("User name: --odd\n")));
}

void TestCli::helpAndVersion()
{
    const CliResult help = runCli(m_dir->path(), words("--help"));
    QCOMPARE(help.status, 0);
    for (const char *command : {"create", "ls", "show", "add", "edit", "rm", "mv", "category",
                                "subcategory", "check", "passwd", "import", "merge"}) {
        QVERIFY2(help.out.contains(QStringLiteral("vellumor-cli ") + QLatin1String(command) +
                                   QLatin1Char(' ')),
                 command);
    }
    QCOMPARE(runCli(m_dir->path(), words("ls f.vlm -h")).status, 0);
    const CliResult version = runCli(m_dir->path(), words("--version"));
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith(QStringLiteral("vellumor-cli 1.")));
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
