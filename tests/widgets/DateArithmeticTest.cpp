#include "widgets/DateArithmetic.h"

#include <gtest/gtest.h>

using namespace tolm::widgets;

namespace {

YearMonthDay ymdOf(double date)
{
    return decodeDate(date);
}

void expectDate(double date, int y, int m, int d)
{
    const YearMonthDay ymd = ymdOf(date);
    EXPECT_EQ(ymd.year, y);
    EXPECT_EQ(ymd.month, m);
    EXPECT_EQ(ymd.day, d);
}

} // namespace

TEST(DateArithmetic, LeapYearsFollowTheGregorianRule)
{
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2004));
    EXPECT_FALSE(isLeapYear(2100));
    EXPECT_FALSE(isLeapYear(2001));
}

TEST(DateArithmetic, DaysPerMonth)
{
    const int common[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(daysPerMonth(2001, m), common[m - 1]) << m;
    EXPECT_EQ(daysPerMonth(2000, 2), 29);
    EXPECT_EQ(daysPerMonth(1900, 2), 28);
    EXPECT_EQ(daysPerMonth(2000, 0), 0);
    EXPECT_EQ(daysPerMonth(2000, 13), 0);
}

TEST(DateArithmetic, EncodingCountsDaysFromTheEndOf1899)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(encodeDate(1899, 12, 31), 1.0);
    EXPECT_EQ(encodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(encodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(encodeDate(1, 1, 1), -693593.0);
    expectDate(36526.75, 2000, 1, 1);
    expectDate(-1.5, 1899, 12, 29);
    expectDate(encodeDate(9999, 12, 31), 9999, 12, 31);
    expectDate(encodeDate(2000, 2, 29), 2000, 2, 29);
}

TEST(DateArithmetic, EncodingRefusesWhatIsNoDate)
{
    EXPECT_THROW(encodeDate(2001, 2, 29), DateEncodeError);
    EXPECT_THROW(encodeDate(2000, 4, 31), DateEncodeError);
    EXPECT_THROW(encodeDate(10000, 1, 1), DateEncodeError);
    EXPECT_THROW(encodeDate(0, 1, 1), DateEncodeError);
    EXPECT_THROW(encodeDate(2000, 13, 1), DateEncodeError);
    try {
        encodeDate(2000, 2, 30);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid argument to date encode");
    }
}

TEST(DateArithmetic, WeekdaysCountFromSunday)
{
    EXPECT_EQ(dayOfWeek(encodeDate(2000, 2, 1)), 3); // a Tuesday
    EXPECT_EQ(dayOfWeek(encodeDate(2000, 10, 1)), 1); // a Sunday
    EXPECT_EQ(dayOfWeek(encodeDate(1900, 1, 1)), 2); // a Monday
    EXPECT_EQ(dayOfWeek(encodeDate(1899, 12, 23)), 7); // a Saturday before day 0
}

TEST(DateArithmetic, MonthOffsetPlacesTheFirstInItsWeekdayColumn)
{
    // February 2000 starts on a Tuesday: column 1 with weeks from Monday.
    EXPECT_EQ(monthOffset(2000, 2, 1), 0);
    // October 2000 starts on a Sunday: alone at the end of the first row.
    EXPECT_EQ(monthOffset(2000, 10, 1), -5);
    // With weeks from Sunday the same month starts in column 0.
    EXPECT_EQ(monthOffset(2000, 10, 7), 1);
    // May 2000 starts on a Monday.
    EXPECT_EQ(monthOffset(2000, 5, 1), 1);
    for (int sow = 1; sow <= 7; ++sow) {
        for (int m = 1; m <= 12; ++m) {
            const int column = 1 - monthOffset(2001, m, sow);
            EXPECT_GE(column, 0);
            EXPECT_LE(column, 6);
        }
    }
}

TEST(DateArithmetic, ChangeMonthKeepsTheDayWhereTheMonthHasIt)
{
    double d = changeMonth(encodeDate(2001, 1, 31), 1);
    expectDate(d, 2001, 2, 28);
    expectDate(changeMonth(d, 1), 2001, 3, 28);
    expectDate(changeMonth(encodeDate(2000, 1, 31), 1), 2000, 2, 29);
    expectDate(changeMonth(encodeDate(2000, 3, 31), -1), 2000, 2, 29);
    expectDate(changeMonth(encodeDate(2000, 12, 15), 1), 2001, 1, 15);
    expectDate(changeMonth(encodeDate(2001, 1, 15), -1), 2000, 12, 15);
    // The time of day is dropped.
    EXPECT_EQ(changeMonth(encodeDate(2000, 5, 10) + 0.5, 1), encodeDate(2000, 6, 10));
}
