#include "report/section_harness.h"

#include <gtest/gtest.h>

namespace tira::test {
namespace {

const std::string kHeading = "-=-=-=- 誕生日 -=-=-=-";

struct Day
{
    std::uint16_t year, month, day;
};

// One birthday line on one report date: the section's only entry line, or none.
struct Case
{
    const char* name;
    std::string_view line;
    Day date;
    std::string text; // empty: the section writes nothing
};

void runCases(const std::vector<Case>& cases, std::uint8_t age = 1)
{
    for (const Case& c : cases) {
        SectionHarness h;
        h.state.settings.Age = age;
        h.table(Kind::Birthday, "BIRTH.TBL", std::string(c.line) + "\n");
        const auto lines = h.report(c.date.year, c.date.month, c.date.day);
        if (c.text.empty()) {
            EXPECT_TRUE(lines.empty()) << c.name;
        } else {
            EXPECT_EQ(SectionHarness::texts(lines), (Strings{"", kHeading, c.text})) << c.name;
        }
    }
}

TEST(Birthdays, DayAndAdvanceWindow)
{
    const std::string ahead = "山田 太郎 さんの誕生日まで あと ";
    const std::string today = "今日は 山田 太郎 さんの 34 回目の誕生日です。";
    runCases({
        {"on the day", "1990/5/12 x 山田_太郎", {2024, 5, 12}, today},
        {"day before without advance", "1990/5/12 x 山田_太郎", {2024, 5, 11}, ""},
        {"three ahead, first day", "+3 1990/5/12 x 山田_太郎", {2024, 5, 9}, ahead + "3 日です。"},
        {"three ahead, last day", "+3 1990/5/12 x 山田_太郎", {2024, 5, 11}, ahead + "1 日です。"},
        {"three ahead, on the day", "+3 1990/5/12 x 山田_太郎", {2024, 5, 12}, today},
        {"three ahead, too early", "+3 1990/5/12 x 山田_太郎", {2024, 5, 8}, ""},
        {"three ahead, after", "+3 1990/5/12 x 山田_太郎", {2024, 5, 13}, ""},
        {"lone plus", "+ 1990/5/12 x 山田_太郎", {2024, 5, 11}, ahead + "1 日です。"},
        {"lone plus, two before", "+ 1990/5/12 x 山田_太郎", {2024, 5, 10}, ""},
        {"capped at 14", "+99 1990/5/12 x 山田_太郎", {2024, 4, 28}, ahead + "14 日です。"},
        {"capped at 14, 15 before", "+99 1990/5/12 x 山田_太郎", {2024, 4, 27}, ""},
        {"plus zero", "+0 1990/5/12 x 山田_太郎", {2024, 5, 11}, ""},
        {"negative advance", "+-3 1990/5/12 x 山田_太郎", {2024, 5, 11}, ""},
        {"two entry fields", "1990/5/12 山田_太郎", {2024, 5, 12}, ""},
        {"comment after the fields", "1990/5/12 x 山田_太郎 # 1990/5/12 x y", {2024, 5, 12}, today},
    });
}

TEST(Birthdays, MonthAndYearEnds)
{
    runCases({
        {"January from December",
         "+14 2000/1/1 x T",
         {2024, 12, 25},
         "T さんの誕生日まで あと 7 日です。"},
        {"8 January is the last announced",
         "+14 2000/1/8 x T",
         {2024, 12, 25},
         "T さんの誕生日まで あと 14 日です。"},
        {"9 January is too far", "+14 2000/1/9 x T", {2024, 12, 25}, ""},
        {"January birthday in January",
         "2000/1/5 x T",
         {2024, 1, 5},
         "今日は T さんの 24 回目の誕生日です。"},
        {"December birthday in December",
         "+3 2000/12/31 x T",
         {2024, 12, 29},
         "T さんの誕生日まで あと 2 日です。"},
        {"February is not taken from December", "+14 2000/2/1 x T", {2024, 12, 31}, ""},
        {"across a month end",
         "+14 2000/2/2 x T",
         {2024, 1, 20},
         "T さんの誕生日まで あと 13 日です。"},
        {"29 February in a leap year",
         "2000/2/29 x T",
         {2024, 2, 29},
         "今日は T さんの 24 回目の誕生日です。"},
        {"29 February counts as 1 March",
         "2000/2/29 x T",
         {2023, 3, 1},
         "今日は T さんの 23 回目の誕生日です。"},
        {"not on 28 February", "2000/2/29 x T", {2023, 2, 28}, ""},
        {"negative age", "2030/5/12 x T", {2024, 5, 12}, "今日は T さんの -6 回目の誕生日です。"},
    });
}

TEST(Birthdays, AgeOff)
{
    runCases({{"age off",
               "1990/5/12 x 山田_太郎",
               {2024, 5, 12},
               "今日は 山田 太郎 さんの 誕生日です。"}},
             0);
}

TEST(Birthdays, LineColours)
{
    struct ColourCase
    {
        const char* name;
        std::string_view line;
        std::uint8_t day;
        std::uint8_t yuusen, koumoku;
        WinColour colour;
    };
    const ColourCase cases[] = {
        {"stop ahead, Yuusen", "+3 1990/5/12 x Taro note STOP r", 9, 1, 0, kZengoF},
        {"stop on the day, Yuusen", "+3 1990/5/12 x Taro note STOP r", 12, 1, 1, kStopF},
        {"stop ahead, own colour", "+3 1990/5/12 x Taro note STOP r", 9, 0, 0, kRed},
        {"stop on the day, own colour", "+3 1990/5/12 x Taro note STOP r", 12, 0, 1, kRed},
        {"ordinary, Yuusen", "1990/5/12 x Taro note N R", 12, 1, 0, kBaseF},
        {"ordinary, Yuusen and Koumoku", "1990/5/12 x Taro note N R", 12, 1, 1, kBFC},
        {"ordinary, own colour", "1990/5/12 x Taro note N R", 12, 0, 1, kRed},
        {"unknown colour word", "1990/5/12 x Taro note N orange", 12, 0, 0, kBaseF},
        {"stop without colour, Yuusen off", "1990/5/12 x Taro note S", 12, 0, 0, kBaseF},
    };
    for (const ColourCase& c : cases) {
        SectionHarness h;
        h.state.settings.Yuusen = c.yuusen;
        h.state.settings.Koumoku = c.koumoku;
        h.table(Kind::Birthday, "BIRTH.TBL", std::string(c.line) + "\n");
        const auto lines = h.report(2024, 5, c.day);
        ASSERT_EQ(lines.size(), 3u) << c.name;
        EXPECT_EQ(lines[1].colour, kBaseF) << c.name; // the heading
        EXPECT_EQ(lines[2].colour, c.colour) << c.name;
    }
}

TEST(Birthdays, WorkedExampleAheadAndOnTheDay)
{
    SectionHarness h;
    Settings& s = h.state.settings;
    s.Sotowaku = 1;
    s.ZengEnd = 1;
    s.WavOn = 1;
    s.WavFile = "/sounds/alert.wav";
    h.table(Kind::Birthday, "BIRTH.TBL", "+3 1990/5/12 x 山田_太郎 友人 S\n");

    auto lines = h.report(2024, 5, 9);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "");
    EXPECT_EQ(lines[1].text, kHeading);
    EXPECT_EQ(lines[2].text, "山田 太郎 さんの誕生日まで あと 3 日です。");
    EXPECT_EQ(lines[2].colour, kZengoF);
    EXPECT_EQ(h.pane.background(), kZengoB);
    EXPECT_EQ(h.state.countdown, kHeldCountdown);
    EXPECT_EQ(h.state.report.stopToday, 0);
    EXPECT_TRUE(h.pane.sounds.empty());

    lines = h.report(2024, 5, 12);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].text, "今日は 山田 太郎 さんの 34 回目の誕生日です。");
    EXPECT_EQ(lines[2].colour, kStopF);
    EXPECT_EQ(h.pane.background(), kStopB);
    EXPECT_EQ(h.state.report.stopToday, 1);
    EXPECT_EQ(h.state.countdown, 30); // StopEnd is off
    EXPECT_EQ(h.pane.sounds, (Strings{"/sounds/alert.wav"}));
    EXPECT_EQ(h.state.soundPlayed, "/sounds/alert.wav");
}

} // namespace
} // namespace tira::test
