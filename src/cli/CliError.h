#pragma once

#include <QString>

// Every way a command can end early. main() prints the message and exits with
// the status: 1 when the work itself failed, 2 when the command line was wrong.
class CliError
{
public:
    CliError(int status, QString message) : m_status(status), m_message(std::move(message)) {}
    int status() const { return m_status; }
    const QString &message() const { return m_message; }

private:
    int m_status;
    QString m_message;
};

// The work failed: a wrong password, a missing record, a failed save.
class Failure : public CliError
{
public:
    explicit Failure(QString message) : CliError(1, std::move(message)) {}
};

// The command line cannot be right: main() adds the command's synopsis.
class UsageError : public CliError
{
public:
    explicit UsageError(QString message) : CliError(2, std::move(message)) {}
};
