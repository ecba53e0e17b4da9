#include "PasswordGrid.h"

#include "CategoryTree.h"
#include "Expiration.h"
#include "Grid.h"
#include "ImageList.h"
#include "NodeKeys.h"
#include "PasswordRows.h"
#include "PasswordStore.h"
#include "Tree.h"

#include <algorithm>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>

using namespace password_columns;

namespace {

struct ColumnLayout
{
    const char16_t *key;
    const char16_t *header;
    const char16_t *headerImage; // key in the tree images, or empty
    int width;
    bool shown;
};

// "Group1".."Group3" are kept hidden and never offered; "Notes" is the line under each row.
constexpr ColumnLayout Columns[] = {
    {u"group1", u"", u"", 16, false},
    {u"group2", u"", u"", 16, false},
    {u"group3", u"", u"", 16, false},
    {u"Service", u"Service", u"", 96, true},
    {u"UserName", u"User Name", u"", 96, true},
    {u"Password", u"Password", u"", 96, true},
    {u"URL", u"URL", u"", 96, true},
    {u"Expire", u"", u"PDELETE", 26, true},
    {u"ExpDate", u"Exp. Date", u"", 96, true},
    {u"ExpURL", u"Exp. URL", u"", 96, true},
    {u"Change", u"", u"PEDIT", 26, true},
    {u"ChangeDate", u"Chg. Date", u"", 96, true},
    {u"ChangeURL", u"Chg. URL", u"", 96, true},
    {u"Cat", u"Category", u"", 96, true},
    {u"SubCat", u"Sub Category", u"", 96, true},
    {u"Notes", u"", u"", 1012, true},
};

QString properCase(const QString &key)
{
    return key.left(1).toUpper() + key.mid(1).toLower();
}

} // namespace

PasswordGrid::PasswordGrid(controls::Grid &grid, controls::Tree &tree, CategoryTree &categories,
                           const app::Services &services, QObject *parent)
    : QObject(parent), m_grid(grid), m_tree(tree), m_categories(categories), m_services(services)
{
    connect(&m_grid, &controls::Grid::selectionChanged, this, [this](int row) {
        rowSelected = row > 0;
        Q_EMIT selectionChanged();
    });
    connect(&m_grid, &controls::Grid::doubleClicked, this, [this](int row, int) {
        if (row > 0) {
            DoDefaultGridAction();
        }
    });
    connect(&m_grid, &controls::Grid::keyDown, this,
            [this](int key, Qt::KeyboardModifiers) { keyDown(key); });
    connect(&m_grid, &controls::Grid::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint at) {
                mouseDown(button, at);
            });
    connect(
        &m_grid, &controls::Grid::mouseMove, this,
        [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPoint) { mouseMove(buttons); });
    connect(&m_grid, &controls::Grid::mouseUp, this, [this] { m_categories.dragService.clear(); });
    connect(&m_grid, &controls::Grid::headerClicked, this,
            [this](int column) { SortGrid(column, false, false, 0); });
    connect(&m_grid, &controls::Grid::dragOver, this,
            [this](QObject *, QPoint, int state) { dragOverGrid(state); });
    if (auto *header = m_grid.findChild<QHeaderView *>()) {
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QWidget::customContextMenuRequested, this,
                [this](QPoint at) { showColumnPopup(at); });
    }
}

PasswordGrid::~PasswordGrid() = default;

void PasswordGrid::setImages(std::shared_ptr<const controls::ImageList> treeImages,
                             std::shared_ptr<const controls::ImageList> dragImages)
{
    m_treeImages = std::move(treeImages);
    m_dragImages = std::move(dragImages);
}

