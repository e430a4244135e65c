#include "dialogs/TPropiedadesIconGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

TPropiedadesIconGrid::TPropiedadesIconGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(1);
    // The grid follows the thumb while it is dragged.
    horizontalScrollBar()->setTracking(true);
    updateScrollRange();
}

void TPropiedadesIconGrid::setColCount(int count)
{
    count = std::max(1, count);
    if (count == m_colCount)
        return;
    m_colCount = count;
    if (m_col >= m_colCount)
        m_col = m_colCount - 1;
    updateScrollRange();
    viewport()->update();
}

void TPropiedadesIconGrid::setCol(int column)
{
    if (column < 0 || column >= m_colCount)
        return;
    if (m_selectCell && !m_selectCell(column))
        return;
    if (column != m_col) {
        m_col = column;
        viewport()->update();
    }
    scrollIntoView(column);
}

QSize TPropiedadesIconGrid::minimumSizeHint() const
{
    const int frame = 2 * frameWidth();
    return { kCellSize + frame, kCellSize + horizontalScrollBar()->sizeHint().height() + frame };
}

QSize TPropiedadesIconGrid::sizeHint() const
{
    return { 7 * kCellSize + 2 * frameWidth(), minimumSizeHint().height() };
}

int TPropiedadesIconGrid::LeftCol() const
{
    return horizontalScrollBar()->value();
}

int TPropiedadesIconGrid::visibleColCount() const
{
    return std::max(1, viewport()->width() / kCellSize);
}

QRect TPropiedadesIconGrid::cellRect(int column) const
{
    const int offset = column - LeftCol();
    if (column < 0 || column >= m_colCount || offset < 0 || offset * kCellSize >= viewport()->width())
        return {};
    return { offset * kCellSize, 0, kCellSize, kCellSize };
}

void TPropiedadesIconGrid::updateScrollRange()
{
    QScrollBar* bar = horizontalScrollBar();
    const int visible = visibleColCount();
    bar->setRange(0, std::max(0, m_colCount - visible));
    bar->setPageStep(visible);
}

void TPropiedadesIconGrid::scrollIntoView(int column)
{
    QScrollBar* bar = horizontalScrollBar();
    const int visible = visibleColCount();
    if (column < bar->value())
        bar->setValue(column);
    else if (column >= bar->value() + visible)
        bar->setValue(column - visible + 1);
}

void TPropiedadesIconGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const int first = LeftCol();
    for (int column = first; column < m_colCount; ++column) {
        const QRect cell = cellRect(column);
        if (cell.isEmpty())
            break;
        if (!m_drawCell)
            continue;
        painter.save();
        painter.setClipRect(cell);
        m_drawCell(painter, column, cell, column == m_col);
        painter.restore();
    }
}

void TPropiedadesIconGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (at.y() >= kCellSize)
        return;
    const int column = LeftCol() + at.x() / kCellSize;
    if (column < m_colCount)
        setCol(column);
}

void TPropiedadesIconGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        setCol(m_col - 1);
        break;
    case Qt::Key_Right:
        setCol(m_col + 1);
        break;
    case Qt::Key_Home:
        setCol(0);
        break;
    case Qt::Key_End:
        setCol(m_colCount - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TPropiedadesIconGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void TPropiedadesIconGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}
