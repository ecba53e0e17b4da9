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

} // namespace dialogs
