// Without --password-stdin the tool asks on the terminal: a pseudo-terminal
// stands in for the user, so echo and prompts are checked for real.

#include <csignal>
#include <pty.h>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

class PtyChild
{
public:
    PtyChild(const QString &dir, const char *args)
    {
        QList<QByteArray> storage{VELLUMOR_CLI};
        storage += QByteArray(args).split(' ');
        std::vector<char *> argv;
        for (QByteArray &a : storage) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const QByteArray where = QFile::encodeName(dir);
        m_pid = forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            if (chdir(where.constData()) == 0) {
                execv(argv[0], argv.data());
            }
            _exit(127);
        }
    }
    ~PtyChild()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_master);
    }
    // Waits until text has appeared in everything read so far (while output
    // keeps coming, each time 20 s at most), then types the keys.
    bool answer(const QByteArray &text, const QByteArray &keys)
    {
        while (!m_seen.contains(text)) {
            if (!readSome(20000)) {
                return false;
            }
        }
        return write(m_master, keys.constData(), size_t(keys.size())) == keys.size();
    }
    // Reads to the end and reaps the child: its exit status, or -1. The
    // terminal must be as it was found, echo on.
    int finish()
    {
        while (readSome(20000)) {
        }
        termios mode{};
        int status = 0;
        const bool echo = tcgetattr(m_master, &mode) == 0 && (mode.c_lflag & ECHO) != 0;
        const pid_t pid = std::exchange(m_pid, -1);
        return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && echo ? WEXITSTATUS(status)
                                                                            : -1;
    }
    QByteArray m_seen;

private:
    bool readSome(int timeoutMs)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_master, &set);
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        char buffer[512];
        const ssize_t n = select(m_master + 1, &set, nullptr, nullptr, &tv) > 0
                              ? read(m_master, buffer, sizeof buffer)
                              : 0;
        m_seen.append(buffer, std::max<ssize_t>(n, 0)); // EIO once the child has closed it
        return n > 0;
    }

    int m_master = -1;
    pid_t m_pid = -1;
};

} // namespace

class TestCliTerminal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwordsAreAskedWithoutEcho();
    void changesSavedMeanwhileAreMerged();
};

void TestCliTerminal::passwordsAreAskedWithoutEcho()
{
    QTemporaryDir dir;
    PtyChild mistyped(dir.path(), "create t.vlm --kdf-ops 1 --kdf-mem 1");
    QVERIFY(mistyped.answer("New password for t.vlm: ", "one\n"));
    QVERIFY(mistyped.answer("Repeat the password: ", "two\n"));
    QCOMPARE(mistyped.finish(), 1);
    QVERIFY(mistyped.m_seen.contains("vellumor-cli: The passwords do not match."));
    QVERIFY(!QFile::exists(QDir(dir.path()).filePath("t.vlm")));
    PtyChild create(dir.path(), "create t.vlm --kdf-ops 1 --kdf-mem 1");
    QVERIFY(create.answer("New password for t.vlm: ", "Geheim-42\n"));
    QVERIFY(create.answer("Repeat the password: ", "Geheim-42\n"));
    QCOMPARE(create.finish(), 0);
    PtyChild add(dir.path(), "add t.vlm Mail -p");
    QVERIFY(add.answer("Password for t.vlm: ", "Geheim-42\n"));
    QVERIFY(add.answer("Password for the service Mail: ", "mailpass\n"));
    QVERIFY(add.answer("Repeat the password: ", "mailpass\n"));
    QCOMPARE(add.finish(), 0);
    QVERIFY2(!(create.m_seen + add.m_seen).contains("Geheim") && !add.m_seen.contains("mailpass"),
             create.m_seen + add.m_seen);
    PtyChild show(dir.path(), "show t.vlm Mail --show-password");
    QVERIFY(show.answer("Password for t.vlm: ", "Geheim-42\n"));
    QCOMPARE(show.finish(), 0);
    QVERIFY(show.m_seen.contains("Password: mailpass"));
}

// One process reads the file and waits for a password while others save it:
// its own save merges their changes instead of overwriting them.
void TestCliTerminal::changesSavedMeanwhileAreMerged()
{
    QTemporaryDir dir;
    for (const char *line : {"create t.vlm --no-password", "add t.vlm Old", "add t.vlm Shared"}) {
        QCOMPARE(PtyChild(dir.path(), line).finish(), 0);
    }
    PtyChild slow(dir.path(), "edit t.vlm Shared -p");
    QVERIFY(slow.answer("Password for the service Shared: ", ""));
    for (const char *line : {"rm t.vlm Old", "add t.vlm New", "edit t.vlm Shared -u other"}) {
        QCOMPARE(PtyChild(dir.path(), line).finish(), 0);
    }
    QVERIFY(slow.answer("", "mine\n"));
    QVERIFY(slow.answer("Repeat the password: ", "mine\n"));
    QCOMPARE(slow.finish(), 0);
    QVERIFY2(
        slow.m_seen.contains("vellumor-cli: the file was changed elsewhere since it was "
                             "read; its changes were merged, not overwritten: 1 added, 0 "
                             "changed, 1 deleted, 1 kept as both, 0 kept though deleted on "
                             "one side") &&
            slow.m_seen.contains("the other version is kept as \"Shared (changed elsewhere)\""),
        slow.m_seen);
    PtyChild ls(dir.path(), "ls t.vlm");
    QCOMPARE(ls.finish(), 0);
    QCOMPARE(ls.m_seen, "New\r\nShared\r\nShared (changed elsewhere)\r\n");
}

QTEST_GUILESS_MAIN(TestCliTerminal)
#include "test_cli_terminal.moc"
