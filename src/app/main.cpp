#include "Main.h"

#include "ProcessHardening.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    platform::disableCoreDumps();
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
