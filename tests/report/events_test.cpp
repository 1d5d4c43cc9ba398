#include "report/events.h"
#include "report/reminder_harness.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

using Lines = std::vector<std::string>;

struct Case
{
    const char* table;                  // EVENT.TBL, one rule per line
    std::vector<HolidayEntry> holidays; // the holiday table of the report
    Date date;
    Lines expected; // the event lines under the heading; empty: no section at all
};

void runCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        test::ReminderHarness h(Kind::Event);
        h.home.writeTable("EVENT.TBL", c.table);
        h.state.settings.filesOf(Kind::Event) = {h.home.file("EVENT.TBL")};
        h.useHolidays(c.holidays);
        EXPECT_EQ(h.texts(c.date), c.expected)
            << c.table << " on " << c.date.year << "-" << c.date.month << "-" << c.date.day;
    }
}

TEST(EventSection, AdvanceDaysAndSentenceEnds)
{
    runCases({
        {"+3 15 0 0 0 x", {}, {2024, 6, 11}, {}},
        {"+3 15 0 0 0 x", {}, {2024, 6, 12}, {"xまで あと 3 日です。"}},
        {"+3 15 0 0 0 x", {}, {2024, 6, 14}, {"xまで あと 1 日です。"}},
        {"+3 15 0 0 0 x", {}, {2024, 6, 15}, {"xです。"}},
        {"+3 15 0 0 0 x", {}, {2024, 6, 16}, {}},
        {"+30 15 0 0 0 x", {}, {2024, 6, 1}, {"xまで あと 14 日です。"}},
        {"+30 15 0 0 0 x", {}, {2024, 5, 31}, {}},
        {"+ 15 0 0 0 x", {}, {2024, 6, 14}, {"xまで あと 1 日です。"}},
        {"+0 15 0 0 0 x", {}, {2024, 6, 14}, {}},
        // a negative advance announces nothing ahead
        {"+-3 15 0 0 0 x", {}, {2024, 6, 12}, {}},
        {"+-3 15 0 0 0 x", {}, {2024, 6, 15}, {"xです。"}},
        {"15 0 0 0 支払い.", {}, {2024, 6, 15}, {"支払い"}},
        {"15 0 0 0 a.b.", {}, {2024, 6, 15}, {"a.b.です。"}},
        {"15 0 0 0 a.b", {}, {2024, 6, 15}, {"a.bです。"}},
        {"15 0 0 0", {}, {2024, 6, 15}, {""}},
        {"+1 15 0 0 0", {}, {2024, 6, 14}, {"まで あと 1 日です。"}},
        {"15 0 0 0 &red 月末_の.", {}, {2024, 6, 15}, {"月末 の"}},
        // after the 15th the rule refers to the 15th of the next month
        {"+14 5 0 0 0 x", {}, {2024, 12, 21}, {}},
        {"+14 5 0 0 0 x", {}, {2024, 12, 22}, {"xまで あと 14 日です。"}},
        {"15 0 0 0 x\n15 0 0 0 y\n16 0 0 0 z", {}, {2024, 6, 15}, {"xです。", "yです。"}},
        {"16 0 0 0 z", {}, {2024, 6, 15}, {}},
    });
}

