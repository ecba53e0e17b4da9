// A window of another program for the typing test: a line edit that prints
// what arrived (hex of its UTF-8) when Enter is pressed.

#include <cstdio>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("type target"));
    edit.resize(400, 40);
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QObject::connect(&edit, &QLineEdit::returnPressed, &app, [&edit] {
        std::printf("text %s\n", edit.text().toUtf8().toHex().constData());
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    QTimer ready;
    ready.setInterval(50);
    QObject::connect(&ready, &QTimer::timeout, &app, [&] {
        if (edit.isActiveWindow() && edit.hasFocus()) {
            ready.stop();
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    ready.start();
    // Without Enter the test ends us; what arrived by then helps to see why.
    QObject::connect(&edit, &QLineEdit::textChanged, &app, [](const QString &text) {
        std::fprintf(stderr, "type_target has: %s\n", qPrintable(text));
    });
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}
