// vellumor-cli: a Vellumor password file from the command line.
#include "CliError.h"
#include "Commands.h"
#include "Output.h"
#include "ProcessHardening.h"

#include <cstdlib>
#include <memory>
#include <QGuiApplication>
#include <string_view>

namespace {

const QLatin1String Program("vellumor-cli");

int report(const CliError &error, const CommandEntry *command)
{
    printError(Program + QLatin1String(": ") + error.message());
    if (error.status() == 2) {
        printError(command != nullptr ? synopsisText(QStringLiteral("usage: "), *command)
                                      : QStringLiteral("Try '%1 --help'.").arg(Program));
    }
    return error.status();
}

// clip needs the desktop's clipboard; every other command runs without a
// display. The command is the first word that is no option.
bool wantsDesktop(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view word(argv[i]);
        if (word.size() < 2 || word.front() != '-') {
            return word == "clip";
        }
    }
    return false;
}

bool hasDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before any password is read into memory.
    platform::disableCoreDumps();
    // Without a display the toolkit would abort; clip then says why instead.
    const std::unique_ptr<QCoreApplication> app =
        wantsDesktop(argc, argv) && hasDisplay() ? std::make_unique<QGuiApplication>(argc, argv)
                                                 : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(Program);
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));

    CommandLine line(commandTable());
    int status = 0;
    try {
        switch (line.parse(QCoreApplication::arguments().mid(1))) {
        case CommandLine::Action::Help:
            printLines({line.helpText().chopped(1)});
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
