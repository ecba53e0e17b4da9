// Without --password-stdin the tool asks on the terminal: a pseudo-terminal
// stands in for the user, so echo and prompts are checked for real.
#include <cerrno>
#include <csignal>
#include <cstdlib>
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
    PtyChild(const QString &dir, const QStringList &args)
    {
        QList<QByteArray> storage{QByteArray(VELLUMOR_CLI)};
        for (const QString &a : args) {
            storage.append(a.toUtf8());
        }
        std::vector<char *> argv;
        for (QByteArray &a : storage) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const QByteArray where = QFile::encodeName(dir);
        m_pid = forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            if (chdir(where.constData()) != 0) {
                _exit(126);
            }
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~PtyChild()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_master >= 0) {
            close(m_master);
        }
    }
    PtyChild(const PtyChild &) = delete;
    PtyChild &operator=(const PtyChild &) = delete;

    bool started() const { return m_pid > 0 && m_master >= 0; }

    // Reads until text has appeared in everything read so far, or 20 s pass.
    bool waitFor(const QByteArray &text)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_seen.contains(text)) {
            if (timer.hasExpired(20000) || !readSome(20000 - int(timer.elapsed()))) {
                return false;
            }
        }
        return true;
    }
    void type(const QByteArray &keys)
    {
        QVERIFY(write(m_master, keys.constData(), static_cast<size_t>(keys.size())) == keys.size());
    }
    // Reads to the end and reaps the child: its exit status, or -1.
    int finish()
    {
        while (readSome(20000)) {
        }
        int status = 0;
        const pid_t pid = m_pid;
        m_pid = -1;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }
    const QByteArray &seen() const { return m_seen; }

private:
    bool readSome(int timeoutMs)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_master, &set);
        timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (select(m_master + 1, &set, nullptr, nullptr, &tv) <= 0) {
            return false;
        }
        char buffer[512];
        const ssize_t n = read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            return false; // EIO once the child has closed the terminal
        }
        m_seen.append(buffer, n);
        return true;
    }

    int m_master = -1;
    pid_t m_pid = -1;
    QByteArray m_seen;
};

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestCliTerminal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwordsAreAskedWithoutEcho();
    void mistypedRepeatIsRefused();
};

void TestCliTerminal::passwordsAreAskedWithoutEcho()
{
    QTemporaryDir dir;
    {
        PtyChild create(dir.path(), words("create t.vlm --kdf-ops 1 --kdf-mem 1"));
        QVERIFY(create.started());
        QVERIFY(create.waitFor("New password for t.vlm: "));
        create.type("Geheim-42\n");
        QVERIFY(create.waitFor("Repeat the password: "));
        create.type("Geheim-42\n");
        QCOMPARE(create.finish(), 0);
        QVERIFY2(!create.seen().contains("Geheim"), create.seen().constData());
    }
    PtyChild add(dir.path(), words("add t.vlm Mail -p"));
    QVERIFY(add.waitFor("Password for t.vlm: "));
    add.type("Geheim-42\n");
    QVERIFY(add.waitFor("Password for the service Mail: "));
    add.type("mailpass\n");
    QVERIFY(add.waitFor("Repeat the password: "));
    add.type("mailpass\n");
    QCOMPARE(add.finish(), 0);
    QVERIFY(!add.seen().contains("Geheim") && !add.seen().contains("mailpass"));

    // Echo is back on afterwards: the terminal is left as it was found.
    PtyChild show(dir.path(), words("show t.vlm Mail --show-password"));
    QVERIFY(show.waitFor("Password for t.vlm: "));
    show.type("Geheim-42\n");
    QCOMPARE(show.finish(), 0);
    QVERIFY(show.seen().contains("Password: mailpass"));
}

void TestCliTerminal::mistypedRepeatIsRefused()
{
    QTemporaryDir dir;
    PtyChild create(dir.path(), words("create t.vlm --kdf-ops 1 --kdf-mem 1"));
    QVERIFY(create.waitFor("New password for t.vlm: "));
    create.type("one\n");
    QVERIFY(create.waitFor("Repeat the password: "));
    create.type("two\n");
    QCOMPARE(create.finish(), 1);
    QVERIFY(create.seen().contains("vellumor-cli: The passwords do not match."));
    QVERIFY(!QFile::exists(QDir(dir.path()).filePath(QStringLiteral("t.vlm"))));
}

QTEST_GUILESS_MAIN(TestCliTerminal)
#include "test_cli_terminal.moc"
