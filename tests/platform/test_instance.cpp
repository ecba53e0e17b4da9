// Single instance with real processes: the first start holds the lock (also
// after a crash of its holder) and later starts hand their bytes over to it.

#include "InstanceChannel.h"

#include <csignal>
#include <QProcess>
#include <QTest>

using platform::InstanceChannel;

class TestInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handOver();
};

namespace {

// What a probe that ends by itself printed: "first", "second", "sent" or "none".
QString run(const QStringList &args)
{
    QProcess p;
    p.start(VELLUMOR_INSTANCE_PROBE, args);
    return p.waitForFinished(15000) ? QString(p.readAllStandardOutput()).trimmed() : "<hung>";
}

// Starts a first instance that ends after the given number of hand-overs.
bool serve(QProcess &p, int payloads)
{
    p.start(VELLUMOR_INSTANCE_PROBE, {"serve", QString::number(payloads)});
    return p.waitForReadyRead(10000) && p.readLine().trimmed() == "first";
}

} // namespace

void TestInstance::handOver()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QCOMPARE(InstanceChannel::lockPath(), runtime + "/QuorvanVellumor_APPLICATION_MUTEX");
    QVERIFY(!InstanceChannel::SendToRunningInstance("x")); // nobody there

    // A first instance that crashed leaves its lock file, but blocks nobody.
    QProcess crashed;
    QVERIFY(serve(crashed, 1));
    ::kill(static_cast<pid_t>(crashed.processId()), SIGKILL);
    QVERIFY(crashed.waitForFinished(5000));
    QVERIFY(QFile::exists(InstanceChannel::lockPath()));

    QProcess first;
    QVERIFY(serve(first, 2));
    QCOMPARE(run({"serve", "1"}), QString("second"));
    for (const QByteArray &payload : {QByteArray("\"/home/user/My Files/pass words.VLM\""),
                                      QString("/home/user/ünï ✓.VLM").toUtf8()}) {
        QCOMPARE(run({"send", payload.toHex()}), QString("sent"));
        QVERIFY(first.canReadLine() || first.waitForReadyRead(5000));
        QCOMPARE(first.readLine().trimmed(), "payload " + payload.toHex());
    }
    QVERIFY(first.waitForFinished(5000));
    // Once the first instance ended, the next start is the first again.
    QCOMPARE(run({"send", "41"}), QString("first"));
}

QTEST_GUILESS_MAIN(TestInstance)
#include "test_instance.moc"
