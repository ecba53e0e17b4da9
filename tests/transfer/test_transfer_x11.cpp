// End to end under Xvfb: a user name and password typed into the login form
// of a second process, and a copied password read back by another X client.

#include "TransferFixture.h"

#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

// Runs an X client while this process keeps answering the X server, which it
// must do to hand over the clipboard it owns. Empty when the client fails.
QByteArray runClient(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(10000);
    process.start(program, arguments);
    loop.exec();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    return process.exitCode() == 0 ? process.readAllStandardOutput() : QByteArray();
}

} // namespace

class TestTransferX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void typesUserAndPasswordIntoTheForm();
    void copiedPasswordReachesOtherPrograms();
};

void TestTransferX11::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        QSKIP("needs an X display (run under tests/with-xvfb.sh)");
    }
}

void TestTransferX11::typesUserAndPasswordIntoTheForm()
{
    TransferFixture f;
    QVERIFY(f.add(QStringLiteral("Forum"), QStringLiteral("alice.o'neil@bank.example"),
                  QStringLiteral("Pa55 w0rd!äß"), QString()));
    f.t.options.KeyBeforeCB = 8;
    f.t.options.KeyAfterCB = 13;
    const std::unique_ptr<platform::KeyTyper> typer = platform::makeSystemKeyTyper();
    const transfer::TransferRoutines routines(f.t.services, f.clipboard, f.shell, *typer);

    QProcess target;
    target.start(QStringLiteral(VELLUMOR_LOGIN_TARGET), {});
    QVERIFY(target.waitForStarted());
    QVERIFY(target.waitForReadyRead(10000));
    QCOMPARE(target.readLine().trimmed(), QByteArray("ready"));

    routines.SendUserPassword(QStringLiteral("Forum"));
    QVERIFY(f.t.prompt.asked.isEmpty());
    // Sending lets pending events run, so the form may be seen finished already.
    if (target.state() != QProcess::NotRunning && !target.waitForFinished(10000)) {
        target.terminate();
        target.waitForFinished(5000);
        QFAIL(qPrintable(QStringLiteral("the form got no Enter: ") +
                         QString::fromLocal8Bit(target.readAllStandardError())));
    }
    const QList<QByteArray> fields = target.readAllStandardOutput().trimmed().split(' ');
    QCOMPARE(fields.size(), 3);
    QCOMPARE(fields[0], QByteArray("fields"));
    QCOMPARE(QString::fromUtf8(QByteArray::fromHex(fields[1])),
             QStringLiteral("alice.o'neil@bank.example"));
    QCOMPARE(QString::fromUtf8(QByteArray::fromHex(fields[2])), QStringLiteral("Pa55 w0rd!äß"));
}

void TestTransferX11::copiedPasswordReachesOtherPrograms()
{
    const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    if (xclip.isEmpty()) {
        QSKIP("xclip is not installed");
    }
    TransferFixture f;
    platform::SystemClipboard system;
    const transfer::TransferRoutines routines(f.t.services, system, f.shell, f.typer);
    const auto read = [&xclip](const QString &target) {
        QStringList arguments{QStringLiteral("-o"), QStringLiteral("-selection"),
                              QStringLiteral("clipboard")};
        if (!target.isEmpty()) {
            arguments << QStringLiteral("-t") << target;
        }
        return runClient(xclip, arguments);
    };
    const QString hint = QStringLiteral("x-kde-passwordManagerHint");

    routines.CopyPassword(QStringLiteral("Bank"));
    QCOMPARE(read(QString()), QByteArray("s3cret"));
    QVERIFY(read(QStringLiteral("TARGETS")).split('\n').contains(hint.toLatin1()));
    QCOMPARE(read(hint), QByteArray("secret"));

    routines.CopyURL(QStringLiteral("Bank"));
    QCOMPARE(read(QString()), QByteArray("https://bank.example/login"));
    const QList<QByteArray> targets = read(QStringLiteral("TARGETS")).split('\n');
    QVERIFY(targets.contains("UTF8_STRING"));
    QVERIFY(!targets.contains(hint.toLatin1()));
}

QTEST_MAIN(TestTransferX11)
#include "test_transfer_x11.moc"
