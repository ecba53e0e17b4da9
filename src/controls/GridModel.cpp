#include "GridModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <QBrush>
#include <QDate>
#include <QHash>

namespace controls {

QString qtDateFormat(const QString &displayFormat)
{
    QString result;
    result.reserve(displayFormat.size());
    for (const QChar c : displayFormat) {
        if (c == u'm')
            result += u'M';
        else if (c == u'n')
            result += u'm';
        else
            result += c;
    }
    return result;
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows();
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns();
}

bool GridModel::valid(int row, int column) const
{
    return row >= 0 && row < rows() && column >= 0 && column < columns();
}

namespace {

QVariant roleData(const GridModel::Cell &c, int role, const ImageList *images,
                  const std::vector<QFont> &fonts)
{
    switch (role) {
    case Qt::DisplayRole:
        return c.text;
    case Qt::DecorationRole:
        if (c.image > 0 && images != nullptr)
            return images->icon(c.image);
        return {};
    case Qt::ForegroundRole:
        if (c.foreColour >= 0)
            return QBrush(colourFromRgbInt(c.foreColour));
        return {};
    case Qt::BackgroundRole:
        if (c.backColour >= 0)
            return QBrush(colourFromRgbInt(c.backColour));
        return {};
    case Qt::FontRole:
        if (c.font >= 0 && static_cast<size_t>(c.font) < fonts.size())
            return fonts[static_cast<size_t>(c.font)];
        return {};
    case Qt::TextAlignmentRole:
        return static_cast<int>(c.alignment);
    case GridModel::IndentRole:
        return c.indent;
    default:
        return {};
    }
}

} // namespace

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    // Views may ask while a batch is under way; the rows they know of may be gone.
    if (!valid(index.row(), index.column()))
        return {};
    return roleData(cell(index.row(), index.column()), role, m_images.get(), m_fonts);
}

