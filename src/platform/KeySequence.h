#pragma once

#include <QList>
#include <QString>

namespace platform {

// One key to press: a character, or a named key such as Tab, with the
// modifiers held while it is pressed.
struct KeyStroke
{
    enum class Named
    {
        Character,
        Tab,
        Enter,
        Escape,
        Backspace,
        Delete,
        Insert,
        Home,
        End,
        PageUp,
        PageDown,
        Left,
        Right,
        Up,
        Down,
        F1, // F1 + n for F(n+1), up to F12
    };
    char32_t character = 0; // used when named is Character
    Named named = Named::Character;
    int function = 0; // 1..12 for F1..F12
    bool shift = false;
    bool control = false;
    bool alt = false;

    friend bool operator==(const KeyStroke &, const KeyStroke &) = default;
};

// Parses the keystroke notation: "{TAB}", "{ENTER}" (also "~"), "{BS}", "{F5}",
// "{TAB 3}" for repeats, "{+}" and the like for the special characters
// themselves; "+", "^" and "%" hold Shift, Control and Alt for the next key or
// a "(...)" group. Unbalanced or unknown notation gives no keys at all, ok
// false and, in problem, what is wrong without quoting the text (it may be a
// password): typing part of it, or all of it as plain characters, could put a
// password in clear into the wrong field.
QList<KeyStroke> parseKeys(const QString &notation, bool *ok = nullptr, QString *problem = nullptr);

// What the user is told when a text is refused for its notation: the problem
// that parseKeys found, and how to write the special characters.
QString invalidNotationMessage(const QString &problem);

} // namespace platform
