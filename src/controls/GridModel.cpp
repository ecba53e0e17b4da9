#include "GridModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <QBrush>
#include <QDate>

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

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    // Views may ask while a batch is under way; the rows they know of may be gone.
    if (!valid(index.row(), index.column()))
        return {};
    const Cell &c = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return c.text;
    case Qt::DecorationRole:
        if (c.image > 0 && m_images)
            return m_images->icon(c.image);
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
        if (c.font >= 0)
            return m_fonts[static_cast<size_t>(c.font)];
        return {};
    case Qt::TextAlignmentRole:
        return static_cast<int>(c.alignment);
    case IndentRole:
        return c.indent;
    default:
        return {};
    }
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
    for (Row &row : m_rows)
        row.cells.emplace_back();
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
    if (m_rows.empty())
        return;
    if (m_batching) {
        m_rows.clear();
        m_structureChanged = true;
        return;
    }
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int GridModel::addRow()
{
    const int at = rows();
    Row row;
    row.cells.resize(m_columns.size());
    if (m_batching) {
        m_rows.push_back(std::move(row));
        m_structureChanged = true;
        return at;
    }
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
    return at;
}

const GridModel::Cell &GridModel::cell(int row, int column) const
{
    return m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)];
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
    m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)] = std::move(cell);
    changed(row, column);
}

void GridModel::setCellText(int row, int column, const QString &text)
{
    m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)].text = text;
    changed(row, column);
}

void GridModel::setCellImage(int row, int column, int image)
{
    m_rows[static_cast<size_t>(row)].cells[static_cast<size_t>(column)].image = std::max(image, 0);
    changed(row, column);
}

const QString &GridModel::rowText(int row) const
{
    static const QString none;
    if (m_rowTextColumn < 0 || row < 0 || row >= rows())
        return none;
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
    return font >= 0 ? m_fonts[static_cast<size_t>(font)] : base;
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

// One key's comparable values, worked out once per row before sorting.
struct KeyValues
{
    GridSortKey key;
    std::vector<qint64> whole;  // dates and images
    std::vector<double> number; // numbers
};

constexpr qint64 noDate = std::numeric_limits<qint64>::min();

} // namespace

std::vector<int> GridModel::sortRows(const std::vector<GridSortKey> &keys)
{
    const auto count = m_rows.size();
    std::vector<KeyValues> values;
    for (const GridSortKey &key : keys) {
        if (key.column < 0 || key.column >= columns() || key.order == SortNone)
            continue;
        KeyValues v{key, {}, {}};
        const auto col = static_cast<size_t>(key.column);
        if (key.sortCode == SortDate) {
            const QString pattern = qtDateFormat(column(key.column).definition.format);
            v.whole.reserve(count);
            for (const Row &row : m_rows) {
                const QString &text = row.cells[col].text;
                const QDate date = text.isEmpty()      ? QDate()
                                   : pattern.isEmpty() ? QDate::fromString(text, Qt::ISODate)
                                                       : QDate::fromString(text, pattern);
                v.whole.push_back(date.isValid() ? date.toJulianDay() : noDate);
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
            for (const Row &row : m_rows)
                v.whole.push_back(rank(row.cells[col].image));
        } else if (key.sortCode == SortNumber) {
            v.number.reserve(count);
            for (const Row &row : m_rows) {
                bool ok = false;
                const double d = row.cells[col].text.toDouble(&ok);
                v.number.push_back(ok ? d : -std::numeric_limits<double>::infinity());
            }
        }
        values.push_back(std::move(v));
    }

    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    const auto compare = [&](int a, int b) {
        const auto ia = static_cast<size_t>(a);
        const auto ib = static_cast<size_t>(b);
        for (const KeyValues &v : values) {
            int c = 0;
            if (!v.whole.empty()) {
                c = v.whole[ia] < v.whole[ib] ? -1 : (v.whole[ia] > v.whole[ib] ? 1 : 0);
            } else if (!v.number.empty()) {
                c = v.number[ia] < v.number[ib] ? -1 : (v.number[ia] > v.number[ib] ? 1 : 0);
            } else {
                const auto col = static_cast<size_t>(v.key.column);
                c = QString::compare(m_rows[ia].cells[col].text, m_rows[ib].cells[col].text,
                                     v.key.sortCode == SortTextCaseSensitive ? Qt::CaseSensitive
                                                                             : Qt::CaseInsensitive);
            }
            if (c != 0)
                return v.key.order == SortDescending ? c > 0 : c < 0;
        }
        return false;
    };
    std::stable_sort(order.begin(), order.end(), compare);

    std::vector<Row> sorted;
    sorted.reserve(count);
    std::vector<int> newPosition(count);
    for (size_t i = 0; i < count; ++i) {
        const auto old = static_cast<size_t>(order[i]);
        sorted.push_back(std::move(m_rows[old]));
        newPosition[old] = static_cast<int>(i);
    }
    if (m_batching) {
        m_rows = std::move(sorted);
        m_structureChanged = true;
    } else {
        beginResetModel();
        m_rows = std::move(sorted);
        endResetModel();
    }
    return newPosition;
}

} // namespace controls
