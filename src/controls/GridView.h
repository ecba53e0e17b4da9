#pragma once

#include <QElapsedTimer>
#include <QStyledItemDelegate>
#include <QTableView>

namespace controls {

class GridModel;

// The table that draws a Grid: cells in the top part of each row, and the
// row's text line across the whole width beneath them when the row is tall
// enough to hold it.
class GridView : public QTableView
{
    Q_OBJECT

public:
    explicit GridView(GridModel *model, QWidget *parent = nullptr);

    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int height);
    // The width the row text wraps in: the visible columns together.
    int rowTextWidth() const;
    // The height a row's text needs at rowTextWidth().
    int rowTextHeight(int row) const;
    // The rectangle, in viewport coordinates, of a row's text line; empty
    // when the row shows none.
    QRect rowTextRect(int row) const;
    // Typed text looks for rows in these columns (0-based, -1 none), see
    // Grid::setSearchColumns.
    void setSearchColumns(int first, int second);
    void keyboardSearch(const QString &search) override;

Q_SIGNALS:
    // After the table itself handled the event, so selection is up to date.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint position);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void cellDoubleClicked(int row, int column);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    GridModel *m_model;
    int m_defaultRowHeight = 16;
    int m_searchColumns[2] = {-1, -1};
    QString m_typed;
    QElapsedTimer m_sinceTyped;
};

class GridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    GridDelegate(GridModel *model, GridView *view);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    GridModel *m_model;
    GridView *m_view;
};

} // namespace controls