TEST(EventSection, ShiftsOffSundaysSaturdaysAndHolidays)
{
    runCases({
        // 10 March 2024 is a Sunday
        {"<10 0 0 0 x", {}, {2024, 3, 9}, {"xです。"}},
        {"<10 0 0 0 x", {}, {2024, 3, 10}, {}},
        {"<10 0 0 0 x", {{3, 9, "h"}}, {2024, 3, 8}, {"xです。"}},
        {"<10 0 0 0 x", {{3, 9, "h"}}, {2024, 3, 9}, {}},
        {"<<10 0 0 0 x", {}, {2024, 3, 8}, {"xです。"}},
        {">10 0 0 0 x", {{3, 11, "h"}}, {2024, 3, 12}, {"xです。"}},
        {">10 0 0 0 x", {{3, 11, "h"}}, {2024, 3, 11}, {}},
        {">10 0 0 0 x", {}, {2024, 3, 11}, {"xです。"}},
        // 9 March is a Saturday: "<" keeps it, "<<" goes to Friday, ">>" to Monday
        {"<9 0 0 0 x", {}, {2024, 3, 9}, {"xです。"}},
        {"<<9 0 0 0 x", {}, {2024, 3, 8}, {"xです。"}},
        {">>9 0 0 0 x", {}, {2024, 3, 11}, {"xです。"}},
        {">9 0 0 0 x", {}, {2024, 3, 9}, {"xです。"}},
        // Monday 6 May 2024 follows the Sunday holiday of the 5th
        {"<6 0 0 0 x", {{5, 5, "こどもの日"}}, {2024, 5, 4}, {"xです。"}},
        {"<<6 0 0 0 x", {{5, 5, "こどもの日"}}, {2024, 5, 3}, {"xです。"}},
        {"<<6 0 0 0 x", {{5, 5, "こどもの日"}}, {2024, 5, 6}, {}},
        // holidays of another month are not looked at
        {"<10 0 0 0 x", {{4, 9, "h"}}, {2024, 3, 9}, {"xです。"}},
        // 1 May 2021 is a Saturday: the rule moves into April
        {"<<1 0 0 5 x", {}, {2021, 4, 30}, {"xです。"}},
        {"<<1 0 0 5 x", {}, {2021, 5, 1}, {}},
        // 30 April 2022 is a Saturday: the rule moves into May
        {">>30 0 0 4 x", {}, {2022, 5, 2}, {"xです。"}},
        {">>30 0 0 4 x", {}, {2022, 4, 30}, {}},
        {"+3 >>30 0 0 4 x", {}, {2022, 4, 29}, {"xまで あと 3 日です。"}},
        // 25 August 2024 is a Sunday
        {"<<25 0 0 0 x", {}, {2024, 8, 23}, {"xです。"}},
        {"<<25 0 0 0 x", {}, {2024, 8, 25}, {}},
        // the day sweeps past the month's end: 30 (= 2 March) 2025 is a Sunday
        {"+3 >>30 0 0 0 x", {}, {2025, 2, 28}, {"xまで あと 3 日です。"}},
        {"+3 >>30 0 0 0 x", {}, {2025, 2, 1}, {}},
        {"+3 >>30 0 0 2 x", {}, {2025, 2, 28}, {"xまで あと 3 日です。"}},
    });
}

TEST(EventSection, BackwardShiftPastTheFirstLandsInTheMonthBefore)
{
    runCases({
        // 1 December 2024 is a Sunday: the rule is due on Friday 29 November
        {"<<1 0 0 0 x", {}, {2024, 11, 29}, {"xです。"}},
        {"+3 <<1 0 0 0 x", {}, {2024, 11, 27}, {"xまで あと 2 日です。"}},
        {"<<1 0 0 0 x", {}, {2024, 11, 30}, {}},
        {"<<1 0 0 0 x", {}, {2024, 12, 1}, {}},
        {"<<1 0 0 0 x", {}, {2024, 12, 31}, {}},
        {"<<1 0 0 12 x", {}, {2024, 11, 29}, {"xです。"}},
        // 1 September 2024 is a Sunday
        {"<1 0 0 0 x", {}, {2024, 8, 31}, {"xです。"}},
        {"<1 0 0 9 x", {}, {2024, 8, 31}, {"xです。"}},
        {"<<1 0 0 9 x", {}, {2024, 8, 30}, {"xです。"}},
        {"+14 <1 0 0 0 x", {}, {2024, 9, 20}, {"xまで あと 11 日です。"}},
        // a January rule shifted into December counts in the report year: 1 January 2023
        // is a Sunday, so the rule is due on Friday 30 December 2022
        {"<<1 0 0 1 x", {{1, 1, "元日"}}, {2022, 12, 30}, {"xです。"}},
        {"<<1 0 0 1 x", {{1, 1, "元日"}}, {2022, 12, 31}, {}},
        {"<<1 0 0 1 x", {{1, 1, "元日"}}, {2023, 1, 1}, {}},
        // and a December rule shifted into January: 31 December 2023 is a Sunday
        {">31 0 0 12 x", {}, {2024, 1, 1}, {"xです。"}},
        {"+3 >31 0 0 12 x", {}, {2023, 12, 29}, {"xまで あと 3 日です。"}},
        {"31 0 0 12 x", {}, {2024, 1, 1}, {}},
        // a rule without a month read in January of the next year
        {"<<1 0 0 0 x", {{1, 1, "元日"}}, {2024, 12, 31}, {"xです。"}},
    });
}

