// A stand-in program for the single-instance test. "serve N": as the first instance, print
// each payload in hex, end after N; "send HEX": as a later start, send the bytes and print
// "sent" or "none"; else print "first" or "second", as it finds itself.

#include "InstanceChannel.h"

#include <cstdio>
#include <QCoreApplication>
#include <QTimer>

using platform::InstanceChannel;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    InstanceChannel channel;
    const bool first = channel.IsFirstInstance();
    if (args.value(1) == "send" && !first) {
        const QByteArray payload = QByteArray::fromHex(args.value(2).toLatin1());
        std::puts(InstanceChannel::SendToRunningInstance(payload) ? "sent" : "none");
        return 0;
    }
    std::puts(first ? "first" : "second");
    std::fflush(stdout);
    if (!first || args.value(1) != "serve")
        return 0;
    int left = args.value(2).toInt();
    QObject::connect(&channel, &InstanceChannel::payloadReceived, &app,
                     [&left](const QByteArray &payload) {
                         std::printf("payload %s\n", payload.toHex().constData());
                         std::fflush(stdout);
                         if (--left <= 0)
                             QCoreApplication::quit();
                     });
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}
