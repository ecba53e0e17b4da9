#include "PopupMenu.h"

#include <QAction>
#include <QMenu>

namespace controls {

namespace {

bool separatorCaption(const QString &caption)
{
    return caption == u"-";
}

} // namespace

PopupMenu::PopupMenu(QObject *parent) : QObject(parent) {}

PopupMenu::~PopupMenu() = default;

PopupMenu::Item *PopupMenu::at(int item)
{
    return contains(item) ? &m_items[static_cast<size_t>(item - 1)] : nullptr;
}

const PopupMenu::Item *PopupMenu::at(int item) const
{
    return contains(item) ? &m_items[static_cast<size_t>(item - 1)] : nullptr;
}

void PopupMenu::clear()
{
    m_items.clear();
    m_dirty = true;
}

bool PopupMenu::removeItem(int item)
{
    if (!contains(item))
        return false;
    // Children always come after their parent, so one pass finds the whole branch.
    std::vector<bool> removed(m_items.size() + 1, false);
    removed[static_cast<size_t>(item)] = true;
    for (int i = item + 1; i <= count(); ++i)
        removed[static_cast<size_t>(i)] = removed[static_cast<size_t>(at(i)->parent)];
    std::vector<int> newIndex(m_items.size() + 1, 0);
    std::vector<Item> kept;
    for (int i = 1; i <= count(); ++i) {
        if (removed[static_cast<size_t>(i)])
            continue;
        Item copy = *at(i);
        copy.parent = newIndex[static_cast<size_t>(copy.parent)];
        kept.push_back(std::move(copy));
        newIndex[static_cast<size_t>(i)] = static_cast<int>(kept.size());
    }
    m_items = std::move(kept);
    m_dirty = true;
    return true;
}

int PopupMenu::addItem(const QString &caption, const QString &key, int parent, const QString &image,
                       bool enabled, bool checked, bool isDefault, qint64 itemData)
{
    if (parent != 0 && (!contains(parent) || isSeparator(parent)))
        return 0;
    m_items.push_back(Item{caption, key, parent, image, enabled, checked, isDefault, itemData});
    m_dirty = true;
    return count();
}

int PopupMenu::indexOf(const QString &key) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].key == key)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

QString PopupMenu::key(int item) const
{
    const Item *it = at(item);
    return it ? it->key : QString();
}

QString PopupMenu::caption(int item) const
{
    const Item *it = at(item);
    return it ? it->caption : QString();
}

void PopupMenu::setCaption(int item, const QString &caption)
{
    if (Item *it = at(item)) {
        it->caption = caption;
        m_dirty = true;
    }
}

QString PopupMenu::image(int item) const
{
    const Item *it = at(item);
    return it ? it->image : QString();
}

void PopupMenu::setImage(int item, const QString &image)
{
    if (Item *it = at(item)) {
        it->image = image;
        m_dirty = true;
    }
}

bool PopupMenu::enabled(int item) const
{
    const Item *it = at(item);
    return it && it->enabled;
}

void PopupMenu::setEnabled(int item, bool enabled)
{
    if (Item *it = at(item)) {
        it->enabled = enabled;
        m_dirty = true;
    }
}

bool PopupMenu::checked(int item) const
{
    const Item *it = at(item);
    return it && it->checked;
}

void PopupMenu::setChecked(int item, bool checked)
{
    if (Item *it = at(item)) {
        it->checked = checked;
        m_dirty = true;
    }
}

bool PopupMenu::isDefault(int item) const
{
    const Item *it = at(item);
    return it && it->isDefault;
}

void PopupMenu::setDefault(int item, bool isDefault)
{
    if (Item *it = at(item)) {
        it->isDefault = isDefault;
        m_dirty = true;
    }
}

bool PopupMenu::isSeparator(int item) const
{
    const Item *it = at(item);
    return it && separatorCaption(it->caption);
}

int PopupMenu::parentItem(int item) const
{
    const Item *it = at(item);
    return it ? it->parent : 0;
}

bool PopupMenu::hasChildren(int item) const
{
    if (!contains(item))
        return false;
    for (const Item &it : m_items) {
        if (it.parent == item)
            return true;
    }
    return false;
}

qint64 PopupMenu::itemData(int item) const
{
    const Item *it = at(item);
    return it ? it->itemData : 0;
}

void PopupMenu::setImageList(std::shared_ptr<const ImageList> images)
{
    m_images = std::move(images);
    m_dirty = true;
}

void PopupMenu::build()
{
    if (!m_menu)
        m_menu = std::make_unique<QMenu>();
    m_menu->clear();
    // Sub-menus made for an earlier build are children of the menu; drop them.
    const QList<QMenu *> old = m_menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    for (QMenu *sub : old)
        delete sub;
    m_actions.assign(m_items.size(), nullptr);

    std::vector<QMenu *> menus(m_items.size() + 1, nullptr);
    menus[0] = m_menu.get();
    const auto menuOf = [&](int item) -> QMenu * {
        QMenu *&menu = menus[static_cast<size_t>(item)];
        if (!menu) {
            const Item &title = m_items[static_cast<size_t>(item - 1)];
            QMenu *owner = menus[static_cast<size_t>(title.parent)];
            menu = new QMenu(title.caption, m_menu.get());
            if (m_images)
                menu->setIcon(m_images->icon(title.image));
            menu->setEnabled(title.enabled);
            QAction *entry = owner->addMenu(menu);
            QFont font = entry->font();
            font.setBold(title.isDefault);
            entry->setFont(font);
        }
        return menu;
    };
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item &it = m_items[i];
        const int number = static_cast<int>(i) + 1;
        // Parents are always added before their children, so the owning menu
        // exists by now, created from its title item.
        QMenu *owner = it.parent == 0 ? m_menu.get() : menuOf(it.parent);
        if (separatorCaption(it.caption)) {
            owner->addSeparator();
            continue;
        }
        if (hasChildren(number)) {
            menuOf(number);
            continue;
        }
        QAction *action = owner->addAction(it.caption);
        if (m_images && !it.image.isEmpty())
            action->setIcon(m_images->icon(it.image));
        action->setEnabled(it.enabled);
        action->setCheckable(it.checked);
        action->setChecked(it.checked);
        if (it.isDefault) {
            QFont font = action->font();
            font.setBold(true);
            action->setFont(font);
        }
        action->setData(number);
        connect(action, &QAction::triggered, this,
                [this, number] { Q_EMIT itemChosen(number, key(number)); });
        m_actions[i] = action;
    }
    m_dirty = false;
}

QMenu *PopupMenu::menu()
{
    if (m_dirty || !m_menu)
        build();
    return m_menu.get();
}

int PopupMenu::itemOf(const QAction *action) const
{
    for (size_t i = 0; i < m_actions.size(); ++i) {
        if (m_actions[i] && m_actions[i] == action)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int PopupMenu::exec(const QPoint &globalPosition)
{
    QMenu *shown = menu();
    const QAction *chosen = shown->exec(globalPosition);
    return itemOf(chosen);
}

} // namespace controls