TEST(EventSection, DayForms)
{
    runCases({
        {"-1 0 0 0 x", {}, {2024, 2, 29}, {"xです。"}},
        {"-1 0 0 0 x", {}, {2024, 2, 28}, {}},
        {"-3 0 0 0 x", {}, {2024, 4, 28}, {"xです。"}},
        // counted from the end of the month the rule names
        {"-1 0 0 2 x", {}, {2025, 2, 28}, {"xです。"}},
        {"-1 0 0 2 x", {}, {2025, 3, 3}, {}},
        {"-31 0 0 4 x", {}, {2024, 4, 1}, {}},
        {"1-7 0 0 8 x", {}, {2024, 8, 1}, {"xです。"}},
        {"1-7 0 0 8 x", {}, {2024, 8, 7}, {"xです。"}},
        {"1-7 0 0 8 x", {}, {2024, 8, 8}, {}},
        {"+3 1-7 0 0 8 x", {}, {2024, 7, 29}, {"xまで あと 3 日です。"}},
        {"+3 1-7 0 0 8 x", {}, {2024, 7, 28}, {}},
        {"10-20 0 0 0 x", {}, {2024, 6, 15}, {"xです。"}},
        {"+2 10-20 0 0 0 x", {}, {2024, 6, 8}, {"xまで あと 2 日です。"}},
        {"5- 0 0 0 x", {}, {2024, 6, 5}, {}},
        {"5-x 0 0 0 x", {}, {2024, 6, 5}, {}},
        {"&10 0 0 0 x", {}, {2024, 6, 10}, {"(未対応)"}},
        {"+3 &10 0 0 0 x", {}, {2024, 6, 7}, {"(未対応)"}},
        {"&10 0 0 0 x", {}, {2024, 6, 11}, {}},
    });
}

