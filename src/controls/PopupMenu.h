#pragma once

#include "ImageList.h"

#include <functional>
#include <memory>
#include <QList>
#include <QObject>
#include <QPoint>
#include <vector>

class QAction;
class QMenu;
class QStyle;

namespace controls {

// A menu described as a list of items, numbered from 1 in the order they
// were added, each with a key, a caption, an image, enabled, checked and
// default states and a parent item (0 = top level) that makes it a sub-menu
// entry. A caption of "-" is a separator. The QMenu is built from the list
// when it is shown; the answer is the chosen item's number (0 = none).
// Indexes out of range are ignored by setters and give empty values.
//
// Built for lists of 100,000 items: building takes one pass over the list; a
// large menu creates its top level only and fills each sub-menu the first time
// it opens; a run of more than EntryLimit entries between separators is shown
// as sub-menus of consecutive entries, titled by their first and last; a list
// refilled with the same content keeps the menu already built; and a menu
// taller than the screen scrolls.
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

    // Lists of up to this many items are built whole; in larger ones each
    // sub-menu is filled when it is first about to show.
    static constexpr int WholeBuildLimit = 1'000;
    // Most entries between two separators of one menu; Qt adds and lays out
    // a menu's entries one by one at a cost growing with their number.
    static constexpr int EntryLimit = 500;

    // The menu as it stands now, rebuilt when the list differs from the one
    // it was built from; owned by this object, so it can also serve as a tray
    // icon's context menu.
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
        int children = 0;

        bool operator==(const Item &) const = default;
    };

    Item *at(int item);
    const Item *at(int item) const;
    void build();
    // Adds the entries of one built item's sub-menu (0: the top level).
    void fill(QMenu &menu, int parent);
    // Consecutive entries without a separator, grouped when there are too many.
    void addRun(QMenu &menu, const std::vector<int> &run);
    void addEntry(QMenu &owner, int item);
    QMenu *addSubMenu(QMenu &owner, const QString &title);
    // Runs fillMenu now for a small list, else when the menu is first about to show.
    void fillWhenShown(QMenu *menu, std::function<void()> fillMenu);

    // Implicitly shared: the copy the menu is built from costs nothing until
    // the list changes again.
    QList<Item> m_items;
    std::shared_ptr<const ImageList> m_images;
    // Declared before the menus: they use it until they are gone.
    std::unique_ptr<QStyle> m_style;
    std::unique_ptr<QMenu> m_menu;
    // What the menu was built from; a lazily filled sub-menu reads it.
    QList<Item> m_built;
    std::shared_ptr<const ImageList> m_builtImages;
    std::vector<int> m_firstChild;    // per built item and 0 for the top: its first child
    std::vector<int> m_nextSibling;   // per built item: the next one under the same parent
    std::vector<QAction *> m_actions; // per built item, nullptr until created or for titles
    bool m_dirty = true;
};

} // namespace controls
