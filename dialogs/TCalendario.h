#pragma once

#include <QLocale>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QToolButton;
class TCCalendar;

// The program's one calendar window: a month grid under a bar with year and
// month buttons and the month's name. Closing it only hides it; a clock item
// brings it back on today's month through showToday().
class TCalendario : public QWidget {
    Q_OBJECT

public:
    // The first client size, where the title bar has room for the title
    // whole; the grid below the 19-pixel bar is then at least 150 x 94.
    static constexpr int kInitialClientWidth = 150;
    static constexpr int kInitialClientHeight = 113;
    static constexpr int kBarHeight = 19;
    static constexpr int kEndWidth = 36;
    static constexpr int kButtonSide = 18;

    explicit TCalendario(QWidget* parent = nullptr);

    // The one window of the program, created hidden on first use and destroyed
    // when the application quits.

    // What a click on a clock does: back to today, the bar brought up to date,
    // the window shown and raised.
    void showToday();

    TCCalendar* Calen() const { return m_calen; }
    QToolButton* SpeedButton1() const { return m_speedButton1; }
    QToolButton* SpeedButton2() const { return m_speedButton2; }
    QToolButton* SpeedButton3() const { return m_speedButton3; }
    QToolButton* SpeedButton4() const { return m_speedButton4; }
    QLabel* PanelMes() const { return m_panelMes; }

    void CalenChange();

    // The client size a resize settles on: width 7k + 3 and height 7k + 1, never smaller.
    static QSize snapClientSize(QSize size);
    // Picks "mmmm-yyyy", else "mmm-yyyy", else "mmm-yy": the first whose measured
    // width is at most `available`; the last one is taken unmeasured.
    static QString monthBarText(
        double date, const QLocale& locale, int available, const std::function<int(const QString&)>& measure);
    static QString formatMonth(double date, const QLocale& locale, bool longName, bool fourDigitYear);

    // The grid's font: the small font, made smaller where the locale's
    // weekday names or the day numbers would not fit a cell.
    static constexpr int kSmallFontPixels = 9;
    static constexpr int kSmallestFontPixels = 6;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The width the title bar needs to show the title whole.
    int titleBarWidth() const;
    void FormResize();
    void layoutControls();
    void fitGridFont();
    // A step that fails (beyond the year 9999) is reported, not thrown through the event loop.
    void step(void (TCCalendar::*move)());

    TCCalendar* m_calen { nullptr };
    QFrame* m_panel1 { nullptr };
    QFrame* m_panel2 { nullptr };
    QFrame* m_panel3 { nullptr };
    QToolButton* m_speedButton1 { nullptr };
    QToolButton* m_speedButton2 { nullptr };
    QToolButton* m_speedButton3 { nullptr };
    QToolButton* m_speedButton4 { nullptr };
    QLabel* m_panelMes { nullptr };
    // The bar as laid out now: larger captions make it larger than designed.
    int m_endWidth { kEndWidth };
    int m_barHeight { kBarHeight };
};
