#include "widgets/DateArithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tolm::widgets {

namespace {

// Day 0 of the date type (30 December 1899) counted from 1 January 1970.
constexpr std::int64_t kEpochShift = -25569;

// Civil-from-days and days-from-civil on the proleptic Gregorian calendar,
// counting days from 1 January 1970.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

YearMonthDay civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return { static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d) };
}

std::int64_t wholeDays(double date)
{
    // The integer part is the day, also before 1899 where the time of day
    // is kept as a positive fraction of a negative day.
    return static_cast<std::int64_t>(std::trunc(date));
}

} // namespace

bool isLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysPerMonth(int year, int month)
{
    static constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

double encodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > daysPerMonth(year, month))
        throw DateEncodeError();
    return static_cast<double>(daysFromCivil(year, month, day) - kEpochShift);
}

YearMonthDay decodeDate(double date)
{
    return civilFromDays(wholeDays(date) + kEpochShift);
}

int dayOfWeek(double date)
{
    // Day 1 (31 December 1899) was a Sunday.
    return static_cast<int>(((wholeDays(date) - 1) % 7 + 7) % 7) + 1;
}

int monthOffset(int year, int month, int startOfWeek)
{
    const int firstWeekday = dayOfWeek(encodeDate(year, month, 1));
    const int offset = 2 - ((firstWeekday - startOfWeek + 7) % 7);
    // An offset of 2 would put the 1st before column 0; it goes to the last
    // column of the first row instead.
    return offset == 2 ? -5 : offset;
}

double changeMonth(double date, int delta)
{
    const YearMonthDay ymd = decodeDate(date);
    const double anchor = delta > 0 ? encodeDate(ymd.year, ymd.month, daysPerMonth(ymd.year, ymd.month))
                                    : encodeDate(ymd.year, ymd.month, 1);
    const YearMonthDay target = decodeDate(anchor + delta);
    const int day = std::min(ymd.day, daysPerMonth(target.year, target.month));
    return encodeDate(target.year, target.month, day);
}

} // namespace tolm::widgets
