#include "report/section_harness.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tira::test {
namespace {

const std::string kBirthdays = "-=-=-=- 誕生日 -=-=-=-";
const std::string kSchedules = "-=-=-=- スケジュール -=-=-=-";
const std::string kWeekly = "-=-=-=- 週間 -=-=-=-";

std::string today(std::string_view name)
{
    return "今日は " + std::string(name) + " さんの 34 回目の誕生日です。";
}

TEST(TableFiles, ProgramFolderPathsAreCompletedAndStoredBack)
{
    SectionHarness h;
    h.home.writeTable("BIRTH.TBL", "1990/5/12 x Taro\n");
    h.list(Kind::Birthday, ".\\BIRTH.TBL");
    h.list(Kind::Birthday, "..\\X.TBL");
    h.list(Kind::Birthday, "a.\\b");
    EXPECT_EQ(SectionHarness::texts(h.report(2024, 5, 12)),
              (Strings{"", kBirthdays, today("Taro")}));
    EXPECT_EQ(h.state.settings.filesOf(Kind::Birthday),
              (Strings{homePrefix(h.home.path()) + "BIRTH.TBL", "..\\X.TBL", "a.\\b"}));
}

TEST(TableFiles, OneHeadingAcrossFilesInListAndLineOrder)
{
    SectionHarness h;
    h.table(Kind::Birthday, "B1.TBL", "1990/5/12 x B\n1990/5/13 x none\n1990/5/12 x A\n");
    h.list(Kind::Birthday, h.home.file("MISSING.TBL"));
    h.table(Kind::Birthday, "B2.TBL", "\n   # only a comment\n1990/5/12 x C # 1990/5/12 x D\n");
    EXPECT_EQ(SectionHarness::texts(h.report(2024, 5, 12)),
              (Strings{"", kBirthdays, today("B"), today("A"), today("C")}));
    EXPECT_EQ(h.state.report.lineCounter[0], 4u);
}

TEST(TableFiles, EachKindItsOwnHeadingInDisplayOrder)
{
    SectionHarness h;
    h.state.settings.Jyun = {5, 0, 2, 9, 1};
    h.table(Kind::Birthday, "BIRTH.TBL", "1990/5/12 x Taro\n");
    h.table(Kind::Schedule, "SCHEDULE.TBL", "2024/6/1 nothing today\n");
    h.table(Kind::Week, "WEEK.TBL", "5/1 5/31 五月\n");
    EXPECT_EQ(SectionHarness::texts(h.report(2024, 5, 12)),
              (Strings{"", kWeekly, "五月です。", "", kBirthdays, today("Taro")}));
    // the headings are in the default colour, whatever the entries get
    for (const auto& line : h.sectionLines()) {
        if (line.text.rfind("-=-", 0) == 0) {
            EXPECT_EQ(line.colour, kBaseF);
        }
    }
}

TEST(TableFiles, LineEndsControlZAndEncodings)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        Strings lines;
    };
    const Case cases[] = {
        {"CR LF", "1990/5/12 x A\r\n1990/5/12 x B\r\n", {today("A"), today("B")}},
        {"CR alone", "1990/5/12 x A\r1990/5/12 x B", {today("A"), today("B")}},
        {"LF alone when the first line end is one",
         "1990/5/12 x A\n1990/5/12 x B\r\n",
         {today("A"), today("B")}},
        // after a first CR LF a lone LF is a blank: the third entry's fields become the
        // second's spare, stop and colour fields
        {"LF alone in a CR LF file is a blank",
         "1990/5/12 x A\r\n1990/5/12 x B\n1990/5/12 x C\r\n",
         {today("A"), today("B")}},
        {"Ctrl-Z ends the file",
         "1990/5/12 x A\r\n\x1a"
         "1990/5/12 x B\r\n",
         {today("A")}},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF"
         "1990/5/12 x 山田\r\n",
         {today("山田")}},
        {"invalid CP932 kept as U+FFFD",
         "1990/5/12 x A\xFF"
         "B\r\n",
         {today("A\xEF\xBF\xBD"
                "B")}},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.home.writeBytes("BIRTH.TBL", c.bytes);
        h.list(Kind::Birthday, h.home.file("BIRTH.TBL"));
        Strings expected{"", kBirthdays};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(SectionHarness::texts(h.report(2024, 5, 12)), expected) << c.name;
    }
}

TEST(TableFiles, UnreadableFileEndsTheReportWithTheLinesSoFar)
{
    SectionHarness h;
    Settings& s = h.state.settings;
    s.Sotowaku = 1;
    s.WavOn = 1;
    s.WavFile = "/sounds/alert.wav";
    h.table(Kind::Birthday, "B1.TBL", "1990/5/12 x Taro x S\n");
    std::filesystem::create_directory(h.home.file("B2.TBL"));
    h.list(Kind::Birthday, h.home.file("B2.TBL"));
    h.table(Kind::Birthday, "B3.TBL", "1990/5/12 x Hanako\n");
    h.table(Kind::Week, "WEEK.TBL", "5/1 5/31 五月\n");
    h.clock.set({2024, 5, 12, 9, 5});
    try {
        h.state.Tirawa(1);
        FAIL() << "no error raised";
    } catch (const TableFileError& error) {
        EXPECT_EQ(error.path(), h.home.file("B2.TBL"));
        EXPECT_NE(std::string(error.what()).find("B2.TBL"), std::string::npos);
    }
    EXPECT_EQ(SectionHarness::texts(h.sectionLines()), (Strings{"", kBirthdays, today("Taro")}));
    EXPECT_EQ(h.state.report.stopToday, 1);
    EXPECT_TRUE(h.pane.sounds.empty()); // the alert belongs to a finished report
}

