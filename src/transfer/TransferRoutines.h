#pragma once

#include "Clipboard.h"
#include "KeyTyper.h"
#include "Services.h"
#include "Shell.h"

#include <QString>

namespace transfer {

// Hands one record of the open file to other programs: to the clipboard, as
// keystrokes into the window that has the focus, and to the desktop for its
// link. Records are addressed by their service name; their fields are read
// from the store at the moment of the call, so a file opened in between is
// taken into account.
class TransferRoutines
{
public:
    TransferRoutines(const app::Services &services, platform::Clipboard &clipboard,
                     platform::Shell &shell, platform::KeyTyper &typer);

    // Replace the clipboard with the password, the user name and password, or
    // the link of the record. An unknown record empties the clipboard, so
    // that nothing stale is pasted in its place.
    void CopyPassword(const QString &key) const;
    void CopyUserPassword(const QString &key) const;
    void CopyURL(const QString &key) const;

    // The user name and password as one clipboard text, joined by the
    // characters of the KeyBeforeCB and KeyAfterCB options; "" for an unknown
    // record.
    QString UserPasswordText(const QString &key) const;
    // The same as keystroke notation ("{TAB}", "{ENTER}" or the custom texts).
    // The fields go in unchanged, so their characters are read as notation.
    QString UserPasswordKeys(const QString &key) const;

    // Opens a link or starts a program; a text of blanks only is answered with
    // "No URL Assigned!". True when the desktop took the link.
    bool OpenURL(const QString &text) const;
    // OpenURL, then, when the user asked for it (GTSAfterURL) and the full main
    // window is showing, leave for the tray.
    void ExecuteUrlThenTray(const QString &url) const;

    // Notes the window the user works in as the one the next Send types
    // into; called before a menu of ours takes the keyboard.
    void RememberTarget() const;
    // Type the password, or the user name and password, into the remembered
    // window (restored and raised first), or without one into the window that
    // has the focus. Nothing is typed for an unknown record or an empty text.
    void SendPassword(const QString &key) const;
    void SendUserPassword(const QString &key) const;
    // Types keystroke notation into the focused window of another program.
    // False when nothing was typed: no text, one of our own windows holds
    // the focus, or the text is not valid notation or the desktop allows no
    // typing (both then explained).
    bool SendKeys(const QString &notation) const;

private:
    const PasswordStore *store() const;
    bool hasRecord(const QString &key) const;
    QString field(int number, const QString &key) const;

    const app::Services &m_services;
    platform::Clipboard &m_clipboard;
    platform::Shell &m_shell;
    platform::KeyTyper &m_typer;
};

} // namespace transfer