void GridModel::multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const
{
    if (!valid(index.row(), index.column())) {
        for (QModelRoleData &data : roleDataSpan)
            data.clearData();
        return;
    }
    const Cell c = cell(index.row(), index.column());
    for (QModelRoleData &data : roleDataSpan)
        data.setData(roleData(c, data.role(), m_images.get(), m_fonts));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumnDefinition &definition = column(section).definition;
    switch (role) {
    case Qt::DisplayRole:
        return definition.header;
    case Qt::DecorationRole:
        if (definition.headerImage > 0 && m_images)
            return m_images->icon(definition.headerImage);
        return {};
    case Qt::TextAlignmentRole:
        return static_cast<int>(definition.alignment);
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!valid(index.row(), index.column()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void GridModel::setImageList(std::shared_ptr<const ImageList> images)
{
    m_images = std::move(images);
    changed(-1, -1);
    if (!m_batching && columns() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns() - 1);
}

void GridModel::setBatching(bool on)
{
    if (on == m_batching)
        return;
    m_batching = on;
    if (on)
        return;
    if (m_structureChanged) {
        beginResetModel();
        endResetModel();
    } else if (m_dataChanged && rows() > 0 && columns() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rows() - 1, columns() - 1));
    }
    m_structureChanged = false;
    m_dataChanged = false;
}

int GridModel::addColumn(const GridColumnDefinition &definition)
{
    const int at = columns();
    if (!m_batching)
        beginInsertColumns({}, at, at);
    m_columns.push_back(Column{definition, SortNone});
    m_cells.emplace_back(); // blank in every row until given a cell
    if (definition.rowText && m_rowTextColumn < 0)
        m_rowTextColumn = at;
    if (m_batching)
        m_structureChanged = true;
    else
        endInsertColumns();
    return at;
}

void GridModel::setColumnHeader(int column, const QString &header)
{
    m_columns[static_cast<size_t>(column)].definition.header = header;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void GridModel::setColumnHeaderImage(int column, int image)
{
    m_columns[static_cast<size_t>(column)].definition.headerImage = std::max(image, 0);
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void GridModel::setColumnSortOrder(int column, int order)
{
    m_columns[static_cast<size_t>(column)].sortOrder = order;
}

void GridModel::setColumnSortCode(int column, int code)
{
    m_columns[static_cast<size_t>(column)].definition.sortCode = code;
}

void GridModel::clearRows()
{
    if (m_order.empty() && !m_source)
        return;
    // The block keeps its room: the next fill is most likely as large.
    const auto clear = [this] {
        for (std::vector<Cell> &cells : m_cells)
            cells.clear();
        m_heights.clear();
        m_order.clear();
        m_source.reset();
    };
    if (m_batching) {
        clear();
        m_structureChanged = true;
        return;
    }
    beginResetModel();
    clear();
    endResetModel();
}

void GridModel::setRowSource(std::unique_ptr<const GridRowSource> source)
{
    const auto take = [this, &source] {
        for (std::vector<Cell> &cells : m_cells)
            cells.clear();
        const auto count = static_cast<size_t>(source ? std::max(source->rows(), 0) : 0);
        m_heights.assign(count, 0);
        m_order.resize(count);
        std::iota(m_order.begin(), m_order.end(), 0);
        m_source = std::move(source);
    };
    if (m_batching) {
        take();
        m_structureChanged = true;
        return;
    }
    beginResetModel();
    take();
    endResetModel();
}

void GridModel::reserveRows(int count)
{
    const auto n = static_cast<size_t>(std::max(count, 0));
    m_reserved = n;
    for (std::vector<Cell> &cells : m_cells) {
        if (!cells.empty())
            cells.reserve(n);
    }
    m_heights.reserve(n);
    m_order.reserve(n);
}

int GridModel::addRow()
{
    if (m_source)
        return -1;
    const int at = rows();
    const auto add = [this] {
        for (std::vector<Cell> &cells : m_cells) {
            if (!cells.empty())
                cells.emplace_back();
        }
        m_order.push_back(static_cast<int>(m_heights.size()));
        m_heights.push_back(0);
    };
    if (m_batching) {
        add();
        m_structureChanged = true;
        return at;
    }
    beginInsertRows({}, at, at);
    add();
    endInsertRows();
    return at;
}

GridModel::Cell GridModel::cell(int row, int column) const
{
    return slotCell(slot(row), column);
}

GridModel::Cell GridModel::slotCell(size_t at, int column) const
{
    if (m_source) {
        Cell c;
        m_source->cell(static_cast<int>(at), column, c);
        return c;
    }
    const std::vector<Cell> &cells = m_cells[static_cast<size_t>(column)];
    return cells.empty() ? Cell() : cells[at];
}

GridModel::Cell *GridModel::own(int row, int column)
{
    if (m_source)
        return nullptr;
    std::vector<Cell> &cells = m_cells[static_cast<size_t>(column)];
    if (cells.empty()) {
        cells.reserve(std::max(m_reserved, m_heights.size()));
        cells.resize(m_heights.size());
    }
    return &cells[slot(row)];
}

void GridModel::changed(int row, int column)
{
    if (m_batching) {
        m_dataChanged = true;
        return;
    }
    if (row < 0) {
        if (rows() > 0 && columns() > 0)
            Q_EMIT dataChanged(index(0, 0), index(rows() - 1, columns() - 1));
        return;
    }
    const QModelIndex at = index(row, column);
    Q_EMIT dataChanged(at, at);
}

void GridModel::setCell(int row, int column, Cell cell)
{
    if (Cell *c = own(row, column)) {
        *c = std::move(cell);
        changed(row, column);
    }
}

void GridModel::setCellText(int row, int column, const QString &text)
{
    if (Cell *c = own(row, column)) {
        c->text = text;
        changed(row, column);
    }
}

void GridModel::setCellImage(int row, int column, int image)
{
    if (Cell *c = own(row, column)) {
        c->image = static_cast<qint16>(std::clamp(image, 0, 0x7fff));
        changed(row, column);
    }
}

void GridModel::setCellForeColour(int row, int column, int colour)
{
    if (Cell *c = own(row, column)) {
        c->foreColour = colour < 0 ? defaultColour : colour;
        changed(row, column);
    }
}

QString GridModel::rowText(int row) const
{
    if (m_rowTextColumn < 0 || row < 0 || row >= rows())
        return {};
    return cell(row, m_rowTextColumn).text;
}

QColor GridModel::rowTextColour(int row) const
{
    if (m_rowTextColumn < 0 || row < 0 || row >= rows())
        return {};
    return colourFromRgbInt(cell(row, m_rowTextColumn).foreColour);
}

QFont GridModel::cellFont(int row, int column, const QFont &base) const
{
    if (!valid(row, column))
        return base;
    const int font = cell(row, column).font;
    return font >= 0 && static_cast<size_t>(font) < m_fonts.size()
               ? m_fonts[static_cast<size_t>(font)]
               : base;
}

int GridModel::internFont(const QFont &font)
{
    const auto found = std::find(m_fonts.begin(), m_fonts.end(), font);
    if (found != m_fonts.end())
        return static_cast<int>(found - m_fonts.begin());
    m_fonts.push_back(font);
    return static_cast<int>(m_fonts.size()) - 1;
}

namespace {

constexpr qint64 noDate = std::numeric_limits<qint64>::min();

template <typename T> int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// One key's values, worked out once per row before sorting, so that each of
// the many comparisons is a look-up and a plain compare. They are kept by
// slot, the place the row was added at, and read in that order: a row source
// is walked the way it laid its rows out.
struct KeyValues
{
    bool descending = false;
    std::vector<qint64> whole;  // dates and images
    std::vector<double> number; // numbers
    // Case-folded unless case counts, then compared unit by unit (the order
    // the store keeps its records in, so a fill by service is found sorted).
    std::vector<QString> text;

    int compare(size_t a, size_t b) const
    {
        if (!whole.empty())
            return threeWay(whole[a], whole[b]);
        if (!number.empty())
            return threeWay(number[a], number[b]);
        return text[a].compare(text[b], Qt::CaseSensitive);
    }
};

// The text case-folded; plain ASCII, the common case, without Qt's tables
// (for it folding only lowers A to Z).
QString caseFolded(const QString &text)
{
    bool upper = false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return text.toCaseFolded();
        upper = upper || (c >= u'A' && c <= u'Z');
    }
    if (!upper)
        return text;
    QString lowered(text.size(), Qt::Uninitialized);
    QChar *out = lowered.data();
    for (const QChar c : text)
        *out++ = c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
    return lowered;
}

// The order of two slots under all keys: below 0 when slot a goes first.
int compareRows(const std::vector<KeyValues> &keys, size_t a, size_t b)
{
    for (const KeyValues &key : keys) {
        const int c = key.compare(a, b);
        if (c != 0)
            return (c < 0) != key.descending ? -1 : 1;
    }
    return 0;
}

// The stable order of the shown rows (given by their slots) under the keys,
// as positions into shown, or nothing when they are in it already. Rows in
// the opposite order (a column's header clicked again) cost one pass too: the
// runs of equal rows trade places, each one keeping the order it had.
std::vector<int> stableOrder(const std::vector<int> &shown, const std::vector<KeyValues> &keys)
{
    const size_t count = shown.size();
    const auto compare = [&keys, &shown](size_t a, size_t b) {
        return compareRows(keys, static_cast<size_t>(shown[a]), static_cast<size_t>(shown[b]));
    };
    bool ascending = true;
    bool descending = true;
    for (size_t i = 1; i < count && (ascending || descending); ++i) {
        const int c = compare(i - 1, i);
        ascending = ascending && c <= 0;
        descending = descending && c >= 0;
    }
    if (ascending)
        return {};
    std::vector<int> order;
    order.reserve(count);
    if (descending) {
        for (size_t end = count; end > 0;) {
            size_t start = end - 1;
            while (start > 0 && compare(start - 1, start) == 0)
                --start;
            for (size_t i = start; i < end; ++i)
                order.push_back(static_cast<int>(i));
            end = start;
        }
        return order;
    }
    order.resize(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&compare](int a, int b) {
        return compare(static_cast<size_t>(a), static_cast<size_t>(b)) < 0;
    });
    return order;
}

} // namespace

std::vector<int> GridModel::sortRows(const std::vector<GridSortKey> &keys)
{
    const auto count = m_order.size();
    std::vector<KeyValues> values;
    for (const GridSortKey &key : keys) {
        if (key.column < 0 || key.column >= columns() || key.order == SortNone)
            continue;
        if (values.empty() && m_source && m_source->ascendingBy(key.column, key.sortCode))
            return reorder(sourceOrder(key.order == SortDescending));
        KeyValues v;
        v.descending = key.order == SortDescending;
        if (key.sortCode == SortDate) {
            const QString pattern = qtDateFormat(column(key.column).definition.format);
            v.whole.reserve(count);
            // Reading a date is slow and a column holds few different ones.
            QHash<QString, qint64> days;
            for (size_t at = 0; at < count; ++at) {
                const QString text = slotCell(at, key.column).text;
                auto known = days.constFind(text);
                if (known == days.cend()) {
                    const QDate date = text.isEmpty()      ? QDate()
                                       : pattern.isEmpty() ? QDate::fromString(text, Qt::ISODate)
                                                           : QDate::fromString(text, pattern);
                    known = days.insert(text, date.isValid() ? date.toJulianDay() : noDate);
                }
                v.whole.push_back(*known);
            }
        } else if (key.sortCode == SortImage) {
            v.whole.reserve(count);
            const auto rank = [this](int image) -> qint64 {
                if (image <= 0)
                    return 0;
                const auto listed = std::find(m_imageOrder.begin(), m_imageOrder.end(), image);
                if (listed != m_imageOrder.end())
                    return 1 + (listed - m_imageOrder.begin());
                return static_cast<qint64>(m_imageOrder.size()) + image;
            };
            for (size_t at = 0; at < count; ++at)
                v.whole.push_back(rank(slotCell(at, key.column).image));
        } else if (key.sortCode == SortNumber) {
            v.number.reserve(count);
            for (size_t at = 0; at < count; ++at) {
                bool ok = false;
                const double d = slotCell(at, key.column).text.toDouble(&ok);
                v.number.push_back(ok ? d : -std::numeric_limits<double>::infinity());
            }
        } else {
            const bool folded = key.sortCode != SortTextCaseSensitive;
            v.text.reserve(count);
            for (size_t at = 0; at < count; ++at) {
                QString text = slotCell(at, key.column).text;
                v.text.push_back(folded ? caseFolded(text) : std::move(text));
            }
        }
        values.push_back(std::move(v));
    }
    if (values.empty())
        return {};

    return reorder(stableOrder(m_order, values));
}

std::vector<int> GridModel::sourceOrder(bool descending) const
{
    const auto count = m_order.size();
    std::vector<int> where(count); // by slot, the row that shows it now
    for (size_t row = 0; row < count; ++row)
        where[static_cast<size_t>(m_order[row])] = static_cast<int>(row);
    std::vector<int> order(count);
    bool moves = false;
    for (size_t i = 0; i < count; ++i) {
        order[i] = where[descending ? count - 1 - i : i];
        moves = moves || order[i] != static_cast<int>(i);
    }
    return moves ? order : std::vector<int>();
}

std::vector<int> GridModel::reorder(const std::vector<int> &order)
{
    const auto count = m_order.size();
    if (order.empty())
        return {};
    std::vector<int> shown(count);
    std::vector<int> newPosition(count);
    for (size_t i = 0; i < count; ++i) {
        const auto old = static_cast<size_t>(order[i]);
        shown[i] = m_order[old];
        newPosition[old] = static_cast<int>(i);
    }
    if (m_batching) {
        m_order = std::move(shown);
        m_structureChanged = true;
    } else {
        beginResetModel();
        m_order = std::move(shown);
        endResetModel();
    }
    return newPosition;
}

} // namespace controls
