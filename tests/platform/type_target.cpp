// A window of another program for the typing test: a line edit that prints
// "ready" once it has the focus, and what arrived (hex of its UTF-8) on Enter.

#include <cstdio>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLineEdit edit;
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QObject::connect(&edit, &QLineEdit::returnPressed, &app, [&edit] {
        std::printf("text %s\n", edit.text().toUtf8().toHex().constData());
        QCoreApplication::quit();
    });
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, &app, [&] {
        if (edit.isActiveWindow() && edit.hasFocus()) {
            ready.stop();
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    ready.start(50);
    QTimer::singleShot(30000, &app, &QCoreApplication::quit); // never left behind
    return app.exec();
}
