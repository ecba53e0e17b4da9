#include "Grid.h"

#include "DragSupport.h"
#include "GridModel.h"
#include "GridView.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

namespace controls {

namespace {

// A header that paints works out where each resized section is, a walk over
// all the sections before it; while this lives it only notes the sizes.
class QuietHeader
{
public:
    explicit QuietHeader(QHeaderView *header) : m_header(header), m_was(header->updatesEnabled())
    {
        m_header->setUpdatesEnabled(false);
    }
    ~QuietHeader() { m_header->setUpdatesEnabled(m_was); }
    QuietHeader(const QuietHeader &) = delete;
    QuietHeader &operator=(const QuietHeader &) = delete;

private:
    QHeaderView *m_header;
    bool m_was;
};

} // namespace

Grid::Grid(QWidget *parent)
    : QWidget(parent), m_model(new GridModel(this)), m_view(new GridView(m_model, this)),
      m_fitTimer(new QTimer(this))
{
    m_fitTimer->setInterval(0);
    connect(m_fitTimer, &QTimer::timeout, this, &Grid::fitSomeRows);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_fitRowText && redraw())
            fitRowsInView();
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    m_drag = std::make_unique<DragSupport>(
        this, m_view->viewport(),
        [this](QObject *source, QPoint at, int state) { Q_EMIT dragOver(source, at, state); },
        [this](QObject *source, QPoint at) { Q_EMIT dropped(source, at); });
    m_view->viewport()->installEventFilter(this);

    connect(m_view, &GridView::mousePressed, this, &Grid::mouseDown);
    connect(m_view, &GridView::mouseMoved, this, &Grid::mouseMove);
    connect(m_view, &GridView::mouseReleased, this, &Grid::mouseUp);
    connect(m_view, &GridView::keyPressed, this, &Grid::keyDown);
    connect(m_view, &GridView::cellDoubleClicked, this,
            [this](int row, int column) { Q_EMIT doubleClicked(row + 1, column + 1); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { Q_EMIT headerClicked(section + 1); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (size > 0 && section < m_model->columns())
                    m_model->columnSpec(section).width = size;
            });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int row = selectedRow();
        if (row != m_lastSelected) {
            m_lastSelected = row;
            Q_EMIT selectionChanged(row);
        }
    });
}

Grid::~Grid() = default;

