#pragma once

#include <optional>
#include <QList>
#include <QSpinBox>
#include <QString>

class QComboBox;

// The fixed choices and the fields of the options window, apart from the
// window so their rules can be read (and tested) on their own.
namespace options {

// One item of a drop-down list: its text and the value stored for it.
struct Choice
{
    QString text;
    qint16 data = 0;
};

// The tray icon's default action.
QList<Choice> trayIconActions();
// A click on a service in the tray menu.
QList<Choice> serviceActions();
// A double click in the password grid.
QList<Choice> gridActions();
// The key typed between user name and password, or after the password; -1
// means the text beside the list is typed instead.
QList<Choice> keyChoices();
constexpr qint16 OtherKey = -1;
// The backup types, stored by their position.
QList<Choice> backupTypes();

void fillChoices(QComboBox &combo, const QList<Choice> &choices);
// Selects the first item holding value; none when no item does.
void selectChoice(QComboBox &combo, qint16 value);
// The value of the selected item; nothing when no item is selected.
std::optional<qint16> selectedChoice(const QComboBox &combo);

// Backup type position: 0 none, 1 a single backup, 2 a history of backups.
int backupPosition(bool backupFile, bool backupHistory);
bool backupFileAt(int position);
bool backupHistoryAt(int position);

// A signed 16-bit whole number in plain decimal, blanks around it allowed.
std::optional<qint16> wholeNumber(const QString &text);

// The history size: digits only, and a value outside the range is brought
// back into it when the field is left (or read), not refused while typing,
// so that typing "50" gives 20 rather than a swallowed key.
class HistorySizeBox final : public QSpinBox
{
public:
    static constexpr int Lowest = 2;
    static constexpr int Highest = 20;

    explicit HistorySizeBox(QWidget *parent = nullptr);

    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

} // namespace options
