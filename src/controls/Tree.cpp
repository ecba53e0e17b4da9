#include "Tree.h"

#include "DragSupport.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace controls {

namespace {

enum Role : int
{
    IndexRole = Qt::UserRole + 1,
};

} // namespace

// One node: its text and count are shown together, its marker as bold.
class TreeItem : public QStandardItem
{
public:
    TreeItem(int index, QString key, const QString &text) : m_index(index), m_key(std::move(key))
    {
        setText(text);
        setEditable(false);
        setData(index, IndexRole);
    }

    QVariant data(int role) const override
    {
        if (role == Qt::DisplayRole && m_count >= 0)
            return QStringLiteral("%1 (%2)").arg(text()).arg(m_count);
        if (role == Qt::FontRole && m_marker) {
            QFont font = QStandardItem::data(role).value<QFont>();
            font.setBold(true);
            return font;
        }
        if (role == Qt::BackgroundRole && m_highlight)
            return QBrush(QColor(0xCC, 0xDD, 0xFF));
        return QStandardItem::data(role);
    }
    // The stored text, without the count.
    QString text() const { return QStandardItem::data(Qt::EditRole).toString(); }

    int m_index;
    QString m_key;
    QString m_image;
    QString m_selectedImage;
    int m_count = -1;
    bool m_marker = false;
    bool m_highlight = false;

    void changed() { emitDataChanged(); }
};

namespace {

// The view reports mouse buttons after it handled them, so a host reading
// the selection from its mouse-down handler sees the node just clicked.
class TreeView : public QTreeView
{
public:
    using QTreeView::QTreeView;
    std::function<void(QMouseEvent *)> pressed, moved, released;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        QTreeView::mousePressEvent(event);
        pressed(event);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        QTreeView::mouseMoveEvent(event);
        moved(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QTreeView::mouseReleaseEvent(event);
        released(event);
    }
};

} // namespace

Tree::Tree(QWidget *parent) : QWidget(parent), m_model(new QStandardItemModel(this))
{
    auto *view = new TreeView(this);
    m_view = view;
    m_view->setModel(m_model);
    m_view->setHeaderHidden(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_view->setUniformRowHeights(true);
    m_view->setIconSize(QSize(16, 16));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    view->pressed = [this](QMouseEvent *e) {
        Q_EMIT mouseDown(e->button(), e->modifiers(), e->position().toPoint());
    };
    view->moved = [this](QMouseEvent *e) {
        Q_EMIT mouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
    };
    view->released = [this](QMouseEvent *e) {
        Q_EMIT mouseUp(e->button(), e->modifiers(), e->position().toPoint());
    };

    m_drag = std::make_unique<DragSupport>(
        this, m_view->viewport(),
        [this](QObject *source, QPoint at, int state) { Q_EMIT dragOver(source, at, state); },
        [this](QObject *source, QPoint at) { Q_EMIT dropped(source, at); });
    m_view->viewport()->installEventFilter(this);

    connect(m_view, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        Q_EMIT expandedNode(index.data(IndexRole).toInt());
    });
    connect(m_view, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        Q_EMIT collapsedNode(index.data(IndexRole).toInt());
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                Q_EMIT nodeSelected(current.isValid() ? current.data(IndexRole).toInt() : 0);
            });
}

Tree::~Tree() = default;

bool Tree::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && m_drag->handle(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

QWidget *Tree::viewport() const
{
    return m_view->viewport();
}

TreeItem *Tree::item(int node) const
{
    return m_items.value(node, nullptr);
}

int Tree::indexOf(const QStandardItem *item) const
{
    return item ? item->data(IndexRole).toInt() : 0;
}

void Tree::clear()
{
    m_model->clear();
    m_items.clear();
    m_byKey.clear();
    m_nextIndex = 1;
    m_dropHighlight = 0;
}

int Tree::addNode(int relative, int relationship, const QString &key, const QString &text,
                  const QString &image, const QString &selectedImage)
{
    if (relationship != FirstChild && relationship != LastChild)
        return 0;
    if (!key.isEmpty() && m_byKey.contains(key))
        return 0;
    QStandardItem *parent = nullptr;
    if (relative == 0) {
        parent = m_model->invisibleRootItem();
    } else {
        parent = item(relative);
        if (!parent)
            return 0;
    }
    const int index = m_nextIndex++;
    auto *node = new TreeItem(index, key, text);
    node->m_image = image;
    node->m_selectedImage = selectedImage;
    updateIcon(node);
    if (relationship == FirstChild)
        parent->insertRow(0, node);
    else
        parent->appendRow(node);
    m_items.insert(index, node);
    if (!key.isEmpty())
        m_byKey.insert(key, index);
    return index;
}

void Tree::forget(QStandardItem *gone)
{
    for (int row = 0; row < gone->rowCount(); ++row)
        forget(gone->child(row));
    const int index = indexOf(gone);
    if (const TreeItem *node = item(index); node && !node->m_key.isEmpty())
        m_byKey.remove(node->m_key);
    m_items.remove(index);
    if (m_dropHighlight == index)
        m_dropHighlight = 0;
}

void Tree::removeNode(int node)
{
    TreeItem *gone = item(node);
    if (!gone)
        return;
    forget(gone);
    QStandardItem *parent = gone->parent() ? gone->parent() : m_model->invisibleRootItem();
    parent->removeRow(gone->row());
}

int Tree::nodeIndex(const QString &key) const
{
    return m_byKey.value(key, 0);
}

QString Tree::key(int node) const
{
    const TreeItem *it = item(node);
    return it ? it->m_key : QString();
}

QString Tree::text(int node) const
{
    const TreeItem *it = item(node);
    return it ? it->text() : QString();
}

void Tree::setText(int node, const QString &text)
{
    if (TreeItem *it = item(node))
        it->setText(text);
}

void Tree::setImages(int node, const QString &image, const QString &selectedImage)
{
    if (TreeItem *it = item(node)) {
        it->m_image = image;
        it->m_selectedImage = selectedImage;
        updateIcon(it);
    }
}

int Tree::parentNode(int node) const
{
    const TreeItem *it = item(node);
    return it ? indexOf(it->parent()) : 0;
}

int Tree::firstChild(int node) const
{
    const TreeItem *it = item(node);
    return it && it->rowCount() > 0 ? indexOf(it->child(0)) : 0;
}

int Tree::lastChild(int node) const
{
    const TreeItem *it = item(node);
    return it && it->rowCount() > 0 ? indexOf(it->child(it->rowCount() - 1)) : 0;
}

int Tree::nextSibling(int node) const
{
    const TreeItem *it = item(node);
    if (!it)
        return 0;
    const QStandardItem *parent = it->parent() ? it->parent() : m_model->invisibleRootItem();
    const int row = it->row() + 1;
    return row < parent->rowCount() ? indexOf(parent->child(row)) : 0;
}

int Tree::previousSibling(int node) const
{
    const TreeItem *it = item(node);
    if (!it)
        return 0;
    const QStandardItem *parent = it->parent() ? it->parent() : m_model->invisibleRootItem();
    const int row = it->row() - 1;
    return row >= 0 ? indexOf(parent->child(row)) : 0;
}

bool Tree::hasChildren(int node) const
{
    return childCount(node) > 0;
}

int Tree::childCount(int node) const
{
    const TreeItem *it = item(node);
    return it ? it->rowCount() : 0;
}

int Tree::firstNode() const
{
    return m_model->rowCount() > 0 ? indexOf(m_model->item(0)) : 0;
}

int Tree::selectedNode() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.data(IndexRole).toInt() : 0;
}

