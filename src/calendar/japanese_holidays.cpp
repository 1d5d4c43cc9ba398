#include "calendar/japanese_holidays.h"

#include "calendar/tira0.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace tira {

namespace {

constexpr int kOpen = 9999; // a rule still in force

// A holiday on the same day every year, under one name from `from` to `to`.
struct FixedRule
{
    int month;
    int day;
    int from;
    int to;
    const char* name;
};

constexpr FixedRule kFixedRules[] = {
    {1, 1, 1948, kOpen, "元日"},          {1, 15, 1948, 1999, "成人の日"},
    {2, 11, 1967, kOpen, "建国記念の日"}, {2, 23, 2020, kOpen, "天皇誕生日"},
    {4, 29, 1948, 1988, "天皇誕生日"},    {4, 29, 1989, 2006, "みどりの日"},
    {4, 29, 2007, kOpen, "昭和の日"},     {5, 3, 1948, kOpen, "憲法記念日"},
    {5, 4, 2007, kOpen, "みどりの日"},    {5, 5, 1948, kOpen, "こどもの日"},
    {7, 20, 1996, 2002, "海の日"},        {8, 11, 2016, kOpen, "山の日"},
    {9, 15, 1966, 2002, "敬老の日"},      {10, 10, 1966, 1999, "体育の日"},
    {11, 3, 1948, kOpen, "文化の日"},     {11, 23, 1948, kOpen, "勤労感謝の日"},
    {12, 23, 1989, 2018, "天皇誕生日"},
};

// A holiday on the n-th Monday of its month.
struct MondayRule
{
    int month;
    int week;
    int from;
    int to;
    const char* name;
};

constexpr MondayRule kMondayRules[] = {
    {1, 2, 2000, kOpen, "成人の日"},      {7, 3, 2003, kOpen, "海の日"},
    {9, 3, 2003, kOpen, "敬老の日"},      {10, 2, 2000, 2019, "体育の日"},
    {10, 2, 2020, kOpen, "スポーツの日"},
};

// Days set by laws of their own: one-off holidays for imperial events, and the holidays
// moved around the Tokyo games, which then do not fall on their usual day.
struct DatedHoliday
{
    int year;
    int month;
    int day;
    bool moved;
    const char* name;
};

constexpr DatedHoliday kDatedHolidays[] = {
    {1959, 4, 10, false, "皇太子明仁親王の結婚の儀"},
    {1989, 2, 24, false, "昭和天皇の大喪の礼"},
    {1990, 11, 12, false, "即位礼正殿の儀"},
    {1993, 6, 9, false, "皇太子徳仁親王の結婚の儀"},
    {2019, 5, 1, false, "天皇の即位の日"},
    {2019, 10, 22, false, "即位礼正殿の儀"},
    {2020, 7, 23, true, "海の日"},
    {2020, 7, 24, true, "スポーツの日"},
    {2020, 8, 10, true, "山の日"},
    {2021, 7, 22, true, "海の日"},
    {2021, 7, 23, true, "スポーツの日"},
    {2021, 8, 8, true, "山の日"},
};

constexpr const char* kSubstituteName = "振替休日";
constexpr const char* kCitizensName = "国民の休日";
constexpr int kSunday = 1; // weekdayOf

// When the rules came into force.
constexpr Date kLawStart{1948, 7, 20};
constexpr Date kSubstituteStart{1973, 4, 12}; // the Monday after a Sunday holiday
constexpr int kNextFreeDayFrom = 2007;        // the next day that is no holiday
constexpr Date kCitizensStart{1985, 12, 27};  // a day between two holidays
constexpr int kCitizensOnSundayFrom = 2007;   // before, a Sunday so placed stayed a Sunday

std::int32_t serialOf(Date date) noexcept
{
    return DayCount(date.year, date.month, date.day);
}

// Day of the month of the `week`-th Monday of `month`.
int nthMonday(int year, int month, int week) noexcept
{
    const int firstWeekday = weekdayOf(DayCount(year, month, 1)); // 1 = Sunday
    const int firstMonday = 1 + (9 - firstWeekday) % 7;
    return firstMonday + 7 * (week - 1);
}

// int(base + 0.242194 (year - 1980)) - leapDays, in millionths so that no rounding of a
// binary fraction can move a day.
int equinoxDay(std::int64_t baseMillionths, int year, int leapDays) noexcept
{
    const std::int64_t value = baseMillionths + 242194 * std::int64_t{year - 1980};
    return static_cast<int>(value / 1000000) - leapDays;
}

// Leap days counted from the base year of the approximation; C++ division truncates toward
// zero, which is what the approximation before 1980 expects.
int leapDaysSince1980(int year) noexcept
{
    return year >= 1980 ? (year - 1980) / 4 : (year - 1983) / 4;
}

enum class DayKind : std::uint8_t
{
    Workday,
    Holiday, // a national holiday or one set by a law of its own
    Substitute,
    Citizens
};

// Day of March of the vernal equinox day (春分の日) and day of September of the autumnal
// equinox day (秋分の日), by the usual approximation of the equinox in Japan Standard Time.
int vernalEquinoxDay(int year) noexcept
{
    return equinoxDay(year >= 1980 ? 20843100 : 20835700, year, leapDaysSince1980(year));
}

int autumnalEquinoxDay(int year) noexcept
{
    return equinoxDay(year >= 1980 ? 23248800 : 23258800, year, leapDaysSince1980(year));
}

} // namespace

