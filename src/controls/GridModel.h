#pragma once

#include "GridTypes.h"
#include "ImageList.h"

#include <memory>
#include <QAbstractTableModel>
#include <QFont>
#include <vector>

namespace controls {

// Turns a display format of the d/m/y kind ("dd/mm/yyyy", minutes as "nn")
// into the pattern QDate understands ("dd/MM/yyyy").
QString qtDateFormat(const QString &displayFormat);

// The data behind Grid: plain vectors, so that filling ten thousand rows costs
// little more than the strings themselves, or a source that works cells out
// when they are asked for. Indexes here are 0-based; Grid
// turns them into the 1-based ones of its interface. While batching, changes
// send no signals and the views learn of them in one step at the end.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int IndentRole = Qt::UserRole + 1;

    using Cell = GridCellData;
    static_assert(sizeof(Cell) <= sizeof(QString) + 16);

    struct Column
    {
        GridColumnDefinition definition;
        int sortOrder = SortNone;
    };

    explicit GridModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    // A painted cell asks for several roles at once: a row source is asked once.
    void multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setImageList(std::shared_ptr<const ImageList> images);
    const std::shared_ptr<const ImageList> &imageList() const { return m_images; }

    // While on, changes are only recorded; switching it off publishes them.
    void setBatching(bool on);
    bool batching() const { return m_batching; }

    int addColumn(const GridColumnDefinition &definition);
    int columns() const { return static_cast<int>(m_columns.size()); }
    const Column &column(int column) const { return m_columns[static_cast<size_t>(column)]; }
    // Width and visibility are the view's business; the model only keeps them.
    GridColumnDefinition &columnSpec(int column)
    {
        return m_columns[static_cast<size_t>(column)].definition;
    }
    void setColumnHeader(int column, const QString &header);
    void setColumnHeaderImage(int column, int image);
    void setColumnSortOrder(int column, int order);
    void setColumnSortCode(int column, int code);
    // The row-text column, -1 when the grid has none.
    int rowTextColumn() const { return m_rowTextColumn; }

    // Drops the rows, and the row source with them.
    void clearRows();
    // Appends a row of its own; -1 while the rows come from a source.
    int addRow();
    // The rows become the source's, in its order; setting a cell of theirs
    // does nothing.
    void setRowSource(std::unique_ptr<const GridRowSource> source);
    bool hasRowSource() const { return m_source != nullptr; }
    // Room for this many rows, so a large fill does not move its cells about.
    void reserveRows(int count);
    int rows() const { return static_cast<int>(m_order.size()); }
    Cell cell(int row, int column) const;
    void setCell(int row, int column, Cell cell);
    void setCellText(int row, int column, const QString &text);
    void setCellImage(int row, int column, int image);
    void setCellForeColour(int row, int column, int colour);
    // Where the row's cells were added: a row keeps it however the rows are sorted.
    size_t slotOf(int row) const { return slot(row); }
    // 0 means the default height.
    int rowHeight(int row) const { return m_heights[slot(row)]; }
    void setRowHeight(int row, int height) { m_heights[slot(row)] = height; }
    QString rowText(int row) const;
    QColor rowTextColour(int row) const;
    QFont cellFont(int row, int column, const QFont &base) const;

    // A small table of the fonts cells use; cells keep an index into it.
    int internFont(const QFont &font);

    // Ranks of images for image sort keys; see Grid::setImageSortOrder.
    void setImageSortOrder(std::vector<int> images) { m_imageOrder = std::move(images); }

    // Reorders the rows stably; answers, for each old row, its new position,
    // or nothing when the rows were in that order already (and stay as they are).
    std::vector<int> sortRows(const std::vector<GridSortKey> &keys);

private:
    bool valid(int row, int column) const;
    size_t slot(int row) const { return static_cast<size_t>(m_order[static_cast<size_t>(row)]); }
    // The cell of the row added at that slot.
    Cell slotCell(size_t at, int column) const;
    // The rows as the source gave them, or the other way round, as positions
    // into the rows shown now; nothing when that is how they stand.
    std::vector<int> sourceOrder(bool descending) const;
    // Shows the rows in that order (positions into the rows shown now);
    // answers, for each old row, its new position.
    std::vector<int> reorder(const std::vector<int> &order);
    // The row's own cell to change; none while the rows come from a source.
    Cell *own(int row, int column);
    void changed(int row, int column);

    std::vector<Column> m_columns;
    // The cells by column, each column's in the slots its rows were added in,
    // and a column that never got a cell holds none (hidden ones stay empty).
    // m_order lists the slots as the rows are shown, so a sort moves numbers
    // rather than cells.
    std::vector<std::vector<Cell>> m_cells;
    std::vector<int> m_heights; // by slot
    std::vector<int> m_order;
    std::unique_ptr<const GridRowSource> m_source;
    size_t m_reserved = 0;
    std::vector<QFont> m_fonts;
    std::vector<int> m_imageOrder;
    std::shared_ptr<const ImageList> m_images;
    int m_rowTextColumn = -1;
    bool m_batching = false;
    bool m_structureChanged = false;
    bool m_dataChanged = false;
};

} // namespace controls
