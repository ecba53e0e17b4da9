// A login form of another program for the typing test: a user name field and
// a password field. Enter prints what arrived in both (hex of their UTF-8).

#include <cstdio>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget form;
    form.setWindowTitle(QStringLiteral("login target"));
    auto *layout = new QVBoxLayout(&form);
    auto *user = new QLineEdit(&form);
    auto *password = new QLineEdit(&form);
    password->setEchoMode(QLineEdit::Password);
    layout->addWidget(user);
    layout->addWidget(password);
    form.resize(400, 100);
    form.show();
    form.activateWindow();
    user->setFocus();
    const auto report = [&] {
        std::printf("fields %s %s\n", user->text().toUtf8().toHex().constData(),
                    password->text().toUtf8().toHex().constData());
        std::fflush(stdout);
        QCoreApplication::quit();
    };
    QObject::connect(user, &QLineEdit::returnPressed, &app, report);
    QObject::connect(password, &QLineEdit::returnPressed, &app, report);
    QTimer ready;
    ready.setInterval(50);
    QObject::connect(&ready, &QTimer::timeout, &app, [&] {
        if (form.isActiveWindow() && user->hasFocus()) {
            ready.stop();
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    ready.start();
    // Without Enter the test ends us after a while.
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &app, &QCoreApplication::quit);
    giveUp.start(30000);
    return app.exec();
}
