// Two whole years of reports: the days on which the event section shows each typical rule
// on its day must be exactly the days a plain walk over the calendar finds.
#include "report/reminder_harness.h"

#include <charconv>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

struct Day
{
    int year, month, day;
};

bool leap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int lengthOf(int y, int m)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : lengths[m - 1];
}

// Sakamoto's method: 0 = Sunday ... 6 = Saturday.
int weekdayOf(Day d)
{
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = d.month < 3 ? d.year - 1 : d.year;
    return (y + y / 4 - y / 100 + y / 400 + offsets[d.month - 1] + d.day) % 7;
}

Day plusDays(Day d, int n)
{
    for (int i = 0; i < n; ++i) {
        if (++d.day > lengthOf(d.year, d.month)) {
            d.day = 1;
            if (++d.month > 12) {
                d.month = 1;
                ++d.year;
            }
        }
    }
    return d;
}

const std::vector<HolidayEntry> kHolidays = {
    {1, 1, "元日"},           {1, 8, "成人の日"},       {2, 11, "建国記念の日"},
    {2, 23, "天皇誕生日"},    {3, 20, "春分の日"},      {4, 29, "昭和の日"},
    {5, 3, "憲法記念日"},     {5, 4, "みどりの日"},     {5, 5, "こどもの日"},
    {7, 15, "海の日"},        {8, 11, "山の日"},        {9, 16, "敬老の日"},
    {9, 23, "秋分の日"},      {10, 14, "スポーツの日"}, {11, 3, "文化の日"},
    {11, 23, "勤労感謝の日"},
};

bool isHoliday(int month, int day)
{
    for (const HolidayEntry& h : kHolidays)
        if (h.month == month && h.day == day) return true;
    return false;
}

// A working day: not a weekend, not a holiday, not a Monday after a Sunday holiday.
bool isWorkingDay(Day d)
{
    const int wd = weekdayOf(d);
    if (wd == 0 || wd == 6 || isHoliday(d.month, d.day)) return false;
    return !(wd == 1 && d.day > 1 && isHoliday(d.month, d.day - 1));
}

struct Rule
{
    const char* line;
    const char* text;
    std::function<bool(Day)> onItsDay;
};

TEST(EventYearSweep, TypicalRulesFallOnTheirDays)
{
    const std::vector<Rule> rules = {
        {"+3 15 0 0 0 the15th", "the15th", [](Day d) { return d.day == 15; }},
        {"+3 0 2 0 0 monday", "monday", [](Day d) { return weekdayOf(d) == 1; }},
        {"+3 0 3 2 0 secondTuesday", "secondTuesday",
         [](Day d) { return weekdayOf(d) == 2 && d.day >= 8 && d.day <= 14; }},
        {"+3 -1 0 0 0 lastDay", "lastDay",
         [](Day d) { return d.day == lengthOf(d.year, d.month); }},
        {"+3 <<25 0 0 0 payDay", "payDay",
         [](Day d) {
             Day due{d.year, d.month, 25};
             while (!isWorkingDay(due))
                 --due.day;
             return d.day == due.day;
         }},
        {"+3 1-7 0 0 8 augustWeek", "augustWeek", [](Day d) { return d.month == 8 && d.day <= 7; }},
        {"+3 0 0 0 5 may", "may", [](Day d) { return d.month == 5; }},
    };

    test::ReminderHarness h(Kind::Event);
    std::string table;
    for (const Rule& rule : rules)
        table += std::string(rule.line) + "\n";
    h.home.writeTable("EVENT.TBL", table);
    h.state.settings.filesOf(Kind::Event) = {h.home.file("EVENT.TBL")};
    h.useHolidays(kHolidays);

    std::vector<int> daysShown(rules.size(), 0);
    int mismatches = 0;
    for (Day d{2024, 1, 1}; d.year < 2026; d = plusDays(d, 1)) {
        const auto texts =
            h.texts({static_cast<std::uint16_t>(d.year), static_cast<std::uint16_t>(d.month),
                     static_cast<std::uint16_t>(d.day)});
        for (std::size_t r = 0; r < rules.size(); ++r) {
            const std::string today = std::string(rules[r].text) + "です。";
            const std::string ahead = std::string(rules[r].text) + "まで あと ";
            bool shown = false;
            for (const std::string& line : texts) {
                if (line == today) shown = true;
                // every announcement points at a day on which the rule falls
                if (line.starts_with(ahead)) {
                    int k = 0;
                    const char* first = line.data() + ahead.size();
                    std::from_chars(first, line.data() + line.size(), k);
                    EXPECT_TRUE(k >= 1 && k <= 3 && rules[r].onItsDay(plusDays(d, k)))
                        << line << " on " << d.year << "-" << d.month << "-" << d.day;
                }
            }
            daysShown[r] += shown ? 1 : 0;
            if (shown != rules[r].onItsDay(d) && ++mismatches <= 20)
                ADD_FAILURE() << rules[r].line << (shown ? " shown" : " missing") << " on "
                              << d.year << "-" << d.month << "-" << d.day;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // the walk covered what it should: 24 months, 105 Mondays, 14 days of August ...
    EXPECT_EQ(daysShown[0], 24);
    EXPECT_EQ(daysShown[1], 105); // 2024 begins on a Monday and has 53
    EXPECT_EQ(daysShown[2], 24);
    EXPECT_EQ(daysShown[3], 24);
    EXPECT_EQ(daysShown[4], 24);
    EXPECT_EQ(daysShown[5], 14);
    EXPECT_EQ(daysShown[6], 62);
}

} // namespace
} // namespace tira
