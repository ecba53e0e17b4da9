#pragma once

#include <QString>

namespace transfer {

// The codes of the KeyBeforeCB and KeyAfterCB options: which key goes
// between the user name and the password, and which one after it.
namespace KeyCode {
constexpr qint16 Tab = 8; // 8, not 9: the code the options have always stored
constexpr qint16 Enter = 13;
constexpr qint16 Nothing = 0;
constexpr qint16 Custom = -1; // the option's own text (KeyBefore, KeyAfter)
} // namespace KeyCode

// The keystroke notation for one key code: "{TAB}", "{ENTER}", the custom
// text for -1, and "" for anything else.
QString KeyText(qint16 code, const QString &custom);

// What one key code adds to the clipboard text: the custom text for -1,
// nothing for 0, otherwise the character with that code (8 is a backspace
// character there, not a tab). A code that names no character adds nothing.
QString SeparatorText(qint16 code, const QString &custom);

} // namespace transfer
