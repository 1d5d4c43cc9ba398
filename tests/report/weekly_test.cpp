#include "report/section_harness.h"

#include <gtest/gtest.h>

namespace tira::test {
namespace {

const std::string kHeading = "-=-=-=- 週間 -=-=-=-";

TEST(Weekly, PeriodsOfTheYear)
{
    struct Case
    {
        const char* name;
        std::string_view line;
        std::uint16_t year, month, day;
        std::string text; // empty: nothing shown
    };
    const std::string spring = "春の全国交通安全運動です。";
    const Case cases[] = {
        {"first day", "4/6 4/15 春の全国交通安全運動", 2024, 4, 6, spring},
        {"last day", "4/6 4/15 春の全国交通安全運動", 2024, 4, 15, spring},
        {"day before", "4/6 4/15 春の全国交通安全運動", 2024, 4, 5, ""},
        {"day after", "4/6 4/15 春の全国交通安全運動", 2024, 4, 16, ""},
        {"year end: 25 December", "12/25 1/7 年末年始", 2024, 12, 25, "年末年始です。"},
        {"year end: 31 December", "12/25 1/7 年末年始", 2024, 12, 31, "年末年始です。"},
        {"year end: 1 January", "12/25 1/7 年末年始", 2025, 1, 1, "年末年始です。"},
        {"year end: 7 January", "12/25 1/7 年末年始", 2025, 1, 7, "年末年始です。"},
        {"year end: 24 December", "12/25 1/7 年末年始", 2024, 12, 24, ""},
        {"year end: 8 January", "12/25 1/7 年末年始", 2025, 1, 8, ""},
        {"end taken in the next year", "11/25 2/5 x", 2024, 12, 10, "xです。"},
        {"start taken in the year before", "11/25 2/5 x", 2025, 2, 3, "xです。"},
        {"long period, after its end", "11/25 2/5 x", 2025, 3, 1, ""},
        {"long period, 29 February", "11/25 3/1 x", 2024, 2, 29, "xです。"},
        {"start after end in one month order", "4/20 4/10 x", 2024, 4, 15, ""},
        {"start after end, on the start", "4/20 4/10 x", 2024, 4, 20, ""},
        {"full stop kept off", "5/5 5/5 こどもの日.", 2024, 5, 5, "こどもの日"},
        {"one-day period, next day", "5/5 5/5 こどもの日.", 2024, 5, 6, ""},
        {"underscore alone", "5/5 5/5 _", 2024, 5, 5, " です。"},
        {"29 February start in a common year", "2/29 3/1 x", 2023, 3, 1, "xです。"},
        {"29 February start, 28 February", "2/29 3/1 x", 2023, 2, 28, ""},
        {"29 February start in a leap year", "2/29 3/1 x", 2024, 2, 29, "xです。"},
        {"no text", "4/6 4/15", 2024, 4, 10, ""},
        {"year in the date", "4/6/2024 4/15 x", 2024, 4, 10, ""},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.table(Kind::Week, "WEEK.TBL", std::string(c.line) + "\n");
        const auto lines = h.report(c.year, c.month, c.day);
        if (c.text.empty())
            EXPECT_TRUE(lines.empty()) << c.name;
        else
            EXPECT_EQ(SectionHarness::texts(lines), (Strings{"", kHeading, c.text})) << c.name;
    }
}

TEST(Weekly, EmptyTextWritesAnEmptyLine)
{
    SectionHarness h;
    h.table(Kind::Week, "WEEK.TBL", "5/1 5/31 \"\"\n");
    EXPECT_EQ(SectionHarness::texts(h.report(2024, 5, 12)), (Strings{"", kHeading, ""}));
}

TEST(Weekly, LineColoursAndNoStopEffects)
{
    struct Case
    {
        std::uint8_t yuusen, koumoku;
        WinColour colour;
    };
    for (const Case& c :
         {Case{0, 0, kGreen}, Case{0, 1, kGreen}, Case{1, 1, kWFC}, Case{1, 0, kBaseF}}) {
        SectionHarness h;
        h.state.settings.Yuusen = c.yuusen;
        h.state.settings.Koumoku = c.koumoku;
        h.state.settings.Sotowaku = 1;
        h.table(Kind::Week, "WEEK.TBL", "4/6 4/15 x g\n4/6 4/15 y S\n");
        const auto lines = h.report(2024, 4, 10);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[2].colour, c.colour) << int{c.yuusen} << int{c.koumoku};
        EXPECT_EQ(h.pane.background(), kBaseB);
        EXPECT_EQ(h.state.report.stopToday, 0);
    }
}

} // namespace
} // namespace tira::test
