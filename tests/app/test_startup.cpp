#include "StartUp.h"

#include <QTest>

class TestStartUp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stripQuotes_data();
    void stripQuotes();
    void payloadRoundTrip_data();
    void payloadRoundTrip();
    void payloadWithoutText();
    void appTitle();
};

void TestStartUp::stripQuotes_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("quoted path with blanks") << "  \"/home/anna/my files/a.VLM\"  "
                                             << "/home/anna/my files/a.VLM";
    QTest::newRow("plain path") << "/tmp/a.VLM"
                                << "/tmp/a.VLM";
    QTest::newRow("blanks only") << "   "
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("one quote") << "\""
                               << "";
    QTest::newRow("two quotes") << "\"\""
                                << "";
    QTest::newRow("only leading") << "\"a b"
                                  << "a b";
    QTest::newRow("only trailing") << "a b\""
                                   << "a b";
    QTest::newRow("one pair only") << "\"\"a\"\""
                                   << "\"a\"";
    QTest::newRow("blanks inside quotes kept") << "\" a \""
                                               << " a ";
    QTest::newRow("tab is not a blank") << "\t\"a\""
                                        << "\t\"a";
}

void TestStartUp::stripQuotes()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(app::StripQuotes(in), out);
}

void TestStartUp::payloadRoundTrip_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("received");
    QTest::newRow("quoted") << "\"/home/anna/Pass words.VLM\""
                            << "/home/anna/Pass words.VLM";
    QTest::newRow("beyond Latin-1") << "/home/\u00e4nna/\u043f\u0430\u0440\u043e\u043b\u044c.VLM"
                                    << "/home/\u00e4nna/\u043f\u0430\u0440\u043e\u043b\u044c.VLM";
    QTest::newRow("quotes only") << "\"\""
                                 << "";
}

void TestStartUp::payloadRoundTrip()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, received);
    const QByteArray payload = app::instancePayload(commandLine);
    QVERIFY(!payload.isEmpty());
    QVERIFY(!payload.endsWith('\0')); // no terminating zero travels
    QCOMPARE(app::pathFromPayload(payload), received);
}

void TestStartUp::payloadWithoutText()
{
    // A second start without arguments sends exactly one zero byte.
    QCOMPARE(app::instancePayload(QString()), QByteArray(1, '\0'));
    QVERIFY(app::pathFromPayload(QByteArray(1, '\0')).isEmpty());
    QVERIFY(app::pathFromPayload(QByteArray()).isEmpty());
    QVERIFY(app::pathFromPayload(QByteArray("\0/tmp/a.VLM", 11)).isEmpty());
    QVERIFY(app::pathFromPayload(QByteArray("   ")).isEmpty());
}

void TestStartUp::appTitle()
{
    QCOMPARE(app::buildAppTitle(QVersionNumber(1, 2, 3)), QStringLiteral("Vellumor V1.2.3"));
    QCOMPARE(app::buildAppTitle(QVersionNumber(1)), QStringLiteral("Vellumor V1.0.0"));
}

QTEST_GUILESS_MAIN(TestStartUp)
#include "test_startup.moc"
