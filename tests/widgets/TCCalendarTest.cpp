#include "widgets/TCCalendar.h"

#include "support/FakePlatform.h"
#include "widgets/DateArithmetic.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using tolm::widgets::DateEncodeError;
using tolm::widgets::encodeDate;

namespace {

struct Calendar : ::testing::Test {
    Calendar()
    {
        cal.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
        cal.resize(150, 94);
    }
    void clickCell(int col, int row)
    {
        QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.CellRect(col, row).center());
    }
    TCCalendar cal;
};

} // namespace

TEST_F(Calendar, StartsOnTodayFollowingToday)
{
    EXPECT_EQ(cal.CalendarDate(), TCCalendar::today());
    EXPECT_TRUE(cal.UseCurrentDate());
    EXPECT_FALSE(cal.StoreCalendarDate());
    EXPECT_EQ(cal.StartOfWeek(), 1);
}

TEST(CalendarToday, IsTheDayOfThePlatformsClock)
{
    tolm::test::FakePlatform fake;
    fake.clock.time = QDateTime(QDate(2004, 2, 29), QTime(23, 59, 59));
    tolm::platform::ScopedServices use(fake.services());
    TCCalendar cal;
    EXPECT_EQ(TCCalendar::today(), encodeDate(2004, 2, 29));
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2004, 2, 29));
    EXPECT_EQ(cal.Day(), 29);

    // Turning "follow today" back on looks at the clock again.
    fake.clock.time = fake.clock.time.addSecs(1);
    cal.SetUseCurrentDate(false);
    cal.SetUseCurrentDate(true);
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2004, 3, 1));
}

TEST_F(Calendar, February2000)
{
    cal.SeTCCalendarDate(encodeDate(2000, 2, 29));
    EXPECT_EQ(cal.Col(), 1);
    EXPECT_EQ(cal.Row(), 5);
    EXPECT_EQ(cal.GetCellText(1, 1), "1");
    EXPECT_EQ(cal.GetCellText(0, 1), "");
    EXPECT_EQ(cal.GetCellText(1, 5), "29");
    EXPECT_EQ(cal.GetCellText(2, 5), "");
    EXPECT_EQ(cal.GetCellText(6, 6), "");
    const QLocale es(QLocale::Spanish, QLocale::Spain);
    EXPECT_EQ(cal.GetCellText(0, 0), es.dayName(1, QLocale::ShortFormat)); // Monday
    EXPECT_EQ(cal.GetCellText(6, 0), es.dayName(7, QLocale::ShortFormat)); // Sunday
}

TEST_F(Calendar, October2000StartsAloneInTheLastColumn)
{
    cal.SeTCCalendarDate(encodeDate(2000, 10, 1));
    EXPECT_EQ(cal.Col(), 6);
    EXPECT_EQ(cal.Row(), 1);
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(cal.GetCellText(col, 1), "") << col;
    EXPECT_EQ(cal.GetCellText(6, 1), "1");
    EXPECT_EQ(cal.GetCellText(0, 2), "2");
    EXPECT_EQ(cal.GetCellText(1, 6), "31");
}

TEST_F(Calendar, StartOfWeekSundayAndOutOfRange)
{
    cal.SeTCCalendarDate(encodeDate(2000, 10, 1));
    cal.SetStartOfWeek(7);
    EXPECT_EQ(
        cal.GetCellText(0, 0), QLocale(QLocale::Spanish, QLocale::Spain).dayName(7, QLocale::ShortFormat));
    EXPECT_EQ(cal.GetCellText(0, 1), "1");
    EXPECT_EQ(cal.Col(), 0);
    EXPECT_EQ(cal.Row(), 1);
    cal.SetStartOfWeek(0);
    EXPECT_EQ(cal.StartOfWeek(), 1);
    EXPECT_EQ(cal.Col(), 6);
    cal.SetStartOfWeek(7);
    cal.SetStartOfWeek(9);
    EXPECT_EQ(cal.StartOfWeek(), 1);
}

TEST_F(Calendar, NextMonthFromTheLastOfJanuaryTwice)
{
    cal.SeTCCalendarDate(encodeDate(2001, 1, 31));
    QSignalSpy spy(&cal, &TCCalendar::changed);
    cal.NextMonth();
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2001, 2, 28));
    cal.NextMonth();
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2001, 3, 28));
    EXPECT_EQ(spy.count(), 2);
    // Month steps go through the date itself and leave the today flag alone.
    EXPECT_TRUE(cal.UseCurrentDate());
    cal.PrevMonth();
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2001, 2, 28));
}

