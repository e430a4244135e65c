#pragma once

#include <QAbstractScrollArea>
#include <functional>

// A one-row grid of 40 x 40 cells that keeps nothing of what it shows: every
// cell is drawn by its owner whenever it needs painting. The horizontal bar
// scrolls by whole columns. The selected column is the icon index of the
// properties dialog's icon picker.
class TPropiedadesIconGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kCellSize = 40;

    // Paints one cell; `cell` is in viewport coordinates.
    using DrawCell = std::function<void(QPainter& painter, int column, const QRect& cell, bool selected)>;
    // Asked before a column becomes the selected one; false keeps the old one.
    using SelectCell = std::function<bool(int column)>;

    explicit TPropiedadesIconGrid(QWidget* parent = nullptr);

    int ColCount() const { return m_colCount; }
    // At least one column; a selection beyond the new end moves to the last column.
    void setColCount(int count);
    int Col() const { return m_col; }
    // Selects a column inside the grid (asking the owner first) and scrolls it into view.
    void setCol(int column);
    int LeftCol() const;
    // How many whole cells the viewport shows.
    int visibleColCount() const;
    // The viewport rectangle of a column, empty while it is scrolled out of view.
    QRect cellRect(int column) const;

    void setDrawCell(DrawCell draw) { m_drawCell = std::move(draw); }
    void setSelectCell(SelectCell select) { m_selectCell = std::move(select); }

    // Seven cells over the scroll bar; at least one.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollRange();
    void scrollIntoView(int column);

    int m_colCount { 8 };
    int m_col { 0 };
    DrawCell m_drawCell;
    SelectCell m_selectCell;
};
