#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

// What one run of vellumor-cli did.
struct CliResult
{
    int status = -1;
    QString out;
    QString err;
};

// Runs vellumor-cli in dir with the given standard input, waiting at most 60 s.
inline CliResult runCli(const QString &dir, const QStringList &args, const QByteArray &input = {})
{
    QProcess process;
    process.setWorkingDirectory(dir);
    process.start(QStringLiteral(VELLUMOR_CLI), args);
    CliResult result;
    if (!process.waitForStarted()) {
        result.err = process.errorString();
        return result;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
