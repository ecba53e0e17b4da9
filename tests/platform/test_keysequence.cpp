// The keystroke notation.

#include "KeySequence.h"

#include <QTest>

using platform::KeyStroke;
using platform::parseKeys;

namespace {

KeyStroke ch(char32_t c, bool shift = false, bool control = false, bool alt = false)
{
    KeyStroke s;
    s.character = c;
    s.shift = shift;
    s.control = control;
    s.alt = alt;
    return s;
}

KeyStroke key(KeyStroke::Named n, bool shift = false)
{
    KeyStroke s;
    s.named = n;
    s.shift = shift;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(QList<KeyStroke>)

class TestKeySequence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestKeySequence::parse_data()
{
    using N = KeyStroke::Named;
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QList<KeyStroke>>("expected");
    QTest::addColumn<bool>("ok");
    QTest::newRow("user tab password enter")
        << "me{TAB}pw{ENTER}"
        << QList<KeyStroke>{ch('m'), ch('e'), key(N::Tab), ch('p'), ch('w'), key(N::Enter)} << true;
    QTest::newRow("tilde is enter") << "~" << QList<KeyStroke>{key(N::Enter)} << true;
    QTest::newRow("names ignore case, repeat")
        << "{tab 2}{Bs}" << QList<KeyStroke>{key(N::Tab), key(N::Tab), key(N::Backspace)} << true;
    QTest::newRow("escaped specials")
        << "{+}{^}{%}{~}{(}{)}{{}{}}"
        << QList<KeyStroke>{ch('+'), ch('^'), ch('%'), ch('~'), ch('('), ch(')'), ch('{'), ch('}')}
        << true;
    QTest::newRow("modifiers on the next key")
        << "+a^b%c"
        << QList<KeyStroke>{ch('a', true), ch('b', false, true), ch('c', false, false, true)}
        << true;
    QTest::newRow("modifier on a group")
        << "+(ab)c" << QList<KeyStroke>{ch('a', true), ch('b', true), ch('c')} << true;
    QTest::newRow("function key") << "{F12}" << QList<KeyStroke>{[] {
        KeyStroke s = key(N::F1);
        s.function = 12;
        return s;
    }()} << true;
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"a\U0001F511")
                                     << QList<KeyStroke>{ch('a'), ch(U'\U0001F511')} << true;
    // Broken notation gives no keys at all: neither a part of it nor the
    // whole as plain characters is ever typed.
    QTest::newRow("unclosed brace") << "a{b" << QList<KeyStroke>{} << false;
    QTest::newRow("unknown name") << "{NOPE}" << QList<KeyStroke>{} << false;
    QTest::newRow("trailing modifier") << "a+" << QList<KeyStroke>{} << false;
    QTest::newRow("stray parenthesis") << "x)y" << QList<KeyStroke>{} << false;
    QTest::newRow("unclosed group") << "+(ab" << QList<KeyStroke>{} << false;
    QTest::newRow("bad repeat") << "{TAB x}" << QList<KeyStroke>{} << false;
}

void TestKeySequence::parse()
{
    QFETCH(QString, notation);
    QFETCH(QList<KeyStroke>, expected);
    QFETCH(bool, ok);
    bool parsed = !ok;
    QString problem;
    QCOMPARE(parseKeys(notation, &parsed, &problem), expected);
    QCOMPARE(parsed, ok);
    QCOMPARE(problem.isEmpty(), ok);
}

QTEST_GUILESS_MAIN(TestKeySequence)
#include "test_keysequence.moc"
