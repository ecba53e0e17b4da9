#pragma once

#include "MenuTable.h"
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
    PasswordGrid(controls::Grid &grid, controls::Tree &tree, CategoryTree &categories,
                 const app::Services &services, QObject *parent = nullptr);
    ~PasswordGrid() override;

    void setImages(std::shared_ptr<const controls::ImageList> treeImages,
                   std::shared_ptr<const controls::ImageList> dragImages);
    // View > Tree View: while unchecked the grid lists every record.
    void setTreeViewChecked(bool checked) { m_treeView = checked; }
    bool treeViewChecked() const { return m_treeView; }

    void SetupGridColumns();
    void FillGrid(int node);
    void SortGrid(int column, bool keep, bool explicitOrder, int order);
    QString GetSelectedService() const;
    // Whether the selected row's cell of a column holds more than blanks.
    bool selectedCellFilled(const QString &columnKey) const;
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
    // A gesture on the grid asks for a command of the window.
    void commandRequested(MainCommand command);
    // A right click on a row: the window shows the record popup, its link
    // entries enabled as given, and leaves the choice in headerChoice.
    void recordPopupRequested(QPoint globalPosition, bool url, bool expUrl, bool changeUrl);

private:
    void mouseDown(Qt::MouseButton button, QPoint position);
    void mouseMove(Qt::MouseButtons buttons);
    void keyDown(int key);
    void dragOverGrid(int state);
    QAction *columnItem(const QString &key) const;
    // Checks the "&Sort" item of the column sorted by, and only that one.
    void checkSortItem();

    controls::Grid &m_grid;
    controls::Tree &m_tree;
    CategoryTree &m_categories;
    const app::Services &m_services;
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
    int m_boldFont = -1;
    int m_linkFont = -1;
    bool m_treeView = true;
    int m_sortColumn = 0;
};
