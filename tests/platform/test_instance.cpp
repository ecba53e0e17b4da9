// Single instance with real processes: the lock, the hand-over and stale locks.

#include "InstanceChannel.h"

#include <csignal>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

namespace {

const QString Probe = QStringLiteral(VELLUMOR_INSTANCE_PROBE);

QString run(const QStringList &args)
{
    QProcess p;
    p.start(Probe, args);
    if (!p.waitForFinished(15000)) {
        return QStringLiteral("<hung>");
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

bool waitForLine(QProcess &p, const QByteArray &line)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        if (p.canReadLine()) {
            return p.readLine().trimmed() == line;
        }
        p.waitForReadyRead(200);
    }
    return false;
}

} // namespace

class TestInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondStartsHandOverExactBytes();
    void noRunningInstance();
    void crashedInstanceLeavesNoBlock();
    void namesLiveInTheRuntimeFolder();
};

void TestInstance::secondStartsHandOverExactBytes()
{
    QProcess first;
    first.start(Probe, {QStringLiteral("serve"), QStringLiteral("3")});
    QVERIFY(waitForLine(first, "first"));
    const QList<QByteArray> payloads = {
        QByteArray(1, '\0'),
        QByteArray("\"/home/user/My Files/pass words.VLM\""),
        QStringLiteral("/tmp/ünï ✓.VLM").toUtf8(),
    };
    for (const QByteArray &payload : payloads) {
        QCOMPARE(run({QStringLiteral("send"), QString::fromLatin1(payload.toHex())}),
                 QStringLiteral("sent"));
        QVERIFY(first.waitForReadyRead(5000) || first.canReadLine());
        QCOMPARE(first.readLine().trimmed(), QByteArray("payload " + payload.toHex()));
    }
    QVERIFY(first.waitForFinished(5000));
    // Once the first instance ended, the next start is the first again.
    QCOMPARE(run({QStringLiteral("send"), QStringLiteral("00")}), QStringLiteral("first"));
}

void TestInstance::noRunningInstance()
{
    QElapsedTimer t;
    t.start();
    QVERIFY(!platform::InstanceChannel::SendToRunningInstance(QByteArray(1, '\0')));
    QVERIFY(t.elapsed() < platform::InstanceChannel::SendTimeoutMs);
}

void TestInstance::crashedInstanceLeavesNoBlock()
{
    QProcess first;
    first.start(Probe, {QStringLiteral("serve"), QStringLiteral("1")});
    QVERIFY(waitForLine(first, "first"));
    QCOMPARE(run({QStringLiteral("serve"), QStringLiteral("1")}), QStringLiteral("second"));
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished(5000));
    QVERIFY(QFile::exists(platform::InstanceChannel::lockPath())); // left behind by the crash

    QProcess next;
    next.start(Probe, {QStringLiteral("serve"), QStringLiteral("1")});
    QVERIFY(waitForLine(next, "first"));
    QCOMPARE(run({QStringLiteral("send"), QStringLiteral("41")}), QStringLiteral("sent"));
    QVERIFY(next.waitForFinished(5000));
    QCOMPARE(next.readAllStandardOutput().trimmed(), QByteArray("payload 41"));
}

void TestInstance::namesLiveInTheRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QCOMPARE(platform::InstanceChannel::lockPath(),
             runtime + QStringLiteral("/QuorvanVellumor_APPLICATION_MUTEX"));
    QCOMPARE(platform::InstanceChannel::serverPath(),
             runtime + QStringLiteral("/QuorvanVellumor_APPLICATION"));
}

QTEST_GUILESS_MAIN(TestInstance)
#include "test_instance.moc"