TEST(EventSection, DecisionTable)
{
    runCases({
        // case 1: nothing to go by
        {"0 0 0 0 x", {}, {2024, 6, 10}, {}},
        // case 3: a 13th that is a Friday (13 September and 13 December 2024)
        {"13 6 0 0 x", {}, {2024, 9, 13}, {"xです。"}},
        {"13 6 0 0 x", {}, {2024, 6, 13}, {}},
        {"+14 13 6 0 0 x", {}, {2024, 12, 1}, {"xまで あと 12 日です。"}},
        {"+14 13 6 0 0 x", {}, {2024, 11, 30}, {"xまで あと 13 日です。"}},
        // case 4: every Monday; 10 June 2024 is a Monday
        {"0 2 0 0 x", {}, {2024, 6, 10}, {"xです。"}},
        {"0 2 0 0 x", {}, {2024, 6, 11}, {}},
        {"+2 0 2 0 0 x", {}, {2024, 6, 8}, {"xまで あと 2 日です。"}},
        {"+3 0 2 0 0 x", {}, {2024, 5, 31}, {"xまで あと 3 日です。"}},
        {"+3 0 5 0 0 x", {}, {2024, 12, 30}, {"xまで あと 3 日です。"}},
        {"+14 0 8 0 0 x", {}, {2024, 6, 10}, {}},
        // case 5: the 10th when it stands in the second row (October 2024, not June)
        {"10 0 2 0 x", {}, {2024, 10, 10}, {"xです。"}},
        {"10 0 2 0 x", {}, {2024, 6, 10}, {}},
        // case 6: the first day of a row; June 2024 begins on a Saturday
        {"0 0 1 0 x", {}, {2024, 6, 1}, {"xです。"}},
        {"0 0 2 0 x", {}, {2024, 6, 2}, {"xです。"}},
        {"0 0 2 0 x", {}, {2024, 6, 3}, {}},
        {"0 0 !10 0 x", {}, {2024, 3, 3}, {"xです。"}},
        {"0 0 !10 0 x", {}, {2024, 3, 4}, {}},
        // case 7
        {"13 6 2 0 x", {}, {2024, 9, 13}, {"xです。"}},
        {"13 6 3 0 x", {}, {2024, 9, 13}, {}},
        {"13 6 !37 0 x", {}, {2024, 9, 13}, {"xです。"}},
        // case 8: the second Tuesday, the fifth Monday
        {"0 3 2 0 x", {}, {2024, 10, 8}, {"xです。"}},
        {"0 3 2 0 x", {}, {2024, 10, 1}, {}},
        {"+7 0 3 2 0 x", {}, {2024, 10, 1}, {"xまで あと 7 日です。"}},
        {"+5 0 2 5 0 x", {}, {2024, 2, 28}, {"xまで あと 5 日です。"}},
        {"+5 0 2 5 0 x", {}, {2024, 3, 4}, {}},
        {"0 2 5 0 x", {}, {2024, 4, 29}, {"xです。"}},
        // case 8 with a week of the year: Monday of week 10 of 2024 is 4 March
        {"0 2 !10 0 x", {}, {2024, 3, 4}, {"xです。"}},
        {"+3 0 2 !10 0 x", {}, {2024, 3, 1}, {"xまで あと 3 日です。"}},
        {"0 2 !10 0 x", {}, {2024, 3, 11}, {}},
        {"0 7 !1 0 x", {}, {2024, 1, 6}, {"xです。"}},
        {"+7 0 1 !1 0 x", {}, {2024, 1, 1}, {}}, // 31 December 2023 is not in 2024
        // case 9
        {"+3 25 0 0 12 x", {}, {2024, 12, 22}, {"xまで あと 3 日です。"}},
        {"+3 25 0 0 12 x", {}, {2024, 12, 21}, {}},
        {"0 0 0 5 x", {}, {2024, 5, 20}, {"xです。"}},
        {"0 0 0 5 x", {}, {2024, 6, 20}, {}},
        // a January rule is not announced in December
        {"+14 1 0 0 1 x", {}, {2024, 12, 30}, {}},
        // case 10: every Monday of May
        {"0 2 0 5 x", {}, {2024, 5, 6}, {"xです。"}},
        {"0 2 0 5 x", {}, {2024, 5, 7}, {}},
        // case 11: every day of the second row of May (5 to 11 May 2024)
        {"0 0 2 5 x", {}, {2024, 5, 7}, {"xです。"}},
        {"0 0 2 5 x", {}, {2024, 5, 12}, {}},
        // case 12
        {"0 3 2 10 x", {}, {2024, 10, 8}, {"xです。"}},
        {"0 3 2 10 x", {}, {2024, 10, 15}, {}},
    });
}

TEST(EventSection, WeekFormsThatRestrictNothingOrNeverMatch)
{
    runCases({
        {"10 0 -1 0 x", {}, {2024, 6, 10}, {}},
        {"10 0 !-1 0 x", {}, {2024, 6, 10}, {}},
        {"0 2 -1 0 x", {}, {2024, 6, 24}, {}},
        {"0 0 %1 0 x", {}, {2024, 6, 10}, {}},
        {"15 0 %2 0 x", {}, {2024, 6, 15}, {"xです。"}},
        {"15 0 %1 0 x", {}, {2024, 6, 15}, {"xです。"}},
        {"0 2 %1 0 x", {}, {2024, 6, 10}, {"xです。"}},
    });
}

TEST(EventSection, CommaLists)
{
    runCases({
        {"+3 10,20,30 0 0 0 Pay", {}, {2024, 6, 17}, {"Payまで あと 3 日です。"}},
        {"+3 10,20,30 0 0 0 Pay", {}, {2024, 6, 20}, {"Payです。"}},
        {"5 0 0 0 Tea, coffee", {}, {2024, 6, 5}, {"Tea coffeeです。", "coffeeです。"}},
        {"0 0 0 1,2", {}, {2024, 1, 10}, {"1 2です。"}},
        {"0 0 0 1,2", {}, {2024, 2, 10}, {""}},
        // 20 July 2024 is a Saturday
        {"<<5,20 0 0 0 x", {}, {2024, 7, 19}, {"xです。"}},
        {"<<5,20 0 0 0 x", {}, {2024, 7, 5}, {"xです。"}},
        {"1,,2 0 0 0 x", {}, {2024, 6, 2}, {"xです。"}},
        {",,,", {}, {2024, 6, 2}, {}},
        {"15,15 0 0 0 x", {}, {2024, 6, 15}, {"xです。", "xです。"}},
        {"15 0 0 0 \"a,b\"", {}, {2024, 6, 15}, {"a  a b\"です。", "b\"です。"}},
    });
}

