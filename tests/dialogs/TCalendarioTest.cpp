#include "dialogs/TCalendario.h"

#include "app/AppState.h"
#include "support/FakePlatform.h"
#include "widgets/DateArithmetic.h"
#include "widgets/TCCalendar.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using tolm::widgets::encodeDate;

namespace {

const QLocale kSpanish(QLocale::Spanish, QLocale::Spain);

struct CalendarWindow : ::testing::Test {
    CalendarWindow() { win.setLocale(kSpanish); }
    void resizeTo(int w, int h)
    {
        win.resize(w, h);
        QApplication::processEvents();
    }
    tolm::test::FakePlatform fake;
    tolm::platform::ScopedServices use { fake.services() };
    TCalendario win;
};

} // namespace

TEST(CalendarWindowSnap, SizesSettleOnSevenFoldForms)
{
    EXPECT_EQ(TCalendario::snapClientSize({ 151, 113 }), QSize(157, 113));
    EXPECT_EQ(TCalendario::snapClientSize({ 150, 112 }), QSize(150, 113));
    EXPECT_EQ(TCalendario::snapClientSize({ 150, 114 }), QSize(150, 120));
    EXPECT_EQ(TCalendario::snapClientSize({ 149, 106 }), QSize(150, 106));
    for (int w = 80; w < 200; ++w) {
        const QSize s = TCalendario::snapClientSize({ w, w });
        EXPECT_EQ(s.width() % 7, 3) << w;
        EXPECT_EQ(s.height() % 7, 1) << w;
        EXPECT_GE(s.width(), w);
        EXPECT_LT(s.width() - w, 7);
        EXPECT_LT(s.height() - w, 7);
    }
}

TEST(CalendarWindowBar, FirstFittingFormWins)
{
    const double sept = encodeDate(2000, 9, 15);
    auto tenPerChar = [](const QString& s) { return int(s.size()) * 10; };
    EXPECT_EQ(TCalendario::monthBarText(sept, kSpanish, 150, tenPerChar), "septiembre-2000"); // exactly fits
    EXPECT_EQ(TCalendario::monthBarText(sept, kSpanish, 149, tenPerChar),
        kSpanish.monthName(9, QLocale::ShortFormat) + "-2000");
    EXPECT_EQ(TCalendario::monthBarText(sept, kSpanish, 5, tenPerChar),
        kSpanish.monthName(9, QLocale::ShortFormat) + "-00");
    EXPECT_EQ(TCalendario::formatMonth(encodeDate(905, 1, 1), kSpanish, true, true), "enero-0905");
    EXPECT_EQ(TCalendario::formatMonth(encodeDate(2009, 1, 1), kSpanish, false, false),
        kSpanish.monthName(1, QLocale::ShortFormat) + "-09");
}

// It starts at least 150 wide, as wide as its title needs, and settled; at
// 150 x 113 the grid has 20 x 12 cells.
TEST_F(CalendarWindow, StartsWideEnoughForItsTitleWithTheGridIn20By12CellsAt150)
{
    win.show();
    QApplication::processEvents();
    EXPECT_GE(win.width(), 150);
    EXPECT_EQ(win.size(), TCalendario::snapClientSize(win.size()));
    EXPECT_EQ(win.height(), 113);
    EXPECT_EQ(win.windowTitle(), "Calendario");
    resizeTo(150, 113);
    EXPECT_EQ(win.PanelMes()->contentsRect().width(), 76);
    EXPECT_EQ(win.Calen()->geometry(), QRect(0, 19, 150, 94));
    EXPECT_EQ(win.Calen()->DefaultColWidth(), 20);
    EXPECT_EQ(win.Calen()->DefaultRowHeight(), 12);
    EXPECT_EQ(win.SpeedButton1()->text(), "<<");
    EXPECT_EQ(win.SpeedButton1()->toolTip(), "Año anterior");
    EXPECT_EQ(win.SpeedButton2()->toolTip(), "Mes anterior");
    EXPECT_EQ(win.SpeedButton3()->toolTip(), "Mes siguiente");
    EXPECT_EQ(win.SpeedButton4()->text(), ">>");
    EXPECT_EQ(win.SpeedButton4()->toolTip(), "Año siguiente");
}

TEST_F(CalendarWindow, ResizesSnap)
{
    win.show();
    resizeTo(151, 112);
    EXPECT_EQ(win.size(), QSize(157, 113));
    resizeTo(150, 114);
    EXPECT_EQ(win.size(), QSize(150, 120));
    resizeTo(150, 113);
    EXPECT_EQ(win.size(), QSize(150, 113));
}

TEST_F(CalendarWindow, LongMonthNameFallsBackAtTheDesignedSize)
{
    win.show();
    resizeTo(150, 113);
    win.Calen()->SeTCCalendarDate(encodeDate(2000, 9, 15));
    EXPECT_EQ(win.PanelMes()->toolTip(), "septiembre-2000");
    // "septiembre-2000" is wider than 76 pixels in any ordinary default font.
    ASSERT_GT(QFontMetrics(QApplication::font()).horizontalAdvance("septiembre-2000"), 76);
    EXPECT_TRUE(win.PanelMes()->text().startsWith(kSpanish.monthName(9, QLocale::ShortFormat) + "-"));
    EXPECT_NE(win.PanelMes()->text(), "septiembre-2000");

    resizeTo(400, 113);
    EXPECT_EQ(win.PanelMes()->text(), "septiembre-2000");

    resizeTo(80, 113);
    EXPECT_EQ(win.width(), 80);
    EXPECT_EQ(win.PanelMes()->text(), kSpanish.monthName(9, QLocale::ShortFormat) + "-00");
    EXPECT_EQ(win.PanelMes()->toolTip(), "septiembre-2000");
}

