#pragma once

#include "PasswordStore.h"

#include <QComboBox>

namespace dialogs {

// Lets the store fill a combo box: each item keeps its code as item data.
class ComboSink final : public ListSink
{
public:
    explicit ComboSink(QComboBox &combo) : m_combo(combo) {}
    void Clear() override { m_combo.clear(); }
    void AddItem(const QString &text, int itemData) override { m_combo.addItem(text, itemData); }

private:
    QComboBox &m_combo;
};

// The first item whose code is `code`, or -1 when none has it.
inline int FindComboItem(const QComboBox &combo, int code)
{
    for (int index = 0; index < combo.count(); ++index) {
        bool ok = false;
        const int data = combo.itemData(index).toInt(&ok);
        if (ok && data == code) {
            return index;
        }
    }
    return -1;
}

// The code of the selected item; 0 (none) when nothing is selected.
inline qint16 SelectedCode(const QComboBox &combo)
{
    const int index = combo.currentIndex();
    return index < 0 ? qint16(0) : static_cast<qint16>(combo.itemData(index).toInt());
}

} // namespace dialogs
