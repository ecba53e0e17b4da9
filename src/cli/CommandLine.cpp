#include "CommandLine.h"

#include "CliError.h"

#include <QRegularExpression>

namespace {

struct OptionInfo
{
    QLatin1String name;
    bool takesValue;
};

// Every option any command knows; which command takes which is in the command table.
constexpr OptionInfo KnownOptions[] = {
    {QLatin1String("--password-stdin"), false},
    {QLatin1String("--help"), false},
    {QLatin1String("-h"), false},
    {QLatin1String("--version"), false},
    {QLatin1String("--no-password"), false},
    {QLatin1String("--kdf-ops"), true},
    {QLatin1String("--kdf-mem"), true},
    {QLatin1String("--tree"), false},
    {QLatin1String("--show-password"), false},
    {QLatin1String("-u"), true},
    {QLatin1String("-p"), false},
    {QLatin1String("--url"), true},
    {QLatin1String("--change-url"), true},
    {QLatin1String("--exp-url"), true},
    {QLatin1String("--notes"), true},
    {QLatin1String("--category"), true},
    {QLatin1String("--subcategory"), true},
    {QLatin1String("--expires"), true},
    {QLatin1String("--notify-expire"), true},
    {QLatin1String("--change"), true},
    {QLatin1String("--notify-change"), true},
    {QLatin1String("--rename"), true},
    {QLatin1String("--keep"), false},
    {QLatin1String("--generate"), false},
    {QLatin1String("--length"), true},
    {QLatin1String("--no-digits"), false},
    {QLatin1String("--no-symbols"), false},
    {QLatin1String("--exclude-similar"), false},
};

const OptionInfo *findOption(const QString &name)
{
    for (const OptionInfo &o : KnownOptions) {
        if (o.name == name) {
            return &o;
        }
    }
    return nullptr;
}

bool isOptionWord(const QString &word)
{
    return word.size() > 1 && word.startsWith(QLatin1Char('-'));
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace

std::optional<QString> Invocation::value(QLatin1String option) const
{
    const auto it = m_options.constFind(option);
    if (it == m_options.cend()) {
        return std::nullopt;
    }
    return *it;
}

CommandLine::Action CommandLine::parse(const QStringList &arguments)
{
    // --help and --version win over everything else, wherever they stand.
    for (const QString &word : arguments) {
        if (word == QLatin1String("--")) {
            break;
        }
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            return Action::Help;
        }
        if (word == QLatin1String("--version")) {
            return Action::Version;
        }
    }

    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        if (optionsEnded || !isOptionWord(word)) {
            if (m_command == nullptr) {
                for (const CommandEntry &entry : m_commands) {
                    if (entry.name == word) {
                        m_command = &entry;
                    }
                }
                if (m_command == nullptr) {
                    throw UsageError(QStringLiteral("unknown command %1").arg(quoted(word)));
                }
                m_invocation.command = word;
            } else {
                m_invocation.args.append(word);
            }
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = word;
        std::optional<QString> inlineValue;
        const qsizetype eq = word.indexOf(QLatin1Char('='));
        if (eq > 1 && word.left(eq) != QLatin1String("--")) {
            name = word.left(eq);
            inlineValue = word.mid(eq + 1);
        }
        const OptionInfo *info = findOption(name);
        if (info == nullptr) {
            throw UsageError(QStringLiteral("unknown option %1").arg(quoted(name)));
        }
        if (name == QLatin1String("--password-stdin")) {
            if (inlineValue) {
                throw UsageError(QStringLiteral("%1 takes no value").arg(name));
            }
            m_invocation.passwordStdin = true;
            continue;
        }
        if (m_command == nullptr) {
            throw UsageError(QStringLiteral("option %1 before the command").arg(quoted(name)));
        }
        if (!m_command->options.contains(name)) {
            throw UsageError(QStringLiteral("the command %1 has no option %2")
                                 .arg(m_command->name, quoted(name)));
        }
        if (m_invocation.has(info->name)) {
            throw UsageError(QStringLiteral("option %1 given twice").arg(quoted(name)));
        }
        QString value;
        if (info->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < arguments.size() && findOption(arguments.at(i + 1)) == nullptr) {
                // "-u --url x" is a forgotten value, not a user named "--url";
                // such a value can still be given as "-u=--url".
                value = arguments.at(++i);
            } else {
                throw UsageError(QStringLiteral("option %1 needs a value").arg(quoted(name)));
            }
        } else if (inlineValue) {
            throw UsageError(QStringLiteral("option %1 takes no value").arg(quoted(name)));
        }
        m_invocation.set(name, value);
    }

    if (m_command == nullptr) {
        throw UsageError(QStringLiteral("no command given"));
    }
    const qsizetype count = m_invocation.args.size();
    if (count < m_command->minArgs) {
        throw UsageError(QStringLiteral("too few arguments for %1").arg(m_command->name));
    }
    if (count > m_command->maxArgs) {
        throw UsageError(QStringLiteral("too many arguments for %1").arg(m_command->name));
    }
    return Action::Run;
}

QDate parseDate(QLatin1String option, const QString &text)
{
    // QDate::fromString alone would also take one-digit months and days.
    static const QRegularExpression shape(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    const QDate date = shape.match(text).hasMatch()
                           ? QDate::fromString(text, QStringLiteral("yyyy-MM-dd"))
                           : QDate();
    if (!date.isValid()) {
        throw UsageError(
            QStringLiteral("%1: %2 is not a date (YYYY-MM-DD)").arg(option, quoted(text)));
    }
    return date;
}

quint64 parseNumber(QLatin1String option, const QString &text, quint64 max)
{
    // Digits only: no sign, no blanks, no hexadecimal.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    bool ok = digits.match(text).hasMatch();
    const quint64 n = ok ? text.toULongLong(&ok) : 0;
    if (!ok || n > max) {
        throw UsageError(QStringLiteral("%1: %2 is not a number from 0 to %3")
                             .arg(option, quoted(text))
                             .arg(max));
    }
    return n;
}
