#include "KeySequence.h"

#include <QHash>

namespace platform {

namespace {

const QHash<QString, KeyStroke::Named> &namedKeys()
{
    static const QHash<QString, KeyStroke::Named> keys = {
        {QStringLiteral("TAB"), KeyStroke::Named::Tab},
        {QStringLiteral("ENTER"), KeyStroke::Named::Enter},
        {QStringLiteral("ESC"), KeyStroke::Named::Escape},
        {QStringLiteral("ESCAPE"), KeyStroke::Named::Escape},
        {QStringLiteral("BS"), KeyStroke::Named::Backspace},
        {QStringLiteral("BKSP"), KeyStroke::Named::Backspace},
        {QStringLiteral("BACKSPACE"), KeyStroke::Named::Backspace},
        {QStringLiteral("DEL"), KeyStroke::Named::Delete},
        {QStringLiteral("DELETE"), KeyStroke::Named::Delete},
        {QStringLiteral("INS"), KeyStroke::Named::Insert},
        {QStringLiteral("INSERT"), KeyStroke::Named::Insert},
        {QStringLiteral("HOME"), KeyStroke::Named::Home},
        {QStringLiteral("END"), KeyStroke::Named::End},
        {QStringLiteral("PGUP"), KeyStroke::Named::PageUp},
        {QStringLiteral("PGDN"), KeyStroke::Named::PageDown},
        {QStringLiteral("LEFT"), KeyStroke::Named::Left},
        {QStringLiteral("RIGHT"), KeyStroke::Named::Right},
        {QStringLiteral("UP"), KeyStroke::Named::Up},
        {QStringLiteral("DOWN"), KeyStroke::Named::Down},
    };
    return keys;
}

class Parser
{
public:
    explicit Parser(const QString &text)
    {
        const QList<uint> ucs4 = text.toUcs4();
        m_text.reserve(ucs4.size());
        for (const uint c : ucs4) {
            m_text.append(static_cast<char32_t>(c));
        }
    }

    bool parse(QList<KeyStroke> &out)
    {
        while (m_pos < m_text.size()) {
            if (!parseOne(out, false, false, false)) {
                return false;
            }
        }
        return true;
    }

    const QString &problem() const { return m_problem; }

private:
    bool parseOne(QList<KeyStroke> &out, bool shift, bool control, bool alt)
    {
        const char32_t c = m_text.at(m_pos++);
        switch (c) {
        case U'+':
        case U'^':
        case U'%':
            if (m_pos >= m_text.size()) {
                return fail(QStringLiteral("a \"+\", \"^\" or \"%\" with no key after it"));
            }
            return parseOne(out, shift || c == U'+', control || c == U'^', alt || c == U'%');
        case U'(':
            while (m_pos < m_text.size() && m_text.at(m_pos) != U')') {
                if (!parseOne(out, shift, control, alt)) {
                    return false;
                }
            }
            if (m_pos >= m_text.size()) {
                return fail(QStringLiteral("a \"(\" without its \")\""));
            }
            ++m_pos; // ')'
            return true;
        case U')':
            return fail(QStringLiteral("a \")\" without its \"(\""));
        case U'~':
            out.append(named(KeyStroke::Named::Enter, shift, control, alt));
            return true;
        case U'{':
            return parseBraces(out, shift, control, alt);
        case U'}':
            return fail(QStringLiteral("a \"}\" without its \"{\""));
        default:
            out.append(character(c, shift, control, alt));
            return true;
        }
    }

    // "{NAME}", "{NAME n}", or "{c}" for a character; "{}}" is a closing brace.
    bool parseBraces(QList<KeyStroke> &out, bool shift, bool control, bool alt)
    {
        qsizetype end = m_pos + 1; // the first character may itself be '}'
        while (end < m_text.size() && m_text.at(end) != U'}') {
            ++end;
        }
        if (end >= m_text.size()) {
            return fail(QStringLiteral("a \"{\" without its \"}\""));
        }
        const QString inner = QString::fromUcs4(m_text.constData() + m_pos, end - m_pos);
        m_pos = end + 1;
        QString name = inner;
        int repeat = 1;
        const qsizetype space = inner.lastIndexOf(QLatin1Char(' '));
        if (space > 0) {
            bool numeric = false;
            repeat = inner.mid(space + 1).toInt(&numeric);
            if (!numeric || repeat < 0 || repeat > 255) {
                return fail(QStringLiteral("a repeat count that is not a number from 0 to 255"));
            }
            name = inner.left(space);
        }
        KeyStroke stroke;
        const QString upper = name.toUpper();
        if (const auto it = namedKeys().constFind(upper); it != namedKeys().constEnd()) {
            stroke = named(*it, shift, control, alt);
        } else if (upper.size() >= 2 && upper.size() <= 3 && upper.startsWith(QLatin1Char('F')) &&
                   upper.mid(1).toInt() >= 1 && upper.mid(1).toInt() <= 12) {
            stroke = named(KeyStroke::Named::F1, shift, control, alt);
            stroke.function = upper.mid(1).toInt();
        } else if (name.toUcs4().size() == 1) {
            stroke = character(static_cast<char32_t>(name.toUcs4().at(0)), shift, control, alt);
        } else {
            return fail(QStringLiteral("an unknown key name in braces"));
        }
        for (int i = 0; i < repeat; ++i) {
            out.append(stroke);
        }
        return true;
    }

    static KeyStroke named(KeyStroke::Named key, bool shift, bool control, bool alt)
    {
        KeyStroke s;
        s.named = key;
        s.shift = shift;
        s.control = control;
        s.alt = alt;
        return s;
    }

    static KeyStroke character(char32_t c, bool shift, bool control, bool alt)
    {
        KeyStroke s;
        s.character = c;
        s.shift = shift;
        s.control = control;
        s.alt = alt;
        return s;
    }

    bool fail(const QString &problem)
    {
        m_problem = problem;
        return false;
    }

    QList<char32_t> m_text;
    qsizetype m_pos = 0;
    QString m_problem;
};

} // namespace

QList<KeyStroke> parseKeys(const QString &notation, bool *ok, QString *problem)
{
    QList<KeyStroke> out;
    Parser parser(notation);
    const bool parsed = parser.parse(out);
    if (ok != nullptr) {
        *ok = parsed;
    }
    if (problem != nullptr) {
        *problem = parser.problem();
    }
    if (!parsed) {
        out.clear();
    }
    return out;
}

QString invalidNotationMessage(const QString &problem)
{
    return QStringLiteral("Nothing was typed: the text to type is not valid keystroke notation "
                          "(%1).\n\nIn a user name, password or key text, write the characters "
                          "+ ^ % ~ ( ) { } as {+} {^} {%} {~} {(} {)} {{} {}}.")
        .arg(problem);
}

} // namespace platform
