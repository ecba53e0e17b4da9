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
// a "(...)" group. ok is false for unbalanced or unknown notation, which is
// then typed as it stands, character by character.
QList<KeyStroke> parseKeys(const QString &notation, bool *ok = nullptr);

// The same text, every character typed literally (for a text that must not be
// read as notation).
QList<KeyStroke> literalKeys(const QString &text);

} // namespace platform
