#include "calendar/tira0.h"

#include <gtest/gtest.h>

namespace tira {
namespace {

// An independent count: days from 1 January of year 1 (= 1), proleptic Gregorian,
// computed by Howard Hinnant's days-from-civil, shifted to the year-0 origin (+366).
std::int64_t referenceSerial(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t daysFrom1970 = era * 146097 + static_cast<std::int64_t>(doe) - 719468;
    return daysFrom1970 + 719163 + 366; // 1970-01-01 is ordinal 719163 (0001-01-01 = 1)
}

TEST(DayCount, KnownDays)
{
    EXPECT_EQ(DayCount(0, 1, 1), 1);
    EXPECT_EQ(DayCount(1, 1, 1), 367);
    EXPECT_EQ(weekdayOf(DayCount(1, 1, 1)), 2); // Monday
    EXPECT_EQ(DayCount(2000, 1, 1), 730486);
    EXPECT_EQ(weekdayOf(730486), 7); // Saturday
    EXPECT_EQ(DayCount(2000, 2, 29), 730545);
    EXPECT_EQ(weekdayOf(730545), 3); // Tuesday
}

TEST(DayCount, MonthsAndDaysOutOfRange)
{
    EXPECT_EQ(DayCount(2023, 13, 1), DayCount(2024, 1, 1));
    EXPECT_EQ(DayCount(2024, 0, 5), DayCount(2024, 1, 5));
    EXPECT_EQ(DayCount(2023, 14, 1), DayCount(2024, 2, 1));
    EXPECT_EQ(DayCount(2023, 25, 3), DayCount(2025, 1, 3));
    EXPECT_EQ(DayCount(2024, 2, 30), DayCount(2024, 3, 1));
    EXPECT_EQ(DayCount(2024, 3, 0), DayCount(2024, 2, 29));
    EXPECT_EQ(DayCount(2024, 3, -1), DayCount(2024, 2, 28));
    EXPECT_EQ(DayCount(1900, 3, 1) - DayCount(1900, 2, 28), 1);
    EXPECT_EQ(DayCount(2000, 3, 1) - DayCount(2000, 2, 28), 2);
    // the largest inputs stay in range and keep growing
    EXPECT_GT(DayCount(65535, 65535, 65535), DayCount(65535, 12, 31));
}

TEST(DayCount, AgreesWithAnIndependentCountForAllYears)
{
    for (std::int32_t year = 0; year <= 65535; ++year) {
        for (unsigned month = 1; month <= 12; ++month) {
            const unsigned last = static_cast<unsigned>(daysInMonth(year, static_cast<int>(month)));
            for (const unsigned day : {1u, 15u, last}) {
                const auto expected = referenceSerial(year, month, day);
                ASSERT_EQ(DayCount(year, static_cast<std::int32_t>(month),
                                   static_cast<std::int32_t>(day)),
                          expected)
                    << year << "-" << month << "-" << day;
            }
        }
    }
}

TEST(CalendarFacts, WeekRows)
{
    struct Case
    {
        Date date;
        int weekday, weekOfMonth, weekOfYear, weekOfYearOfFirst, firstWeekday;
    };
    const Case cases[] = {
        {{2024, 1, 6}, 7, 1, 1, 1, 1},     {{2024, 1, 7}, 1, 2, 2, 1, 1},
        {{2024, 3, 2}, 7, 1, 9, 9, 5},     {{2024, 3, 3}, 1, 2, 10, 9, 5},
        {{2020, 3, 7}, 7, 1, 10, 10, 0},   {{2020, 3, 8}, 1, 2, 11, 10, 0},
        {{2020, 3, 14}, 7, 2, 11, 10, 0},  {{2020, 3, 29}, 1, 5, 14, 10, 0},
        {{2022, 1, 1}, 7, 1, 1, 1, 6},     {{2022, 1, 2}, 1, 2, 2, 1, 6},
        {{2022, 1, 8}, 7, 2, 2, 1, 6},     {{2022, 1, 30}, 1, 6, 6, 1, 6},
        {{2023, 12, 31}, 1, 6, 53, 48, 5}, {{2026, 12, 8}, 3, 2, 50, 49, 2},
    };
    for (const Case& c : cases) {
        const CalendarFacts f = computeCalendarFacts(c.date);
        SCOPED_TRACE(std::to_string(c.date.year) + "-" + std::to_string(c.date.month) + "-" +
                     std::to_string(c.date.day));
        EXPECT_EQ(f.weekday, c.weekday);
        EXPECT_EQ(f.weekOfMonth, c.weekOfMonth);
        EXPECT_EQ(f.weekOfYear, c.weekOfYear);
        EXPECT_EQ(f.weekOfYearOfFirst, c.weekOfYearOfFirst);
        EXPECT_EQ(f.firstWeekday, c.firstWeekday);
    }
}

TEST(CalendarFacts, MonthLengthsAreSetAfreshEachTime)
{
    EXPECT_EQ(computeCalendarFacts({2024, 2, 10}).daysInMonth, 29);
    const CalendarFacts common = computeCalendarFacts({2023, 2, 10});
    EXPECT_EQ(common.daysInMonth, 28);
    EXPECT_EQ(common.monthLengths[1], 28);
    EXPECT_EQ(common.leapYear, 0);
    EXPECT_EQ(computeCalendarFacts({2000, 6, 1}).leapYear, 1);
    EXPECT_EQ(computeCalendarFacts({1900, 6, 1}).leapYear, 0);
    EXPECT_EQ(computeCalendarFacts({2026, 4, 1}).daysInMonth, 30);
}

} // namespace
} // namespace tira
