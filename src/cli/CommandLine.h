#pragma once

#include <optional>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <span>

// One parsed command line: the command, its plain arguments and its options.
class Invocation
{
public:
    QString command;
    QStringList args; // the words after the command that are not options
    bool passwordStdin = false;

    bool has(QLatin1String option) const { return m_options.contains(option); }
    std::optional<QString> value(QLatin1String option) const;
    void set(const QString &option, const QString &value) { m_options.insert(option, value); }

private:
    QHash<QString, QString> m_options;
};

struct CommandEntry
{
    QLatin1String name;
    qsizetype minArgs;
    qsizetype maxArgs;
    QStringList options; // the options this command accepts besides the global ones
    QLatin1String synopsis;
    int (*run)(const Invocation &);
};

// Splits the arguments (without the program name) by the command table.
// Options may stand anywhere after the command, as "--name value" or
// "--name=value"; "--" ends the options, so a service may start with "-".
class CommandLine
{
public:
    enum class Action
    {
        Run,
        Help,
        Version
    };

    explicit CommandLine(std::span<const CommandEntry> commands) : m_commands(commands) {}

    // Throws UsageError; command() is known from the moment the command word is read.
    Action parse(const QStringList &arguments);
    const Invocation &invocation() const { return m_invocation; }
    const CommandEntry *command() const { return m_command; }

private:
    std::span<const CommandEntry> m_commands;
    Invocation m_invocation;
    const CommandEntry *m_command = nullptr;
};

// Strict value parsers for option arguments; they throw UsageError naming the option.
QDate parseDate(QLatin1String option, const QString &text);
quint64 parseNumber(QLatin1String option, const QString &text, quint64 max);
