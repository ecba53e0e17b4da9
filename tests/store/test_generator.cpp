// The password generator: the alphabet each option set allows, and that
// draws honour it: every allowed character turns up, nothing else does, and
// every class asked for is in each password.

#include "PasswordGenerator.h"

#include <QSet>
#include <QTest>

class TestGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void draws_data();
    void draws();
};

void TestGenerator::draws_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("digits");
    QTest::addColumn<bool>("symbols");
    QTest::addColumn<bool>("similar"); // excluded
    QTest::addColumn<int>("alphabet"); // its size
    QTest::addColumn<int>("drawn");    // the length actually drawn
    QTest::addColumn<int>("bits");
    const auto row = [](const char *name, int length, bool digits, bool symbols, bool similar,
                        int alphabet, int drawn, int bits) {
        QTest::newRow(name) << length << digits << symbols << similar << alphabet << drawn << bits;
    };
    row("all classes", 20, true, true, false, 94, 20, 131);
    row("letters only", 12, false, false, false, 52, 12, 68);
    row("no symbols, no look-alikes", 16, true, false, true, 56, 16, 92);
    row("dialog default", 20, true, true, true, 87, 20, 128);
    row("too short", 1, true, true, false, 94, 4, 26);
    row("too long", 1000, false, true, false, 84, 128, 818);
}

void TestGenerator::draws()
{
    QFETCH(int, length);
    QFETCH(bool, digits);
    QFETCH(bool, symbols);
    QFETCH(bool, similar);
    QFETCH(int, alphabet);
    QFETCH(int, drawn);
    QFETCH(int, bits);
    const GeneratorOptions options{length, digits, symbols, similar};
    const QString allowed = generatorAlphabet(options);
    QCOMPARE(allowed.size(), alphabet);
    QCOMPARE(QSet<QChar>(allowed.cbegin(), allowed.cend()).size(), alphabet);
    QCOMPARE(estimatedBits(options), bits);
    for (const QChar c : QStringLiteral("0Oo1lI|")) {
        QCOMPARE(allowed.contains(c), !similar && (c.isLetter() || (c == '|' ? symbols : digits)));
    }

    QSet<QChar> seen;
    const auto has = [](const QString &s, bool (*test)(char32_t)) {
        return std::any_of(s.cbegin(), s.cend(), [test](QChar c) { return test(c.unicode()); });
    };
    for (int i = 0; i < 10000; ++i) {
        const QString password = generatePassword(options);
        QCOMPARE(password.size(), drawn);
        for (const QChar c : password) {
            QVERIFY2(allowed.contains(c), qPrintable(password));
            seen.insert(c);
        }
        const bool complete =
            has(password, QChar::isLower) && has(password, QChar::isUpper) &&
            (!digits || has(password, QChar::isDigit)) &&
            (!symbols || has(password, QChar::isPunct) || has(password, QChar::isSymbol));
        QVERIFY2(complete, qPrintable(password));
    }
    QCOMPARE(seen.size(), alphabet);
}

QTEST_GUILESS_MAIN(TestGenerator)
#include "test_generator.moc"
