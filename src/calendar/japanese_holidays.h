#pragma once

#include <string>
#include <vector>

namespace tira {

// The years whose holidays are computed: from the start of the national holiday law
// (20 July 1948) to the end of the range of the equinox approximation.
inline constexpr int kFirstHolidayYear = 1948;
inline constexpr int kLastHolidayYear = 2099;

// One day off of a Japanese calendar year: a national holiday, a one-off holiday,
// 振替休日 (substitute holiday) or 国民の休日 (citizens' holiday).
struct NationalHoliday
{
    int month = 1;
    int day = 1;
    std::string name; // UTF-8
    friend bool operator==(const NationalHoliday&, const NationalHoliday&) = default;
};

// True for a year in [kFirstHolidayYear, kLastHolidayYear].
bool isHolidayYear(int year) noexcept;

// The days off of `year` under the holiday law as it stood that year, in date order;
// empty for a year outside [kFirstHolidayYear, kLastHolidayYear].
std::vector<NationalHoliday> japaneseHolidays(int year);

// The holiday file for `year`: a "#" comment line naming the year and asking for the next
// year's file, then one "month,day,name" line per day off, in date order; UTF-8 without a
// byte-order mark (the table reader takes well-formed UTF-8 as UTF-8), CR LF line ends.
// Empty for a year outside [kFirstHolidayYear, kLastHolidayYear].
std::string holidayFileText(int year);

} // namespace tira
