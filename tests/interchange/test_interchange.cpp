// The interchange library on inline files: the CSV reader, each import format
// field by field, faulty files, and round trips of store records.

#include "Csv.h"
#include "Interchange.h"
#include "PasswordStore.h"
#include "RecordText.h"

#include <QTest>
#include <QTimeZone>

using namespace interchange;

namespace {

std::unique_ptr<PasswordStore> newStore()
{
    auto store = std::make_unique<PasswordStore>();
    store->SetKdfParams(KdfParams::Minimum());
    store->NewFile();
    return store;
}

const QByteArray KeePassXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<KeePassFile>
 <Meta><RecycleBinUUID>cmVjeWNsZWJpbmdyb3VwMQ==</RecycleBinUUID></Meta>
 <Root><Group><UUID>cm9vdGdyb3VwMDAwMDAwMA==</UUID><Name>Passwords</Name>
  <Entry><Times><CreationTime>pSzp4A4AAAA=</CreationTime><Expires>False</Expires>
   <ExpiryTime>2030-01-01T00:00:00Z</ExpiryTime></Times>
   <String><Key>Title</Key><Value>Top &amp; "1"</Value></String>
   <String><Key>Password</Key><Value ProtectInMemory="True">p&lt;w</Value></String>
  </Entry>
  <Group><UUID>d2ViZ3JvdXAwMDAwMDAwMA==</UUID><Name>Web</Name>
   <Entry>
    <String><Value>Ünï</Value><Key>Title</Key></String>
    <String><Key>UserName</Key><Value>me</Value></String>
    <String><Key>URL</Key><Value>https://u.example</Value></String>
    <String><Key>Notes</Key><Value>a
b</Value></String>
    <String><Key>Change URL</Key><Value>https://c.example</Value></String>
    <String><Key>Change notice days</Key><Value>7</Value></String>
    <String><Key>otp</Key><Value>ignored</Value></String>
    <Times><LastModificationTime>2026-02-03T04:05:06Z</LastModificationTime>
     <Expires>True</Expires><ExpiryTime>2027-06-15T12:00:00Z</ExpiryTime></Times>
    <History><Entry><String><Key>Title</Key><Value>old</Value></String></Entry></History>
   </Entry>
   <Group><Name>Mail</Name><Group><Name>Old</Name>
    <Entry><String><Key>Title</Key><Value>deep</Value></String></Entry>
   </Group></Group>
  </Group>
  <Group><UUID>cmVjeWNsZWJpbmdyb3VwMQ==</UUID><Name>Trash</Name>
   <Entry><String><Key>Title</Key><Value>deleted</Value></String></Entry>
  </Group>
 </Group></Root>
</KeePassFile>
)";

const char *const VellumorHeader =
    "Category,Subcategory,Service,User name,Password,URL,Notes,Change URL,Expiry URL,Created,"
    "Modified,Expiry date,Expires,Expiry notice,Expiry notice days,Change date,Change due,"
    "Change notice,Change notice days\r\n";

// Records with every odd value a file must carry.
void fillStore(PasswordStore &s)
{
    QVERIFY(s.AddCategory("Web") && s.AddCategory("Ünïcödé ✓") && s.AddCategory("Money"));
    QVERIFY(s.AddSubCategory(1, "Shops, \"best\"") && s.AddSubCategory(3, "Bank / Cards"));
    PasswordEntry full{"Shop, \"one\"",
                       1,
                       1,
                       "  spaced  ",
                       " ,\"'<>&\t𝄞",
                       "l1\nl2\r\nl3\n",
                       "https://s.example/?a=1&b=2",
                       "https://s.example/change",
                       "https://s.example/expire",
                       QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 678)),
                       QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)),
                       QDate(2027, 2, 28),
                       QDate(2026, 12, 31),
                       true,
                       false,
                       true,
                       true,
                       -3,
                       32767};
    QVERIFY(s.AddPassword(full));
    PasswordEntry expiring = full;
    expiring.service = "Ünï ✓ expiring";
    expiring.codcat = 2;
    expiring.CodSCat = 0;
    expiring.blExpire = true;
    expiring.blChange = false;
    QVERIFY(s.AddPassword(expiring));
    PasswordEntry bare;
    bare.service = "bare";
    QVERIFY(s.AddPassword(bare));
    bare.service = "deep";
    bare.codcat = 3;
    bare.CodSCat = 2;
    QVERIFY(s.AddPassword(bare));
}

} // namespace

class TestInterchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void csvReader_data();
    void csvReader();
    void imports_data();
    void imports();
    void roundTrips_data();
    void roundTrips();
};

void TestInterchange::csvReader_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("rows"); // "line:field|field"
    QTest::addColumn<QString>("error");
    const auto ok = [](const char *name, const QByteArray &in, const QStringList &rows) {
        QTest::newRow(name) << in << rows << QString();
    };
    const auto bad = [](const char *name, const QByteArray &in, const char *error) {
        QTest::newRow(name) << in << QStringList() << QString(error);
    };
    ok("LF rows", "a,b\n1,2\n", {"1:a|b", "2:1|2"});
    ok("CRLF rows, no final break", "a,b\r\n1,2", {"1:a|b", "2:1|2"});
    ok("CR rows", "a\rb\r", {"1:a", "2:b"});
    ok("byte order mark dropped", "\xEF\xBB\xBFname,x\r\n", {"1:name|x"});
    ok("quotes and doubled quotes", "a,b\n\"x,\"\"y\"\"\",\"\"\n", {"1:a|b", "2:x,\"y\"|"});
    ok("breaks inside quotes kept and counted", "a,b\n\"l1\r\nl2\nl3\",z\n1,2\n",
       {"1:a|b", "2:l1\r\nl2\nl3|z", "5:1|2"});
    ok("empty fields, blank lines skipped", "a,b,c\n\n,,\n\r\n", {"1:a|b|c", "3:||"});
    ok("quote inside an unquoted field", "a,b\nx\"y,z\n", {"1:a|b", "2:x\"y|z"});
    bad("unclosed quote", "a,b\n1,2\n\"open,\nmore\n", "line 3: a quoted field is not closed");
    bad("text after a closing quote", "a\n\"x\"y\n",
        "line 2: text follows the closing quote of a field");
    bad("ragged row after a multi-line field", "a,b\n\"m\nn\",2\n1,2,3\n",
        "line 4: 3 fields where the header has 2");
    bad("short row", "a,b\nonly\n", "line 2: 1 fields where the header has 2");
    bad("blank lines only", "\r\n\r\n", "the file is empty");
    bad("not UTF-8", "a\xff\n", "the file is not UTF-8 text");
}

void TestInterchange::csvReader()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, rows);
    QFETCH(QString, error);
    std::vector<CsvRow> read;
    ImportError fault;
    QCOMPARE(CsvReader::read(input, read, fault), error.isEmpty());
    QCOMPARE(fault.message, error);
    QStringList texts;
    for (const CsvRow &row : read) {
        texts << QString::number(row.line) + ':' + row.fields.join('|');
    }
    QCOMPARE(texts, rows);
}

