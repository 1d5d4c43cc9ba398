#include "report/section_harness.h"

#include <gtest/gtest.h>

namespace tira::test {
namespace {

const std::string kHeading = "-=-=-=- スケジュール -=-=-=-";

struct Case
{
    const char* name;
    std::string_view line;
    std::uint16_t year, month, day;
    std::string text; // empty: nothing shown
    std::uint8_t comment = 1;
};

TEST(Schedules, MarksAndTexts)
{
    const Case cases[] = {
        {"plain item on its date", "2024/5/20 会議", 2024, 5, 20, "会議 です。"},
        {"the year counts", "2024/5/20 会議", 2025, 5, 20, ""},
        {"plain item is not announced", "+7 2024/5/20 会議 N", 2024, 5, 13, ""},
        {"plain item with advance on its date", "+7 2024/5/20 会議 N", 2024, 5, 20, "会議 です。"},
        {"stop, first announced day", "+7 2024/5/20 会議 S", 2024, 5, 13,
         "会議 まであと 7 日です。"},
        {"stop, last announced day", "+7 2024/5/20 会議 S", 2024, 5, 19,
         "会議 まであと 1 日です。"},
        {"stop on its date", "+7 2024/5/20 会議 S", 2024, 5, 20, "会議 です。"},
        {"stop, too early", "+7 2024/5/20 会議 S", 2024, 5, 12, ""},
        {"stop, after", "+7 2024/5/20 会議 S", 2024, 5, 21, ""},
        {"before, a year ahead", "2024/5/20 会議 BEFORE", 2023, 5, 21,
         "会議 まであと 365 日です。"},
        {"before, on its date", "2024/5/20 会議 B", 2024, 5, 20, "会議 です。"},
        {"before, after", "2024/5/20 会議 B", 2024, 5, 21, ""},
        {"after, on its date", "2024/5/20 開店 after", 2024, 5, 20, "開店 です。"},
        {"after, next day", "2024/5/20 開店 after", 2024, 5, 21, "開店 から 1 日経過しました。"},
        {"after, a year on", "2024/1/1 入社 A", 2024, 4, 10, "入社 から 100 日経過しました。"},
        {"after, before its date", "2024/5/20 開店 A", 2024, 5, 19, ""},
        {"comment", "2024/5/20 *本社 会議", 2024, 5, 20, "会議(本社) です。"},
        {"comment, counted down", "2024/5/20 *本社 会議 B", 2024, 5, 17,
         "会議(本社) まであと 3 日です。"},
        {"comment, announced", "+3 2024/5/20 *本社 会議 S", 2024, 5, 17,
         "会議(本社) まであと 3 日です。"},
        {"comment switched off", "2024/5/20 *本社 会議", 2024, 5, 20, "会議 です。", 0},
        {"empty comment", "2024/5/20 * 会議", 2024, 5, 20, "会議 です。"},
        {"star inside the field", "2024/5/20 5*3 計算", 2024, 5, 20, "計算(*3) です。"},
        {"no text after the comment", "2024/5/20 5*3", 2024, 5, 20, ""},
        {"underscores", "2024/5/20 *本_社 定例_会議", 2024, 5, 20, "定例 会議(本 社) です。"},
        {"2/30 after: today on 1 March", "2024/2/30 x A", 2024, 3, 1, "x です。"},
        {"2/30 after: counted on", "2024/2/30 x A", 2024, 3, 2, "x から 1 日経過しました。"},
        {"2/30 before: counted down", "2024/2/30 x B", 2024, 2, 29, "x まであと 1 日です。"},
        {"2/30 plain: never today", "2024/2/30 x", 2024, 3, 1, ""},
        {"2/30 stop: announced by serial day", "+3 2024/2/30 x S", 2024, 2, 28,
         "x まであと 2 日です。"},
        {"2/30 stop: not today on 1 March", "+3 2024/2/30 x S", 2024, 3, 1, ""},
        {"across the year end", "+5 2025/1/2 x S", 2024, 12, 30, "x まであと 3 日です。"},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.state.settings.Comment = c.comment;
        h.table(Kind::Schedule, "SCHEDULE.TBL", std::string(c.line) + "\n");
        const auto lines = h.report(c.year, c.month, c.day);
        if (c.text.empty())
            EXPECT_TRUE(lines.empty()) << c.name;
        else
            EXPECT_EQ(SectionHarness::texts(lines), (Strings{"", kHeading, c.text})) << c.name;
    }
}

TEST(Schedules, LineColours)
{
    struct ColourCase
    {
        const char* name;
        std::string_view line;
        std::uint16_t day;
        std::uint8_t yuusen, koumoku;
        WinColour colour;
    };
    const ColourCase cases[] = {
        {"colour letter taken as the mark", "2024/5/20 会議 R", 20, 0, 0, kBaseF},
        {"mark then colour", "2024/5/20 会議 N R", 20, 0, 0, kRed},
        {"Yuusen ignores the colour", "2024/5/20 会議 N R", 20, 1, 0, kBaseF},
        {"kind colour", "2024/5/20 会議 N R", 20, 1, 1, kSFC},
        {"counted-up item is no stop entry", "2024/5/1 会議 A R", 20, 1, 1, kSFC},
        {"stop ahead", "+3 2024/5/20 会議 S G", 17, 1, 1, kZengoF},
        {"stop on its date", "+3 2024/5/20 会議 S G", 20, 1, 0, kStopF},
        {"stop, own colour", "+3 2024/5/20 会議 S G", 17, 0, 0, kGreen},
    };
    for (const ColourCase& c : cases) {
        SectionHarness h;
        h.state.settings.Yuusen = c.yuusen;
        h.state.settings.Koumoku = c.koumoku;
        h.table(Kind::Schedule, "SCHEDULE.TBL", std::string(c.line) + "\n");
        const auto lines = h.report(2024, 5, c.day);
        ASSERT_EQ(lines.size(), 3u) << c.name;
        EXPECT_EQ(lines[2].colour, c.colour) << c.name;
    }
}

TEST(Schedules, OnlyStopItemsTouchTheWindow)
{
    SectionHarness h;
    h.state.settings.Sotowaku = 1;
    h.state.settings.StopEnd = 1;
    h.state.settings.ZengEnd = 1;
    h.table(Kind::Schedule, "SCHEDULE.TBL",
            "2024/5/20 plain\n2024/5/1 after A\n2024/6/1 before B\n+3 2024/5/20 stop N\n");
    EXPECT_EQ(h.report(2024, 5, 20).size(), 6u);
    EXPECT_EQ(h.pane.background(), kBaseB);
    EXPECT_EQ(h.state.report.stopToday, 0);
    EXPECT_EQ(h.state.countdown, 30);
}

} // namespace
} // namespace tira::test
