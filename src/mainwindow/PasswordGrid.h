#pragma once

#include "Services.h"

#include <functional>
#include <memory>
#include <QFont>
#include <QObject>
#include <QPoint>

class CategoryTree;
class QAction;
class QMenu;

namespace controls {
class Grid;
class ImageList;
class Tree;
} // namespace controls

// The main window's right pane: one row per record of the branch chosen in
// the tree, with status icons and coloured dates, sorting by any column,
// columns to hide, and record drags onto the tree.
class PasswordGrid : public QObject
{
    Q_OBJECT

public:
    // The commands a grid gesture leads to; the menus own them.
    struct Commands
    {
        std::function<void()> editPassword;
        std::function<void()> deletePassword;
        std::function<void(const QString &service)> copyPassword;
        std::function<void(const QString &service)> copyUserPassword;
        std::function<void(const QString &service)> copyUrl;
        std::function<void(const QString &url)> executeUrl;
        // The record popup at a point, with which of its three link entries are usable.
        std::function<void(QPoint globalPosition, bool url, bool expUrl, bool changeUrl)>
            recordPopup;
    };

    PasswordGrid(controls::Grid &grid, controls::Tree &tree, CategoryTree &categories,
                 const app::Services &services, QObject *parent = nullptr);
    ~PasswordGrid() override;

    void setCommands(Commands commands) { m_commands = std::move(commands); }
    void setImages(std::shared_ptr<const controls::ImageList> treeImages,
                   std::shared_ptr<const controls::ImageList> dragImages);
    // View > Tree View: while unchecked the grid lists every record.
    void setTreeViewChecked(bool checked) { m_treeView = checked; }

    void SetupGridColumns();
    void FillGrid(int node);
    void SortGrid(int column, bool keep, bool explicitOrder, int order);
    QString GetSelectedService() const;
    void DoDefaultGridAction();
    void RestoreGridDisplay();
    // A "&Column" item: shows or hides the column of its tag.
    void toggleColumn(QAction *item);
    void showColumnPopup(QPoint viewportPosition);

    // The View menu's sub-menus and the column popup, built by SetupGridColumns.
    QMenu *columnMenu() const { return m_columnMenu.get(); }
    QMenu *sortMenu() const { return m_sortMenu.get(); }
    QMenu *sortOrderMenu() const { return m_sortOrderMenu.get(); }
    QMenu *columnPopup() const { return m_columnPopup.get(); }
    QAction *hideColumnItem() const { return m_hideColumn; }
    QAction *popupAscendingItem() const { return m_popupAscending; }
    QAction *popupDescendingItem() const { return m_popupDescending; }
    QAction *orderAscendingItem() const { return m_orderAscending; }
    QAction *orderDescendingItem() const { return m_orderDescending; }
    // The column the grid is sorted by, 0 for none.
    int sortColumn() const { return m_sortColumn; }

    bool rowSelected = false;
    int headerColumn = 0;
    int headerChoice = -1;

Q_SIGNALS:
    // The selection changed: the command enabling reads rowSelected.
    void selectionChanged();

private:
    void mouseDown(Qt::MouseButton button, QPoint position);
    void mouseMove(Qt::MouseButtons buttons);
    void keyDown(int key);
    void dragOverGrid(int state);
    QAction *columnItem(const QString &key) const;

    controls::Grid &m_grid;
    controls::Tree &m_tree;
    CategoryTree &m_categories;
    const app::Services &m_services;
    Commands m_commands;
    std::shared_ptr<const controls::ImageList> m_treeImages;
    std::shared_ptr<const controls::ImageList> m_dragImages;
    std::unique_ptr<QMenu> m_columnMenu;
    std::unique_ptr<QMenu> m_sortMenu;
    std::unique_ptr<QMenu> m_sortOrderMenu;
    std::unique_ptr<QMenu> m_columnPopup;
    QAction *m_hideColumn = nullptr;
    QAction *m_popupAscending = nullptr;
    QAction *m_popupDescending = nullptr;
    QAction *m_orderAscending = nullptr;
    QAction *m_orderDescending = nullptr;
    QFont m_bold;
    QFont m_underlined;
    bool m_treeView = true;
    int m_sortColumn = 0;
};
