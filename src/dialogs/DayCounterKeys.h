#pragma once

#include <QObject>
#include <QValidator>

class QLineEdit;

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

// The same rule for text that arrives another way (pasted, dropped): only
// digits, a minus sign only as the first character of a field that held no
// text or already had the sign, and no longer than `maxLength` unless the
// text only got shorter. Text set by the program is not checked.
class DayCounterValidator : public QValidator
{
    Q_OBJECT

public:
    DayCounterValidator(QLineEdit &field, int maxLength);
    State validate(QString &input, int &position) const override;

private:
    QString m_accepted; // the field's text before the change being checked
    int m_maxLength;
};

} // namespace dialogs