bool Grid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && m_drag->handle(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

QWidget *Grid::viewport() const
{
    return m_view->viewport();
}

bool Grid::validRow(int row) const
{
    return row >= 1 && row <= m_model->rows();
}

bool Grid::validColumn(int column) const
{
    return column >= 1 && column <= m_model->columns();
}

// ---------------------------------------------------------------- painting

void Grid::setRedraw(bool on)
{
    if (on == redraw())
        return;
    if (!on) {
        m_view->setUpdatesEnabled(false);
        m_model->setBatching(true);
        return;
    }
    const int selected = m_lastSelected;
    m_model->setBatching(false);
    applyRowHeights();
    // A reset forgets the selection; give it back when its row still exists.
    if (selected != selectedRow())
        setSelectedRow(validRow(selected) ? selected : 0);
    m_view->setUpdatesEnabled(true);
    fitRowsAgain();
}

bool Grid::redraw() const
{
    return !m_model->batching();
}

void Grid::setRowTextFit(bool on)
{
    if (on == m_fitRowText)
        return;
    m_fitRowText = on;
    fitRowsAgain();
}

void Grid::fitRowsAgain()
{
    m_fitted.clear();
    m_fitNext = 0;
    m_fitTimer->stop();
    if (!m_fitRowText || !redraw() || m_model->rows() == 0)
        return;
    fitRowsInView();
    m_fitTimer->start();
}

void Grid::fitRowsInView()
{
    const int rows = m_model->rows();
    if (rows == 0)
        return;
    const int first = std::max(m_view->rowAt(0), 0);
    const int bottom = m_view->rowAt(m_view->viewport()->height() - 1);
    // Rows still at the default height: as many as could fit in view.
    const int last =
        bottom >= 0 ? bottom : first + m_view->viewport()->height() / defaultRowHeight();
    fitRows(first, std::min(last, rows - 1));
}

void Grid::fitRows(int first, int last)
{
    const auto rows = static_cast<size_t>(m_model->rows());
    if (m_fitted.size() != rows)
        m_fitted.resize(rows, false);
    QHeaderView *header = m_view->verticalHeader();
    const QuietHeader quiet(header);
    for (int row = std::max(first, 0); row <= last && row < m_model->rows(); ++row) {
        const size_t slot = m_model->slotOf(row);
        if (m_fitted[slot])
            continue;
        m_fitted[slot] = true;
        const int text = m_view->rowTextHeight(row);
        const int height = text + m_view->defaultRowHeight();
        if (text > 0 && height != m_model->rowHeight(row)) {
            m_model->setRowHeight(row, height);
            header->resizeSection(row, height);
        }
    }
}

void Grid::fitSomeRows()
{
    // A batch takes a few milliseconds, so that the window stays responsive.
    constexpr qint64 BatchMs = 8;
    constexpr int Step = 64;
    QElapsedTimer batch;
    batch.start();
    while (m_fitNext < m_model->rows()) {
        const int last = std::min(m_fitNext + Step, m_model->rows()) - 1;
        fitRows(m_fitNext, last);
        m_fitNext = last + 1;
        if (batch.elapsed() >= BatchMs)
            return;
    }
    m_fitTimer->stop();
}

void Grid::applyRowHeights()
{
    QHeaderView *rows = m_view->verticalHeader();
    const QuietHeader quiet(rows);
    for (int row = 0; row < m_model->rows(); ++row) {
        const int height = m_model->rowHeight(row);
        if (height > 0)
            rows->resizeSection(row, height);
    }
}

// ---------------------------------------------------------------- rows

void Grid::clearRows()
{
    m_model->clearRows();
    rowsReplaced();
}

void Grid::rowsReplaced()
{
    m_dateTexts.clear();
    fitRowsAgain();
    if (m_lastSelected != 0) {
        m_lastSelected = 0;
        Q_EMIT selectionChanged(0);
    }
}

int Grid::addRow()
{
    const int row = m_model->addRow() + 1;
    if (row > 0 && m_fitRowText && redraw())
        m_fitTimer->start(); // measured with the others; its text is set after this
    return row;
}

void Grid::setRowSource(std::unique_ptr<const GridRowSource> source)
{
    m_model->setRowSource(std::move(source));
    rowsReplaced();
}

void Grid::reserveRows(int count)
{
    m_model->reserveRows(count);
}

int Grid::rowCount() const
{
    return m_model->rows();
}

int Grid::rowHeight(int row) const
{
    if (!validRow(row))
        return 0;
    const int height = m_model->rowHeight(row - 1);
    return height > 0 ? height : m_view->defaultRowHeight();
}

void Grid::setRowHeight(int row, int height)
{
    if (!validRow(row))
        return;
    m_model->setRowHeight(row - 1, std::max(height, 0));
    if (redraw())
        m_view->verticalHeader()->resizeSection(row - 1, rowHeight(row));
}

int Grid::defaultRowHeight() const
{
    return m_view->defaultRowHeight();
}

void Grid::setDefaultRowHeight(int height)
{
    m_view->setDefaultRowHeight(height);
    if (redraw())
        applyRowHeights();
}

QString Grid::rowText(int row) const
{
    return validRow(row) ? m_model->rowText(row - 1) : QString();
}

void Grid::setRowText(int row, const QString &text)
{
    if (validRow(row) && m_model->rowTextColumn() >= 0)
        m_model->setCellText(row - 1, m_model->rowTextColumn(), text);
}

int Grid::rowTextHeight(int row) const
{
    return validRow(row) ? m_view->rowTextHeight(row - 1) : 0;
}

// ---------------------------------------------------------------- cells

QString Grid::cellText(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return {};
    return m_model->cell(row - 1, column - 1).text;
}

void Grid::setCellText(int row, int column, const QString &text)
{
    if (validRow(row) && validColumn(column))
        m_model->setCellText(row - 1, column - 1, text);
}

void Grid::setCellDate(int row, int column, const QDate &date)
{
    if (validRow(row) && validColumn(column))
        m_model->setCellText(row - 1, column - 1, dateText(column, date));
}

QString Grid::dateText(int column, const QDate &date) const
{
    if (!validColumn(column) || !date.isValid())
        return {};
    // Formatting is slow, and a column holds few different dates: each is
    // formatted once per fill and its cells share the text.
    const std::pair key{column, date.toJulianDay()};
    auto known = m_dateTexts.constFind(key);
    if (known == m_dateTexts.cend()) {
        const QString &format = m_model->column(column - 1).definition.format;
        known = m_dateTexts.insert(key, format.isEmpty() ? date.toString(Qt::ISODate)
                                                         : date.toString(qtDateFormat(format)));
    }
    return *known;
}

int Grid::cellImage(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return 0;
    return m_model->cell(row - 1, column - 1).image;
}

void Grid::setCellImage(int row, int column, int image)
{
    if (validRow(row) && validColumn(column))
        m_model->setCellImage(row - 1, column - 1, image);
}

CellDetails Grid::cellDetails(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return {};
    const GridModel::Cell cell = m_model->cell(row - 1, column - 1);
    CellDetails details;
    details.text = cell.text;
    details.alignment = Qt::Alignment(cell.alignment);
    details.image = cell.image;
    details.backColour = cell.backColour;
    details.foreColour = cell.foreColour;
    if (cell.font >= 0)
        details.font = m_model->cellFont(row - 1, column - 1, font());
    details.indent = cell.indent;
    return details;
}

void Grid::setCellDetails(int row, int column, const CellDetails &details)
{
    if (!validRow(row) || !validColumn(column))
        return;
    GridModel::Cell cell;
    cell.text = details.text;
    cell.alignment = static_cast<quint16>(details.alignment.toInt());
    cell.image = static_cast<qint16>(std::clamp(details.image, 0, 0x7fff));
    cell.backColour = details.backColour < 0 ? defaultColour : details.backColour;
    cell.foreColour = details.foreColour < 0 ? defaultColour : details.foreColour;
    cell.font = static_cast<qint16>(details.font ? m_model->internFont(*details.font) : -1);
    cell.indent = static_cast<quint16>(std::clamp(details.indent, 0, 0xffff));
    m_model->setCell(row - 1, column - 1, std::move(cell));
}

void Grid::setCellForeColour(int row, int column, int colour)
{
    if (validRow(row) && validColumn(column))
        m_model->setCellForeColour(row - 1, column - 1, colour);
}

QColor Grid::cellForeColour(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return {};
    return colourFromRgbInt(m_model->cell(row - 1, column - 1).foreColour);
}

QColor Grid::cellBackColour(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return {};
    return colourFromRgbInt(m_model->cell(row - 1, column - 1).backColour);
}

int Grid::fontIndex(const QFont &font)
{
    return m_model->internFont(font);
}

QFont Grid::cellFont(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return font();
    return m_model->cellFont(row - 1, column - 1, font());
}

// ---------------------------------------------------------------- selection

int Grid::selectedRow() const
{
    if (!redraw())
        return m_lastSelected;
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

int Grid::selectedColumn() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() && selectedRow() != 0 ? current.column() + 1 : 0;
}

void Grid::setSelectedRow(int row, int column)
{
    QItemSelectionModel *selection = m_view->selectionModel();
    if (!validRow(row)) {
        selection->clear();
        m_lastSelected = 0;
        return;
    }
    if (!redraw()) {
        // Selected for real when painting comes back on.
        m_lastSelected = row;
        return;
    }
    if (!validColumn(column)) {
        const QModelIndex current = m_view->currentIndex();
        column = current.isValid() ? current.column() + 1 : 0;
        for (int c = 1; c <= columnCount() && column == 0; ++c) {
            if (!m_view->isColumnHidden(c - 1))
                column = c;
        }
        if (column == 0)
            column = 1;
    }
    selection->setCurrentIndex(m_model->index(row - 1, column - 1),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

GridCell Grid::cellAt(const QPoint &viewportPoint) const
{
    const QModelIndex index = m_view->indexAt(viewportPoint);
    if (!index.isValid())
        return {};
    return {index.row() + 1, index.column() + 1};
}

QRect Grid::cellRect(int row, int column) const
{
    if (!validRow(row) || !validColumn(column))
        return {};
    return m_view->visualRect(m_model->index(row - 1, column - 1));
}

void Grid::ensureVisible(int row, int column)
{
    if (!validRow(row))
        return;
    if (!validColumn(column) || m_view->isColumnHidden(column - 1))
        column = std::max(selectedColumn(), 1);
    m_view->scrollTo(m_model->index(row - 1, column - 1));
}

// ---------------------------------------------------------------- sorting

void Grid::clearSortKeys()
{
    m_sortKeys.clear();
}

void Grid::addSortKey(int column, int order, int sortCode)
{
    if (validColumn(column))
        m_sortKeys.push_back(GridSortKey{column, order, sortCode});
}

std::vector<GridSortKey> Grid::sortKeys() const
{
    return m_sortKeys;
}

void Grid::setSearchColumns(int first, int second)
{
    m_searchColumns = {validColumn(first) ? first : 0, validColumn(second) ? second : 0};
    m_view->setSearchColumns(m_searchColumns.first - 1, m_searchColumns.second - 1);
}

void Grid::setImageSortOrder(std::vector<int> images)
{
    m_model->setImageSortOrder(std::move(images));
}

void Grid::sort()
{
    std::vector<GridSortKey> keys;
    for (const GridSortKey &key : m_sortKeys)
        keys.push_back(GridSortKey{key.column - 1, key.order, key.sortCode});
    for (int column = 0; column < m_model->columns(); ++column)
        m_model->setColumnSortOrder(column, SortNone);
    for (const GridSortKey &key : m_sortKeys)
        m_model->setColumnSortOrder(key.column - 1, key.order);
    if (keys.empty() || m_model->rows() == 0)
        return;

    const int selected = selectedRow();
    const int column = selectedColumn();
    const std::vector<int> moved = m_model->sortRows(keys);
    if (moved.empty())
        return; // in order already: nothing moved, the selection stands
    const int now = selected > 0 ? moved[static_cast<size_t>(selected - 1)] + 1 : 0;
    if (!redraw()) {
        m_lastSelected = now;
        return;
    }
    applyRowHeights();
    m_lastSelected = now;
    setSelectedRow(now, column);
    if (m_fitRowText) {
        // The rows measured keep their heights; the batches start again from the top.
        m_fitNext = 0;
        fitRowsInView();
        m_fitTimer->start();
    }
}

// ---------------------------------------------------------------- display

void Grid::setImageList(std::shared_ptr<const ImageList> images)
{
    if (images)
        m_view->setIconSize(QSize(images->size(), images->size()));
    m_model->setImageList(std::move(images));
}

std::shared_ptr<const ImageList> Grid::imageList() const
{
    return m_model->imageList();
}

void Grid::setGridLines(bool on)
{
    m_view->setShowGrid(on);
}

void Grid::setHeaderVisible(bool on)
{
    m_view->horizontalHeader()->setVisible(on);
}

// ---------------------------------------------------------------- dragging

void Grid::setDragIcon(const QPixmap &icon)
{
    m_drag->setIcon(icon);
}

QPixmap Grid::dragIcon() const
{
    return m_drag->icon();
}

bool Grid::startDrag()
{
    return m_drag->start();
}

void Grid::setDropAllowed(bool allowed)
{
    m_drag->setDropAllowed(allowed);
}

} // namespace controls
