// Files written by the real keepassxc-cli: a database imported from KeePass
// XML (and from our own export), changed there (an entry deleted into the
// recycle bin, one edited so it has history), exported as CSV and XML, read back.

#include "Interchange.h"
#include "RecordText.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace interchange;

namespace {

const QString Password = "correct horse ☃";

// Groups two and three deep, an expiring entry, our own keys, unicode and a
// note of several lines. Every entry has its times (@T), as KeePassXC would
// make new ones otherwise.
const QByteArray Input = QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<KeePassFile><Meta><Generator>test</Generator></Meta><Root><Group><Name>Root</Name>
 <Entry>@T
  <String><Key>Title</Key><Value>Top ✓</Value></String>
  <String><Key>UserName</Key><Value>ünï</Value></String>
  <String><Key>Password</Key><Value ProtectInMemory="True">p,"w"</Value></String>
  <String><Key>Notes</Key><Value>line 1
line 2, "quoted"</Value></String></Entry>
 <Group><Name>Web</Name>
  <Entry>@T
   <String><Key>Title</Key><Value>to edit</Value></String>
   <String><Key>UserName</Key><Value>before</Value></String></Entry>
  <Entry>@T
   <String><Key>Title</Key><Value>to delete</Value></String></Entry>
  <Group><Name>Shops</Name>
   <Entry><Times>@C<Expires>True</Expires>
    <ExpiryTime>2027-03-15T12:00:00Z</ExpiryTime></Times>
    <String><Key>Title</Key><Value>Expiring</Value></String>
    <String><Key>URL</Key><Value>https://shop.example</Value></String>
    <String><Key>Change URL</Key><Value>https://shop.example/pw</Value></String>
    <String><Key>Expiry notice</Key><Value>yes</Value></String>
    <String><Key>Expiry notice days</Key><Value>14</Value></String></Entry>
  </Group>
  <Group><Name>Mail</Name><Group><Name>Old</Name>
   <Entry>@T
    <String><Key>Title</Key><Value>Deep</Value></String></Entry>
  </Group></Group>
 </Group>
</Group></Root></KeePassFile>
)")
                             .replace("@T", "<Times>@C</Times>")
                             .replace("@C", "<CreationTime>2026-01-02T03:04:05Z</CreationTime>"
                                            "<LastModificationTime>2026-01-03T03:04:05Z"
                                            "</LastModificationTime>");

const QString Times = "Created=2026-01-02T03:04:05Z;Modified=2026-01-03T03:04:05Z";

} // namespace

class TestKeePassXcFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void exports_data();
    void exports();
    void ourExportThroughKeePassXc();

private:
    // Runs keepassxc-cli with the password (twice when asked so) on stdin.
    QByteArray cli(const QStringList &args, int passwords = 1);
    // A database imported from xml, under name.
    QString importDatabase(const QByteArray &xml, const QString &name);

    QTemporaryDir m_dir;
    QString m_database;
};

QByteArray TestKeePassXcFiles::cli(const QStringList &args, int passwords)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", m_dir.path());
    env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    env.insert("XDG_CACHE_HOME", m_dir.filePath("cache"));
    p.setProcessEnvironment(env);
    p.start(VELLUMOR_KEEPASSXC_CLI, args);
    for (int i = 0; i < passwords; ++i) {
        p.write((Password + '\n').toUtf8());
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        qWarning() << args << p.readAllStandardError();
        return QByteArray();
    }
    return p.readAllStandardOutput();
}

QString TestKeePassXcFiles::importDatabase(const QByteArray &xml, const QString &name)
{
    QFile file(m_dir.filePath(name + ".xml"));
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size()) {
        return QString();
    }
    file.close();
    const QString database = m_dir.filePath(name + ".kdbx");
    cli({"import", "-q", "-p", "-t", "100", file.fileName(), database}, 2);
    return QFile::exists(database) ? database : QString();
}

void TestKeePassXcFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_database = importDatabase(Input, "input");
    QVERIFY(!m_database.isEmpty());
    cli({"rm", "-q", m_database, "/Web/to delete"});
    cli({"edit", "-q", "-u", "after", m_database, "/Web/to edit"});
}

void TestKeePassXcFiles::exports_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("records");
    const QString top = "/ Service=Top ✓;User name=ünï;Password=p,\"w\";Notes=line 1\nline 2, "
                        "\"quoted\";";
    QTest::newRow("csv") << "csv"
                         << QStringList{
                                top + Times,
                                "Web/ Service=to edit;User name=after;Created=2026-01-02T03:04:05Z",
                                "Web/Shops Service=Expiring;URL=https://shop.example;" + Times,
                                "Web/Mail / Old Service=Deep;" + Times};
    QTest::newRow("xml") << "xml"
                         << QStringList{
                                top + Times,
                                "Web/ Service=to edit;User name=after;Created=2026-01-02T03:04:05Z",
                                "Web/Shops Service=Expiring;URL=https://shop.example;"
                                "Change URL=https://shop.example/pw;" +
                                    Times + ";Expiry date=" +
                                    QDateTime::fromString("2027-03-15T12:00:00Z", Qt::ISODate)
                                        .toLocalTime()
                                        .date()
                                        .toString(Qt::ISODate) +
                                    ";Expires=yes;Expiry notice=yes;Expiry notice days=14",
                                "Web/Mail / Old Service=Deep;" + Times};
}

void TestKeePassXcFiles::exports()
{
    QFETCH(QString, format);
    QFETCH(QStringList, records);
    const QByteArray bytes = cli({"export", "-q", "-f", format, m_database});
    QVERIFY(!bytes.isEmpty());
    ImportResult result =
        readRecords(format == "csv" ? ImportFormat::KeePassXcCsv : ImportFormat::KeePassXml, bytes);
    QVERIFY2(!result.error, qPrintable(result.error ? result.error->message : QString()));
    // The edited entry was modified just now; the time of that is not known here.
    for (NamedRecord &r : result.records) {
        if (r.entry.service == "to edit") {
            QVERIFY(r.entry.Dt_Modify > QDateTime::currentDateTimeUtc().addSecs(-600));
            r.entry.Dt_Modify = QDateTime();
        }
    }
    QCOMPARE(recordTexts(result.records), records);
    QCOMPARE(result.skipped, format == "csv" ? 1 : 0); // the recycle bin's entry
}

// Our export, imported by KeePassXC and exported again, reads back the same.
void TestKeePassXcFiles::ourExportThroughKeePassXc()
{
    // KeePassXC turns CR LF in a note into LF, so the note has none.
    PasswordEntry e{"Ünï, \"one\"",
                    0,
                    0,
                    "  u  ",
                    "<&>\t𝄞",
                    "l1\nl2\n\nl3",
                    "https://s.example/?a=1&b=2",
                    "https://s.example/change",
                    "https://s.example/expire",
                    QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)),
                    QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)),
                    QDate(2027, 2, 28),
                    QDate(2026, 12, 31),
                    true,
                    false,
                    true,
                    true,
                    -3,
                    32767};
    std::vector<NamedRecord> records{{e, "Web", "Bank / Cards"}};
    e.service = "expiring";
    e.blExpire = true;
    records.push_back({e, "", ""});
    const QString database =
        importDatabase(writeRecords(ExportFormat::KeePassXml, records), "ours");
    QVERIFY(!database.isEmpty());
    const ImportResult back =
        readRecords(ImportFormat::KeePassXml, cli({"export", "-q", "-f", "xml", database}));
    QVERIFY2(!back.error, qPrintable(back.error ? back.error->message : QString()));
    QCOMPARE(recordTexts(back.records), recordTexts({records[1], records[0]}));
}

QTEST_GUILESS_MAIN(TestKeePassXcFiles)
#include "test_keepassxc_files.moc"
