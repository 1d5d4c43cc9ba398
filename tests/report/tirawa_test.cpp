// The report driver: header lines, display order, switches, countdown start and alert.
#include "report/section_harness.h"

#include <gtest/gtest.h>

namespace tira::test {
namespace {

// One table per kind, each with an entry on 8 December 2026.
void listOneEntryPerKind(SectionHarness& h)
{
    h.table(Kind::Birthday, "B.TBL", "2000/12/8 x 誕\n");
    h.table(Kind::Schedule, "S.TBL", "2026/12/8 予定\n");
    h.table(Kind::Event, "E.TBL", "8 0 0 0 行事\n");
    h.table(Kind::History, "H.TBL", "2000/12/8 E 出来事\n");
    h.table(Kind::Week, "W.TBL", "12/1 12/31 週間行事\n");
}

TEST(Tirawa, DisplayOrderSlotsAndSwitches)
{
    const Strings birthday{"", "-=-=-=- 誕生日 -=-=-=-", "今日は 誕 さんの 26 回目の誕生日です。"};
    const Strings schedule{"", "-=-=-=- スケジュール -=-=-=-", "予定 です。"};
    const Strings event{"", "-=-=-=- イベント -=-=-=-", "行事です。"};
    const Strings history{"", "-=-=-=- 歴史 -=-=-=-", "2000/12/8 出来事"};
    const Strings week{"", "-=-=-=- 週間 -=-=-=-", "週間行事です。"};
    auto join = [](std::initializer_list<Strings> parts) {
        Strings out;
        for (const auto& p : parts)
            out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    struct Case
    {
        const char* name;
        std::array<std::uint8_t, 5> order;
        std::uint8_t birthdaySwitch;
        Strings expected;
    };
    const Case cases[] = {
        {"default order", {1, 2, 3, 4, 5}, 1, join({birthday, schedule, event, history, week})},
        {"reversed", {5, 4, 3, 2, 1}, 1, join({week, history, event, schedule, birthday})},
        {"switch off skips its slot", {1, 2, 3, 4, 5}, 0, join({schedule, event, history, week})},
        {"0 and 9 are empty slots", {2, 0, 9, 4, 5}, 1, join({schedule, history, week})},
        // built twice: the counter goes on, so the heading is not repeated
        {"a number in two slots", {3, 3, 0, 0, 0}, 1, join({event, Strings{"行事です。"}})},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        listOneEntryPerKind(h);
        h.state.settings.Jyun = c.order;
        h.state.settings.Birthday = c.birthdaySwitch;
        EXPECT_EQ(SectionHarness::texts(h.report(2026, 12, 8)), c.expected) << c.name;
    }
}

TEST(Tirawa, HeaderLines)
{
    SectionHarness h;
    struct Case
    {
        std::uint16_t hour, minute;
        const char* timeLine;
    };
    const Case cases[] = {{9, 5, "ただいまの時刻は 9時05分 です。"},
                          {10, 30, "ただいまの時刻は 10時30分 です。"},
                          {0, 0, "ただいまの時刻は 0時00分 です。"},
                          {23, 59, "ただいまの時刻は 23時59分 です。"}};
    for (const Case& c : cases) {
        h.clock.set({2026, 12, 8, c.hour, c.minute});
        h.state.Tirawa(1);
        ASSERT_EQ(h.pane.lines.size(), 2u);
        EXPECT_EQ(h.pane.lines[0].text, "今日は 2026年12月8日(火) です。");
        EXPECT_EQ(h.pane.lines[1].text, c.timeLine);
        EXPECT_EQ(h.pane.lines[1].colour, kBaseF);
    }
}

TEST(Tirawa, DateOverrideKeepsTheDateButReadsTheClockTime)
{
    SectionHarness h;
    h.clock.set({2026, 12, 8, 7, 45});
    h.state.reportDate = Date{2030, 1, 1};
    h.state.Tirawa(0);
    EXPECT_EQ(h.pane.lines[0].text, "今日は 2030年1月1日(火) です。");
    EXPECT_EQ(h.pane.lines[1].text, "ただいまの時刻は 7時45分 です。");
    h.state.Tirawa(1); // the refresh goes back to the clock's date
    EXPECT_EQ(h.pane.lines[0].text, "今日は 2026年12月8日(火) です。");
}

TEST(Tirawa, CountdownStart)
{
    struct Case
    {
        std::int32_t autoEnd;
        std::int32_t countdown;
    };
    // 65536 and above would wrap to a short count in 16 bits: they hold like any value > 600
    const Case cases[] = {{0, 700},   {-5, 700},      {1, 1},       {30, 30},    {600, 600},
                          {601, 601}, {65535, 65535}, {65536, 700}, {70000, 700}};
    for (const Case& c : cases) {
        SectionHarness h;
        h.state.settings.AutoEnd = c.autoEnd;
        h.report(2026, 12, 8);
        EXPECT_EQ(h.state.countdown, c.countdown) << c.autoEnd;
    }
}

TEST(Tirawa, AlertNeedsTheStopTodayFlagWavOnAndAFile)
{
    struct Case
    {
        const char* name;
        bool stopToday; // a stop birthday on the report date
        std::uint8_t wavOn;
        const char* wavFile;
        bool rings;
    };
    const Case cases[] = {
        {"all three", true, 1, "alert.wav", true},
        {"empty file", true, 1, "", false},
        {"WavOn off", true, 0, "alert.wav", false},
        {"no stop today", false, 1, "alert.wav", false},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.state.settings.Sotowaku = 1;
        h.state.settings.WavOn = c.wavOn;
        h.state.settings.WavFile = c.wavFile;
        h.table(Kind::Birthday, "B.TBL", c.stopToday ? "2000/12/8 x 誕 y S\n" : "2000/12/8 x 誕\n");
        h.report(2026, 12, 8);
        EXPECT_EQ(h.pane.sounds.size(), c.rings ? 1u : 0u) << c.name;
        EXPECT_EQ(h.state.soundPlayed.empty(), !c.rings) << c.name;
    }
}

TEST(Tirawa, EveryReportStartsAfresh)
{
    SectionHarness h;
    listOneEntryPerKind(h);
    h.state.settings.Sotowaku = 1;
    h.table(Kind::Birthday, "STOP.TBL", "2000/12/8 x 止 y S\n");
    h.report(2026, 12, 8);
    EXPECT_EQ(h.pane.background(), kStopB);
    EXPECT_EQ(h.state.report.stopToday, 1);
    const auto lines = h.report(2026, 12, 9); // nothing falls on the 9th but the week
    EXPECT_EQ(SectionHarness::texts(lines),
              (Strings{"", "-=-=-=- 週間 -=-=-=-", "週間行事です。"}));
    EXPECT_EQ(h.pane.background(), kBaseB);
    EXPECT_EQ(h.state.report.stopToday, 0);
    EXPECT_EQ(h.state.countdown, 30);
}

} // namespace
} // namespace tira::test
