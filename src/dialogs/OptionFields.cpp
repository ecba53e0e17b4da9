#include "OptionFields.h"

#include <algorithm>
#include <QComboBox>

namespace options {

QList<Choice> trayIconActions()
{
    return {{QStringLiteral("Open"), 1}, {QStringLiteral("Add Item"), 2}};
}

QList<Choice> serviceActions()
{
    return {{QStringLiteral("Edit Service"), 1},       {QStringLiteral("Copy Password"), 2},
            {QStringLiteral("Copy User/Password"), 3}, {QStringLiteral("Copy URL"), 4},
            {QStringLiteral("Send Password"), 5},      {QStringLiteral("Send User/Password"), 6},
            {QStringLiteral("Go to URL"), 7}};
}

QList<Choice> gridActions()
{
    return {{QStringLiteral("Edit Password"), 1},
            {QStringLiteral("Copy Password"), 2},
            {QStringLiteral("Copy User/PW"), 3},
            {QStringLiteral("Copy URL"), 4},
            {QStringLiteral("Execute URL"), 5}};
}

QList<Choice> keyChoices()
{
    // The tab key is stored as 8, which is what the typing code expects.
    return {{QStringLiteral("TAB"), 8},
            {QStringLiteral("ENTER"), 13},
            {QStringLiteral("NOTHING"), 0},
            {QStringLiteral("-Other-"), OtherKey}};
}

QList<Choice> backupTypes()
{
    return {{QStringLiteral("None"), 0},
            {QStringLiteral("Single Backup"), 1},
            {QStringLiteral("History Backup"), 2}};
}

void fillChoices(QComboBox &combo, const QList<Choice> &choices)
{
    combo.clear();
    for (const Choice &choice : choices) {
        combo.addItem(choice.text, QVariant::fromValue(choice.data));
    }
}

void selectChoice(QComboBox &combo, qint16 value)
{
    combo.setCurrentIndex(combo.findData(QVariant::fromValue(value)));
}

std::optional<qint16> selectedChoice(const QComboBox &combo)
{
    if (combo.currentIndex() < 0) {
        return std::nullopt;
    }
    return combo.currentData().value<qint16>();
}

int backupPosition(bool backupFile, bool backupHistory)
{
    // A history without a backup file is no backup at all.
    if (!backupFile) {
        return 0;
    }
    return backupHistory ? 2 : 1;
}

bool backupFileAt(int position)
{
    return position >= 1;
}

bool backupHistoryAt(int position)
{
    return position == 2;
}

std::optional<qint16> wholeNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qint16 value = trimmed.toShort(&ok, 10);
    // Plain decimal with an optional minus: toShort would also take "+5".
    if (!ok || trimmed.startsWith(QLatin1Char('+'))) {
        return std::nullopt;
    }
    return value;
}

HistorySizeBox::HistorySizeBox(QWidget *parent) : QSpinBox(parent)
{
    setRange(Lowest, Highest);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State HistorySizeBox::validate(QString &input, int & /*pos*/) const
{
    if (input.isEmpty()) {
        return QValidator::Intermediate;
    }
    const bool digitsOnly = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!digitsOnly) {
        return QValidator::Invalid;
    }
    bool ok = false;
    const int value = input.toInt(&ok);
    return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                          : QValidator::Intermediate;
}

void HistorySizeBox::fixup(QString &input) const
{
    // Only digits reach here; an empty field counts as too small, a number
    // too long for an int as too large.
    bool ok = false;
    const qlonglong value = input.isEmpty() ? 0 : input.toLongLong(&ok);
    const bool tooLarge = !input.isEmpty() && (!ok || value > maximum());
    const qlonglong fixed = tooLarge ? maximum() : std::max<qlonglong>(value, minimum());
    input = QString::number(fixed);
}

} // namespace options
