// Saves a password file over and over, alternating between two contents, until
// it is killed. The crash-safety test kills it at random moments.

#include "PasswordStore.h"

#include <cstdio>
#include <QCoreApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fputs("usage: save_loop_child FILE PASSWORD RECORDS\n", stderr);
        return 2;
    }
    const QString path = args.at(1);
    const QString password = args.at(2);
    const int records = args.at(3).toInt();
    PasswordStore store;
    if (!store.OpenFile(path, password)) {
        std::fprintf(stderr, "%s\n", qPrintable(store.LastError()));
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int round = 0;; ++round) {
        const QString prefix = (round % 2 == 0) ? QStringLiteral("b") : QStringLiteral("a");
        const QString old = (round % 2 == 0) ? QStringLiteral("a") : QStringLiteral("b");
        for (int i = 0; i < records; ++i) {
            store.DeletePassword(QStringLiteral("%1-%2").arg(old).arg(i));
            PasswordEntry e;
            e.service = QStringLiteral("%1-%2").arg(prefix).arg(i);
            e.Password = QStringLiteral("secret %1").arg(round);
            store.AddPassword(e);
        }
        if (!store.SaveFile(QString(), round % 3 == 0, false)) {
            std::fprintf(stderr, "%s\n", qPrintable(store.LastError()));
            return 1;
        }
    }
}
