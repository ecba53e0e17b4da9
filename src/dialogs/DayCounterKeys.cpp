#include "DayCounterKeys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace dialogs {

DayCounterKeys::DayCounterKeys(int maxLength, bool digitsOnly, QObject *parent)
    : QObject(parent), m_maxLength(maxLength), m_digitsOnly(digitsOnly)
{
}

bool DayCounterKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    auto *field = qobject_cast<QLineEdit *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    const bool shortcut = (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
    if (field == nullptr || shortcut || text.size() != 1 || !text.at(0).isPrint()) {
        return QObject::eventFilter(watched, event);
    }
    const QChar typed = text.at(0);
    if (m_digitsOnly) {
        const bool digit = typed >= QLatin1Char('0') && typed <= QLatin1Char('9');
        // A sign can only lead: the field is empty, or all of it is selected
        // and about to be replaced.
        const bool sign = typed == QLatin1Char('-') &&
                          (field->text().isEmpty() || field->selectedText() == field->text());
        if (!digit && !sign) {
            return true;
        }
    }
    // What is selected is replaced, so it does not count against the limit.
    const qsizetype kept = field->text().size() - field->selectedText().size();
    return kept >= m_maxLength;
}

DayCounterValidator::DayCounterValidator(QLineEdit &field, int maxLength)
    : QValidator(&field), m_accepted(field.text()), m_maxLength(maxLength)
{
    connect(&field, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_accepted = text; });
}

QValidator::State DayCounterValidator::validate(QString &input, int & /*position*/) const
{
    if (input.size() > m_maxLength && input.size() > m_accepted.size()) {
        return Invalid;
    }
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && (c != QLatin1Char('-') || i != 0)) {
            return Invalid;
        }
    }
    const bool newSign =
        input.startsWith(QLatin1Char('-')) && !m_accepted.startsWith(QLatin1Char('-'));
    // A sign may start an empty field; typed over a whole selection it stands alone.
    if (newSign && !m_accepted.isEmpty() && input != QStringLiteral("-")) {
        return Invalid;
    }
    return Acceptable;
}

} // namespace dialogs
