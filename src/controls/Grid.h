#pragma once

#include "GridTypes.h"
#include "ImageList.h"

#include <memory>
#include <QDate>
#include <QHash>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace controls {

class DragSupport;
class GridModel;
class GridView;

// A fast grid of text and image cells with keyed columns, cell colours and
// fonts, an optional text line under each row, and sorting by text, number,
// date or image. Rows and columns are numbered from 1; 0 means "none".
// Invalid rows or columns are ignored by setters and give empty values.
class Grid : public QWidget
{
    Q_OBJECT

public:
    explicit Grid(QWidget *parent = nullptr);
    ~Grid() override;

    // Painting switch. While off, changes are collected and shown in one step
    // when it is switched on again: the way to fill many rows.
    void setRedraw(bool on);
    bool redraw() const;

    // --- Rows
    // Drops every row, and the row source with them.
    void clearRows();
    // Appends an empty row; answers its number (0 while the rows come from a source).
    int addRow();
    // Shows the source's rows instead of rows of the grid's own. Their cells
    // are asked for when they are painted, searched or sorted, so the source
    // must answer for as long as it is set; cell setters leave them alone.
    // Row heights and the selection work as for any row.
    void setRowSource(std::unique_ptr<const GridRowSource> source);
    // Room for that many rows, asked for before a large fill.
    void reserveRows(int count);
    int rowCount() const;
    // Height in pixels; 0 or less gives the row the default height back.
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);
    int defaultRowHeight() const;
    void setDefaultRowHeight(int height);
    // The row's text line: the cell of the row-text column.
    QString rowText(int row) const;
    void setRowText(int row, const QString &text);
    // The height the row's text needs under the cells at the present widths.
    int rowTextHeight(int row) const;
    // While on, each row with a text line is made tall enough to show it all
    // under its cells. Measuring text is slow, so the rows in view are
    // measured at once and the others a batch at a time while the event loop
    // is idle; setRowHeight stays for rows of other heights.
    void setRowTextFit(bool on);
    bool rowTextFit() const { return m_fitRowText; }

    // --- Columns
    int addColumn(const GridColumnDefinition &definition);
    int addColumn(const QString &key, const QString &header, int width = 96, bool visible = true);
    int columnCount() const;
    // The column with this key (case-insensitive), 0 when there is none.
    int columnIndex(const QString &key) const;
    QString columnKey(int column) const;
    QString columnHeader(int column) const;
    QString columnHeader(const QString &key) const { return columnHeader(columnIndex(key)); }
    void setColumnHeader(int column, const QString &header);
    bool columnVisible(int column) const;
    bool columnVisible(const QString &key) const { return columnVisible(columnIndex(key)); }
    void setColumnVisible(int column, bool visible);
    void setColumnVisible(const QString &key, bool visible);
    int columnWidth(int column) const;
    int columnWidth(const QString &key) const { return columnWidth(columnIndex(key)); }
    void setColumnWidth(int column, int width);
    void setColumnWidth(const QString &key, int width);
    int columnSortOrder(int column) const;
    int columnSortOrder(const QString &key) const { return columnSortOrder(columnIndex(key)); }
    void setColumnSortOrder(int column, int order);
    void setColumnSortOrder(const QString &key, int order);
    int columnSortCode(int column) const;
    int columnSortCode(const QString &key) const { return columnSortCode(columnIndex(key)); }
    void setColumnSortCode(int column, int code);
    void setColumnSortCode(const QString &key, int code);
    // 1-based index into the image list, 0 for none.
    int columnHeaderImage(int column) const;
    int columnHeaderImage(const QString &key) const { return columnHeaderImage(columnIndex(key)); }
    void setColumnHeaderImage(int column, int image);
    void setColumnHeaderImage(const QString &key, int image);
    QString columnFormat(int column) const;
    bool columnFixedWidth(int column) const;
    bool columnInSelection(int column) const;
    bool columnIsRowText(int column) const;
    // The left and right edge of a column's header, in viewport coordinates.
    std::pair<int, int> columnSpan(int column) const;

    // --- Cells
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    // Shows a date in the column's display format; an invalid date empties the cell.
    void setCellDate(int row, int column, const QDate &date);
    // A date in the column's display format, "" for an invalid one: what
    // setCellDate shows, for a row source to give.
    QString dateText(int column, const QDate &date) const;
    int cellImage(int row, int column) const;
    void setCellImage(int row, int column, int image);
    CellDetails cellDetails(int row, int column) const;
    void setCellDetails(int row, int column, const CellDetails &details);
    QColor cellForeColour(int row, int column) const;
    // A Windows RGB integer; below 0 the default.
    void setCellForeColour(int row, int column, int colour);
    QColor cellBackColour(int row, int column) const;
    QFont cellFont(int row, int column) const;
    // The index a row source gives for cells in this font.
    int fontIndex(const QFont &font);

    // --- Selection and geometry
    int selectedRow() const;
    int selectedColumn() const;
    // Selects a whole row; 0 clears the selection. The column becomes the
    // current cell's column (0 keeps it).
    void setSelectedRow(int row, int column = 0);
    // The cell under a point of the viewport (the cell area without header);
    // {0, 0} when there is none.
    GridCell cellAt(const QPoint &viewportPoint) const;
    // The cell's rectangle in viewport coordinates.
    QRect cellRect(int row, int column) const;
    void ensureVisible(int row, int column);

    // --- Sorting: the keys are applied in order by sort().
    void clearSortKeys();
    void addSortKey(int column, int order, int sortCode);
    std::vector<GridSortKey> sortKeys() const;
    // How image keys rank the cells: no image first, then the images listed
    // here in their order, then any other image by its index. An image stands
    // for a status, and only the host knows which status ranks higher.
    void setImageSortOrder(std::vector<int> images);
    // Sorts the rows by the keys; the selected row stays selected.
    void sort();

    // --- The two column-index settings: letters typed in the grid select the
    // next row whose cell in the first column starts with them, or failing
    // that, in the second; a hidden column is not searched. 0 for none.
    void setSearchColumns(int first, int second);
    std::pair<int, int> searchColumns() const { return m_searchColumns; }

    // --- Display
    void setImageList(std::shared_ptr<const ImageList> images);
    std::shared_ptr<const ImageList> imageList() const;
    void setGridLines(bool on);
    void setHeaderVisible(bool on);

    // --- Dragging
    void setDragIcon(const QPixmap &icon);
    QPixmap dragIcon() const;
    // Starts a drag from the grid; answers whether it was dropped and accepted.
    bool startDrag();
    // Called from a dragOver handler: whether the reported step may drop here.
    void setDropAllowed(bool allowed);

    // The widget that receives the mouse, for hosts and tests.
    QWidget *viewport() const;

Q_SIGNALS:
    void selectionChanged(int row);
    void doubleClicked(int row, int column);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void headerClicked(int column);
    void dragOver(QObject *source, QPoint position, int state);
    void dropped(QObject *source, QPoint position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool validRow(int row) const;
    bool validColumn(int column) const;
    void applyRowHeights();
    // After every row was dropped or replaced: caches, fitting and selection start over.
    void rowsReplaced();
    // Rows fitted to their text: the rows in view now, the rest later.
    void fitRowsAgain();
    void fitRowsInView();
    void fitRows(int first, int last);
    void fitSomeRows();

    GridModel *m_model;
    GridView *m_view;
    std::unique_ptr<DragSupport> m_drag;
    std::vector<GridSortKey> m_sortKeys;
    int m_lastSelected = 0;
    std::pair<int, int> m_searchColumns{0, 0};
    bool m_fitRowText = false;
    std::vector<bool> m_fitted; // by slot: the row's text was measured
    int m_fitNext = 0;          // the next row the idle batches look at
    QTimer *m_fitTimer;
    // Date texts by column and day, shared by the cells that show them; only
    // a cache, so a const grid may fill it.
    mutable QHash<std::pair<int, qint64>, QString> m_dateTexts;
};

} // namespace controls
