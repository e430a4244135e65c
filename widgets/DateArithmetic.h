#pragma once

#include <stdexcept>

// Dates are doubles counting days since 30 December 1899; the fraction is the
// time of day. These helpers hold the calendar rules without any widget so that
// they can be checked on their own.
namespace tolm::widgets {

// Raised when a year, month and day do not name a real date between the
// years 1 and 9999.
class DateEncodeError : public std::runtime_error {
public:
    DateEncodeError()
        : std::runtime_error("Invalid argument to date encode")
    { }
};

struct YearMonthDay {
    int year { 0 };
    int month { 0 };
    int day { 0 };
};

bool isLeapYear(int year);
// Months outside 1..12 give 0.
int daysPerMonth(int year, int month);

double encodeDate(int year, int month, int day); // throws DateEncodeError
YearMonthDay decodeDate(double date);
// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(double date);

// The day number shown in column 0 of the first day row; startOfWeek is
// 1 = Monday ... 7 = Sunday.
int monthOffset(int year, int month, int startOfWeek);

// Moves by whole months from the month's last day (delta > 0) or first day
// (delta <= 0) by delta days, keeping the day where the new month has it.
double changeMonth(double date, int delta);

} // namespace tolm::widgets
