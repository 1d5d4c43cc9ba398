#include "support/run_tira.h"
#include "support/temp_home.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tira::test {
namespace {

RunResult printReport(const TempHome& home, std::string_view date)
{
    return runProgram(TIRA_EXE, {"--print", "--format", "json", "--home", home.path(), "--date",
                                 std::string(date), "--time", "9:05"});
}

// A home whose birthday table holds the stop entry of the example, with the frame and the
// hold ahead switched on and an alert sound set; colours chosen apart.
void writeExampleHome(const TempHome& home)
{
    home.writeTable("TIRA.ini", "[Common]\n"
                                "Sotowaku=1\nZengEnd=1\nStopEnd=0\nYuusen=1\nAge=1\n"
                                "AutoEnd=30\nWavOn=1\nWavFile=.\\alert.wav\n"
                                "Schedule=0\nEvent=0\nHistory=0\nWeek=0\n"
                                "[Color]\n"
                                "BaseF=1052688\nStopF=2105376\nZengoF=3158064\n"
                                "BaseB=7368816\nStopB=8421504\nZengoB=9474192\n"
                                "[Birthday]\nCount=1\nFile0=.\\BIRTH.TBL\n");
    home.writeTable("BIRTH.TBL", "+3 1990/5/12 x 山田_太郎 友人 S\n");
}

TEST(PrintTables, StopBirthdayAheadInJson)
{
    TempHome home;
    writeExampleHome(home);
    const RunResult run = printReport(home, "2024-05-09");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(
        run.out.find(R"({"text":"","color":1052688,"colorHex":"#101010"},)"
                     R"({"text":"-=-=-=- 誕生日 -=-=-=-","color":1052688,"colorHex":"#101010"},)"
                     R"({"text":"山田 太郎 さんの誕生日まで あと 3 日です。","color":3158064,)"
                     R"("colorHex":"#303030"}])"),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("background":9474192,)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("countdown":700,"stopToday":false,"sound":null,"soundPath":null})"),
              std::string::npos)
        << run.out;
}

TEST(PrintTables, StopBirthdayOnTheDayInJson)
{
    TempHome home;
    writeExampleHome(home);
    const RunResult run = printReport(home, "2024-05-12");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(
        run.out.find(R"({"text":"今日は 山田 太郎 さんの 34 回目の誕生日です。","color":2105376,)"
                     R"("colorHex":"#202020"}])"),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("background":8421504,)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(R"("countdown":30,"stopToday":true,"sound":".\\alert.wav",)"
                           R"("soundPath":")" +
                           home.file("alert.wav") + "\"}"),
              std::string::npos)
        << run.out;
}

TEST(PrintTables, UnreadableTableEndsTheReportWithExitOne)
{
    TempHome home;
    writeExampleHome(home);
    home.writeTable("TIRA.ini", "[Birthday]\nCount=2\nFile0=.\\BIRTH.TBL\nFile1=.\\DIR.TBL\n");
    std::filesystem::create_directory(home.file("DIR.TBL"));
    const RunResult run = printReport(home, "2024-05-12");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("今日は 山田 太郎 さんの 34 回目の誕生日です。"), std::string::npos)
        << run.out;
}

// A home showing only events, with `rule` in its event table and 1/1 a holiday.
void writeEventHome(const TempHome& home, std::string_view rule)
{
    home.writeTable("TIRA.ini", "[Common]\nBirthday=0\nSchedule=0\nHistory=0\nWeek=0\n"
                                "Holiday=.\\HOLI.TBL\n"
                                "[Event]\nCount=1\nFile0=.\\EVENT.TBL\n");
    home.writeTable("HOLI.TBL", "1,1,元日\n");
    home.writeTable("EVENT.TBL", std::string(rule) + "\n");
}

TEST(PrintTables, ShiftedRulesAcrossTheYearEndCountInTheReportYear)
{
    struct Case
    {
        const char* rule;
        const char* date;
        const char* shown; // nullptr: the rule is not shown
    };
    const Case cases[] = {
        // 31 December 2022 is a Saturday: due on Monday 2 January 2023
        {">>31 0 0 12 年末", "2023-01-02", "年末です。"},
        {">>31 0 0 12 年末", "2022-12-31", nullptr},
        // 1 January 2025 is a Wednesday holiday: due on Tuesday 31 December 2024
        {"<<1 0 0 1 仕事納め", "2024-12-31", "仕事納めです。"},
        {"+6 <<1 0 0 1 仕事納め", "2024-12-25", "仕事納めまで あと 6 日です。"},
        {"+6 <<1 0 0 1 仕事納め", "2024-12-24", nullptr},
        {"<<1 0 0 1 仕事納め", "2025-01-01", nullptr},
    };
    for (const Case& c : cases) {
        TempHome home;
        writeEventHome(home, c.rule);
        const RunResult run = printReport(home, c.date);
        ASSERT_EQ(run.exitCode, 0) << run.out;
        const bool shown = run.out.find("イベント") != std::string::npos;
        EXPECT_EQ(shown, c.shown != nullptr) << c.rule << " on " << c.date << ": " << run.out;
        if (c.shown != nullptr) {
            EXPECT_NE(run.out.find(std::string(R"({"text":")") + c.shown + "\""), std::string::npos)
                << c.rule << " on " << c.date << ": " << run.out;
        }
    }
}

TEST(PrintTables, LineEndsOfLfFilesAndOfCrLfFilesWithALoneLf)
{
    TempHome home;
    writeExampleHome(home);
    home.writeBytes("BIRTH.TBL", "1990/5/12 x Taro\n1991/5/12 x Jiro\n1992/5/12 x Saburo\n");
    RunResult run = printReport(home, "2024-05-12");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    for (const char* shown :
         {"今日は Taro さんの 34 回目の誕生日です。", "今日は Jiro さんの 33 回目の誕生日です。",
          "今日は Saburo さんの 32 回目の誕生日です。"})
        EXPECT_NE(run.out.find(shown), std::string::npos) << shown << ": " << run.out;

    // in a CR LF file a lone LF stays inside its line, a blank between two fields
    home.writeBytes("BIRTH.TBL", "1990/5/12 x Taro\r\n1991/5/12\nx Jiro\r\n");
    run = printReport(home, "2024-05-12");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(run.out.find("今日は Taro さんの 34 回目の誕生日です。"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("今日は Jiro さんの 33 回目の誕生日です。"), std::string::npos)
        << run.out;
}

} // namespace
} // namespace tira::test
