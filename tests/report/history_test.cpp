#include "report/reminder_harness.h"
#include "report/table_sections.h"
#include "support/parsed_line.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

using Lines = std::vector<std::string>;

constexpr WinColour kHFC = 0x00AAAA;
constexpr WinColour kTanjyou = 0xAA0000;
constexpr WinColour kMeinichi = 0x777777;

class HistorySection : public ::testing::Test
{
  protected:
    HistorySection() : h(Kind::History)
    {
        Settings& s = h.state.settings;
        s.HFC = kHFC;
        s.Tanjyou = kTanjyou;
        s.Meinichi = kMeinichi;
        s.filesOf(Kind::History) = {h.home.file("HISTORY.TBL")};
    }
    Lines texts(const char* table, Date date)
    {
        h.home.writeTable("HISTORY.TBL", table);
        return h.texts(date);
    }
    test::ReminderHarness h;
};

TEST_F(HistorySection, LinesOnTheirDays)
{
    struct Case
    {
        const char* table;
        Date date;
        Lines expected;
    };
    const Case cases[] = {
        {"1868/10/23 E 改元", {2024, 10, 23}, {"1868/10/23 改元"}},
        {"1868/10/23 E 改元", {1999, 10, 23}, {"1868/10/23 改元"}},
        {"1868/10/23 E 改元", {2024, 10, 24}, {}},
        {"1900/5/1 B 1980/7/2 山田_太郎", {2024, 5, 1}, {"1900/5/1 山田 太郎 生誕"}},
        {"1900/5/1 B 1980/7/2 山田_太郎", {2024, 7, 2}, {"1980/7/2 山田 太郎 命日"}},
        {"1900/5/1 B ? 山田_太郎_誕生", {2024, 5, 1}, {"1900/5/1 山田 太郎 誕生"}},
        {"1900/5/1 B ? 山田_太郎_誕生", {2024, 1, 1}, {}},
        {"1980/7/2 D 1900/5/1 山田_太郎", {2024, 5, 1}, {"1900/5/1 山田 太郎 生誕"}},
        {"1980/7/2 D 1900/5/1 山田_太郎", {2024, 7, 2}, {"1980/7/2 山田 太郎 命日"}},
        // a birth or death word already in the text stands for the mark
        {"1980/7/2 D 1900/5/1 山田_太郎_逝去", {2024, 7, 2}, {"1980/7/2 山田 太郎 逝去"}},
        {"1980/7/2 D 1900/5/1 山田_太郎_逝去", {2024, 5, 1}, {"1900/5/1 山田 太郎 逝去 生誕"}},
        {"1900/5/1 B 1980/7/2 崩御した人_出生", {2024, 7, 2}, {"1980/7/2 崩御した人 出生"}},
        {"1900/5/1 B 1980/7/2 生まれる日", {2024, 5, 1}, {"1900/5/1 生まれる日"}},
        {"1900/5/1 D 1800/5/2 死ぬ", {2024, 5, 1}, {"1900/5/1 死ぬ"}},
        {"1900/5/1 E 生誕の碑", {2024, 5, 1}, {"1900/5/1 生誕の碑"}},
        // the second date: "?" parts and open dates
        {"1900/5/1 D ?/7/2 x", {2024, 7, 2}, {"0/7/2 x 生誕"}},
        {"1900/5/1 D 1800/?/2 x", {2024, 7, 2}, {}},
        {"?/1/1 E 元日", {2024, 1, 1}, {"?/1/1 元日"}},
        {"紀元前660/2/11 e 建国", {2024, 2, 11}, {"紀元前660/2/11 建国"}},
        {"1900/5/1 E two words", {2024, 5, 1}, {"1900/5/1 two"}},
        {"1900/05/01 E x", {2024, 5, 1}, {"1900/05/01 x"}},
        {"1900/5/1 B 1980/7 x", {2024, 5, 1}, {}},
        {"1900/5 E x", {2024, 5, 1}, {}},
        // both dates on the same day: one line, for the first date
        {"1900/5/1 B 1980/5/1 x", {2024, 5, 1}, {"1900/5/1 x 生誕"}},
        // an unknown kind shows its date and the read-error text
        {"1900/5/1 X whatever", {2024, 5, 1}, {"1900/5/1 読み取りエラー"}},
        {"1900/5/1 X 1980/7/2 whatever", {2024, 7, 2}, {}},
        // day 29 of February only in leap years; no rollover into March
        {"2000/2/29 E 閏日", {2024, 2, 29}, {"2000/2/29 閏日"}},
        {"2000/2/29 E 閏日", {2025, 3, 1}, {}},
        {"1868/10/23 E a\n1900/10/23 E b\n1900/10/24 E c",
         {2024, 10, 23},
         {"1868/10/23 a", "1900/10/23 b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(texts(c.table, c.date), c.expected) << c.table;
}

TEST_F(HistorySection, Colours)
{
    const char* table = "1900/5/1 E event red\n"
                        "1900/5/1 B 1980/7/2 birth blue\n"
                        "1980/5/1 D 1900/7/2 death\n"
                        "1900/5/1 Q other green";
    struct Run
    {
        std::uint8_t yuusen, koumoku, meiTan;
        std::vector<WinColour> expected; // E, B, D, unknown kind
    };
    Settings& s = h.state.settings;
    const WinColour base = s.BaseF;
    const Run runs[] = {
        {1, 1, 0, {kHFC, kHFC, kHFC, kHFC}},
        {1, 0, 0, {base, base, base, base}},
        {1, 1, 1, {kHFC, kTanjyou, kMeinichi, kHFC}},
        {0, 0, 0, {0x0000FF, 0xFF0000, base, 0x00FF00}},
        {0, 1, 1, {0x0000FF, kTanjyou, kMeinichi, 0x00FF00}},
    };
    h.home.writeTable("HISTORY.TBL", table);
    for (const Run& run : runs) {
        s.Yuusen = run.yuusen;
        s.Koumoku = run.koumoku;
        s.HistMeiTan = run.meiTan;
        const auto lines = h.report({2024, 5, 1});
        ASSERT_EQ(lines.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(lines[i].colour, run.expected[i])
                << int(run.yuusen) << int(run.koumoku) << int(run.meiTan) << " line " << i;
    }
    // on the second dates the kinds swap: the birth entry's death day is a death
    s.Yuusen = 1;
    s.HistMeiTan = 1;
    const auto lines = h.report({2024, 7, 2});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "1980/7/2 birth 命日");
    EXPECT_EQ(lines[0].colour, kMeinichi);
    EXPECT_EQ(lines[1].text, "1900/7/2 death 生誕");
    EXPECT_EQ(lines[1].colour, kTanjyou);
}

TEST_F(HistorySection, MonthlyFileOrderAndPatterns)
{
    Settings& s = h.state.settings;
    h.home.writeTable("HISTORY.TBL", "1941/12/8 E listed");
    h.home.writeTable("HIST12.TBL", "1941/12/8 E monthly\n1900/12/9 E tomorrow");
    h.home.writeTable("HIST01.TBL", "1941/12/8 E january-file");
    EXPECT_EQ(h.texts({2024, 12, 8}), Lines{"1941/12/8 listed"});
    s.IncMH = 1;
    s.HisMFile = h.home.file("HIST%m.TBL");
    EXPECT_EQ(h.texts({2024, 12, 8}), (Lines{"1941/12/8 monthly", "1941/12/8 listed"}));
    s.YsenH = 0;
    EXPECT_EQ(h.texts({2024, 12, 8}), (Lines{"1941/12/8 listed", "1941/12/8 monthly"}));
    EXPECT_EQ(h.texts({2024, 12, 9}), Lines{"1900/12/9 tomorrow"});
    // only the report month's file is read; its entries match by their own dates
    h.home.writeTable("HIST01.TBL", "1900/12/10 E from-january");
    EXPECT_EQ(h.texts({2025, 1, 8}), Lines{});
    EXPECT_EQ(h.texts({2024, 12, 10}), Lines{});
    s.HisMFile = h.home.file("hist%M.tbl");
    h.home.writeTable("hist12.tbl", "1941/12/8 E upper");
    EXPECT_EQ(h.texts({2024, 12, 8}), (Lines{"1941/12/8 listed", "1941/12/8 upper"}));
    s.HisMFile = h.home.file("HIST.TBL");
    EXPECT_EQ(h.texts({2024, 12, 8}), Lines{"1941/12/8 listed"});
}

TEST(HistoryEntry, FirstDateWinsAndKindsSwap)
{
    const test::Parsed<HisLine> parsed("1980/7/2 D 1900/5/1 x");
    ASSERT_GT(parsed.verdict(), 0);
    const Settings settings;
    const auto birth = historyEntry(parsed.line, computeCalendarFacts({2024, 5, 1}), settings);
    ASSERT_TRUE(birth);
    EXPECT_EQ(birth->text, "1900/5/1 x 生誕");
    const auto death = historyEntry(parsed.line, computeCalendarFacts({2024, 7, 2}), settings);
    ASSERT_TRUE(death);
    EXPECT_EQ(death->text, "1980/7/2 x 命日");
    EXPECT_FALSE(historyEntry(parsed.line, computeCalendarFacts({2024, 7, 3}), settings));
}

} // namespace
} // namespace tira
