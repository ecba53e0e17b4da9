// A save interrupted at any moment (the process killed) leaves a file that opens
// with either the old or the new content, never a mixture or nothing.

#include "StoreFixtures.h"

#include <csignal>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestStoreCrash : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedSavesLeaveAWholeFile();
};

void TestStoreCrash::killedSavesLeaveAWholeFile()
{
    constexpr int Records = 300;
    constexpr int Kills = 40;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("crash.VLM"));
    const QString password = QStringLiteral("pw");
    {
        auto store = newStore();
        for (int i = 0; i < Records; ++i) {
            QVERIFY(store->AddPassword(makeRecord(QStringLiteral("a-%1").arg(i))));
        }
        store->SetPassword(password);
        QVERIFY(store->SaveFile(file, false, false));
    }
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    int sawA = 0;
    int sawB = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(VELLUMOR_SAVE_LOOP_CHILD),
                    {file, password, QString::number(Records)});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(10000));
        QTest::qWait(static_cast<int>(random.bounded(1, 120)));
        QCOMPARE(child.state(), QProcess::Running); // it must not have stopped by itself
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));

        PasswordStore store;
        QVERIFY2(store.OpenFile(file, password), qPrintable(store.LastError()));
        QCOMPARE(store.Passwords().Count(), Records);
        const QString first = store.Passwords().begin()->service.left(1);
        for (const PasswordEntry &e : store.Passwords()) {
            QVERIFY2(e.service.startsWith(first), qPrintable(e.service));
        }
        (first == QLatin1String("a") ? sawA : sawB) += 1;
        // The backup, when one was written completely, opens as well.
        const QString backup = file + QStringLiteral(".bak");
        if (QFileInfo::exists(backup)) {
            PasswordStore old;
            QVERIFY2(old.OpenFile(backup, password), qPrintable(old.LastError()));
            QCOMPARE(old.Passwords().Count(), Records);
        }
    }
    qInfo("old content %d times, new content %d times", sawA, sawB);
    QVERIFY(sawA + sawB == Kills);
}

QTEST_GUILESS_MAIN(TestStoreCrash)
#include "test_store_crash.moc"