void PasswordGrid::SetupGridColumns()
{
    m_grid.setRedraw(false);
    m_grid.setImageList(m_treeImages);
    m_grid.setDefaultRowHeight(16);
    m_columnMenu = std::make_unique<QMenu>(QStringLiteral("&Column"));
    m_sortMenu = std::make_unique<QMenu>(QStringLiteral("&Sort"));
    m_sortOrderMenu = std::make_unique<QMenu>(QStringLiteral("Sort &Order"));
    m_orderAscending = m_sortOrderMenu->addAction(QStringLiteral("&Ascending"));
    m_orderDescending = m_sortOrderMenu->addAction(QStringLiteral("&Descending"));
    for (QAction *item : {m_orderAscending, m_orderDescending}) {
        item->setCheckable(true);
    }
    connect(m_orderAscending, &QAction::triggered, this,
            [this] { SortGrid(m_sortColumn, false, true, 1); });
    connect(m_orderDescending, &QAction::triggered, this,
            [this] { SortGrid(m_sortColumn, false, true, 2); });

    for (const ColumnLayout &entry : Columns) {
        controls::GridColumnDefinition column;
        column.key = QString::fromUtf16(entry.key);
        column.header = QString::fromUtf16(entry.header);
        column.width = entry.width;
        column.visible = entry.shown;
        const QString image = QString::fromUtf16(entry.headerImage);
        column.headerImage = image.isEmpty() || !m_treeImages ? 0 : m_treeImages->index(image);
        const int index = m_grid.columnCount() + 1;
        column.inSelection = index > Group3 && index != ExpireColumn && index != ChangeColumn;
        column.fixedWidth = index == ServiceColumn;
        if (index == ExpireColumn || index == ChangeColumn) {
            column.sortCode = controls::SortImage;
        } else if (index == ExpDateColumn || index == ChangeDateColumn) {
            column.sortCode = controls::SortDate;
            column.format = QStringLiteral("dd/mm/yyyy");
        }
        column.rowText = index == NotesColumn;
        m_grid.addColumn(column);
    }
    // Typing a name in the grid finds its service, or else its user name.
    m_grid.setSearchColumns(ServiceColumn, UserNameColumn);
    if (m_treeImages) {
        // Icon columns sort by how urgent the status is: none, due soon, expired.
        m_grid.setImageSortOrder({m_treeImages->index(QStringLiteral("WARNING")),
                                  m_treeImages->index(QStringLiteral("ALERT"))});
    }
    m_bold = m_grid.font();
    m_bold.setBold(true);
    m_underlined = m_grid.font();
    m_underlined.setUnderline(true);
    m_boldFont = m_grid.fontIndex(m_bold);
    m_linkFont = m_grid.fontIndex(m_underlined);

    for (int column = 1; column <= m_grid.columnCount(); ++column) {
        if (!m_grid.columnVisible(column) || m_grid.columnIsRowText(column)) {
            continue;
        }
        const QString key = m_grid.columnKey(column);
        const QString header = m_grid.columnHeader(column);
        const QString caption = header.isEmpty() ? properCase(key) : header;
        QAction *sortItem = m_sortMenu->addAction(caption);
        sortItem->setData(key);
        sortItem->setCheckable(true);
        connect(sortItem, &QAction::triggered, this, [this, sortItem, key] {
            // Choosing the column already sorted by changes nothing.
            const bool wasChecked = !sortItem->isChecked();
            SortGrid(m_grid.columnIndex(key), wasChecked, false, 0);
        });
        if (key != QStringLiteral("Service")) {
            QAction *columnItem = m_columnMenu->addAction(caption);
            columnItem->setData(key);
            columnItem->setCheckable(true);
            columnItem->setChecked(true);
            connect(columnItem, &QAction::triggered, this, [this, columnItem] {
                m_grid.setColumnVisible(columnItem->data().toString(), columnItem->isChecked());
            });
        }
    }

    m_columnPopup = std::make_unique<QMenu>();
    m_hideColumn = m_columnPopup->addAction(QStringLiteral("&Hide Column"));
    QAction *groupBy = m_columnPopup->addAction(QStringLiteral("&Group By"));
    groupBy->setVisible(false);
    m_columnPopup->addSeparator();
    m_popupAscending = m_columnPopup->addAction(QStringLiteral("Sort &Ascending"));
    m_popupDescending = m_columnPopup->addAction(QStringLiteral("Sort &Descending"));
    m_popupAscending->setCheckable(true);
    m_popupDescending->setCheckable(true);
    m_grid.setRedraw(true);
}

QAction *PasswordGrid::columnItem(const QString &key) const
{
    if (m_columnMenu == nullptr) {
        return nullptr;
    }
    for (QAction *item : m_columnMenu->actions()) {
        if (item->data().toString() == key) {
            return item;
        }
    }
    return nullptr;
}

