#include "CommandLine.h"

#include "CliError.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

const QLatin1String Program("vellumor-cli");
const QLatin1String PasswordStdin("--password-stdin");
const QLatin1String EndOfOptions("--");

struct OptionInfo
{
    QLatin1String name;      // as typed, dashes included
    QLatin1String valueName; // empty for an option without value
    QLatin1String description;
};

// Every option any command knows; which command takes which is in the command table.
const OptionInfo KnownOptions[] = {
    {PasswordStdin, {}, QLatin1String("Read passwords from standard input, one line each.")},
    {QLatin1String("--help"), {}, QLatin1String("This text.")},
    {QLatin1String("-h"), {}, QLatin1String("This text.")},
    {QLatin1String("--version"), {}, QLatin1String("The version.")},
    {QLatin1String("--no-password"), {}, QLatin1String("The file gets no password.")},
    {QLatin1String("--kdf-ops"), QLatin1String("N"),
     QLatin1String("Key derivation passes (default 3, at most 4).")},
    {QLatin1String("--kdf-mem"), QLatin1String("MIB"),
     QLatin1String("Key derivation memory in MiB (default 256, at most 1024).")},
    {QLatin1String("--tree"), {}, QLatin1String("The categories and subcategories too.")},
    {QLatin1String("--show-password"), {}, QLatin1String("Show the password too.")},
    {QLatin1String("-u"), QLatin1String("USER"), QLatin1String("The user name.")},
    {QLatin1String("-p"), {}, QLatin1String("Ask for the record's password.")},
    {QLatin1String("--url"), QLatin1String("URL"), QLatin1String("The service's address.")},
    {QLatin1String("--change-url"), QLatin1String("URL"),
     QLatin1String("Where the password is changed.")},
    {QLatin1String("--exp-url"), QLatin1String("URL"),
     QLatin1String("Where the account is renewed.")},
    {QLatin1String("--notes"), QLatin1String("TEXT"), QLatin1String("Notes.")},
    {QLatin1String("--category"), QLatin1String("NAME"),
     QLatin1String("The category (\"\" for none).")},
    {QLatin1String("--subcategory"), QLatin1String("NAME"),
     QLatin1String("The subcategory of that category.")},
    {QLatin1String("--expires"), QLatin1String("YYYY-MM-DD|never"),
     QLatin1String("The expiration date.")},
    {QLatin1String("--notify-expire"), QLatin1String("DAYS|off"),
     QLatin1String("Days of notice before expiration.")},
    {QLatin1String("--change"), QLatin1String("YYYY-MM-DD|never"),
     QLatin1String("The date to change the password by.")},
    {QLatin1String("--notify-change"), QLatin1String("DAYS|off"),
     QLatin1String("Days of notice before that date.")},
    {QLatin1String("--rename"), QLatin1String("NEW"), QLatin1String("The record's new service.")},
    {QLatin1String("--keep"), {}, QLatin1String("Keep the records (rm).")},
    {QLatin1String("--generate"), {}, QLatin1String("Generate the password.")},
    {QLatin1String("--length"), QLatin1String("N"),
     QLatin1String("Characters of a generated password (4 to 128, default 20).")},
    {QLatin1String("--no-digits"), {}, QLatin1String("No digits in it.")},
    {QLatin1String("--no-symbols"), {}, QLatin1String("No symbols in it.")},
    {QLatin1String("--exclude-similar"),
     {},
     QLatin1String("Leave out the look-alikes 0 O o 1 l I |.")},
    {QLatin1String("--user"), {}, QLatin1String("Copy the user name with the password.")},
    {QLatin1String("--timeout"), QLatin1String("S"),
     QLatin1String("Seconds until the clipboard is cleared (default 10).")},
    {QLatin1String("--format"), QLatin1String("FORMAT"), QLatin1String("The file format.")},
    {QLatin1String("-o"), QLatin1String("OUT"),
     QLatin1String("Write to OUT instead of standard output.")},
    {QLatin1String("--force"), {}, QLatin1String("Overwrite OUT if it exists.")},
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

// "--url=x" is the option "--url" with the value "x".
QString optionName(const QString &word)
{
    const qsizetype eq = word.indexOf(QLatin1Char('='));
    return eq > 1 && !word.startsWith(QLatin1String("--=")) ? word.left(eq) : word;
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QCommandLineOption parserOption(const OptionInfo &info)
{
    // The parser knows options without their dashes.
    const QString bare = info.name.startsWith(QLatin1String("--")) ? QString(info.name.mid(2))
                                                                   : QString(info.name.mid(1));
    return {bare, QString(info.description), QString(info.valueName)};
}

bool acceptedBy(const CommandEntry &command, const QString &name)
{
    return command.options.contains(name) || (name == PasswordStdin && command.readsPasswords);
}

// The mistakes the parser would let through or word differently: an option
// of another command, a forgotten value ("-u --url x" is not a user named
// "--url"; such a value is given as "-u=--url"), a value for a plain option.
void checkOptionWords(const QStringList &words, const CommandEntry &command)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word == EndOfOptions) {
            return;
        }
        if (!isOptionWord(word)) {
            continue;
        }
        const QString name = optionName(word);
        const OptionInfo *info = findOption(name);
        if (info == nullptr) {
            throw UsageError(QStringLiteral("unknown option %1").arg(quoted(name)));
        }
        if (!acceptedBy(command, name)) {
            throw UsageError(
                QStringLiteral("the command %1 has no option %2").arg(command.name, quoted(name)));
        }
        const bool inlineValue = name.size() != word.size();
        if (info->valueName.isEmpty()) {
            if (inlineValue) {
                throw UsageError(QStringLiteral("option %1 takes no value").arg(quoted(name)));
            }
        } else if (!inlineValue) {
            if (i + 1 >= words.size() || findOption(optionName(words.at(i + 1))) != nullptr) {
                throw UsageError(QStringLiteral("option %1 needs a value").arg(quoted(name)));
            }
            ++i;
        }
    }
}

