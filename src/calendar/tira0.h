#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tira {

// A date as the report and the tables hold it: three unsigned 16-bit numbers.
struct Date
{
    std::uint16_t year = 0;
    std::uint16_t month = 1;
    std::uint16_t day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};

// Serial day: days counted from year 0 of the Gregorian calendar (1 January 2000 is
// 730486). The day is added without a range check (day 0 is the last day of the month
// before, a negative day goes further back); month 0 counts as 1, month 13 as January of
// the next year, and higher months continue into the following years. Constant time.
std::int32_t DayCount(std::int32_t year, std::int32_t month, std::int32_t day) noexcept;

// 1 = Sunday ... 7 = Saturday, for a serial day.
int weekdayOf(std::int32_t serial) noexcept;

bool isLeapYear(std::int32_t year) noexcept;

// Days in `month` (1..12) of `year`; 0 for a month out of range.
int daysInMonth(std::int32_t year, int month) noexcept;

// The calendar facts of a report date, derived once per report.
struct CalendarFacts
{
    Date date;
    std::int32_t today = 0;             // serial day of the report date
    std::int32_t firstOfMonth = 0;      // serial day of day 1 of the report month
    std::int32_t january1 = 0;          // serial day of 1 January
    std::uint8_t weekday = 1;           // 1..7, 1 = Sunday
    std::uint8_t firstWeekday = 0;      // weekday of day 1, 0..6, 0 = Sunday
    std::uint8_t january1Weekday = 0;   // 0..6, 0 = Sunday
    std::uint8_t weekOfMonth = 1;       // row of the day in a Sunday-first month sheet
    std::uint8_t weekOfYear = 1;        // row of the day in a Sunday-first year sheet
    std::uint8_t weekOfYearOfFirst = 1; // the same row for day 1 of the month
    std::uint8_t leapYear = 0;
    std::array<std::uint8_t, 12> monthLengths{};
    std::uint16_t daysInMonth = 31;
};

// Computes every fact of `date` in order; month-lengths are set afresh each time.
CalendarFacts computeCalendarFacts(Date date) noexcept;

// A month, day, hour or minute as dates and times are written: at least two digits.
std::string twoDigits(int value);

} // namespace tira
