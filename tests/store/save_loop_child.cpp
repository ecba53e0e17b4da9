// Saves a password file over and over, alternating between two contents, until
// it is killed: FILE PASSWORD RECORDS. The crash-safety test kills it at random moments.

#include "PasswordStore.h"

#include <cstdio>
#include <QCoreApplication>

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    PasswordStore store;
    if (args.size() != 4 || !store.OpenFile(args.at(1), args.at(2))) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    PasswordEntry e;
    for (int round = 0;; ++round) {
        e.Password = QString("secret %1").arg(round);
        for (int i = 0; i < args.at(3).toInt(); ++i) {
            store.DeletePassword(QString(round % 2 == 0 ? "a-%1" : "b-%1").arg(i));
            e.service = QString(round % 2 == 0 ? "b-%1" : "a-%1").arg(i);
            store.AddPassword(e);
        }
        if (!store.SaveFile(QString(), round % 3 == 0, false)) {
            return 1;
        }
    }
}
