#pragma once

#include "ImageList.h"

#include <memory>
#include <QObject>
#include <QPoint>
#include <vector>

class QAction;
class QMenu;

namespace controls {

// A menu described as a list of items, numbered from 1 in the order they
// were added, each with a key, a caption, an image, enabled, checked and
// default states and a parent item (0 = top level) that makes it a sub-menu
// entry. A caption of "-" is a separator. The QMenu is built from the list
// when it is shown; the answer is the chosen item's number (0 = none).
// Indexes out of range are ignored by setters and give empty values.
class PopupMenu : public QObject
{
    Q_OBJECT

public:
    explicit PopupMenu(QObject *parent = nullptr);
    ~PopupMenu() override;

    void clear();
    // Removes an item with its sub-menu; later items move up by the number
    // removed. False when the item does not exist.
    bool removeItem(int item);
    // Answers the new item's number, 0 when the parent does not exist.
    int addItem(const QString &caption, const QString &key = {}, int parent = 0,
                const QString &image = {}, bool enabled = true, bool checked = false,
                bool isDefault = false, qint64 itemData = 0);
    int count() const { return static_cast<int>(m_items.size()); }
    bool contains(int item) const { return item >= 1 && item <= count(); }
    // The first item with this key (case-sensitive), 0 when there is none.
    int indexOf(const QString &key) const;

    QString key(int item) const;
    QString caption(int item) const;
    void setCaption(int item, const QString &caption);
    QString image(int item) const;
    void setImage(int item, const QString &image);
    bool enabled(int item) const;
    void setEnabled(int item, bool enabled);
    bool checked(int item) const;
    void setChecked(int item, bool checked);
    // Default items are shown in bold; each sub-menu may have its own.
    bool isDefault(int item) const;
    void setDefault(int item, bool isDefault);
    bool isSeparator(int item) const;
    int parentItem(int item) const;
    bool hasChildren(int item) const;
    qint64 itemData(int item) const;

    void setImageList(std::shared_ptr<const ImageList> images);

    // The menu as it stands now, rebuilt after any change; owned by this
    // object, so it can also serve as a tray icon's context menu.
    QMenu *menu();
    // The item behind one of menu()'s actions, 0 for none.
    int itemOf(const QAction *action) const;
    // Shows the menu at a global position and waits; answers the chosen item
    // (0 when the menu was dismissed) and reports it through itemChosen.
    int exec(const QPoint &globalPosition);

Q_SIGNALS:
    void itemChosen(int item, const QString &key);

private:
    struct Item
    {
        QString caption;
        QString key;
        int parent = 0;
        QString image;
        bool enabled = true;
        bool checked = false;
        bool isDefault = false;
        qint64 itemData = 0;
    };

    Item *at(int item);
    const Item *at(int item) const;
    void build();

    std::vector<Item> m_items;
    std::shared_ptr<const ImageList> m_images;
    std::unique_ptr<QMenu> m_menu;
    std::vector<QAction *> m_actions; // per item, nullptr for sub-menu titles
    bool m_dirty = true;
};

} // namespace controls
