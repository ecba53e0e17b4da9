// clip: a record's password on the desktop's clipboard for a while.
#include "CliError.h"
#include "Clipboard.h"
#include "Commands.h"
#include "KeyText.h"
#include "Output.h"
#include "ProgramOptions.h"
#include "SecureBytes.h"
#include "Session.h"
#include "Settings.h"

#include <array>
#include <csignal>
#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QLatin1String TimeoutOption("--timeout");
constexpr quint64 MostSeconds = 999;

// Ends the wait on Ctrl+C or a polite kill, so that the clipboard is still
// cleared: a signal handler may only write to a descriptor, which the event
// loop then reads.
class QuitOnSignals
{
public:
    explicit QuitOnSignals(QEventLoop &loop)
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_pair.data()) != 0) {
            return;
        }
        m_notifier = std::make_unique<QSocketNotifier>(s_pair[1], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            std::signal(signal, &QuitOnSignals::onSignal);
        }
    }
    ~QuitOnSignals()
    {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            std::signal(signal, SIG_DFL);
        }
        m_notifier.reset();
        for (int &fd : s_pair) {
            if (fd >= 0) {
                ::close(fd);
                fd = -1;
            }
        }
    }
    QuitOnSignals(const QuitOnSignals &) = delete;
    QuitOnSignals &operator=(const QuitOnSignals &) = delete;

private:
    static void onSignal(int)
    {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(s_pair[0], &byte, 1);
    }

    // The handler can reach nothing else; one wait at a time.
    static inline std::array<int, 2> s_pair{-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// The joining keys between user name and password, as the program's copy
// command uses them.
ProgramOptions userOptions()
{
    Settings settings;
    ProgramOptions options;
    ReadOptions(settings, options, QCoreApplication::applicationDirPath());
    return options;
}

} // namespace

int runClip(const Invocation &inv)
{
    quint64 seconds = 10;
    if (const auto text = inv.value(TimeoutOption)) {
        seconds = parseNumber(TimeoutOption, *text, MostSeconds);
        if (seconds == 0) {
            // The clipboard lives in this process: after it, nothing would be left to paste.
            throw UsageError(QStringLiteral("%1: at least 1 second").arg(TimeoutOption));
        }
    }
    if (qGuiApp == nullptr) {
        throw Failure(QStringLiteral("clip needs a desktop session: neither DISPLAY nor "
                                     "WAYLAND_DISPLAY is set."));
    }
    Session session(inv);
    session.open(inv.args.at(0));
    const PasswordEntry &e = session.record(inv.args.at(1));
    QString text = e.Password;
    if (inv.has(QLatin1String("--user"))) {
        const ProgramOptions options = userOptions();
        text = e.UserName + transfer::SeparatorText(options.KeyBeforeCB, options.KeyBefore) +
               e.Password + transfer::SeparatorText(options.KeyAfterCB, options.KeyAfter);
    }
    if (text.isEmpty()) {
        throw Failure(QStringLiteral("The record \"%1\" has no password.").arg(e.service));
    }

    platform::SystemClipboard clipboard; // cleared below, and when it goes
    clipboard.setText(text, true);
    wipeText(text);
    printLine(QStringLiteral("%1 of \"%2\" on the clipboard for %3 seconds.")
                  .arg(inv.has(QLatin1String("--user")) ? QStringLiteral("User name and password")
                                                        : QStringLiteral("Password"),
                       oneLine(e.service))
                  .arg(seconds));
    flushOutput();

    QEventLoop loop;
    const QuitOnSignals interrupt(loop);
    QTimer::singleShot(std::chrono::seconds(seconds), &loop, &QEventLoop::quit);
    // Something else copied meanwhile: the clipboard is the user's again.
    QClipboard *system = QGuiApplication::clipboard();
    QObject::connect(system, &QClipboard::changed, &loop, [&loop, system](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !system->ownsClipboard()) {
            loop.quit();
        }
    });
    loop.exec();
    clipboard.clearSecret();
    return 0;
}
