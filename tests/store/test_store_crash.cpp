// A save interrupted at any moment (the process killed) leaves a file that opens
// with either the old or the new content, never a mixture or nothing.

#include "StoreFixtures.h"

#include <csignal>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

class TestStoreCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLeaveAWholeFile();
};

void TestStoreCrash::killedSavesLeaveAWholeFile()
{
    constexpr int Records = 300;
    QTemporaryDir dir;
    const QString file = dir.filePath("crash.VLM");
    auto first = newStore();
    for (int i = 0; i < Records; ++i) {
        QVERIFY(first->AddPassword(makeRecord(QString("a-%1").arg(i))));
    }
    first->SetPassword("pw");
    QVERIFY(first->SaveFile(file, false, false));
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    for (int kill = 0; kill < 40; ++kill) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(VELLUMOR_SAVE_LOOP_CHILD, {file, "pw", QString::number(Records)});
        QVERIFY(child.waitForReadyRead(10000));
        QTest::qWait(static_cast<int>(random.bounded(1, 120)));
        QCOMPARE(child.state(), QProcess::Running); // it must not have stopped by itself
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        // The file, and the backup when there is one, hold one whole content.
        for (const QString &name : {file, file + ".bak"}) {
            PasswordStore store;
            QVERIFY2(store.OpenFile(name, "pw") || name != file, qPrintable(store.LastError()));
            QVERIFY(!QFileInfo::exists(name) || store.Passwords().Count() == Records);
            for (const PasswordEntry &e : store.Passwords()) {
                QVERIFY2(e.service[0] == store.Passwords().begin()->service[0],
                         qPrintable(e.service));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestStoreCrash)
#include "test_store_crash.moc"