void TestInterchange::imports_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("error");
    const auto ok = [](const char *name, const char *format, const QByteArray &in,
                       const QStringList &records, int skipped = 0) {
        QTest::newRow(name) << format << in << records << skipped << QString();
    };
    const auto bad = [](const char *name, const char *format, const QByteArray &in,
                        const char *error) {
        QTest::newRow(name) << format << in << QStringList() << 0 << QString(error);
    };
    const QByteArray keepassxcHeader =
        "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\","
        "\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\",\"Created\"\n";
    ok("keepassxc-csv", "keepassxc-csv",
       keepassxcHeader +
           "\"Root\",\"Top\",\"u0\",\"p0\",\"\",\"\",\"\",\"0\","
           "\"2026-02-02T03:04:05Z\",\"2026-01-02T03:04:05Z\"\n"
           "\"Root/Web\",\"Shop, \"\"best\"\"\",\"u1\",\"p1\",\"https://s.example\","
           "\"two\nlines\",\"otpauth://x\",\"0\",\"\",\"\"\n"
           "\"Root/Web/Mail/Old\",\"Deep\",\"\",\"\",\"\",\"\",\"\",\"0\",\"\",\"\"\n",
       {"/ Service=Top;User name=u0;Password=p0;Created=2026-01-02T03:04:05Z;"
        "Modified=2026-02-02T03:04:05Z",
        "Web/ Service=Shop, \"best\";User name=u1;Password=p1;URL=https://s.example;"
        "Notes=two\nlines",
        "Web/Mail / Old Service=Deep"});
    ok("bitwarden-csv, columns in any order, other items counted", "bitwarden-csv",
       "id,type,name,login_password,login_username,login_uri,notes,folder,fields\n"
       "1,login,Visa,secret,me,https://bank.example,note,Bank/Cards/Old,\"pin: 1\nq: a\"\n"
       "2,note,Secure note,,,,text,,\n"
       "3,card,My card,,,,,,\n"
       "4,login,Mail,\"p,w\",m@x,https://mail.example,,Mail,\n"
       "5,login,Loose,,,,,,\n",
       {"Bank/Cards / Old Service=Visa;User name=me;Password=secret;URL=https://bank.example;"
        "Notes=note\n\npin: 1\nq: a",
        "Mail/ Service=Mail;User name=m@x;Password=p,w;URL=https://mail.example",
        "/ Service=Loose"},
       2);
    ok("chrome-csv from Chromium", "chrome-csv",
       "name,url,username,password,note\r\n"
       "example.com,https://example.com/login,al,pw1,hi\r\n",
       {"/ Service=example.com;User name=al;Password=pw1;URL=https://example.com/login;Notes=hi"});
    ok("chrome-csv from Firefox", "chrome-csv",
       "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\","
       "\"timeCreated\",\"timeLastUsed\",\"timePasswordChanged\"\n"
       "\"https://www.mozilla.org:8443/path\",\"fx\",\"pw2\",,\"https://www.mozilla.org\","
       "\"{0b1}\",\"1700000000123\",\"1700000000999\",\"1700000500000\"\n",
       {"/ Service=www.mozilla.org;User name=fx;Password=pw2;"
        "URL=https://www.mozilla.org:8443/path;Created=2023-11-14T22:13:20.123Z;"
        "Modified=2023-11-14T22:21:40Z"});
    ok("csv, every field", "csv",
       QByteArray(VellumorHeader) +
           "Web,Shops,S,u,p,url,n,c,e,2026-01-02T03:04:05+02:00,2026-01-03T00:00:00.5Z,"
           "2027-01-31,yes,true,10,2026-12-31,no,1,-5\n",
       {"Web/Shops Service=S;User name=u;Password=p;URL=url;Notes=n;Change URL=c;Expiry URL=e;"
        "Created=2026-01-02T01:04:05Z;Modified=2026-01-03T00:00:00.500Z;Expiry date=2027-01-31;"
        "Expires=yes;Expiry notice=yes;Expiry notice days=10;Change date=2026-12-31;"
        "Change notice=yes;Change notice days=-5"});
    // The recycle bin, found by its UUID, and history stay out; deep groups
    // join the subcategory; Expires off leaves the expiry time unused.
    ok("keepass-xml", "keepass-xml", KeePassXml,
       {"/ Service=Top & \"1\";Password=p<w;Created=2026-01-02T03:04:05Z",
        "Web/ Service=Ünï;User name=me;URL=https://u.example;Notes=a\nb;"
        "Change URL=https://c.example;Modified=2026-02-03T04:05:06Z;Expiry date=" +
            QDateTime(QDate(2027, 6, 15), QTime(12, 0), QTimeZone::utc())
                .toLocalTime()
                .date()
                .toString(Qt::ISODate) +
            ";Expires=yes;Change notice days=7",
        "Web/Mail / Old Service=deep"});
    bad("empty file", "keepassxc-csv", "", "the file is empty");
    bad("blank file", "keepass-xml", " \r\n", "the file is empty");
    bad("unclosed quote", "chrome-csv", "name,url,username,password\na,b,c,d\n\"e,f,g,h\n",
        "line 3: a quoted field is not closed");
    bad("missing column", "bitwarden-csv", "folder,type,name,notes,login_uri,login_username\n",
        "line 1: no column \"login_password\"");
    bad("missing column of ours", "csv", "Category,Subcategory,Service\n",
        "line 1: no column \"User name\"");
    bad("bad value of ours", "csv",
        QByteArray(VellumorHeader) + ",,a,,,,,,,,,,,,,,,,\n,,b,,,,,,,,,31.01.2027,,,,,,,\n",
        "line 3: \"Expiry date\" must be a date such as 2027-01-31");
    bad("bad Firefox time", "chrome-csv", "url,username,password,timeCreated\nhttps://a,b,c,x\n",
        "line 2: \"timeCreated\" is not a number of milliseconds");
    bad("truncated XML", "keepass-xml", KeePassXml.left(KeePassXml.indexOf("<Group><Name>Mail")),
        "line 24: the XML ends early");
    bad("XML of something else", "keepass-xml", "<?xml version=\"1.0\"?>\n<html/>\n",
        "line 2: this is not a KeePass XML file");
    bad("broken XML", "keepass-xml", "<KeePassFile>\n<Root></Meta>\n",
        "line 2: the XML is not well-formed (Opening and ending tag mismatch.)");
    bad("encrypted value", "keepass-xml",
        "<KeePassFile><Root><Group>\n<Entry><String><Key>Password</Key>\n"
        "<Value Protected=\"True\">c2VjcmV0</Value></String></Entry></Group></Root></KeePassFile>",
        "line 3: the value is encrypted; export the file again as plain XML");
    bad("bad value of ours in XML", "keepass-xml",
        "<KeePassFile><Root><Group><Entry>\n<String><Key>Expiry notice</Key><Value>maybe</Value>"
        "</String>\n</Entry></Group></Root></KeePassFile>",
        "line 2: \"Expiry notice\" must be yes or no");
}