void PasswordGrid::toggleColumn(QAction *item)
{
    item->setChecked(!item->isChecked());
    m_grid.setColumnVisible(item->data().toString(), item->isChecked());
}

void PasswordGrid::FillGrid(int node)
{
    const QString branch = m_treeView ? m_tree.key(node) : QStringLiteral("R");
    m_categories.currentNodeKey = m_tree.key(m_tree.selectedNode());
    qint16 category = -1;
    qint16 subCategory = -1;
    mainwindow::ParseNodeKey(branch, category, subCategory, true);

    m_grid.setRedraw(false);
    m_grid.setRowTextFit(m_services.options.ShowNotes);
    PasswordRows::Looks looks;
    looks.boldFont = m_boldFont;
    looks.linkFont = m_linkFont;
    looks.alertImage = m_treeImages ? m_treeImages->index(QStringLiteral("ALERT")) : 0;
    looks.warningImage = m_treeImages ? m_treeImages->index(QStringLiteral("WARNING")) : 0;
    looks.today = m_services.clock.today();
    m_grid.setRowSource(std::make_unique<PasswordRows>(m_services.state.Store, m_grid, category,
                                                       subCategory, looks));
    if (m_sortColumn != 0) {
        m_grid.sort();
    }
    m_grid.setRedraw(true);
    rowSelected = m_grid.selectedRow() > 0;
}

void PasswordGrid::SortGrid(int column, bool keep, bool explicitOrder, int order)
{
    if (column < 1 || column > m_grid.columnCount()) {
        return;
    }
    if (keep) {
        // The column already sorted by was chosen again: the sort, its arrow
        // and its order stay; only the item the menu just unchecked comes back.
        checkSortItem();
        return;
    }
    m_grid.clearSortKeys();
    if (!explicitOrder) {
        const int current = m_grid.columnSortOrder(column);
        order = current == 0 || current == 2 ? 1 : 2;
    }
    for (QAction *item : {m_orderAscending, m_popupAscending}) {
        if (item != nullptr) {
            item->setChecked(order == 1);
        }
    }
    for (QAction *item : {m_orderDescending, m_popupDescending}) {
        if (item != nullptr) {
            item->setChecked(order == 2);
        }
    }
    m_grid.setColumnSortOrder(column, order);
    m_grid.addSortKey(column, order, m_grid.columnSortCode(column));
    m_sortColumn = column;
    const int asc = m_treeImages ? m_treeImages->index(QStringLiteral("ASC")) : -1;
    const int desc = m_treeImages ? m_treeImages->index(QStringLiteral("DESC")) : -1;
    for (int c = 1; c <= m_grid.columnCount(); ++c) {
        const int image = m_grid.columnHeaderImage(c);
        if (c != column && image > 0 && (image == asc || image == desc)) {
            m_grid.setColumnHeaderImage(c, 0);
        }
    }
    if (!m_grid.columnHeader(column).isEmpty()) {
        m_grid.setColumnHeaderImage(column, order == 1 ? asc : desc);
    }
    if (m_columnMenu != nullptr) {
        m_columnMenu->menuAction()->setEnabled(true);
    }
    checkSortItem();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_grid.sort();
    QGuiApplication::restoreOverrideCursor();
}

void PasswordGrid::checkSortItem()
{
    if (m_sortMenu == nullptr) {
        return;
    }
    const QString key = m_grid.columnKey(m_sortColumn);
    for (QAction *item : m_sortMenu->actions()) {
        item->setChecked(item->data().toString() == key);
    }
}

QString PasswordGrid::GetSelectedService() const
{
    const int row = m_grid.selectedRow();
    return row > 0 ? m_grid.cellText(row, ServiceColumn) : QString();
}

bool PasswordGrid::selectedCellFilled(const QString &columnKey) const
{
    const int row = m_grid.selectedRow();
    return row > 0 && !m_grid.cellText(row, m_grid.columnIndex(columnKey)).trimmed().isEmpty();
}

