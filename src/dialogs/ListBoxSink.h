#pragma once

#include "PasswordStore.h"

#include <QListWidget>

namespace dialogs {

// Lets the store fill a list box: each line keeps its code as item data.
class ListBoxSink final : public ListSink
{
public:
    explicit ListBoxSink(QListWidget &list) : m_list(list) {}
    void Clear() override { m_list.clear(); }
    void AddItem(const QString &text, int itemData) override
    {
        auto *item = new QListWidgetItem(text, &m_list);
        item->setData(Qt::UserRole, itemData);
    }

private:
    QListWidget &m_list;
};

// The selected line, or -1. The current line alone does not count: a list
// box can have a current line that the user never picked.
inline int SelectedRow(const QListWidget &list)
{
    const QList<QListWidgetItem *> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.constFirst());
}

// The question asked before a group that still holds records is deleted.
inline QString DeleteGroupQuestion(const QString &group, int count)
{
    return QStringLiteral("There are %1 password in this %2.\rYES to Move, No to Delete, Cancel "
                          "to abort operation.")
        .arg(QString::number(count), group);
}

} // namespace dialogs
