#include "Main.h"

#include "ProcessHardening.h"
#include "StartUp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

namespace {

// Prints the help or the version. Needs no display, so it runs before the
// widget application exists.
int answerProgramOption(int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vellumor keeps passwords in an encrypted password file.\n"
                       "The whole command line, quoted or not, is the file to open."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The password file (.VLM) to open."),
                                 QStringLiteral("[file]"));
    // Prints and ends the process for both options.
    parser.process(QCoreApplication::arguments());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    platform::disableCoreDumps();
    QStringList given;
    for (int i = 1; i < argc; ++i) {
        given.append(QString::fromLocal8Bit(argv[i]));
    }
    if (app::programOption(given) != app::ProgramOption::None) {
        return answerProgramOption(argc, argv);
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumor"));
    QApplication::setApplicationVersion(QStringLiteral(VELLUMOR_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vellumor/app.png")));
    // Windows come and go (main window, tray window, dialogs); the main loop
    // decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);

    // A path with blanks may arrive split by a launcher; joined, it is the
    // command line the program has always been given.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    return app::Main(arguments.join(QLatin1Char(' ')));
}
