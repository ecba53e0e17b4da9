#pragma once
// The real vellumor-cli in a child process, as users meet it: runCli runs it
// in dir with the given standard input.

#include <QProcess>
#include <QTest>

struct CliResult
{
    int status = -1; // -1: did not finish within a minute, -2: crashed
    QString out;
    QString err;
};

inline CliResult runCli(const QString &dir, const QStringList &args, const QByteArray &input = {})
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(VELLUMOR_CLI, args);
    process.write(input);
    process.closeWriteChannel();
    CliResult result;
    if (process.waitForFinished(60000)) {
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
