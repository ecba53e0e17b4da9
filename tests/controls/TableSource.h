#pragma once

// A grid row source over a table of cells, for the grid's tests.

#include "GridTypes.h"

#include <vector>

namespace controls {

// Cells given by a source instead of set one by one; counts what it is asked.
class TableSource final : public GridRowSource
{
public:
    TableSource(std::vector<std::vector<GridCellData>> rows, int ascendingColumn, bool *gone)
        : m_rows(std::move(rows)), m_ascending(ascendingColumn), m_gone(gone)
    {
    }
    ~TableSource() override
    {
        if (m_gone != nullptr)
            *m_gone = true;
    }
    int rows() const override { return static_cast<int>(m_rows.size()); }
    void cell(int row, int column, GridCellData &out) const override
    {
        ++asked;
        const auto &cells = m_rows[static_cast<size_t>(row)];
        if (static_cast<size_t>(column) < cells.size())
            out = cells[static_cast<size_t>(column)];
    }
    bool ascendingBy(int column, int sortCode) const override
    {
        return column == m_ascending && sortCode == SortText;
    }

    mutable int asked = 0;

private:
    std::vector<std::vector<GridCellData>> m_rows;
    int m_ascending;
    bool *m_gone;
};

} // namespace controls