void PasswordGrid::DoDefaultGridAction()
{
    static constexpr MainCommand Actions[] = {
        MainCommand::None,
        MainCommand::PasswordEdit,
        MainCommand::EditCopyPassword,
        MainCommand::EditCopyUserPassword,
        MainCommand::EditCopyUrl,
        MainCommand::EditExecuteUrl,
    };
    const int action = m_services.options.DefaultGridAction;
    if (action > 0 && action < static_cast<int>(std::size(Actions))) {
        Q_EMIT commandRequested(Actions[action]);
    }
}

void PasswordGrid::RestoreGridDisplay()
{
    m_grid.update();
    QCoreApplication::processEvents();
    m_grid.setRedraw(true);
    QCoreApplication::processEvents();
    m_grid.update();
    QCoreApplication::processEvents();
    if (const int row = m_grid.selectedRow(); row > 0) {
        m_grid.ensureVisible(row, qMax(1, m_grid.selectedColumn()));
    }
    m_tree.update();
}

void PasswordGrid::showColumnPopup(QPoint viewportPosition)
{
    headerColumn = 0;
    for (int c = 1; c <= m_grid.columnCount(); ++c) {
        const auto [left, right] = m_grid.columnSpan(c);
        if (m_grid.columnVisible(c) && viewportPosition.x() >= left &&
            viewportPosition.x() < right) {
            headerColumn = c;
            break;
        }
    }
    if (headerColumn == 0 || m_columnPopup == nullptr) {
        return;
    }
    headerChoice = -1;
    const QString key = m_grid.columnKey(headerColumn);
    m_hideColumn->setEnabled(key != QStringLiteral("Service"));
    m_popupAscending->setChecked(m_grid.columnSortOrder(headerColumn) == 1);
    m_popupDescending->setChecked(m_grid.columnSortOrder(headerColumn) == 2);
    const QList<QAction *> items = m_columnPopup->actions();
    const QAction *chosen = m_columnPopup->exec(m_grid.mapToGlobal(viewportPosition));
    headerChoice = chosen != nullptr ? static_cast<int>(items.indexOf(chosen)) : -1;
    RestoreGridDisplay();
    if (headerChoice == 3) {
        SortGrid(headerColumn, false, true, 1);
    } else if (headerChoice == 4) {
        SortGrid(headerColumn, false, true, 2);
    } else if (headerChoice == 0 && headerColumn >= ServiceColumn) {
        if (QAction *item = columnItem(key)) {
            toggleColumn(item);
        }
    }
}

void PasswordGrid::mouseDown(Qt::MouseButton button, QPoint position)
{
    const int row = m_grid.cellAt(position).row;
    if (row == 0) {
        return;
    }
    m_grid.setSelectedRow(row);
    if (button == Qt::LeftButton) {
        m_categories.dragService = m_grid.cellText(row, ServiceColumn);
    } else if (button == Qt::RightButton) {
        const auto usable = [this, row](int column) {
            return !m_grid.cellText(row, column).trimmed().isEmpty();
        };
        headerChoice = -1;
        Q_EMIT recordPopupRequested(m_grid.viewport()->mapToGlobal(position), usable(UrlColumn),
                                    usable(ExpUrlColumn), usable(ChangeUrlColumn));
        RestoreGridDisplay();
        Q_EMIT commandRequested(menu_table::recordPopupCommand(headerChoice));
    }
}

void PasswordGrid::mouseMove(Qt::MouseButtons buttons)
{
    if (buttons == Qt::NoButton || m_categories.dragService.isEmpty() || !m_dragImages) {
        return;
    }
    m_grid.setDragIcon(m_dragImages->pixmap(QStringLiteral("DRAGPW")));
    m_categories.dragNodeIndex = m_tree.selectedNode();
    m_categories.dropAllowed = true;
    m_grid.startDrag();
    m_categories.dragService.clear();
}

void PasswordGrid::dragOverGrid(int state)
{
    // Records are never dropped on the grid itself.
    m_grid.setDropAllowed(false);
    if (state != 1 && m_dragImages) {
        m_grid.setDragIcon(m_dragImages->pixmap(QStringLiteral("NODRAG")));
    }
}

void PasswordGrid::keyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        DoDefaultGridAction();
    } else if (key == Qt::Key_Delete) {
        Q_EMIT commandRequested(MainCommand::PasswordDelete);
    } else if (key == Qt::Key_F4) {
        Q_EMIT commandRequested(MainCommand::PasswordEdit);
    }
}
