#include "calendar/tira0.h"

namespace tira {

namespace {

constexpr std::array<int, 12> kMonthLengths{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of years 0 .. year-1: year 0 is a leap year of 366 days.
std::uint64_t daysBeforeYear(std::uint64_t year) noexcept
{
    if (year == 0) return 0;
    const std::uint64_t y = year - 1;
    return 366 + y * 365 + y / 4 - y / 100 + y / 400;
}

// Cumulative days before month m (1..12) of a common year.
constexpr std::array<std::uint64_t, 13> kDaysBeforeMonth{0,   0,   31,  59,  90,  120, 151,
                                                         181, 212, 243, 273, 304, 334};

int ceilDiv7(int x) noexcept
{
    return x / 7 + (x % 7 != 0 ? 1 : 0);
}

int mod7(std::int64_t x) noexcept
{
    const auto r = static_cast<int>(x % 7);
    return r < 0 ? r + 7 : r;
}

} // namespace

bool isLeapYear(std::int32_t year) noexcept
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(std::int32_t year, int month) noexcept
{
    if (month < 1 || month > 12) return 0;
    if (month == 2 && isLeapYear(year)) return 29;
    return kMonthLengths[static_cast<std::size_t>(month - 1)];
}

std::int32_t DayCount(std::int32_t year, std::int32_t month, std::int32_t day) noexcept
{
    // unsigned from here: neither can be negative, and unsigned division is the cheaper
    std::uint64_t y = year < 0 ? 0 : static_cast<std::uint64_t>(year);
    std::uint32_t m = month < 1 ? 1 : static_cast<std::uint32_t>(month);
    if (m > 12) {
        // month 13 is January of the next year; later months go on the same way
        y += (m - 1) / 12;
        m = (m - 1) % 12 + 1;
    }
    const bool leap = isLeapYear(static_cast<std::int32_t>(y));
    const std::uint64_t before = daysBeforeYear(y) + kDaysBeforeMonth[m] + (m > 2 && leap ? 1 : 0);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(before) + day);
}

int weekdayOf(std::int32_t serial) noexcept
{
    return mod7(static_cast<std::int64_t>(serial) - 2) + 1;
}

CalendarFacts computeCalendarFacts(Date date) noexcept
{
    CalendarFacts f;
    f.date = date;
    f.today = DayCount(date.year, date.month, date.day);
    f.weekday = static_cast<std::uint8_t>(weekdayOf(f.today));
    f.firstOfMonth = DayCount(date.year, date.month, 1);
    f.firstWeekday = static_cast<std::uint8_t>(mod7(static_cast<std::int64_t>(f.firstOfMonth) - 2));
    f.weekOfMonth = static_cast<std::uint8_t>(ceilDiv7(date.day + f.firstWeekday));
    f.january1 = DayCount(date.year, 1, 1);
    f.january1Weekday = static_cast<std::uint8_t>(mod7(static_cast<std::int64_t>(f.january1) - 2));
    const int dayOfYear = f.today - f.january1 + 1;
    f.weekOfYear = static_cast<std::uint8_t>(ceilDiv7(dayOfYear + f.january1Weekday));
    const int firstDayOfYear = f.firstOfMonth - f.january1 + 1;
    f.weekOfYearOfFirst = static_cast<std::uint8_t>(ceilDiv7(firstDayOfYear + f.january1Weekday));
    f.leapYear = isLeapYear(date.year) ? 1 : 0;
    for (std::size_t i = 0; i < 12; ++i)
        f.monthLengths[i] = static_cast<std::uint8_t>(kMonthLengths[i]);
    if (f.leapYear != 0) f.monthLengths[1] = 29;
    f.daysInMonth = (date.month >= 1 && date.month <= 12) ? f.monthLengths[date.month - 1u] : 0;
    return f;
}

std::string twoDigits(int value)
{
    // appended, not inserted: GCC 12 -O3 misreads an insert at 0 as an overlap
    std::string text(value >= 0 && value < 10 ? 1 : 0, '0');
    return text += std::to_string(value);
}

} // namespace tira
