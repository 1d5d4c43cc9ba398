#include "calendar/japanese_holidays.h"
#include "report/section_harness.h"

#include <gtest/gtest.h>

namespace tira::test {
namespace {

using Holidays = std::vector<NationalHoliday>;

// Whole years as the government published them, each chosen for a rule it shows.
TEST(JapaneseHolidays, WholeYearsAsPublished)
{
    struct Case
    {
        int year;
        const char* shows;
        Holidays days;
    };
    // clang-format off
    const Case cases[] = {
        {1947, "before the law", {}},
        {1948, "the law from 20 July: the equinox, 文化の日 and 勤労感謝の日 only",
         {{9, 23, "秋分の日"}, {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"}}},
        {1973, "substitute days from 12 April: none for 2/11, then 4/30 and 9/24",
         {{1, 1, "元日"}, {1, 15, "成人の日"}, {2, 11, "建国記念の日"}, {3, 21, "春分の日"},
          {4, 29, "天皇誕生日"}, {4, 30, "振替休日"}, {5, 3, "憲法記念日"}, {5, 5, "こどもの日"},
          {9, 15, "敬老の日"}, {9, 23, "秋分の日"}, {9, 24, "振替休日"}, {10, 10, "体育の日"},
          {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"}}},
        {1989, "みどりの日 and 12/23, the funeral, 5/4 between two holidays",
         {{1, 1, "元日"}, {1, 2, "振替休日"}, {1, 15, "成人の日"}, {1, 16, "振替休日"},
          {2, 11, "建国記念の日"}, {2, 24, "昭和天皇の大喪の礼"}, {3, 21, "春分の日"}, {4, 29, "みどりの日"},
          {5, 3, "憲法記念日"}, {5, 4, "国民の休日"}, {5, 5, "こどもの日"}, {9, 15, "敬老の日"},
          {9, 23, "秋分の日"}, {10, 10, "体育の日"}, {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"},
          {12, 23, "天皇誕生日"}}},
        {2003, "5/4 a Sunday between two holidays stays a Sunday; 海の日 and 敬老の日 on Mondays",
         {{1, 1, "元日"}, {1, 13, "成人の日"}, {2, 11, "建国記念の日"}, {3, 21, "春分の日"},
          {4, 29, "みどりの日"}, {5, 3, "憲法記念日"}, {5, 5, "こどもの日"}, {7, 21, "海の日"},
          {9, 15, "敬老の日"}, {9, 23, "秋分の日"}, {10, 13, "体育の日"}, {11, 3, "文化の日"},
          {11, 23, "勤労感謝の日"}, {11, 24, "振替休日"}, {12, 23, "天皇誕生日"}}},
        {2007, "昭和の日, みどりの日 on 5/4, Happy Mondays, four substitutes",
         {{1, 1, "元日"}, {1, 8, "成人の日"}, {2, 11, "建国記念の日"}, {2, 12, "振替休日"},
          {3, 21, "春分の日"}, {4, 29, "昭和の日"}, {4, 30, "振替休日"}, {5, 3, "憲法記念日"},
          {5, 4, "みどりの日"}, {5, 5, "こどもの日"}, {7, 16, "海の日"}, {9, 17, "敬老の日"},
          {9, 23, "秋分の日"}, {9, 24, "振替休日"}, {10, 8, "体育の日"}, {11, 3, "文化の日"},
          {11, 23, "勤労感謝の日"}, {12, 23, "天皇誕生日"}, {12, 24, "振替休日"}}},
        {2009, "a citizens' holiday in September, a substitute after two holidays",
         {{1, 1, "元日"}, {1, 12, "成人の日"}, {2, 11, "建国記念の日"}, {3, 20, "春分の日"},
          {4, 29, "昭和の日"}, {5, 3, "憲法記念日"}, {5, 4, "みどりの日"}, {5, 5, "こどもの日"},
          {5, 6, "振替休日"}, {7, 20, "海の日"}, {9, 21, "敬老の日"}, {9, 22, "国民の休日"},
          {9, 23, "秋分の日"}, {10, 12, "体育の日"}, {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"},
          {12, 23, "天皇誕生日"}}},
        {2019, "the enthronement: two citizens' holidays around 5/1, no birthday",
         {{1, 1, "元日"}, {1, 14, "成人の日"}, {2, 11, "建国記念の日"}, {3, 21, "春分の日"},
          {4, 29, "昭和の日"}, {4, 30, "国民の休日"}, {5, 1, "天皇の即位の日"}, {5, 2, "国民の休日"},
          {5, 3, "憲法記念日"}, {5, 4, "みどりの日"}, {5, 5, "こどもの日"}, {5, 6, "振替休日"},
          {7, 15, "海の日"}, {8, 11, "山の日"}, {8, 12, "振替休日"}, {9, 16, "敬老の日"},
          {9, 23, "秋分の日"}, {10, 14, "体育の日"}, {10, 22, "即位礼正殿の儀"}, {11, 3, "文化の日"},
          {11, 4, "振替休日"}, {11, 23, "勤労感謝の日"}}},
        {2020, "2/23, スポーツの日, the holidays moved for the games",
         {{1, 1, "元日"}, {1, 13, "成人の日"}, {2, 11, "建国記念の日"}, {2, 23, "天皇誕生日"},
          {2, 24, "振替休日"}, {3, 20, "春分の日"}, {4, 29, "昭和の日"}, {5, 3, "憲法記念日"},
          {5, 4, "みどりの日"}, {5, 5, "こどもの日"}, {5, 6, "振替休日"}, {7, 23, "海の日"},
          {7, 24, "スポーツの日"}, {8, 10, "山の日"}, {9, 21, "敬老の日"}, {9, 22, "秋分の日"},
          {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"}}},
        {2021, "the holidays moved again, 山の日 on a Sunday",
         {{1, 1, "元日"}, {1, 11, "成人の日"}, {2, 11, "建国記念の日"}, {2, 23, "天皇誕生日"},
          {3, 20, "春分の日"}, {4, 29, "昭和の日"}, {5, 3, "憲法記念日"}, {5, 4, "みどりの日"},
          {5, 5, "こどもの日"}, {7, 22, "海の日"}, {7, 23, "スポーツの日"}, {8, 8, "山の日"},
          {8, 9, "振替休日"}, {9, 20, "敬老の日"}, {9, 23, "秋分の日"}, {11, 3, "文化の日"},
          {11, 23, "勤労感謝の日"}}},
        {2025, "an ordinary recent year",
         {{1, 1, "元日"}, {1, 13, "成人の日"}, {2, 11, "建国記念の日"}, {2, 23, "天皇誕生日"},
          {2, 24, "振替休日"}, {3, 20, "春分の日"}, {4, 29, "昭和の日"}, {5, 3, "憲法記念日"},
          {5, 4, "みどりの日"}, {5, 5, "こどもの日"}, {5, 6, "振替休日"}, {7, 21, "海の日"},
          {8, 11, "山の日"}, {9, 15, "敬老の日"}, {9, 23, "秋分の日"}, {10, 13, "スポーツの日"},
          {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"}, {11, 24, "振替休日"}}},
        {2026, "sixteen holidays, 振替休日 on 5/6, 国民の休日 on 9/22",
         {{1, 1, "元日"}, {1, 12, "成人の日"}, {2, 11, "建国記念の日"}, {2, 23, "天皇誕生日"},
          {3, 20, "春分の日"}, {4, 29, "昭和の日"}, {5, 3, "憲法記念日"}, {5, 4, "みどりの日"},
          {5, 5, "こどもの日"}, {5, 6, "振替休日"}, {7, 20, "海の日"}, {8, 11, "山の日"},
          {9, 21, "敬老の日"}, {9, 22, "国民の休日"}, {9, 23, "秋分の日"}, {10, 12, "スポーツの日"},
          {11, 3, "文化の日"}, {11, 23, "勤労感謝の日"}}},
        {2100, "past the equinox approximation", {}},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(japaneseHolidays(c.year), c.days) << c.year << ": " << c.shows;
}

// The file as the report reads it back: every line a holiday, nothing lost, read as UTF-8.
TEST(JapaneseHolidays, FileIsReadBackWhole)
{
    for (int year = kFirstHolidayYear; year <= kLastHolidayYear; ++year) {
        const std::string text = holidayFileText(year);
        ASSERT_EQ(text.rfind("# " + std::to_string(year) + "年", 0), 0u) << year;
        for (std::size_t lf = text.find('\n'); lf != std::string::npos;
             lf = text.find('\n', lf + 1))
            ASSERT_EQ(text[lf - 1], '\r') << year;

        SectionHarness h;
        h.home.writeBytes("TIRAHOLI.TBL", text);
        h.state.settings.Holiday = h.home.file("TIRAHOLI.TBL");
        h.state.Hol();
        Holidays read;
        for (const HolidayEntry& entry : h.state.holidays)
            read.push_back({entry.month, entry.day, entry.name});
        ASSERT_EQ(read, japaneseHolidays(year)) << year;
    }
    EXPECT_EQ(holidayFileText(kFirstHolidayYear - 1), "");
    EXPECT_EQ(holidayFileText(kLastHolidayYear + 1), "");
}

// The written file in a home folder gives the report header its holiday lines, the
// header's own substitute line for a Monday after a Sunday holiday beside the file's.
TEST(JapaneseHolidays, ReportHeaderFromTheWrittenFile)
{
    struct Case
    {
        std::uint16_t year, month, day;
        Strings lines;
    };
    const Case cases[] = {
        {2026, 3, 20, {"春分の日 (祝日) です。"}},
        {2026, 5, 6, {"振替休日 (祝日) です。"}},
        {2026, 9, 22, {"国民の休日 (祝日) です。"}},
        {2026, 9, 24, {}},
        {2025, 2, 24, {"天皇誕生日の振替休日です。", "振替休日 (祝日) です。"}},
        {2025, 9, 23, {"秋分の日 (祝日) です。"}},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.home.writeBytes("TIRAHOLI.TBL", holidayFileText(c.year));
        h.state.settings.Holiday = h.home.file("TIRAHOLI.TBL");
        h.report(c.year, c.month, c.day);
        EXPECT_EQ(SectionHarness::texts(h.headerLines()), c.lines)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

} // namespace
} // namespace tira::test
