// The registry routines: the blank and buffer rules, and the Run value as a
// real XDG autostart entry.

#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using platform::Hive;
using platform::Registry;

namespace {

QString autostartEntry()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/VLM.desktop");
}

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup() { QFile::remove(autostartEntry()); } // a failed case leaves no entry behind
    void valuesRoundTrip_data();
    void valuesRoundTrip();
    void runValueIsAnAutostartEntry_data();
    void runValueIsAnAutostartEntry();
    void deleteMissing();
};

void TestRegistry::initTestCase()
{
    // The isolation wrapper must have given us our own config folder.
    QVERIFY(!qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
}

void TestRegistry::valuesRoundTrip_data()
{
    QTest::addColumn<int>("hive");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    const QString msinfo = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    const QString run = Registry::RunKey;
    QTest::newRow("plain") << 1 << msinfo << "/usr/bin/hardinfo"
                           << "/usr/bin/hardinfo";
    QTest::newRow("empty becomes blank") << 1 << msinfo << ""
                                         << " ";
    QTest::newRow("1024 bytes fit") << 1 << msinfo << QString(1024, 'x') << QString(1024, 'x');
    QTest::newRow("1025 bytes do not") << 1 << msinfo << QString(1025, 'x') << "";
    QTest::newRow("multi-byte over the buffer") << 1 << msinfo << QString(600, QChar(0xFC)) << "";
    QTest::newRow("user key") << 0 << "Software\\Quorvan\\Test"
                              << "value"
                              << "value";
    QTest::newRow("run: spaces, quotes, % and \\")
        << 0 << run << "/opt/My Apps/100%/vell\"umor\\ $HOME"
        << "/opt/My Apps/100%/vell\"umor\\ $HOME";
    QTest::newRow("run: empty becomes blank") << 0 << run << ""
                                              << " ";
    QTest::newRow("run: too long") << 0 << run << QString(2000, 'y') << "";
}

void TestRegistry::valuesRoundTrip()
{
    QFETCH(int, hive);
    QFETCH(QString, key);
    QFETCH(QString, written);
    QFETCH(QString, read);
    const Hive h = hive == 0 ? Hive::CurrentUser : Hive::LocalMachine;
    QVERIFY(Registry::RegWriteString(h, key, QStringLiteral("VLM"), written));
    QCOMPARE(Registry::RegReadString(h, key, QStringLiteral("VLM")), read);
    // Key paths are case-insensitive, as on Windows.
    QCOMPARE(Registry::RegReadString(h, key.toUpper(), QStringLiteral("VLM")), read);
    QVERIFY(Registry::RegDeleteValue(h, key, QStringLiteral("VLM")));
    QCOMPARE(Registry::RegReadString(h, key, QStringLiteral("VLM")), QString());
}

void TestRegistry::runValueIsAnAutostartEntry_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/local/bin/vellumor"
                           << "Exec=\"/usr/local/bin/vellumor\"";
    // A single % would start a field code, and the quoting's own backslash
    // needs the string escape of every desktop-entry value on top.
    QTest::newRow("percent") << "/opt/100%/vellumor"
                             << "Exec=\"/opt/100%%/vellumor\"";
    QTest::newRow("shell characters") << R"(/opt/a\b/$x`"/vellumor)"
                                      << R"(Exec="/opt/a\\\\b/\\$x\\`\\"/vellumor")";
}

void TestRegistry::runValueIsAnAutostartEntry()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QVERIFY(Registry::RegWriteString(Hive::CurrentUser, Registry::RunKey, QStringLiteral("VLM"),
                                     program));
    QFile entry(autostartEntry());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    QVERIFY(text.contains(QStringLiteral("\nType=Application\n")));
    QVERIFY2(text.contains(QLatin1Char('\n') + exec + QLatin1Char('\n')), qPrintable(text));
    entry.close();
    // A generic INI reader sees a well-formed entry.
    QSettings desktop(autostartEntry(), QSettings::IniFormat);
    QCOMPARE(desktop.value(QStringLiteral("Desktop Entry/Type")).toString(),
             QStringLiteral("Application"));
    QVERIFY(Registry::RegDeleteValue(Hive::CurrentUser, Registry::RunKey, QStringLiteral("VLM")));
    QVERIFY(!QFile::exists(autostartEntry()));
}

void TestRegistry::deleteMissing()
{
    QVERIFY(!Registry::RegDeleteValue(Hive::CurrentUser, Registry::RunKey, QStringLiteral("VLM")));
    QVERIFY(!Registry::RegDeleteValue(Hive::LocalMachine, QStringLiteral("SOFTWARE\\None"),
                                      QStringLiteral("PATH")));
    QCOMPARE(Registry::RegReadString(Hive::LocalMachine, QStringLiteral("SOFTWARE\\None"),
                                     QStringLiteral("PATH")),
             QString());
    // A value name that cannot be a file name fails instead of writing elsewhere.
    QVERIFY(!Registry::RegWriteString(Hive::CurrentUser, Registry::RunKey, QStringLiteral("../"),
                                      QStringLiteral("x")));
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "test_registry.moc"
