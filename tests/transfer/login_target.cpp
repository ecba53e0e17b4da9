// Another program's login form for the typing tests: a user name and a password
// field. It says "ready" once it has the focus; Enter prints what arrived in
// both (hex of their UTF-8) and ends it. Without Enter it ends after 30 s.

#include <cstdio>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget form;
    auto *user = new QLineEdit(&form);
    auto *password = new QLineEdit(&form);
    password->setEchoMode(QLineEdit::Password);
    (new QVBoxLayout(&form))->addWidget(user);
    form.layout()->addWidget(password);
    form.show();
    form.activateWindow();
    user->setFocus();
    const auto say = [](const QByteArray &line) {
        std::puts(line.constData());
        std::fflush(stdout);
    };
    for (QLineEdit *field : {user, password}) {
        QObject::connect(field, &QLineEdit::returnPressed, &app, [&] {
            say("fields " + user->text().toUtf8().toHex() + ' ' +
                password->text().toUtf8().toHex());
            QCoreApplication::quit();
        });
    }
    QTimer ready;
    QObject::connect(&ready, &QTimer::timeout, &app, [&] {
        if (form.isActiveWindow() && user->hasFocus()) {
            ready.stop();
            say("ready");
        }
    });
    ready.start(50);
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}
