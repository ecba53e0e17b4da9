// A stand-in program for the single-instance tests.
//   instance_probe serve N   become the first instance, print each payload in hex, end after N
//   instance_probe send HEX  as a later start: send the bytes, print "sent" or "none"

#include "InstanceChannel.h"

#include <cstdio>
#include <QCoreApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        return 2;
    }
    platform::InstanceChannel channel;
    if (args.at(1) == QLatin1String("send")) {
        if (channel.IsFirstInstance()) {
            std::puts("first");
            return 0;
        }
        const bool sent = platform::InstanceChannel::SendToRunningInstance(
            QByteArray::fromHex(args.at(2).toLatin1()));
        std::puts(sent ? "sent" : "none");
        return 0;
    }
    if (!channel.IsFirstInstance()) {
        std::puts("second");
        return 0;
    }
    std::puts("first");
    std::fflush(stdout);
    int left = args.at(2).toInt();
    QObject::connect(&channel, &platform::InstanceChannel::payloadReceived, &app,
                     [&left](const QByteArray &payload) {
                         std::printf("payload %s\n", payload.toHex().constData());
                         std::fflush(stdout);
                         if (--left <= 0) {
                             QCoreApplication::quit();
                         }
                     });
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}
