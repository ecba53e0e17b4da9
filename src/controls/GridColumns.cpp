// The grid's columns: keys, headers, widths, visibility and sort settings.

#include "Grid.h"
#include "GridModel.h"
#include "GridView.h"

#include <QHeaderView>

namespace controls {

int Grid::addColumn(const GridColumnDefinition &definition)
{
    // The header must know the new section before its width and mode are set,
    // so a column added while painting is off is announced at once.
    const bool batching = m_model->batching();
    m_model->setBatching(false);
    const int column = m_model->addColumn(definition);
    QHeaderView *header = m_view->horizontalHeader();
    m_view->setColumnWidth(column, std::max(definition.width, 1));
    header->setSectionResizeMode(column, definition.fixedWidth ? QHeaderView::Fixed
                                                               : QHeaderView::Interactive);
    m_view->setColumnHidden(column, definition.rowText || !definition.visible);
    m_model->setBatching(batching);
    return column + 1;
}

int Grid::addColumn(const QString &key, const QString &header, int width, bool visible)
{
    GridColumnDefinition definition;
    definition.key = key;
    definition.header = header;
    definition.width = width;
    definition.visible = visible;
    return addColumn(definition);
}

int Grid::columnCount() const
{
    return m_model->columns();
}

int Grid::columnIndex(const QString &key) const
{
    for (int column = 0; column < m_model->columns(); ++column) {
        if (m_model->column(column).definition.key.compare(key, Qt::CaseInsensitive) == 0)
            return column + 1;
    }
    return 0;
}

QString Grid::columnKey(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).definition.key : QString();
}

QString Grid::columnHeader(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).definition.header : QString();
}

void Grid::setColumnHeader(int column, const QString &header)
{
    if (validColumn(column))
        m_model->setColumnHeader(column - 1, header);
}

bool Grid::columnVisible(int column) const
{
    return validColumn(column) && m_model->column(column - 1).definition.visible;
}

void Grid::setColumnVisible(int column, bool visible)
{
    if (!validColumn(column))
        return;
    GridColumnDefinition &definition = m_model->columnSpec(column - 1);
    definition.visible = visible;
    // Showing a section gives it its old size back first; ours wins.
    const int width = std::max(definition.width, 1);
    m_view->setColumnHidden(column - 1, definition.rowText || !visible);
    if (visible && !definition.rowText)
        m_view->setColumnWidth(column - 1, width);
}

void Grid::setColumnVisible(const QString &key, bool visible)
{
    setColumnVisible(columnIndex(key), visible);
}

int Grid::columnWidth(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).definition.width : 0;
}

void Grid::setColumnWidth(int column, int width)
{
    if (!validColumn(column) || width < 1)
        return;
    GridColumnDefinition &definition = m_model->columnSpec(column - 1);
    definition.width = width;
    if (definition.visible && !definition.rowText)
        m_view->setColumnWidth(column - 1, width);
}

void Grid::setColumnWidth(const QString &key, int width)
{
    setColumnWidth(columnIndex(key), width);
}

int Grid::columnSortOrder(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).sortOrder : SortNone;
}

void Grid::setColumnSortOrder(int column, int order)
{
    if (validColumn(column) && order >= SortNone && order <= SortDescending)
        m_model->setColumnSortOrder(column - 1, order);
}

void Grid::setColumnSortOrder(const QString &key, int order)
{
    setColumnSortOrder(columnIndex(key), order);
}

int Grid::columnSortCode(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).definition.sortCode : SortText;
}

void Grid::setColumnSortCode(int column, int code)
{
    if (validColumn(column))
        m_model->setColumnSortCode(column - 1, code);
}

void Grid::setColumnSortCode(const QString &key, int code)
{
    setColumnSortCode(columnIndex(key), code);
}

int Grid::columnHeaderImage(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).definition.headerImage : 0;
}

void Grid::setColumnHeaderImage(int column, int image)
{
    if (validColumn(column))
        m_model->setColumnHeaderImage(column - 1, image);
}

void Grid::setColumnHeaderImage(const QString &key, int image)
{
    setColumnHeaderImage(columnIndex(key), image);
}

QString Grid::columnFormat(int column) const
{
    return validColumn(column) ? m_model->column(column - 1).definition.format : QString();
}

bool Grid::columnFixedWidth(int column) const
{
    return validColumn(column) && m_model->column(column - 1).definition.fixedWidth;
}

bool Grid::columnInSelection(int column) const
{
    return validColumn(column) && m_model->column(column - 1).definition.inSelection;
}

bool Grid::columnIsRowText(int column) const
{
    return validColumn(column) && m_model->column(column - 1).definition.rowText;
}

std::pair<int, int> Grid::columnSpan(int column) const
{
    if (!validColumn(column) || m_view->isColumnHidden(column - 1))
        return {0, 0};
    const QHeaderView *header = m_view->horizontalHeader();
    const int left = header->sectionViewportPosition(column - 1);
    return {left, left + header->sectionSize(column - 1)};
}

} // namespace controls
