#pragma once

#include "RunState.h"

#include <functional>
#include <memory>
#include <QObject>
#include <QPoint>

namespace controls {
class Grid;
class ImageList;
class Tree;
} // namespace controls

// The main window's left pane: the open file as root, categories and
// subcategories, each with its record count, and the drop target that moves
// records and reshapes the hierarchy. Every change goes through the store;
// the tree only mirrors it.
class CategoryTree : public QObject
{
    Q_OBJECT

public:
    using FillGrid = std::function<void(int node)>;

    CategoryTree(controls::Tree &tree, app::RunState &state, QObject *parent = nullptr);
    ~CategoryTree() override;

    // The grid's refill for a node, and the grid widget as a drag source.
    void setFillGrid(FillGrid fill) { m_fillGrid = std::move(fill); }
    void setGridSource(controls::Grid *grid) { m_gridSource = grid; }
    // "DRAGFOLD", "DRAGPW", "NODRAG".
    void LoadDragIcons(std::shared_ptr<const controls::ImageList> dragImages);

    // Builds the tree anew, selects the node of selectKey (if it is still
    // there, else the first node) and fills the grid for it once.
    void LoadTree(const QString &selectKey = QString());
    int AddTreeNode(const QString &key, const QString &text, int parent);
    void RefreshNodeCounts(qint16 category, qint16 subCategory);

    int currentNodeIndex = 0;
    QString currentNodeKey;
    int dragNodeIndex = 0;
    QString dragService;
    bool dropAllowed = false;
    bool expandToggled = false;

    // The handlers of the tree's notifications; public so that the grid's
    // record drag and tests can reach them.
    void nodeSelected(int node);
    void mouseDown(QPoint position);
    void mouseMove(Qt::MouseButtons buttons);
    void mouseUp();
    void expandedOrCollapsed(int node, bool expanded);
    bool dragOverVerdict(const QObject *source, int state);
    void dragOver(const QObject *source, QPoint position, int state);
    void dropped(const QObject *source, QPoint position);

private:
    PasswordStore &store() const { return *m_state.Store; }
    void buildTree(const QString &selectKey);
    void setCount(const QString &key, int count);
    bool acceptsRecords(int node) const;
    // A folder drag's first tests: a target, not the dragged node or its
    // parent, and a dragged node that is not one of the special ones.
    bool folderTargetValid(int dragged, int target) const;
    bool folderDropAllowed(int dragged, int target) const;
    void dropRecord();
    void dropFolder(QPoint position);
    void setSourceIcon(const QObject *source, bool allowed);

    controls::Tree &m_tree;
    app::RunState &m_state;
    FillGrid m_fillGrid;
    controls::Grid *m_gridSource = nullptr;
    std::shared_ptr<const controls::ImageList> m_dragImages;
    // Expansion set from the store is not the user's, nor is the selection.
    bool m_building = false;
};
