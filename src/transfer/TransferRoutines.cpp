#include "TransferRoutines.h"

#include "KeyText.h"
#include "SecureBytes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

namespace transfer {

namespace {

constexpr int UserNameField = 1;
constexpr int PasswordField = 2;
constexpr int UrlField = 4;

const QString MessageTitle = QStringLiteral("VLM");

// Overwrites a text holding a secret when it goes out of scope. A string that
// still shares its characters with another (the store's record, the
// clipboard's copy) is left alone: writing would only wipe a fresh copy.
// Joins the parts in one buffer sized beforehand, so that no half-built copy
// of the password is left behind in freed memory by a reallocation.
QString joined(std::initializer_list<const QString *> parts)
{
    qsizetype size = 0;
    for (const QString *part : parts) {
        size += part->size();
    }
    QString text;
    text.reserve(size);
    for (const QString *part : parts) {
        text.append(*part);
    }
    return text;
}

// One of Vellumor's own windows has the keyboard focus; a menu that is still
// closing does not count.
bool ownWindowHasFocus()
{
    const QWindow *window = QGuiApplication::focusWindow();
    return window != nullptr && window->isVisible() && window->type() != Qt::Popup;
}

} // namespace

TransferRoutines::TransferRoutines(const app::Services &services, platform::Clipboard &clipboard,
                                   platform::Shell &shell, platform::KeyTyper &typer)
    : m_services(services), m_clipboard(clipboard), m_shell(shell), m_typer(typer)
{
}

const PasswordStore *TransferRoutines::store() const
{
    return m_services.state.Store.get();
}

bool TransferRoutines::hasRecord(const QString &key) const
{
    const PasswordStore *s = store();
    return s != nullptr && s->Passwords().Contains(key);
}

QString TransferRoutines::field(int number, const QString &key) const
{
    const PasswordStore *s = store();
    return s != nullptr ? s->GetField(number, key) : QString();
}

void TransferRoutines::CopyPassword(const QString &key) const
{
    m_clipboard.setText(field(PasswordField, key), true);
}

void TransferRoutines::CopyUserPassword(const QString &key) const
{
    QString text = UserPasswordText(key);
    const WipeOnExit wipe(text);
    m_clipboard.setText(text, true);
}

void TransferRoutines::CopyURL(const QString &key) const
{
    // A link is no secret: clipboard histories may keep it.
    m_clipboard.setText(field(UrlField, key), false);
}

QString TransferRoutines::UserPasswordText(const QString &key) const
{
    if (!hasRecord(key)) {
        return QString();
    }
    const ProgramOptions &options = m_services.options;
    const QString user = field(UserNameField, key);
    const QString password = field(PasswordField, key);
    const QString before = SeparatorText(options.KeyBeforeCB, options.KeyBefore);
    const QString after = SeparatorText(options.KeyAfterCB, options.KeyAfter);
    return joined({&user, &before, &password, &after});
}

QString TransferRoutines::UserPasswordKeys(const QString &key) const
{
    if (!hasRecord(key)) {
        return QString();
    }
    const ProgramOptions &options = m_services.options;
    const QString user = field(UserNameField, key);
    const QString password = field(PasswordField, key);
    const QString before = KeyText(options.KeyBeforeCB, options.KeyBefore);
    const QString after = KeyText(options.KeyAfterCB, options.KeyAfter);
    return joined({&user, &before, &password, &after});
}

bool TransferRoutines::OpenURL(const QString &text) const
{
    if (text.trimmed().isEmpty()) {
        m_services.prompt.ask(QStringLiteral("No URL Assigned!"), platform::PromptButtons::Ok,
                              platform::PromptIcon::None, MessageTitle);
        return false;
    }
    return m_shell.open(text);
}

void TransferRoutines::ExecuteUrlThenTray(const QString &url) const
{
    OpenURL(url);
    if (!m_services.options.GTSAfterURL || m_services.state.TrayMode) {
        return;
    }
    if (app::MainWindowOps *window = m_services.state.CurrentMainWindow()) {
        window->GotoSysTray();
    }
}

void TransferRoutines::SendPassword(const QString &key) const
{
    QString password = field(PasswordField, key);
    const WipeOnExit wipe(password);
    SendKeys(password);
}

void TransferRoutines::SendUserPassword(const QString &key) const
{
    QString keys = UserPasswordKeys(key);
    const WipeOnExit wipe(keys);
    SendKeys(keys);
}

void TransferRoutines::RememberTarget() const
{
    m_typer.rememberTarget();
}

bool TransferRoutines::SendKeys(const QString &notation) const
{
    if (notation.isEmpty()) {
        return false;
    }
    // Refused whole, whatever the back end: typed in part or as plain text, a
    // password would land in clear in the user name field.
    bool valid = false;
    QString problem;
    platform::parseKeys(notation, &valid, &problem);
    if (!valid) {
        m_services.prompt.ask(platform::invalidNotationMessage(problem),
                              platform::PromptButtons::Ok, platform::PromptIcon::Critical,
                              MessageTitle);
        return false;
    }
    // Keys meant for another program must not land in one of our own fields.
    if (ownWindowHasFocus()) {
        return false;
    }
    QString error;
    if (!m_typer.type(notation, error)) {
        // Without a reason the window to type into has gone, and nothing is said.
        if (!error.isEmpty()) {
            m_services.prompt.ask(error, platform::PromptButtons::Ok,
                                  platform::PromptIcon::Critical, MessageTitle);
        }
        return false;
    }
    // Let the windows catch up with what was typed before anything else runs.
    QCoreApplication::processEvents();
    return true;
}

} // namespace transfer
