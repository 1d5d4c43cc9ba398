#include "report/section_harness.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tira::test {
namespace {

// The header lines between the date line and the time line.
Strings holidayLines(SectionHarness& h, std::uint16_t year, std::uint16_t month, std::uint16_t day)
{
    h.report(year, month, day);
    const auto lines = h.headerLines();
    for (const auto& line : lines)
        EXPECT_EQ(line.colour, kBaseF);
    return SectionHarness::texts(lines);
}

TEST(Holidays, HeaderLines)
{
    struct Case
    {
        const char* name;
        std::string_view file;
        std::uint16_t year, month, day;
        Strings lines;
    };
    const Case cases[] = {
        {"new year", "1,1,元日\n", 2024, 1, 1, {"元日 (祝日) です。"}},
        {"blanks instead of commas", "11 3 文化の日\n", 2024, 11, 3, {"文化の日 (祝日) です。"}},
        {"comment cut", "5,3,憲法記念日 # 憲法\n", 2024, 5, 3, {"憲法記念日 (祝日) です。"}},
        {"substitute before the holiday of the day",
         "5,3,憲法記念日\n5,4,みどりの日\n",
         2026,
         5,
         4,
         {"憲法記念日の振替休日です。", "みどりの日 (祝日) です。"}},
        {"each entry's own line before its substitute",
         "5,4,みどりの日\n5,3,憲法記念日\n",
         2026,
         5,
         4,
         {"みどりの日 (祝日) です。", "憲法記念日の振替休日です。"}},
        {"Sunday holiday itself",
         "2,11,建国記念の日\n",
         2024,
         2,
         11,
         {"建国記念の日 (祝日) です。"}},
        {"substitute on the Monday",
         "2,11,建国記念の日\n",
         2024,
         2,
         12,
         {"建国記念の日の振替休日です。"}},
        {"no substitute across a month end", "3,31,x\n", 2024, 4, 1, {}},
        {"no substitute for a Saturday", "2,10,x\n", 2024, 2, 12, {}},
        {"substitute only on a Monday", "2,11,x\n", 2025, 2, 12, {}},
        {"bad lines ignored",
         "2,11\n2,x,建国記念の日\n\"1,15\" 1 成人の日\n\n# only a comment\n1,1,元日\n",
         2024,
         1,
         1,
         {"元日 (祝日) です。"}},
        {"underscores stay", "1,1,元_日\n", 2024, 1, 1, {"元_日 (祝日) です。"}},
        {"month and day held in 8 bits", "257,258,x\n", 2024, 1, 2, {"x (祝日) です。"}},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.home.writeTable("TIRAHOLI.TBL", c.file);
        h.state.settings.Holiday = h.home.file("TIRAHOLI.TBL");
        EXPECT_EQ(holidayLines(h, c.year, c.month, c.day), c.lines) << c.name;
    }
}

TEST(Holidays, ProgramFolderPathIsCompletedAndKept)
{
    SectionHarness h;
    h.home.writeTable("TIRAHOLI.TBL", "1,1,元日\n");
    h.state.settings.Holiday = ".\\TIRAHOLI.TBL";
    EXPECT_EQ(holidayLines(h, 2024, 1, 1), Strings{"元日 (祝日) です。"});
    EXPECT_EQ(h.state.settings.Holiday, homePrefix(h.home.path()) + "TIRAHOLI.TBL");
}

TEST(Holidays, TableKeptWhenTheFileGoesAndClearedWhenTheSettingIsEmpty)
{
    SectionHarness h;
    h.home.writeTable("TIRAHOLI.TBL", "1,1,元日\n");
    h.state.settings.Holiday = h.home.file("TIRAHOLI.TBL");
    EXPECT_EQ(holidayLines(h, 2024, 1, 1).size(), 1u);

    std::filesystem::remove(h.home.file("TIRAHOLI.TBL"));
    EXPECT_EQ(holidayLines(h, 2025, 1, 1), Strings{"元日 (祝日) です。"});

    // a file that is back is read afresh, not added to the old table
    h.home.writeTable("TIRAHOLI.TBL", "1,1,元旦\n");
    EXPECT_EQ(holidayLines(h, 2025, 1, 1), Strings{"元旦 (祝日) です。"});

    h.state.settings.Holiday.clear();
    EXPECT_TRUE(holidayLines(h, 2025, 1, 1).empty());
    EXPECT_TRUE(h.state.holidays.empty());
}

TEST(Holidays, FirstThirtyValidLinesKept)
{
    SectionHarness h;
    std::string file = "bad line\n";
    for (int day = 1; day <= 31; ++day)
        file += "1," + std::to_string(day) + ",h" + std::to_string(day) + "\n";
    h.home.writeTable("TIRAHOLI.TBL", file);
    h.state.settings.Holiday = h.home.file("TIRAHOLI.TBL");
    EXPECT_EQ(holidayLines(h, 2024, 1, 30), Strings{"h30 (祝日) です。"});
    ASSERT_EQ(h.state.holidays.size(), kMaxHolidays);
    EXPECT_EQ(h.state.holidays.front().name, "h1");
    EXPECT_TRUE(holidayLines(h, 2024, 1, 31).empty());
}

TEST(Holidays, UnreadableFileEndsTheReportAfterTheDateLine)
{
    SectionHarness h;
    std::filesystem::create_directory(h.home.file("TIRAHOLI.TBL"));
    h.state.settings.Holiday = h.home.file("TIRAHOLI.TBL");
    h.table(Kind::Birthday, "BIRTH.TBL", "1990/5/12 x Taro\n");
    h.clock.set({2024, 5, 12, 9, 5});
    EXPECT_THROW(h.state.Tirawa(1), TableFileError);
    ASSERT_EQ(h.pane.lines.size(), 1u);
    EXPECT_EQ(h.pane.lines[0].text, "今日は 2024年5月12日(日) です。");
}

} // namespace
} // namespace tira::test