TEST(EventSection, OutOfRangeValuesNeverMatch)
{
    const char* const rules[] = {
        "65535 0 0 0 x",
        "0 0 0 65535 x",
        "0 0 65535 0 x",
        "0 2 65535 0 x",
        "99999 0 0 0 x",
        "0 0 0 99999 x",
        "+14 >>65535 0 0 0 x",
        "<<65535 0 0 0 x",
        "-65535 0 0 0 x",
        "0 2 !65535 0 x",
        "0 0 !65535 0 x",
        "<-5 0 0 0 x",
        "--5 0 0 0 x",
        "0 -1 0 0 x",
        "1 0 0 -1 x",
        "0 9 0 0 x",
        "2147483647 7 2147483647 2147483647 x",
        "0 0 !0 0 x",
    };
    std::vector<Case> cases;
    for (const char* rule : rules)
        for (const Date date : {Date{2024, 6, 10}, Date{2024, 12, 31}, Date{2025, 1, 1}})
            cases.push_back({rule, {{12, 31, "h"}}, date, {}});
    runCases(cases);
}

TEST(EventSection, LineColours)
{
    test::ReminderHarness h(Kind::Event);
    h.home.writeTable("EVENT.TBL", "15 0 0 0 &red r\n15 0 0 0 plain\n15 0 0 0 &Blue b\n"
                                   "15 0 0 0 RED word\n&15 0 0 0 &g u");
    h.state.settings.filesOf(Kind::Event) = {h.home.file("EVENT.TBL")};
    Settings& s = h.state.settings;
    s.EFC = 0x00AA00;
    const WinColour base = s.BaseF;
    struct Colours
    {
        std::uint8_t yuusen, koumoku;
        std::vector<WinColour> expected;
    };
    const Colours runs[] = {
        {0, 0, {0x0000FF, base, 0xFF0000, base, 0x00FF00}},
        {0, 1, {0x0000FF, base, 0xFF0000, base, 0x00FF00}},
        {1, 1, {0x00AA00, 0x00AA00, 0x00AA00, 0x00AA00, 0x00AA00}},
        {1, 0, {base, base, base, base, base}},
    };
    for (const Colours& run : runs) {
        s.Yuusen = run.yuusen;
        s.Koumoku = run.koumoku;
        const auto lines = h.report({2024, 6, 15});
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[3].text, "RED wordです。");
        EXPECT_EQ(lines[4].text, "(未対応)");
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].colour, run.expected[i]) << int(run.yuusen) << int(run.koumoku) << i;
    }
    // the heading is drawn in the base colour, and events never touch the frame
    EXPECT_EQ(h.pane.background(), s.BaseB);
    EXPECT_EQ(h.state.report.stopToday, 0);
}

class MonthlyEventFiles : public ::testing::Test
{
  protected:
    MonthlyEventFiles() : h(Kind::Event)
    {
        h.state.settings.IncME = 1;
        h.state.settings.EveMFile = h.home.file("EVENT%m.TBL");
    }
    test::ReminderHarness h;
};

TEST_F(MonthlyEventFiles, ReportMonthAndNextMonthWithTheirMonthsForced)
{
    h.home.writeTable("EVENT03.TBL", "+3 2 0 0 0 march\n+3 2 0 0 7 march-july");
    h.home.writeTable("EVENT04.TBL", "+3 2 0 0 0 april\n+3 2 0 0 9 april-september");
    h.home.writeTable("EVENT05.TBL", "+14 1 0 0 0 may");
    EXPECT_EQ(h.texts({2024, 3, 30}),
              (Lines{"aprilまで あと 3 日です。", "april-septemberまで あと 3 日です。"}));
    h.state.settings.IncME = 0;
    EXPECT_EQ(h.texts({2024, 3, 30}), Lines{});
}

