#include "PasswordInput.h"

#include "CliError.h"
#include "SecureBytes.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sodium.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Longer lines are refused rather than silently cut.
constexpr std::size_t MaxLineBytes = 4096;

Secret fromUtf8(const unsigned char *bytes, std::size_t size)
{
    // Windows-style line ends from a piped file must not become part of the password.
    if (size > 0 && bytes[size - 1] == '\r') {
        --size;
    }
    return Secret(
        QString::fromUtf8(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(size)));
}

// One line from fd, without its line end; nullopt at end of input. Byte by
// byte, so nothing after the line is consumed from a pipe shared with others.
std::optional<Secret> readLine(int fd)
{
    SecureBytes buffer(MaxLineBytes);
    std::size_t size = 0;
    for (;;) {
        unsigned char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw Failure(QStringLiteral("The password cannot be read: %1.")
                              .arg(QString::fromLocal8Bit(strerror(errno))));
        }
        if (n == 0) {
            if (size == 0) {
                return std::nullopt;
            }
            break;
        }
        if (c == '\n') {
            break;
        }
        if (size == MaxLineBytes) {
            throw Failure(
                QStringLiteral("The password is longer than %1 bytes.").arg(MaxLineBytes));
        }
        buffer.data()[size++] = c;
    }
    return fromUtf8(buffer.data(), size);
}

void writeText(int fd, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return; // the prompt is a courtesy; the read below still works
        }
        done += n;
    }
}

// The terminal state to put back when a signal ends the program while echo is
// off; otherwise the user's shell would be left without echo.
constexpr std::array<int, 4> RestoringSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
volatile std::sig_atomic_t g_echoOffFd = -1;
termios g_savedTerminal{};
std::array<struct sigaction, RestoringSignals.size()> g_previousActions{};

void restoreTerminalAndRaise(int signal)
{
    const int fd = g_echoOffFd;
    if (fd >= 0) {
        tcsetattr(fd, TCSANOW, &g_savedTerminal);
    }
    for (std::size_t i = 0; i < RestoringSignals.size(); ++i) {
        if (RestoringSignals[i] == signal) {
            sigaction(signal, &g_previousActions[i], nullptr);
        }
    }
    raise(signal);
}

// The controlling terminal with echo off for as long as the object lives.
class EchoOffTerminal
{
public:
    EchoOffTerminal() : m_fd(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC))
    {
        if (m_fd < 0) {
            throw Failure(QStringLiteral("There is no terminal to ask for the password on; "
                                         "give it with --password-stdin."));
        }
        m_echoOff = tcgetattr(m_fd, &g_savedTerminal) == 0;
        if (!m_echoOff) {
            return; // not a real terminal: nothing to switch off, nothing to restore
        }
        struct sigaction action
        {
        };
        action.sa_handler = restoreTerminalAndRaise;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < RestoringSignals.size(); ++i) {
            sigaction(RestoringSignals[i], &action, &g_previousActions[i]);
        }
        g_echoOffFd = m_fd;
        termios quiet = g_savedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(m_fd, TCSAFLUSH, &quiet);
    }
    ~EchoOffTerminal()
    {
        if (m_echoOff) {
            tcsetattr(m_fd, TCSAFLUSH, &g_savedTerminal);
            g_echoOffFd = -1;
            for (std::size_t i = 0; i < RestoringSignals.size(); ++i) {
                sigaction(RestoringSignals[i], &g_previousActions[i], nullptr);
            }
        }
        ::close(m_fd);
    }
    EchoOffTerminal(const EchoOffTerminal &) = delete;
    EchoOffTerminal &operator=(const EchoOffTerminal &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd;
    bool m_echoOff = false;
};

Secret askTerminal(const QString &prompt)
{
    const EchoOffTerminal terminal;
    writeText(terminal.fd(), prompt);
    std::optional<Secret> line = readLine(terminal.fd());
    // The Enter key was not echoed either.
    writeText(terminal.fd(), QStringLiteral("\n"));
    if (!line) {
        throw Failure(QStringLiteral("No password was given."));
    }
    return std::move(*line);
}

Secret nextStdinLine()
{
    std::optional<Secret> line = readLine(STDIN_FILENO);
    if (!line) {
        throw Failure(QStringLiteral("Standard input ended before the password line."));
    }
    return std::move(*line);
}

} // namespace

Secret &Secret::operator=(Secret &&other) noexcept
{
    if (this != &other) {
        wipe();
        m_text = std::move(other.m_text);
    }
    return *this;
}

void Secret::wipe()
{
    // Writing through data() of a shared string would detach and wipe only a copy.
    if (!m_text.isEmpty() && m_text.isDetached()) {
        sodium_memzero(m_text.data(), static_cast<std::size_t>(m_text.size()) * sizeof(QChar));
    }
    m_text.clear();
}

Secret PasswordSource::ask(const QString &prompt) const
{
    return m_fromStdin ? nextStdinLine() : askTerminal(prompt);
}

Secret PasswordSource::askNew(const QString &prompt, const QString &repeatPrompt) const
{
    if (m_fromStdin) {
        return nextStdinLine();
    }
    Secret first = askTerminal(prompt);
    const Secret second = askTerminal(repeatPrompt);
    if (first.text() != second.text()) {
        throw Failure(QStringLiteral("The passwords do not match."));
    }
    return first;
}
