#include "PopupMenu.h"

#include <algorithm>
#include <QAction>
#include <QMenu>
#include <QProxyStyle>

namespace controls {

namespace {

bool separatorCaption(const QString &caption)
{
    return caption == u"-";
}

// The application's style, except that a menu taller than the screen scrolls
// instead of running off it or breaking into columns that hide its last items.
class ScrollingMenuStyle final : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

PopupMenu::PopupMenu(QObject *parent) : QObject(parent) {}

PopupMenu::~PopupMenu() = default;

PopupMenu::Item *PopupMenu::at(int item)
{
    return contains(item) ? &m_items[item - 1] : nullptr;
}

const PopupMenu::Item *PopupMenu::at(int item) const
{
    return contains(item) ? &m_items.at(item - 1) : nullptr;
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
    const auto size = static_cast<size_t>(count());
    std::vector<bool> removed(size + 1, false);
    removed[static_cast<size_t>(item)] = true;
    for (int i = item + 1; i <= count(); ++i)
        removed[static_cast<size_t>(i)] = removed[static_cast<size_t>(m_items.at(i - 1).parent)];
    std::vector<int> newIndex(size + 1, 0);
    QList<Item> kept;
    kept.reserve(m_items.size());
    for (int i = 1; i <= count(); ++i) {
        if (removed[static_cast<size_t>(i)])
            continue;
        Item copy = m_items.at(i - 1);
        copy.parent = newIndex[static_cast<size_t>(copy.parent)];
        copy.children = 0;
        if (copy.parent != 0)
            ++kept[copy.parent - 1].children;
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
    m_items.push_back(Item{caption, key, parent, image, enabled, checked, isDefault, itemData, 0});
    if (parent != 0)
        ++at(parent)->children;
    m_dirty = true;
    return count();
}

int PopupMenu::indexOf(const QString &key) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).key == key)
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
    const Item *it = at(item);
    return it && it->children > 0;
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
    if (!m_menu) {
        m_style = std::make_unique<ScrollingMenuStyle>();
        m_menu = std::make_unique<QMenu>();
        m_menu->setStyle(m_style.get());
    }
    m_menu->clear();
    // Sub-menus made for an earlier build are children of the menu; drop them.
    const QList<QMenu *> old = m_menu->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    for (QMenu *sub : old)
        delete sub;

    m_built = m_items;
    m_builtImages = m_images;
    // Each item's children as a linked list in their order, made in one pass
    // backwards, so filling any menu visits its own entries only.
    const auto size = static_cast<size_t>(m_built.size());
    m_firstChild.assign(size + 1, 0);
    m_nextSibling.assign(size + 1, 0);
    for (size_t number = size; number >= 1; --number) {
        const auto parent =
            static_cast<size_t>(m_built.at(static_cast<qsizetype>(number - 1)).parent);
        m_nextSibling[number] = m_firstChild[parent];
        m_firstChild[parent] = static_cast<int>(number);
    }
    m_actions.assign(size, nullptr);
    fill(*m_menu, 0);
    m_dirty = false;
}

void PopupMenu::fill(QMenu &menu, int parent)
{
    std::vector<int> run;
    for (int child = m_firstChild[static_cast<size_t>(parent)]; child != 0;
         child = m_nextSibling[static_cast<size_t>(child)]) {
        if (separatorCaption(m_built.at(child - 1).caption)) {
            addRun(menu, run);
            run.clear();
            menu.addSeparator();
        } else {
            run.push_back(child);
        }
    }
    addRun(menu, run);
}

void PopupMenu::addRun(QMenu &menu, const std::vector<int> &run)
{
    constexpr auto limit = static_cast<size_t>(EntryLimit);
    if (run.size() <= limit) {
        for (const int item : run)
            addEntry(menu, item);
        return;
    }
    // Groups of at least the limit, and never more groups than it.
    const size_t groupSize = std::max(limit, (run.size() + limit - 1) / limit);
    for (size_t first = 0; first < run.size(); first += groupSize) {
        const auto begin = run.begin() + static_cast<std::ptrdiff_t>(first);
        const auto end =
            run.begin() + static_cast<std::ptrdiff_t>(std::min(first + groupSize, run.size()));
        std::vector<int> group(begin, end);
        const auto plain = [this](int item) {
            return QString(m_built.at(item - 1).caption).remove(u'&');
        };
        QMenu *sub = addSubMenu(menu, plain(group.front()) + QStringLiteral(" \u2013 ") +
                                          plain(group.back()));
        fillWhenShown(sub, [this, sub, group = std::move(group)] {
            for (const int item : group)
                addEntry(*sub, item);
        });
    }
}

QMenu *PopupMenu::addSubMenu(QMenu &owner, const QString &title)
{
    auto *sub = new QMenu(title, m_menu.get());
    sub->setStyle(m_style.get());
    owner.addMenu(sub);
    return sub;
}

void PopupMenu::fillWhenShown(QMenu *menu, std::function<void()> fillMenu)
{
    if (m_built.size() <= WholeBuildLimit) {
        fillMenu();
        return;
    }
    // Every sub-menu has entries, so an empty one has not been filled yet.
    connect(menu, &QMenu::aboutToShow, this, [menu, fillMenu = std::move(fillMenu)] {
        if (menu->isEmpty())
            fillMenu();
    });
}

void PopupMenu::addEntry(QMenu &owner, int item)
{
    const Item &it = m_built.at(item - 1);
    if (it.children > 0) {
        QMenu *sub = addSubMenu(owner, it.caption);
        if (m_builtImages)
            sub->setIcon(m_builtImages->icon(it.image));
        sub->setEnabled(it.enabled);
        if (it.isDefault) {
            QAction *entry = sub->menuAction();
            QFont font = entry->font();
            font.setBold(true);
            entry->setFont(font);
        }
        fillWhenShown(sub, [this, sub, item] { fill(*sub, item); });
        return;
    }
    // All set before the action joins the menu, which would hear of each change.
    auto *action = new QAction(it.caption, &owner);
    if (m_builtImages && !it.image.isEmpty())
        action->setIcon(m_builtImages->icon(it.image));
    action->setEnabled(it.enabled);
    action->setCheckable(it.checked);
    action->setChecked(it.checked);
    if (it.isDefault) {
        QFont font = action->font();
        font.setBold(true);
        action->setFont(font);
    }
    action->setData(item);
    connect(action, &QAction::triggered, this,
            [this, item] { Q_EMIT itemChosen(item, m_built.at(item - 1).key); });
    owner.addAction(action);
    m_actions[static_cast<size_t>(item - 1)] = action;
}

QMenu *PopupMenu::menu()
{
    // The tray refills the list on every refresh, mostly with what it had:
    // then the menu already built stands.
    if (m_menu && m_dirty && m_items == m_built && m_images == m_builtImages)
        m_dirty = false;
    if (m_dirty || !m_menu)
        build();
    return m_menu.get();
}

int PopupMenu::itemOf(const QAction *action) const
{
    if (action == nullptr)
        return 0;
    bool ok = false;
    const int item = action->data().toInt(&ok);
    const bool ours = ok && item >= 1 && static_cast<size_t>(item) <= m_actions.size() &&
                      m_actions[static_cast<size_t>(item - 1)] == action;
    return ours ? item : 0;
}

int PopupMenu::exec(const QPoint &globalPosition)
{
    QMenu *shown = menu();
    const QAction *chosen = shown->exec(globalPosition);
    return itemOf(chosen);
}

} // namespace controls