void TestInterchange::imports()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, records);
    QFETCH(int, skipped);
    QFETCH(QString, error);
    const std::optional<ImportFormat> f = importFormat(format.toUpper());
    QVERIFY(f.has_value());
    const ImportResult result = readRecords(*f, input);
    QCOMPARE(result.error ? result.error->message : QString(), error);
    QCOMPARE(result.error ? result.error->line : 0, error.section(':', 0, 0).mid(5).toInt());
    QCOMPARE(recordTexts(result.records), records);
    QCOMPARE(result.skipped, skipped);
}

void TestInterchange::roundTrips_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("csv") << "csv";
    QTest::newRow("keepass-xml") << "keepass-xml";
}

// Store -> file -> records -> another store: every field and folder arrives.
void TestInterchange::roundTrips()
{
    QFETCH(QString, format);
    auto store = newStore();
    fillStore(*store);
    const std::vector<NamedRecord> records = storeRecords(*store);
    QCOMPARE(records.size(), 4u);
    QCOMPARE(records.front().entry.service, "bare"); // by service, codes cleared
    QCOMPARE(records[2].subcategory, "Shops, \"best\"");

    const QByteArray bytes = writeRecords(*exportFormat(format), records);
    QCOMPARE(writeRecords(*exportFormat(format), records), bytes); // the same every time
    const ImportResult back = readRecords(*importFormat(format), bytes);
    QVERIFY2(!back.error, qPrintable(back.error ? back.error->message : QString()));
    QCOMPARE(recordTexts(back.records), recordTexts(records));
    QVERIFY(back.records == records);

    auto other = newStore();
    MergeResult merged;
    QVERIFY(other->MergeRecords(back.records, merged));
    QCOMPARE(merged.added, 4);
    QVERIFY(storeRecords(*other) == records);
    QVERIFY(!importFormat(u"xml") && !exportFormat(u"bitwarden-csv"));
}

QTEST_GUILESS_MAIN(TestInterchange)
#include "test_interchange.moc"
