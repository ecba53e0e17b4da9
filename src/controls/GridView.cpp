#include "GridView.h"

#include "GridModel.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace controls {

namespace {

constexpr int rowTextMargin = 4;
constexpr int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

GridView::GridView(GridModel *model, QWidget *parent) : QTableView(parent), m_model(model)
{
    setModel(model);
    setItemDelegate(new GridDelegate(model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void GridView::setDefaultRowHeight(int height)
{
    m_defaultRowHeight = std::max(height, 1);
    verticalHeader()->setDefaultSectionSize(m_defaultRowHeight);
}

int GridView::rowTextWidth() const
{
    return std::max(horizontalHeader()->length() - 2 * rowTextMargin, 1);
}

int GridView::rowTextHeight(int row) const
{
    const QString text = m_model->rowText(row);
    if (text.isEmpty())
        return 0;
    const QFontMetrics metrics(m_model->cellFont(row, m_model->rowTextColumn(), font()));
    return metrics.boundingRect(QRect(0, 0, rowTextWidth(), 1 << 20), textFlags, text).height();
}

QRect GridView::rowTextRect(int row) const
{
    if (row < 0 || row >= m_model->rows() || m_model->rowText(row).isEmpty())
        return {};
    const int height = rowHeight(row) - m_defaultRowHeight;
    if (height <= 0)
        return {};
    return QRect(rowTextMargin - horizontalOffset(), rowViewportPosition(row) + m_defaultRowHeight,
                 rowTextWidth(), height);
}

void GridView::setSearchColumns(int first, int second)
{
    m_searchColumns[0] = first;
    m_searchColumns[1] = second;
}

void GridView::keyboardSearch(const QString &search)
{
    const int rows = m_model->rows();
    if (search.isEmpty() || rows == 0 || m_searchColumns[0] < 0) {
        QTableView::keyboardSearch(search);
        return;
    }
    // Letters typed in quick succession make one prefix; a pause starts anew.
    const bool continued =
        m_sinceTyped.isValid() && m_sinceTyped.elapsed() < QApplication::keyboardInputInterval();
    m_typed = continued ? m_typed + search : search;
    m_sinceTyped.start();
    // A longer prefix may still fit the current row; a fresh one looks past it,
    // so typing the same letter again steps through the rows that start with it.
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const int start = continued ? std::max(current, 0) : current + 1;
    for (const int column : m_searchColumns) {
        // Only what the user can see is searched.
        if (column < 0 || column >= m_model->columns() || isColumnHidden(column))
            continue;
        for (int step = 0; step < rows; ++step) {
            const int row = (start + step) % rows;
            if (m_model->cell(row, column).text.startsWith(m_typed, Qt::CaseInsensitive)) {
                selectRow(row);
                return;
            }
        }
    }
}

void GridView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_model->rowTextColumn() < 0 || m_model->rows() == 0)
        return;
    const int first = std::max(rowAt(0), 0);
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = m_model->rows() - 1;
    QPainter painter(viewport());
    const int selected = currentIndex().isValid() && selectionModel()->isRowSelected(
                                                         currentIndex().row(), QModelIndex())
                             ? currentIndex().row()
                             : -1;
    for (int row = first; row <= last; ++row) {
        const QRect rect = rowTextRect(row);
        if (rect.isEmpty())
            continue;
        QColor colour = m_model->rowTextColour(row);
        if (row == selected)
            colour = palette().color(QPalette::HighlightedText);
        else if (!colour.isValid())
            colour = palette().color(QPalette::Text);
        painter.setPen(colour);
        painter.setFont(m_model->cellFont(row, m_model->rowTextColumn(), font()));
        painter.drawText(rect, textFlags, m_model->rowText(row));
    }
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    Q_EMIT mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void GridView::mouseMoveEvent(QMouseEvent *event)
{
    QTableView::mouseMoveEvent(event);
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), event->position().toPoint());
}

void GridView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    Q_EMIT mouseReleased(event->button(), event->modifiers(), event->position().toPoint());
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyPressed(event->key(), event->modifiers());
    QTableView::keyPressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    // Any double click on a cell counts, also one whose press the table did
    // not see (the table's own signal wants both on the same cell).
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton)
        Q_EMIT cellDoubleClicked(index.row(), index.column());
}

void GridView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    // Coming in by keyboard the table puts its focus frame on a row without
    // selecting it, and keys that act on the selected row would find none.
    // The row that shows the focus is the selected one.
    const QModelIndex current = currentIndex();
    if (event->reason() != Qt::MouseFocusReason && current.isValid() &&
        !selectionModel()->isRowSelected(current.row(), QModelIndex()))
        selectRow(current.row());
}

GridDelegate::GridDelegate(GridModel *model, GridView *view)
    : QStyledItemDelegate(view), m_model(model), m_view(view)
{
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if ((opt.state & QStyle::State_Selected) && index.column() < m_model->columns() &&
        !m_model->column(index.column()).definition.inSelection) {
        opt.state &= ~QStyle::State_Selected;
        // The table has already painted the selected row's panel under us.
        painter->fillRect(opt.rect, opt.palette.brush(QPalette::Base));
    }
    // The whole row height takes the row's background, so the text line below
    // the cells reads as part of the row.
    if (opt.state & QStyle::State_Selected)
        painter->fillRect(opt.rect, opt.palette.brush(QPalette::Highlight));
    else if (opt.backgroundBrush.style() != Qt::NoBrush)
        painter->fillRect(opt.rect, opt.backgroundBrush);
    if (opt.rect.height() > m_view->defaultRowHeight() && !m_model->rowText(index.row()).isEmpty())
        opt.rect.setHeight(m_view->defaultRowHeight());
    const int indent = index.data(GridModel::IndentRole).toInt();
    if (indent > 0)
        opt.rect.adjust(indent, 0, 0, 0);
    const QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

} // namespace controls
