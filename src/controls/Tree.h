#pragma once

#include "ImageList.h"

#include <memory>
#include <QHash>
#include <QIcon>
#include <QWidget>

class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace controls {

class DragSupport;
class TreeItem;

// Where a new node goes relative to the node it is added to.
enum NodeRelationship : int
{
    FirstChild = 1,
    LastChild = 2,
};

// A tree of keyed nodes. Every node gets an index, a small integer that stays
// its handle until the node is removed or the tree cleared; indexes start at
// 1 and 0 means "no node" everywhere: in answers (no parent, no child, key not
// found) and in arguments (the top level, clear the selection). Keys are
// unique (case-sensitive) and may be empty.
class Tree : public QWidget
{
    Q_OBJECT

public:
    explicit Tree(QWidget *parent = nullptr);
    ~Tree() override;

    void clear();
    // Adds a node under `relative` (0 = top level) as its first or last child.
    // Images are keys into the image list; the selected image is shown while
    // the node is selected (empty = the same image). Answers the new index, 0
    // when `relative` does not exist, the relationship is unknown or the key
    // is taken.
    int addNode(int relative, int relationship, const QString &key, const QString &text,
                const QString &image = {}, const QString &selectedImage = {});
    // Removes a node together with all its descendants.
    void removeNode(int node);
    int nodeCount() const { return static_cast<int>(m_items.size()); }
    bool exists(int node) const { return m_items.contains(node); }

    // The node with this key, 0 when there is none.
    int nodeIndex(const QString &key) const;
    QString key(int node) const;
    QString text(int node) const;
    void setText(int node, const QString &text);
    void setImages(int node, const QString &image, const QString &selectedImage);
    int parentNode(int node) const;
    int firstChild(int node) const;
    int lastChild(int node) const;
    int nextSibling(int node) const;
    int previousSibling(int node) const;
    bool hasChildren(int node) const;
    int childCount(int node) const;
    // The first top-level node.
    int firstNode() const;

    int selectedNode() const;
    void setSelectedNode(int node);
    int dropHighlight() const { return m_dropHighlight; }
    void setDropHighlight(int node);
    // The node at a point of the viewport; 0 when there is none.
    int nodeAt(const QPoint &viewportPoint) const;
    // The node's rectangle in viewport coordinates.
    QRect nodeRect(int node) const;
    void ensureVisible(int node);

    bool expanded(int node) const;
    void setExpanded(int node, bool expanded);
    // A number shown after the text, "Text (12)"; -1 shows none.
    int recordCount(int node) const;
    void setRecordCount(int node, int count);
    // A marked node is drawn in bold.
    bool marker(int node) const;
    void setMarker(int node, bool on);

    void setImageList(std::shared_ptr<const ImageList> images);
    std::shared_ptr<const ImageList> imageList() const { return m_images; }

    void setDragIcon(const QPixmap &icon);
    QPixmap dragIcon() const;
    bool startDrag();
    void setDropAllowed(bool allowed);

    QWidget *viewport() const;

Q_SIGNALS:
    void nodeSelected(int node);
    void expandedNode(int node);
    void collapsedNode(int node);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void dragOver(QObject *source, QPoint position, int state);
    void dropped(QObject *source, QPoint position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TreeItem *item(int node) const;
    int indexOf(const QStandardItem *item) const;
    void forget(QStandardItem *item);
    void updateIcon(TreeItem *item);

    QStandardItemModel *m_model;
    QTreeView *m_view;
    std::unique_ptr<DragSupport> m_drag;
    std::shared_ptr<const ImageList> m_images;
    // Icons by image and selected image: a file's thousands of folders share a few.
    QHash<std::pair<QString, QString>, QIcon> m_icons;
    QHash<int, TreeItem *> m_items;
    QHash<QString, int> m_byKey;
    int m_nextIndex = 1;
    int m_dropHighlight = 0;
};

} // namespace controls