TEST_F(MonthlyEventFiles, DecemberReadsJanuaryOfTheSameYear)
{
    h.home.writeTable("EVENT12.TBL", "+3 31 0 0 0 dec");
    h.home.writeTable("EVENT01.TBL", "+5 1 0 0 0 jan\n0 0 0 0 every\n0 4 0 0 wed");
    EXPECT_EQ(h.texts({2024, 12, 30}), Lines{"decまで あと 1 日です。"});
    // in January the same files are the report month's and the month before's
    h.home.writeTable("EVENT01.TBL", "30 0 0 0 jan");
    h.home.writeTable("EVENT02.TBL", "+3 1 0 0 0 feb");
    EXPECT_EQ(h.texts({2025, 1, 30}), (Lines{"janです。", "febまで あと 2 日です。"}));
}

TEST_F(MonthlyEventFiles, OrderAndPatterns)
{
    h.home.writeTable("EVENT06.TBL", "15 0 0 0 monthly");
    h.home.writeTable("ev06.tbl", "15 0 0 0 upper");
    h.home.writeTable("EVENT.TBL", "15 0 0 0 listed");
    h.state.settings.filesOf(Kind::Event) = {h.home.file("EVENT.TBL")};
    EXPECT_EQ(h.texts({2024, 6, 15}), (Lines{"monthlyです。", "listedです。"}));
    h.state.settings.YsenE = 0;
    EXPECT_EQ(h.texts({2024, 6, 15}), (Lines{"listedです。", "monthlyです。"}));
    h.state.settings.EveMFile = h.home.file("ev%M.tbl");
    EXPECT_EQ(h.texts({2024, 6, 15}), (Lines{"listedです。", "upperです。"}));
    h.state.settings.EveMFile = h.home.file("EVENT.TBL"); // no month in the pattern
    EXPECT_EQ(h.texts({2024, 6, 15}), Lines{"listedです。"});
}

TEST(MonthlyFilePath, ReplacesTheFirstMonthMark)
{
    EXPECT_EQ(monthlyFilePath("EVENT%m.TBL", 3), "EVENT03.TBL");
    EXPECT_EQ(monthlyFilePath("E%m%m.TBL", 12), "E12%m.TBL");
    EXPECT_EQ(monthlyFilePath("E%M-%m.TBL", 1), "E%M-01.TBL");
    EXPECT_EQ(monthlyFilePath("E%M.TBL", 10), "E10.TBL");
    EXPECT_EQ(monthlyFilePath("EVENT.TBL", 3), std::nullopt);
    EXPECT_EQ(monthlyFilePath("E%", 3), std::nullopt);
}

TEST(EventSection, ListedPathsAreCompletedAndMissingFilesSkipped)
{
    test::ReminderHarness h(Kind::Event);
    h.home.writeTable("EVENT.TBL", "15 0 0 0 x");
    auto& files = h.state.settings.filesOf(Kind::Event);
    files = {h.home.file("MISSING.TBL"), ".\\EVENT.TBL"};
    EXPECT_EQ(h.texts({2024, 6, 15}), Lines{"xです。"});
    EXPECT_NE(files[1], ".\\EVENT.TBL");
    EXPECT_TRUE(files[1].ends_with("EVENT.TBL"));
}

TEST(Judge, TodayAheadAndBehindAndTheFirstDueDayThatMatches)
{
    const auto judge = [](std::initializer_list<std::int32_t> serials, std::int32_t today,
                          std::int32_t advance) {
        DueDays due;
        for (const std::int32_t serial : serials)
            due.add(serial);
        const EventMatch match = Judge(due, today, advance);
        return std::pair{match.result, match.daysToGo};
    };
    EXPECT_EQ(judge({100}, 100, 0), std::pair(1, 0));
    EXPECT_EQ(judge({101}, 100, 0), std::pair(0, 0));
    EXPECT_EQ(judge({103}, 100, 3), std::pair(2, 3));
    EXPECT_EQ(judge({104}, 100, 3), std::pair(0, 0));
    EXPECT_EQ(judge({99}, 100, 14), std::pair(0, 0));
    EXPECT_EQ(judge({101}, 100, -3), std::pair(0, 0));
    EXPECT_EQ(judge({INT32_MAX}, INT32_MIN, 14), std::pair(0, 0));
    EXPECT_EQ(judge({90, 102}, 100, 3), std::pair(2, 2));
    EXPECT_EQ(judge({}, 100, 3), std::pair(0, 0));
}

} // namespace
} // namespace tira