TEST_F(CalendarWindow, ButtonsStepTheGridAndTheBarFollows)
{
    win.show();
    resizeTo(400, 113);
    win.Calen()->SeTCCalendarDate(encodeDate(2000, 2, 29));
    QTest::mouseClick(win.SpeedButton1(), Qt::LeftButton);
    EXPECT_EQ(win.Calen()->CalendarDate(), encodeDate(1999, 2, 28));
    EXPECT_EQ(win.PanelMes()->text(), "febrero-1999");
    win.Calen()->SeTCCalendarDate(encodeDate(2001, 1, 31));
    QTest::mouseClick(win.SpeedButton3(), Qt::LeftButton);
    EXPECT_EQ(win.Calen()->CalendarDate(), encodeDate(2001, 2, 28));
    EXPECT_EQ(win.PanelMes()->text(), "febrero-2001");
    QTest::mouseClick(win.SpeedButton2(), Qt::LeftButton);
    EXPECT_EQ(win.Calen()->CalendarDate(), encodeDate(2001, 1, 28));
    QTest::mouseClick(win.SpeedButton4(), Qt::LeftButton);
    EXPECT_EQ(win.Calen()->CalendarDate(), encodeDate(2002, 1, 28));
    EXPECT_EQ(win.PanelMes()->text(), "enero-2002");
}

TEST_F(CalendarWindow, OpeningReturnsToTodayAndClosingOnlyHides)
{
    win.Calen()->SeTCCalendarDate(encodeDate(1990, 6, 6));
    // The grid still follows today from its creation, so the first opening keeps that date.
    win.showToday();
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(win.Calen()->CalendarDate(), encodeDate(1990, 6, 6));
    EXPECT_FALSE(win.Calen()->UseCurrentDate());

    win.close();
    EXPECT_FALSE(win.isVisible());
    win.showToday();
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(win.Calen()->CalendarDate(), TCCalendar::today());
    EXPECT_EQ(win.PanelMes()->toolTip(), TCalendario::formatMonth(TCCalendar::today(), kSpanish, true, true));

    // The program's own calendar window is another one, made hidden.
    AppState state;
    TCalendario* one = state.calendar();
    EXPECT_NE(one, &win);
    EXPECT_EQ(state.calendar(), one);
    EXPECT_FALSE(one->isVisible());
}

TEST_F(CalendarWindow, AStepPastTheYear9999IsReportedNotThrown)
{
    win.show();
    win.Calen()->SeTCCalendarDate(encodeDate(9999, 6, 1));
    QTest::mouseClick(win.SpeedButton4(), Qt::LeftButton);
    ASSERT_EQ(fake.messageBoxes.boxes.size(), 1);
    EXPECT_EQ(fake.messageBoxes.boxes[0].caption, QApplication::applicationDisplayName());
    EXPECT_EQ(fake.messageBoxes.boxes[0].text, "Argumento no válido al codificar la fecha");
    EXPECT_EQ(fake.messageBoxes.boxes[0].kind, tolm::platform::MessageBoxes::Kind::Critical);
    EXPECT_FALSE(fake.messageBoxes.boxes[0].question);
    EXPECT_EQ(win.Calen()->CalendarDate(), encodeDate(9999, 6, 1));
}

// At its designed size the grid's cells are 20 x 12 pixels. Every weekday
// heading and day number of the locale must fit one, in a font no larger
// than the small 9-pixel one; the locales are set here, never the host's.
TEST_F(CalendarWindow, WeekdaysAndDayNumbersFitTheirCellsInTheSmallFont)
{
    for (const QLocale& locale : { kSpanish, QLocale::c(), QLocale(QLocale::German, QLocale::Germany) }) {
        SCOPED_TRACE(locale.name().toStdString());
        win.setLocale(locale);
        win.show();
        resizeTo(150, 113);
        ASSERT_EQ(win.size(), QSize(150, 113));
        TCCalendar* grid = win.Calen();
        EXPECT_EQ(grid->locale(), locale);
        const QFont font = grid->font();
        EXPECT_LE(font.pixelSize(), TCalendario::kSmallFontPixels);
        EXPECT_GE(font.pixelSize(), TCalendario::kSmallestFontPixels);
        const QFontMetrics metrics(font);
        const QRect header = grid->CellRect(0, 0);
        ASSERT_EQ(header.size(), QSize(20, 12));
        EXPECT_LE(metrics.height(), header.height());
        for (int col = 0; col < 7; ++col) {
            const QString day = grid->GetCellText(col, 0);
            // Weeks start on Monday.
            EXPECT_EQ(day, locale.dayName(col + 1, QLocale::ShortFormat));
            EXPECT_LE(metrics.horizontalAdvance(day), header.width()) << day.toStdString();
        }
        for (int n = 1; n <= 31; ++n)
            EXPECT_LE(metrics.horizontalAdvance(QString::number(n)), header.width());
        win.hide();
    }
}

// A window made larger keeps the small font rather than growing it.
TEST_F(CalendarWindow, ALargerWindowKeepsTheSmallFont)
{
    win.show();
    resizeTo(300, 260);
    EXPECT_EQ(win.Calen()->font().pixelSize(), TCalendario::kSmallFontPixels);
}
