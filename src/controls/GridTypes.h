#pragma once

#include "Colour.h"

#include <optional>
#include <QFont>
#include <QString>

namespace controls {

// How a column's cells compare when the grid is sorted by it.
enum SortCode : int
{
    SortText = 0, // case-insensitive text
    SortTextCaseSensitive = 1,
    SortNumber = 100, // the text read as a number; not a number sorts first
    SortDate = 200,   // a date in the column's display format; empty sorts first
    SortImage = 300,  // the status the cell's image stands for (Grid::setImageSortOrder)
};

// A column's sort order, also shown in its header.
enum SortOrder : int
{
    SortNone = 0,
    SortAscending = 1,
    SortDescending = 2,
};

// Everything a column is created with. Widths are in pixels; a header image
// of 0 or less means none.
struct GridColumnDefinition
{
    QString key;
    QString header;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int headerImage = 0;
    int width = 96;
    bool visible = true;
    bool fixedWidth = false;
    bool inSelection = true;
    QString format;       // date display format such as "dd/mm/yyyy"
    bool rowText = false; // the row-text column: shown as a line under each row
    int sortCode = SortText;
};

// The look of one cell. Colours are Windows RGB integers, -1 the default;
// image is a 1-based index into the grid's image list, 0 or less none.
struct CellDetails
{
    QString text;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int image = 0;
    int backColour = defaultColour;
    int foreColour = defaultColour;
    std::optional<QFont> font;
    int indent = 0;
};

// What one cell holds, as the grid keeps it: the small numbers are kept small.
// Colours are Windows RGB integers, defaultColour the default; image is a
// 1-based index into the grid's image list, 0 none; font an index from
// Grid::fontIndex, -1 the grid's own font.
struct GridCellData
{
    QString text;
    int backColour = defaultColour;
    int foreColour = defaultColour;
    qint16 image = 0;
    qint16 font = -1;
    quint16 indent = 0;
    quint16 alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// Rows whose cells are worked out when the grid asks for them, instead of
// being copied in: for a grid over many records of which a screenful shows.
// Rows and columns are 0-based here; row is the position the source gave the
// row, whatever order the grid shows it in.
class GridRowSource
{
public:
    virtual ~GridRowSource() = default;
    virtual int rows() const = 0;
    virtual void cell(int row, int column, GridCellData &out) const = 0;
    // Whether the rows as given are in strictly ascending order of this
    // column under that sort code, no two alike: then a sort by it needs no
    // cell at all, and no further key either.
    virtual bool ascendingBy(int column, int sortCode) const
    {
        Q_UNUSED(column)
        Q_UNUSED(sortCode)
        return false;
    }
};

// A cell position; 0 in either part means "none".
struct GridCell
{
    int row = 0;
    int column = 0;

    friend bool operator==(const GridCell &, const GridCell &) = default;
};

// One key of a sort: a column, its order and how its cells compare.
struct GridSortKey
{
    int column = 0;
    int order = SortAscending;
    int sortCode = SortText;

    friend bool operator==(const GridSortKey &, const GridSortKey &) = default;
};

} // namespace controls
