// vellumor-cli: a Vellumor password file from the command line.
#include "CliError.h"
#include "Commands.h"
#include "Output.h"
#include "ProcessHardening.h"

#include <QCoreApplication>

namespace {

const QLatin1String Program("vellumor-cli");

int report(const CliError &error, const CommandEntry *command)
{
    printError(Program + QLatin1String(": ") + error.message());
    if (error.status() == 2) {
        printError(command != nullptr
                       ? QLatin1String("usage: ") + Program + QLatin1Char(' ') + command->synopsis
                       : QStringLiteral("Try '%1 --help'.").arg(Program));
    }
    return error.status();
}

} // namespace

int main(int argc, char *argv[])
{
    // Before any password is read into memory.
    platform::disableCoreDumps();
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(Program);
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));

    CommandLine line(commandTable());
    int status = 0;
    try {
        switch (line.parse(QCoreApplication::arguments().mid(1))) {
        case CommandLine::Action::Help:
            printLines({helpText().chopped(1)});
            break;
        case CommandLine::Action::Version:
            printLine(Program + QLatin1Char(' ') + QCoreApplication::applicationVersion());
            break;
        case CommandLine::Action::Run:
            status = line.command()->run(line.invocation());
            break;
        }
    } catch (const CliError &error) {
        status = report(error, line.command());
    }
    if (!flushOutput()) {
        printError(Program + QLatin1String(": the output could not be written"));
        return 1;
    }
    return status;
}