// A birthday stop entry and a schedule stop entry, ahead or on the report date, with the
// switches that decide their effects on the frame, the stop-today flag and the countdown.
TEST(StopEntries, EffectsOnTheWindow)
{
    struct Case
    {
        const char* name;
        std::string birthdays, schedules;
        std::uint8_t sotowaku, stopEnd, zengEnd;
        WinColour background;
        std::uint8_t stopToday;
        std::int32_t countdown;
    };
    const std::string dayB = "1990/5/12 x T x S\n", aheadB = "+3 1990/5/14 x T x S\n";
    const std::string dayS = "2024/5/12 t S\n", aheadS = "+3 2024/5/14 t S\n";
    const Case cases[] = {
        {"frame off: colours only", dayB + aheadB, dayS, 0, 1, 1, kBaseB, 0, 30},
        {"on the day", dayB, "", 1, 0, 0, kStopB, 1, 30},
        {"on the day, held", dayB, "", 1, 1, 0, kStopB, 1, kHeldCountdown},
        {"ahead", aheadB, "", 1, 1, 0, kZengoB, 0, 30},
        {"ahead, held", aheadB, "", 1, 0, 1, kZengoB, 0, kHeldCountdown},
        {"ahead after the day keeps StopB", dayB + aheadB, "", 1, 0, 1, kStopB, 1, 30},
        {"day after ahead takes StopB", aheadB + dayB, "", 1, 0, 1, kStopB, 1, kHeldCountdown},
        {"schedule on the day", "", dayS, 1, 1, 0, kStopB, 1, kHeldCountdown},
        {"schedule ahead", "", aheadS, 1, 0, 1, kZengoB, 0, kHeldCountdown},
        {"schedule ahead after a birthday today", dayB, aheadS, 1, 0, 0, kStopB, 1, 30},
        {"not a stop entry", "1990/5/12 x T x N\n", "2024/5/12 t\n", 1, 1, 1, kBaseB, 0, 30},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        Settings& s = h.state.settings;
        s.Sotowaku = c.sotowaku;
        s.StopEnd = c.stopEnd;
        s.ZengEnd = c.zengEnd;
        if (!c.birthdays.empty()) h.table(Kind::Birthday, "BIRTH.TBL", c.birthdays);
        if (!c.schedules.empty()) h.table(Kind::Schedule, "SCHEDULE.TBL", c.schedules);
        EXPECT_FALSE(h.report(2024, 5, 12).empty()) << c.name;
        EXPECT_EQ(h.pane.background(), c.background) << c.name;
        EXPECT_EQ(h.state.report.stopToday, c.stopToday) << c.name;
        EXPECT_EQ(h.state.countdown, c.countdown) << c.name;
    }
}

TEST(StopEntries, AlertNeedsTheFlagTheSwitchAndAFile)
{
    struct Case
    {
        const char* name;
        std::uint8_t sotowaku, wavOn;
        std::string wavFile;
        bool sound;
    };
    const Case cases[] = {
        {"all set", 1, 1, "/a.wav", true},
        {"switch off", 1, 0, "/a.wav", false},
        {"no file", 1, 1, "", false},
        {"no stop-today flag", 0, 1, "/a.wav", false},
    };
    for (const Case& c : cases) {
        SectionHarness h;
        h.state.settings.Sotowaku = c.sotowaku;
        h.state.settings.WavOn = c.wavOn;
        h.state.settings.WavFile = c.wavFile;
        h.table(Kind::Schedule, "SCHEDULE.TBL", "2024/5/12 t STOP\n");
        h.report(2024, 5, 12);
        EXPECT_EQ(h.pane.sounds.size(), c.sound ? 1u : 0u) << c.name;
    }
}

TEST(TableFiles, HundredThousandEntriesUnderOneHeading)
{
    SectionHarness h;
    std::string file;
    constexpr int kEntries = 100000;
    file.reserve(kEntries * 24);
    for (int i = 0; i < kEntries; ++i)
        file += "1990/5/12 x n" + std::to_string(i) + "\n";
    h.table(Kind::Birthday, "BIRTH.TBL", file);
    const auto lines = h.report(2024, 5, 12);
    ASSERT_EQ(lines.size(), 2u + kEntries);
    EXPECT_EQ(lines[1].text, kBirthdays);
    EXPECT_EQ(lines[2].text, today("n0"));
    EXPECT_EQ(lines[65537].text, today("n65535"));
    EXPECT_EQ(lines.back().text, today("n99999"));
    int headings = 0;
    for (const auto& line : lines)
        headings += line.text == kBirthdays ? 1 : 0;
    EXPECT_EQ(headings, 1);
}

} // namespace
} // namespace tira::test