TEST_F(Calendar, YearStepsFromTheLeapDay)
{
    cal.SeTCCalendarDate(encodeDate(2000, 2, 29));
    QSignalSpy spy(&cal, &TCCalendar::changed);
    cal.NextYear();
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2001, 2, 28));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_FALSE(cal.UseCurrentDate());
    cal.PrevYear();
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2000, 2, 28));
    cal.SeTCCalendarDate(encodeDate(1, 3, 1));
    cal.PrevYear(); // year 0 is ignored
    EXPECT_EQ(cal.Year(), 1);
    cal.SeTCCalendarDate(encodeDate(9999, 3, 1));
    EXPECT_THROW(cal.NextYear(), DateEncodeError);
    EXPECT_EQ(cal.Year(), 9999);
}

TEST_F(Calendar, DateElementsIgnoreOrRefuseInvalidValues)
{
    cal.SeTCCalendarDate(encodeDate(2000, 4, 15));
    QSignalSpy spy(&cal, &TCCalendar::changed);
    cal.SetDay(31); // April has 30 days
    cal.SetDay(0);
    cal.SetMonth(13);
    cal.SetYear(0);
    cal.SetYear(-3);
    cal.SetDay(15); // unchanged value
    cal.SetDateElement(4, 3);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2000, 4, 15));
    EXPECT_TRUE(cal.UseCurrentDate());
    EXPECT_EQ(cal.GetDateElement(0), -1);

    cal.SeTCCalendarDate(encodeDate(2001, 1, 31));
    spy.clear();
    try {
        cal.SetMonth(2);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid argument to date encode");
    }
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2001, 1, 31));
    EXPECT_EQ(spy.count(), 0);

    cal.SeTCCalendarDate(encodeDate(2000, 2, 29) + 0.25);
    EXPECT_THROW(cal.SetYear(2001), DateEncodeError);
    cal.SetMonth(3); // the time of day goes with an element change
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2000, 3, 29));
    EXPECT_FALSE(cal.UseCurrentDate());
}

TEST_F(Calendar, UseCurrentDateReturnsToTodayOnlyWhenSwitchedOn)
{
    cal.SeTCCalendarDate(encodeDate(1999, 5, 5));
    QSignalSpy spy(&cal, &TCCalendar::changed);
    cal.SetUseCurrentDate(true); // already on: nothing happens
    EXPECT_EQ(cal.CalendarDate(), encodeDate(1999, 5, 5));
    cal.SetUseCurrentDate(false);
    cal.SetUseCurrentDate(true);
    EXPECT_EQ(cal.CalendarDate(), TCCalendar::today());
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(Calendar, CellSizesShareTheClientArea)
{
    cal.resize(150, 94); // a client area of 146 x 90 inside the 2-pixel edge
    EXPECT_EQ(cal.contentsRect().size(), QSize(146, 90));
    EXPECT_EQ(cal.DefaultColWidth(), 20);
    EXPECT_EQ(cal.DefaultRowHeight(), 12);
    cal.SetGridLineWidth(2);
    EXPECT_EQ(cal.DefaultColWidth(), 19);
    EXPECT_EQ(cal.DefaultRowHeight(), 11);
}

TEST_F(Calendar, ClicksOnHeaderAndBlankCellsAreRefused)
{
    cal.SeTCCalendarDate(encodeDate(2000, 2, 10));
    cal.show();
    QSignalSpy spy(&cal, &TCCalendar::changed);
    clickCell(3, 0);
    clickCell(0, 1);
    clickCell(5, 5);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2000, 2, 10));
    EXPECT_EQ(cal.Row(), 2);
    EXPECT_EQ(cal.Col(), 3);

    clickCell(3, 2); // the current day
    EXPECT_EQ(spy.count(), 0);

    clickCell(4, 3); // 18 February
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(cal.CalendarDate(), encodeDate(2000, 2, 18));
    EXPECT_FALSE(cal.UseCurrentDate());

    QTest::keyClick(&cal, Qt::Key_Left);
    EXPECT_EQ(cal.Day(), 17);

    cal.SetReadOnly(true);
    clickCell(0, 2);
    QTest::keyClick(&cal, Qt::Key_Left);
    EXPECT_EQ(cal.Day(), 17);
    // The calendar's own moves pass on a read-only grid.
    cal.NextMonth();
    EXPECT_EQ(cal.Col(), 4);
    EXPECT_EQ(cal.Row(), 3);
}