QString indented(const QString &text, qsizetype width)
{
    QString result = text;
    return result.replace(QLatin1Char('\n'), QLatin1Char('\n') + QString(width, QLatin1Char(' ')));
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
    if (arguments
            .sliced(0, arguments.contains(EndOfOptions) ? arguments.indexOf(EndOfOptions)
                                                        : arguments.size())
            .contains(QLatin1String("--version"))) {
        return Action::Version;
    }
    // Before the command: only --password-stdin, or a request for help.
    qsizetype at = 0;
    for (; at < arguments.size() && isOptionWord(arguments.at(at)); ++at) {
        const QString &word = arguments.at(at);
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            m_help = generalHelp(m_commands);
            return Action::Help;
        }
        if (word == EndOfOptions) {
            ++at;
            break;
        }
        if (word == PasswordStdin) {
            m_invocation.passwordStdin = true;
            continue;
        }
        const QString name = optionName(word);
        throw UsageError(findOption(name) != nullptr
                             ? QStringLiteral("option %1 before the command").arg(quoted(name))
                             : QStringLiteral("unknown option %1").arg(quoted(name)));
    }
    if (at >= arguments.size()) {
        throw UsageError(QStringLiteral("no command given"));
    }
    const QString &word = arguments.at(at);
    for (const CommandEntry &entry : m_commands) {
        if (entry.name == word) {
            m_command = &entry;
        }
    }
    if (m_command == nullptr) {
        throw UsageError(QStringLiteral("unknown command %1").arg(quoted(word)));
    }
    m_invocation.command = word;
    parseCommand(arguments.sliced(at + 1));
    return m_help.isEmpty() ? Action::Run : Action::Help;
}

void CommandLine::parseCommand(const QStringList &words)
{
    const CommandEntry &command = *m_command;
    QCommandLineParser parser;
    // "-u" is one option, not the letters of several.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QString(command.summary));
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("This text.")));
    for (const QString &name : command.options) {
        parser.addOption(parserOption(*findOption(name)));
    }
    if (command.readsPasswords) {
        parser.addOption(parserOption(*findOption(PasswordStdin)));
    }
    for (const ArgumentInfo &argument : command.arguments) {
        parser.addPositionalArgument(argument.name, argument.description);
    }

    // A request for help wins over anything else on the line.
    const QStringList options =
        words.sliced(0, words.contains(EndOfOptions) ? words.indexOf(EndOfOptions) : words.size());
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("-h"))) {
        // The parser's own usage line names the program by its path; ours by its name.
        const QString text = parser.helpText();
        m_help = synopsisText(QStringLiteral("Usage: "), command) +
                 text.mid(text.indexOf(QLatin1Char('\n')));
        return;
    }
    checkOptionWords(words, command);
    if (!parser.parse(QStringList{Program} + words)) {
        throw UsageError(parser.errorText());
    }

    const QStringList found = parser.optionNames();
    for (const QString &bare : found) {
        const QString name = (bare.size() == 1 ? QLatin1String("-") : EndOfOptions) + bare;
        if (found.count(bare) > 1) {
            throw UsageError(QStringLiteral("option %1 given twice").arg(quoted(name)));
        }
        if (name == PasswordStdin) {
            m_invocation.passwordStdin = true;
        } else {
            m_invocation.set(name, parser.value(bare));
        }
    }
    m_invocation.args = parser.positionalArguments();
    const qsizetype count = m_invocation.args.size();
    if (count < command.minArgs) {
        throw UsageError(QStringLiteral("too few arguments for %1").arg(command.name));
    }
    if (count > command.maxArgs) {
        throw UsageError(QStringLiteral("too many arguments for %1").arg(command.name));
    }
}

QString synopsisText(const QString &prefix, const CommandEntry &command)
{
    const QString start = prefix + Program + QLatin1Char(' ') + command.name + QLatin1Char(' ');
    return prefix + Program + QLatin1Char(' ') + indented(QString(command.synopsis), start.size());
}

QString generalHelp(std::span<const CommandEntry> commands)
{
    QString text = QStringLiteral("Usage: vellumor-cli COMMAND ARGUMENTS... [OPTIONS]\n"
                                  "Works on a Vellumor password file from the command line.\n\n"
                                  "Commands:\n");
    for (const CommandEntry &entry : commands) {
        text += synopsisText(QStringLiteral("  "), entry) + QLatin1Char('\n');
    }
    text += QLatin1Char('\n');
    constexpr qsizetype Column = 15;
    for (const CommandEntry &entry : commands) {
        text += QStringLiteral("  %1").arg(entry.name, -(Column - 2)) +
                indented(QString(entry.summary), Column) + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\n"
        "Options:\n"
        "  --password-stdin  read passwords from standard input, one line each: the file's,\n"
        "                    then the other file's (import, merge), the record's (-p) or\n"
        "                    the new one (create, passwd); without it they are asked on\n"
        "                    the terminal. A file without password needs no line.\n"
        "  --                the words after it are no options (a service named \"-x\")\n"
        "  -u=VALUE          a value that starts with \"-\" is given with \"=\"\n"
        "  -h, --help        this text; after a command, that command's options\n"
        "  --version         the version\n"
        "\n"
        "Every change is saved at once; the previous version stays as FILE.bak.\n"
        "When FILE was changed elsewhere since the command read it (another device\n"
        "through a sync folder, another program), those changes are merged, not\n"
        "overwritten, and what was merged is told on standard error.\n"
        "Exit status: 0 done, 1 failed, 2 wrong command line.\n");
    return text;
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
