#include "widgets/TCCalendar.h"

#include "platform/Platform.h"
#include "widgets/DateArithmetic.h"

#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

using namespace tolm::widgets;

TCCalendar::TCCalendar(QWidget* parent)
    : QFrame(parent)
{
    // The sunken two-pixel edge of a framed grid; the cells share what is inside.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    m_date = today();
    UpdateCalendar();
}

double TCCalendar::today()
{
    const QDate d = tolm::platform::services().clock->now().date();
    return encodeDate(d.year(), d.month(), d.day());
}

void TCCalendar::SeTCCalendarDate(double date)
{
    m_date = date;
    UpdateCalendar();
    Change();
}

int TCCalendar::GetDateElement(int index) const
{
    const YearMonthDay ymd = decodeDate(m_date);
    switch (index) {
    case 1:
        return ymd.year;
    case 2:
        return ymd.month;
    case 3:
        return ymd.day;
    default:
        return -1;
    }
}

void TCCalendar::SetDateElement(int index, int value)
{
    if (value <= 0)
        return;
    YearMonthDay ymd = decodeDate(m_date);
    bool taken = false;
    switch (index) {
    case 1:
        taken = ymd.year != value;
        ymd.year = value;
        break;
    case 2:
        taken = value <= 12 && ymd.month != value;
        ymd.month = value;
        break;
    case 3:
        taken = value <= DaysThisMonth() && ymd.day != value;
        ymd.day = value;
        break;
    default:
        break;
    }
    if (!taken)
        return;
    // Throws before anything is stored when the combination is not a date.
    m_date = encodeDate(ymd.year, ymd.month, ymd.day);
    m_useCurrentDate = false;
    UpdateCalendar();
    Change();
}

void TCCalendar::SetUseCurrentDate(bool value)
{
    if (value == m_useCurrentDate)
        return;
    m_useCurrentDate = value;
    if (value) {
        m_date = today();
        UpdateCalendar();
    }
}

void TCCalendar::SetStartOfWeek(int value)
{
    if (value < 1 || value > 7)
        value = 1;
    if (value == m_startOfWeek)
        return;
    m_startOfWeek = value;
    UpdateCalendar();
}

void TCCalendar::SetGridLineWidth(int value)
{
    if (value < 0 || value == m_gridLineWidth)
        return;
    m_gridLineWidth = value;
    updateCellSizes();
    update();
}

bool TCCalendar::IsLeapYear(int year) const
{
    return isLeapYear(year);
}

int TCCalendar::DaysPerMonth(int year, int month) const
{
    return daysPerMonth(year, month);
}

int TCCalendar::DaysThisMonth() const
{
    return DaysPerMonth(Year(), Month());
}

void TCCalendar::UpdateCalendar()
{
    m_updating = true;
    const YearMonthDay ymd = decodeDate(m_date);
    m_monthOffset = monthOffset(ymd.year, ymd.month, m_startOfWeek);
    const int n = ymd.day - m_monthOffset;
    const int col = n % 7;
    const int row = n / 7 + 1;
    if (SelectCell(col, row)) {
        m_col = col;
        m_row = row;
    }
    update();
    m_updating = false;
}

void TCCalendar::NextMonth()
{
    SeTCCalendarDate(changeMonth(m_date, 1));
}

void TCCalendar::PrevMonth()
{
    SeTCCalendarDate(changeMonth(m_date, -1));
}

void TCCalendar::NextYear()
{
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        SetDay(28);
    SetYear(Year() + 1);
}

void TCCalendar::PrevYear()
{
    if (IsLeapYear(Year()) && Month() == 2 && Day() == 29)
        SetDay(28);
    SetYear(Year() - 1);
}

QString TCCalendar::GetCellText(int col, int row) const
{
    if (row == 0) {
        // Qt numbers the days 1 = Monday ... 7 = Sunday; ours count from Sunday = 0.
        const int sundayFirst = (m_startOfWeek + col) % 7;
        return locale().dayName(sundayFirst == 0 ? 7 : sundayFirst, QLocale::ShortFormat);
    }
    const int n = m_monthOffset + col + (row - 1) * 7;
    if (n < 1 || n > DaysThisMonth())
        return {};
    return QString::number(n);
}

