#pragma once

#include <QObject>

namespace dialogs {

// Filters what is typed into a day counter: at most `maxLength` characters,
// and with `digitsOnly` only the digits, with a leading minus sign allowed
// while the field is empty (or wholly selected). Editing and shortcut keys (Backspace, Enter,
// arrows, Ctrl+ combinations) always pass. Text set by the program is not
// limited, so a spinner can write counts longer than a user may type.
class DayCounterKeys : public QObject
{
    Q_OBJECT

public:
    DayCounterKeys(int maxLength, bool digitsOnly, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_maxLength;
    bool m_digitsOnly;
};

} // namespace dialogs
