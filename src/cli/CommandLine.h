#pragma once

#include <optional>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <span>
#include <vector>

// One parsed command line: the command, its plain arguments and its options.
class Invocation
{
public:
    QString command;
    QStringList args; // the words after the command that are not options
    bool passwordStdin = false;

    // Options by their name as typed, dashes included ("-u", "--url").
    bool has(QLatin1String option) const { return m_options.contains(option); }
    std::optional<QString> value(QLatin1String option) const;
    void set(const QString &option, const QString &value) { m_options.insert(option, value); }

private:
    QHash<QString, QString> m_options;
};

// A plain argument of a command, for its help.
struct ArgumentInfo
{
    QLatin1String name;
    QLatin1String description;
};

struct CommandEntry
{
    QLatin1String name;
    qsizetype minArgs;
    qsizetype maxArgs;
    QStringList options; // the options this command accepts besides the global ones
    // Lines after the first start where the first one's arguments start.
    QLatin1String synopsis;
    QLatin1String summary; // what the command does, for both help texts
    std::vector<ArgumentInfo> arguments;
    int (*run)(const Invocation &);
    bool readsPasswords = true; // takes --password-stdin
};

// Splits the arguments (without the program name): the command word first,
// then that command's own QCommandLineParser. Options may stand anywhere
// after the command, as "--name value" or "--name=value"; "--" ends the
// options, so a service may start with "-". --password-stdin may also stand
// before the command.
class CommandLine
{
public:
    enum class Action
    {
        Run,
        Help, // helpText() holds the general help or the command's own
        Version
    };

    explicit CommandLine(std::span<const CommandEntry> commands) : m_commands(commands) {}

    // Throws UsageError; command() is known from the moment the command word is read.
    Action parse(const QStringList &arguments);
    const Invocation &invocation() const { return m_invocation; }
    const CommandEntry *command() const { return m_command; }
    const QString &helpText() const { return m_help; }

private:
    void parseCommand(const QStringList &words);

    std::span<const CommandEntry> m_commands;
    Invocation m_invocation;
    const CommandEntry *m_command = nullptr;
    QString m_help;
};

// "vellumor-cli <synopsis>" behind prefix, continuation lines indented under
// the command's first argument.
QString synopsisText(const QString &prefix, const CommandEntry &command);
// The help of the whole program, from the command table.
QString generalHelp(std::span<const CommandEntry> commands);

// Strict value parsers for option arguments; they throw UsageError naming the option.
QDate parseDate(QLatin1String option, const QString &text);
quint64 parseNumber(QLatin1String option, const QString &text, quint64 max);