void TCCalendar::Change()
{
    emit changed();
}

bool TCCalendar::SelectCell(int col, int row)
{
    if (m_readOnly && !m_updating)
        return false;
    if (GetCellText(col, row).isEmpty())
        return false;
    return col >= 0 && col < kColCount && row >= 1 && row < kRowCount;
}

void TCCalendar::Click()
{
    const QString text = GetCellText(m_col, m_row);
    if (!text.isEmpty())
        SetDay(text.toInt());
}

void TCCalendar::moveByUser(int col, int row)
{
    if (col == m_col && row == m_row)
        return;
    if (!SelectCell(col, row))
        return;
    m_col = col;
    m_row = row;
    update();
    Click();
}

QRect TCCalendar::CellRect(int col, int row) const
{
    const QRect c = contentsRect();
    return QRect(c.left() + col * (m_colWidth + m_gridLineWidth),
        c.top() + row * (m_rowHeight + m_gridLineWidth), m_colWidth, m_rowHeight);
}

QPoint TCCalendar::CellAt(const QPoint& pos) const
{
    const QRect c = contentsRect();
    if (!c.contains(pos))
        return { -1, -1 };
    const int col = (pos.x() - c.left()) / (m_colWidth + m_gridLineWidth);
    const int row = (pos.y() - c.top()) / (m_rowHeight + m_gridLineWidth);
    if (col >= kColCount || row >= kRowCount)
        return { -1, -1 };
    return { col, row };
}

QSize TCCalendar::sizeHint() const
{
    const int f = 2 * frameWidth();
    return { 7 * 20 + 6 * m_gridLineWidth + f, 7 * 12 + 6 * m_gridLineWidth + f };
}

void TCCalendar::updateCellSizes()
{
    const QRect c = contentsRect();
    m_colWidth = std::max(0, (c.width() - 6 * m_gridLineWidth) / 7);
    m_rowHeight = std::max(0, (c.height() - 6 * m_gridLineWidth) / 7);
}

void TCCalendar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    updateCellSizes();
}

void TCCalendar::DrawCell(QPainter& painter, int col, int row, const QRect& rect)
{
    const QString text = GetCellText(col, row);
    const QFontMetrics fm(font());
    const int x = rect.left() + (rect.width() - fm.horizontalAdvance(text)) / 2;
    const int y = rect.top() + (rect.height() - fm.height()) / 2;
    painter.save();
    painter.setClipRect(rect);
    painter.drawText(
        QRect(x, y, fm.horizontalAdvance(text), fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

void TCCalendar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect c = contentsRect();
    painter.setClipRect(c);
    // The grid lines show through wherever no cell is drawn.
    painter.fillRect(c, palette().color(QPalette::Mid));
    for (int row = 0; row < kRowCount; ++row) {
        for (int col = 0; col < kColCount; ++col) {
            const QRect r = CellRect(col, row);
            QColor textColor = palette().color(QPalette::Text);
            if (row == 0) {
                painter.fillRect(r, palette().color(QPalette::Button));
                qDrawShadeRect(&painter, r, palette(), false, 1);
                textColor = palette().color(QPalette::ButtonText);
            } else if (col == m_col && row == m_row) {
                painter.fillRect(r, palette().color(QPalette::Highlight));
                textColor = palette().color(QPalette::HighlightedText);
            } else {
                painter.fillRect(r, palette().color(QPalette::Base));
            }
            painter.setPen(textColor);
            DrawCell(painter, col, row, r);
            if (row == m_row && col == m_col && hasFocus()) {
                painter.setPen(QPen(palette().color(QPalette::HighlightedText), 1, Qt::DotLine));
                painter.drawRect(r.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void TCCalendar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = CellAt(event->position().toPoint());
    // The header row is fixed: it never takes the selection.
    if (cell.y() < 1)
        return;
    moveByUser(cell.x(), cell.y());
}

void TCCalendar::keyPressEvent(QKeyEvent* event)
{
    int col = m_col;
    int row = m_row;
    switch (event->key()) {
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    if (col >= 0 && col < kColCount && row >= 1 && row < kRowCount)
        moveByUser(col, row);
}