bool isHolidayYear(int year) noexcept
{
    return year >= kFirstHolidayYear && year <= kLastHolidayYear;
}

std::vector<NationalHoliday> japaneseHolidays(int year)
{
    if (!isHolidayYear(year)) return {};

    std::vector<NationalHoliday> named;
    const auto movedAway = [year](std::string_view name) {
        return std::ranges::any_of(kDatedHolidays, [&](const DatedHoliday& dated) {
            return dated.moved && dated.year == year && name == dated.name;
        });
    };
    const auto add = [&](int month, int day, const char* name) {
        if (!movedAway(name)) named.push_back({month, day, name});
    };
    for (const FixedRule& rule : kFixedRules)
        if (year >= rule.from && year <= rule.to) add(rule.month, rule.day, rule.name);
    for (const MondayRule& rule : kMondayRules)
        if (year >= rule.from && year <= rule.to)
            add(rule.month, nthMonday(year, rule.month, rule.week), rule.name);
    add(3, vernalEquinoxDay(year), "春分の日");
    add(9, autumnalEquinoxDay(year), "秋分の日");
    for (const DatedHoliday& dated : kDatedHolidays)
        if (dated.year == year) named.push_back({dated.month, dated.day, dated.name});

    // Every day of the year with what it is; index 0 is 1 January.
    const std::int32_t january1 = DayCount(year, 1, 1);
    const int length = isLeapYear(year) ? 366 : 365;
    std::array<DayKind, 366> kinds{};
    std::array<const char*, 366> names{};
    for (const NationalHoliday& holiday : named) {
        const std::int32_t serial = DayCount(year, holiday.month, holiday.day);
        if (serial < serialOf(kLawStart)) continue;
        const auto index = static_cast<std::size_t>(serial - january1);
        if (kinds[index] == DayKind::Holiday) continue; // two holidays on one day: one day off
        kinds[index] = DayKind::Holiday;
        names[index] = holiday.name.c_str();
    }

    for (int i = 0; i < length; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (kinds[index] != DayKind::Holiday || weekdayOf(january1 + i) != kSunday ||
            january1 + i < serialOf(kSubstituteStart))
            continue;
        int next = i + 1;
        if (year >= kNextFreeDayFrom)
            while (next < length && kinds[static_cast<std::size_t>(next)] == DayKind::Holiday)
                ++next;
        if (next < length && kinds[static_cast<std::size_t>(next)] == DayKind::Workday)
            kinds[static_cast<std::size_t>(next)] = DayKind::Substitute;
    }

    // only days off under the holiday law itself hem a citizens' holiday in, not substitutes
    for (int i = 1; i + 1 < length; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (kinds[index] == DayKind::Workday && kinds[index - 1] == DayKind::Holiday &&
            kinds[index + 1] == DayKind::Holiday && january1 + i >= serialOf(kCitizensStart) &&
            (year >= kCitizensOnSundayFrom || weekdayOf(january1 + i) != kSunday))
            kinds[index] = DayKind::Citizens;
    }

    std::vector<NationalHoliday> out;
    std::size_t index = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= daysInMonth(year, month); ++day, ++index) {
            switch (kinds[index]) {
            case DayKind::Workday: break;
            case DayKind::Holiday: out.push_back({month, day, names[index]}); break;
            case DayKind::Substitute: out.push_back({month, day, kSubstituteName}); break;
            case DayKind::Citizens: out.push_back({month, day, kCitizensName}); break;
            }
        }
    }
    return out;
}

std::string holidayFileText(int year)
{
    if (!isHolidayYear(year)) return {};
    const std::string y = std::to_string(year);
    std::string text = "# " + y + "年の祝日と休日 (tira --holidays " + y +
                       ")。年が替わったら、次の年の分を作り直してください。\r\n";
    for (const NationalHoliday& holiday : japaneseHolidays(year))
        text += std::to_string(holiday.month) + "," + std::to_string(holiday.day) + "," +
                holiday.name + "\r\n";
    return text;
}

} // namespace tira
