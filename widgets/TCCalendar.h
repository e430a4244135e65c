#pragma once

#include <QFrame>
#include <QString>

// A month shown as a grid of 7 columns and 7 rows: the abbreviated weekday
// names on top and six weeks of day numbers below, with the current day
// selected. The date is a double counting days since 30 December 1899.
class TCCalendar : public QFrame {
    Q_OBJECT

public:
    static constexpr int kColCount = 7;
    static constexpr int kRowCount = 7;

    explicit TCCalendar(QWidget* parent = nullptr);

    double CalendarDate() const { return m_date; }
    void SeTCCalendarDate(double date);
    bool StoreCalendarDate() const { return !m_useCurrentDate; }

    // Index 1 is the year, 2 the month, 3 the day.
    int GetDateElement(int index) const;
    void SetDateElement(int index, int value);
    int Year() const { return GetDateElement(1); }
    int Month() const { return GetDateElement(2); }
    int Day() const { return GetDateElement(3); }
    void SetYear(int value) { SetDateElement(1, value); }
    void SetMonth(int value) { SetDateElement(2, value); }
    void SetDay(int value) { SetDateElement(3, value); }

    bool UseCurrentDate() const { return m_useCurrentDate; }
    void SetUseCurrentDate(bool value);
    int StartOfWeek() const { return m_startOfWeek; }
    void SetStartOfWeek(int value);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int value);

    virtual bool IsLeapYear(int year) const;
    virtual int DaysPerMonth(int year, int month) const;
    virtual int DaysThisMonth() const;
    virtual void UpdateCalendar();

    void NextMonth();
    void PrevMonth();
    void NextYear();
    void PrevYear();

    QString GetCellText(int col, int row) const;
    int Col() const { return m_col; }
    int Row() const { return m_row; }
    int DefaultColWidth() const { return m_colWidth; }
    int DefaultRowHeight() const { return m_rowHeight; }
    QRect CellRect(int col, int row) const;
    // The cell under a point of the widget, or (-1, -1).
    QPoint CellAt(const QPoint& pos) const;

    // Today as a date value with no time of day.
    static double today();

    QSize sizeHint() const override;

signals:
    void changed();

protected:
    virtual void Change();
    virtual bool SelectCell(int col, int row);
    virtual void Click();
    virtual void DrawCell(QPainter& painter, int col, int row, const QRect& rect);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The user's own move of the selection: asks SelectCell, then Click.
    void moveByUser(int col, int row);
    void updateCellSizes();

    double m_date { 0 };
    int m_monthOffset { 0 };
    int m_startOfWeek { 1 };
    bool m_readOnly { false };
    bool m_updating { false };
    bool m_useCurrentDate { true };
    int m_gridLineWidth { 1 };
    int m_col { 0 };
    int m_row { 1 };
    int m_colWidth { 20 };
    int m_rowHeight { 12 };
};