void Tree::setSelectedNode(int node)
{
    const TreeItem *it = item(node);
    if (!it) {
        m_view->selectionModel()->clear();
        return;
    }
    m_view->selectionModel()->setCurrentIndex(it->index(), QItemSelectionModel::ClearAndSelect);
}

void Tree::setDropHighlight(int node)
{
    if (node == m_dropHighlight)
        return;
    if (TreeItem *old = item(m_dropHighlight)) {
        old->m_highlight = false;
        old->changed();
    }
    m_dropHighlight = 0;
    if (TreeItem *now = item(node)) {
        now->m_highlight = true;
        now->changed();
        m_dropHighlight = node;
    }
}

int Tree::nodeAt(const QPoint &viewportPoint) const
{
    return m_view->indexAt(viewportPoint).data(IndexRole).toInt();
}

QRect Tree::nodeRect(int node) const
{
    const TreeItem *it = item(node);
    return it ? m_view->visualRect(it->index()) : QRect();
}

void Tree::ensureVisible(int node)
{
    if (const TreeItem *it = item(node))
        m_view->scrollTo(it->index());
}

bool Tree::expanded(int node) const
{
    const TreeItem *it = item(node);
    return it && m_view->isExpanded(it->index());
}

void Tree::setExpanded(int node, bool expanded)
{
    if (const TreeItem *it = item(node))
        m_view->setExpanded(it->index(), expanded);
}

int Tree::recordCount(int node) const
{
    const TreeItem *it = item(node);
    return it ? it->m_count : -1;
}

void Tree::setRecordCount(int node, int count)
{
    if (TreeItem *it = item(node)) {
        it->m_count = std::max(count, -1);
        it->changed();
    }
}

bool Tree::marker(int node) const
{
    const TreeItem *it = item(node);
    return it && it->m_marker;
}

void Tree::setMarker(int node, bool on)
{
    if (TreeItem *it = item(node)) {
        it->m_marker = on;
        it->changed();
    }
}

void Tree::updateIcon(TreeItem *node)
{
    if (!m_images) {
        node->setIcon({});
        return;
    }
    const std::pair key{node->m_image, node->m_selectedImage};
    auto known = m_icons.constFind(key);
    if (known == m_icons.cend()) {
        QIcon icon;
        const QPixmap normal = m_images->pixmap(node->m_image);
        const QPixmap selected =
            node->m_selectedImage.isEmpty() ? normal : m_images->pixmap(node->m_selectedImage);
        if (!normal.isNull())
            icon.addPixmap(normal, QIcon::Normal);
        if (!selected.isNull())
            icon.addPixmap(selected, QIcon::Selected);
        known = m_icons.insert(key, icon);
    }
    node->setIcon(*known);
}

void Tree::setImageList(std::shared_ptr<const ImageList> images)
{
    m_images = std::move(images);
    m_icons.clear();
    if (m_images)
        m_view->setIconSize(QSize(m_images->size(), m_images->size()));
    for (TreeItem *node : std::as_const(m_items))
        updateIcon(node);
}

void Tree::setDragIcon(const QPixmap &icon)
{
    m_drag->setIcon(icon);
}

QPixmap Tree::dragIcon() const
{
    return m_drag->icon();
}

bool Tree::startDrag()
{
    return m_drag->start();
}

void Tree::setDropAllowed(bool allowed)
{
    m_drag->setDropAllowed(allowed);
}

} // namespace controls
