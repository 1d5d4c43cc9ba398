// `tira --check`: the lines the report drops, with their reasons, for every kind of file.
#include "report/table_check.h"
#include "settings/settings.h"
#include "support/temp_home.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

using Problem = LineProblem;

// A home folder with settings that list its tables, every section on.
struct CheckHome
{
    test::TempHome home;
    Settings settings;

    CheckHome() { settings.Holiday.clear(); }

    void table(Kind kind, const std::string& name, const std::string& utf8Lines)
    {
        home.writeTable(name, utf8Lines);
        settings.filesOf(kind).push_back(".\\" + name);
    }

    std::vector<CheckedFile> check() const { return checkTables(settings, home.path()); }

    // A ".\" path as completed against the home folder (a backslash joins them on Windows).
    std::string completed(const std::string& name) const { return homePrefix(home.path()) + name; }
};

struct Expected
{
    std::size_t line;
    Problem problem;
    std::string text;
    std::string rule = {};
};

void expectDropped(const CheckedFile& file, const std::vector<Expected>& expected)
{
    ASSERT_EQ(file.dropped.size(), expected.size()) << file.path;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DroppedLine& got = file.dropped[i];
        EXPECT_EQ(got.lineNumber, expected[i].line) << file.path << " #" << i;
        EXPECT_EQ(got.problem, expected[i].problem)
            << file.path << ":" << got.lineNumber << ": " << lineProblemText(got.problem);
        EXPECT_EQ(got.text, expected[i].text) << file.path << " #" << i;
        EXPECT_EQ(got.rule, expected[i].rule) << file.path << " #" << i;
    }
}

TEST(TableCheck, OneBadLineOfEachKindWithItsReason)
{
    CheckHome h;
    h.table(Kind::Birthday, "BIRTH.TBL",
            "# 誕生日\n"
            "\n"
            "   # only a comment\n"
            "1990/5/12 x 山田_太郎 # fine\n"
            "1990/5/12 Taro\n"
            "1990/5 x Taro\n"
            "1990/May/12 x Taro\n"
            "+x 1990/5/12 x Taro\n"
            "-2000/1/-1 x Taro\n"
            "+ 1990/5/12 x Jiro\n");
    h.table(Kind::Schedule, "SCHEDULE.TBL",
            "2024/5/20 *本社 会議 B\n"
            "2024/5/20 *本社\n"
            "2024/5/20/1 会議\n");
    h.table(Kind::Event, "EVENT.TBL",
            "+3 <<25 0 0 0 &red 給料日\n"
            "+3 10 0 0\n"
            "5< 0 0 0 x\n"
            "5-x 0 0 0 x\n"
            "0 -1 0 0 x\n"
            "5 -1 0 0 x\n"
            "+x 5 0 0 0 x\n"
            "5,x 0 0 0 y\n"
            "5 0 0 -1 x\n");
    h.table(Kind::History, "HISTORY.TBL",
            "1868/10/23 E 改元\n"
            "1900/5 E x\n"
            "1900/5/1 B 1980/7 x\n"
            "1900/May/1 E x\n"
            "1900/5/1 E\n"
            "?/1/1 Q 何か\n");
    h.table(Kind::Week, "WEEK.TBL",
            "4/6 4/15 春の交通安全運動\n"
            "4/6/2024 4/15 x\n"
            "4/6 4/15\n"
            "4/x 4/15 y\n"
            "-5/0 -5/0 z\n");
    h.home.writeTable("TIRAHOLI.TBL", "1,1,元日\n2,x,建国記念の日\n11 3\n");
    h.settings.Holiday = ".\\TIRAHOLI.TBL";

    const auto files = h.check();
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files[0].path, h.completed("TIRAHOLI.TBL"));
    expectDropped(files[0], {{2, Problem::NotNumber, "2,x,建国記念の日"},
                             {3, Problem::TooFewFields, "11 3"}});
    EXPECT_EQ(files[1].path, h.completed("BIRTH.TBL")) << "\".\\\" completed as the report does";
    expectDropped(files[1], {{5, Problem::TooFewFields, "1990/5/12 Taro"},
                             {6, Problem::DateNeedsTwoSlashes, "1990/5 x Taro"},
                             {7, Problem::DateNotNumber, "1990/May/12 x Taro"},
                             {8, Problem::AdvanceNotNumber, "+x 1990/5/12 x Taro"},
                             {9, Problem::SumNotPositive, "-2000/1/-1 x Taro"}});
    expectDropped(files[2], {{2, Problem::TooFewFields, "2024/5/20 *本社"},
                             {3, Problem::DateNeedsTwoSlashes, "2024/5/20/1 会議"}});
    expectDropped(files[3], {{2, Problem::TooFewFields, "+3 10 0 0"},
                             {3, Problem::NotNumber, "5< 0 0 0 x"},
                             {4, Problem::RangeEndNotNumber, "5-x 0 0 0 x"},
                             {5, Problem::SumNotPositive, "0 -1 0 0 x"},
                             {6, Problem::ValueOutOfRange, "5 -1 0 0 x"},
                             {7, Problem::AdvanceNotNumber, "+x 5 0 0 0 x"},
                             {8, Problem::NotNumber, "5,x 0 0 0 y", "x 0 0 0 y"},
                             {9, Problem::ValueOutOfRange, "5 0 0 -1 x"}});
    // an unknown kind is shown (as a read error), so it is not dropped
    expectDropped(files[4], {{2, Problem::DateNeedsTwoSlashes, "1900/5 E x"},
                             {3, Problem::DateNeedsTwoSlashes, "1900/5/1 B 1980/7 x"},
                             {4, Problem::DateNotNumber, "1900/May/1 E x"},
                             {5, Problem::TooFewFields, "1900/5/1 E"}});
    expectDropped(files[5], {{2, Problem::DateNeedsOneSlash, "4/6/2024 4/15 x"},
                             {3, Problem::TooFewFields, "4/6 4/15"},
                             {4, Problem::DateNotNumber, "4/x 4/15 y"},
                             {5, Problem::SumNotPositive, "-5/0 -5/0 z"}});
    EXPECT_TRUE(checkFoundProblems(files));
    for (const CheckedFile& file : files)
        EXPECT_EQ(file.state, CheckedFile::State::Read) << file.path;
}

TEST(TableCheck, ListingGivesPathLineReasonAndTheLineThenASummary)
{
    CheckHome h;
    h.table(Kind::Birthday, "BIRTH.TBL", "1990/5/12 x Taro\n1990/5/12 Jiro # a friend\n");
    h.table(Kind::Event, "EVENT.TBL", "1,x 0 0 0 pay\n");
    h.settings.filesOf(Kind::Week).push_back(h.home.file("GONE.TBL"));
    const std::string listing = checkListing(h.check());
    const std::string birth = h.completed("BIRTH.TBL");
    const std::string event = h.completed("EVENT.TBL");
    const std::string expected =
        birth + ":2: 項目が足りません (too few fields): 1990/5/12 Jiro # a friend\n" + event +
        ":1: 数の項目が数ではありません (a number field that is not a number): " +
        "1,x 0 0 0 pay  [x 0 0 0 pay]\n"
        "\n" +
        birth + ": 誕生日 (birthdays), 2 行 (lines), 1 件の問題 (1 dropped), ASCII, CR LF\n" +
        event + ": イベント (events), 1 行 (lines), 1 件の問題 (1 dropped), ASCII, CR LF\n" +
        h.home.file("GONE.TBL") + ": 週間 (weekly items), 見つかりません (not found)\n" +
        "3 件の問題があります (3 problems found)\n";
    EXPECT_EQ(listing, expected);
}

TEST(TableCheck, CleanHomeFindsNoProblemAndAMissingListedFileIsOne)
{
    CheckHome h;
    h.table(Kind::Birthday, "BIRTH.TBL", "1990/5/12 x 山田_太郎\n");
    EXPECT_FALSE(checkFoundProblems(h.check()));
    std::string listing = checkListing(h.check());
    EXPECT_NE(listing.find(", CP932, CR LF\n"), std::string::npos) << listing;
    EXPECT_EQ(listing.substr(listing.rfind('\n', listing.size() - 2) + 1),
              "使われない行はありません (no line is dropped)\n");

    h.settings.filesOf(Kind::Schedule).push_back(".\\NONE.TBL");
    const auto files = h.check();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1].state, CheckedFile::State::Missing);
    EXPECT_TRUE(checkFoundProblems(files)) << "the report would show nothing of a missing file";
    listing = checkListing(files);
    EXPECT_NE(listing.find("NONE.TBL: スケジュール (schedules), 見つかりません (not found)\n"),
              std::string::npos)
        << listing;
    EXPECT_EQ(listing.substr(listing.rfind('\n', listing.size() - 2) + 1),
              "1 件の問題があります (1 problem found)\n");

    EXPECT_EQ(checkListing(CheckHome().check()),
              "表ファイルが設定されていません (no table files are listed)\n");
}

TEST(TableCheck, FileProblemsEncodingsAndUnreadableFiles)
{
    CheckHome h;
    // a lone LF in a CR LF file joins two lines; a file of LF line ends reads as it is meant
    h.home.writeBytes("LF.TBL", "1990/5/12 x Taro\r\n1991/6/1 x Jiro\n1992/1/1 x Sabu\r\n");
    h.settings.filesOf(Kind::Birthday).push_back(h.home.file("LF.TBL"));
    h.home.writeBytes("UNIX.TBL", "4/6 4/15 x\n5/1 5/5 y\n");
    h.settings.filesOf(Kind::Week).push_back(h.home.file("UNIX.TBL"));
    // reading stops at a Ctrl-Z; a final Ctrl-Z alone loses nothing
    h.home.writeBytes("CTRLZ.TBL", "1990/5/12 x Taro\r\n\x1A"
                                   "1992/1/1 x Lost\r\n");
    h.home.writeBytes("END.TBL", "1990/5/12 x Taro\r\n\x1A");
    h.settings.filesOf(Kind::Birthday).push_back(h.home.file("CTRLZ.TBL"));
    h.settings.filesOf(Kind::Birthday).push_back(h.home.file("END.TBL"));
    // UTF-8 without a byte-order mark
    h.home.writeBytes("UTF8.TBL", "1990/5/12 x 山田_太郎\r\n1990/5 x 花子\r\n");
    h.settings.filesOf(Kind::Birthday).push_back(h.home.file("UTF8.TBL"));
    std::filesystem::create_directory(h.home.file("DIR.TBL"));
    h.settings.filesOf(Kind::Week).push_back(h.home.file("DIR.TBL"));

    const auto files = h.check();
    ASSERT_EQ(files.size(), 6u);
    expectDropped(files[0], {{2, Problem::LfLineEnds, "1991/6/1 x Jiro\n1992/1/1 x Sabu"}});
    expectDropped(files[1], {{2, Problem::TextAfterCtrlZ, "1992/1/1 x Lost"}});
    expectDropped(files[2], {});
    expectDropped(files[3], {{2, Problem::DateNeedsTwoSlashes, "1990/5 x 花子"}});
    EXPECT_EQ(files[3].encoding, TextEncoding::Utf8);
    EXPECT_FALSE(files[3].asciiOnly);
    EXPECT_EQ(files[5].state, CheckedFile::State::Unreadable);
    EXPECT_NE(files[5].error.find("DIR.TBL"), std::string::npos) << files[5].error;

    const std::string listing = checkListing(files);
    EXPECT_NE(listing.find(h.home.file("LF.TBL") + ":2: "), std::string::npos) << listing;
    EXPECT_NE(listing.find(": 1991/6/1 x Jiro\\n1992/1/1 x Sabu\n"), std::string::npos)
        << "line feeds are shown, not printed: " << listing;
    EXPECT_NE(listing.find("UNIX.TBL: 週間 (weekly items), 2 行 (lines), 問題なし (nothing "
                           "dropped), ASCII, LF\n"),
              std::string::npos)
        << listing;
    EXPECT_NE(listing.find("UTF8.TBL: 誕生日 (birthdays), 2 行 (lines), 1 件の問題 (1 dropped), "
                           "UTF-8, CR LF\n"),
              std::string::npos)
        << listing;
    EXPECT_NE(listing.find("DIR.TBL: 週間 (weekly items), 読めません (cannot read): "),
              std::string::npos)
        << listing;
    EXPECT_TRUE(checkFoundProblems(files));
}

TEST(TableCheck, HolidaysBeyondThirtyAreDropped)
{
    CheckHome h;
    std::string lines = "# 祝日\n1,x,bad\n";
    for (int i = 1; i <= 31; ++i)
        lines += "1," + std::to_string(i) + ",day" + std::to_string(i) + "\n";
    h.home.writeTable("H.TBL", lines);
    h.settings.Holiday = h.home.file("H.TBL");
    const auto files = h.check();
    ASSERT_EQ(files.size(), 1u);
    expectDropped(files[0], {{2, Problem::NotNumber, "1,x,bad"},
                             {33, Problem::HolidayTableFull, "1,31,day31"}});
}

TEST(TableCheck, MonthlyFilesOfAllMonthsWithTheirMonthForced)
{
    CheckHome h;
    h.settings.IncME = 1;
    h.settings.EveMFile = h.home.file("EV%m.TBL");
    h.settings.IncMH = 1;
    h.settings.HisMFile = ".\\HI%m.TBL";
    h.settings.Event = 0; // still checked, and said so
    // a month field of -1 is replaced by the file's month, so the rule stays
    h.home.writeTable("EV03.TBL", "5 0 0 -1 x\n5 -1 0 0 y\n");
    h.home.writeTable("EV12.TBL", "5 0 0 0 x\n");
    h.home.writeTable("HI07.TBL", "1900/7 E x\n");
    const auto files = h.check();
    ASSERT_EQ(files.size(), 5u);
    EXPECT_EQ(files[0].label, "イベント (events) 3月 (March)");
    expectDropped(files[0], {{2, Problem::ValueOutOfRange, "5 -1 0 0 y"}});
    EXPECT_TRUE(files[0].sectionOff);
    EXPECT_EQ(files[1].label, "イベント (events) 12月 (December)");
    EXPECT_EQ(files[2].label, "イベント (events) 1, 2, 4, 5, 6, 7, 8, 9, 10, 11月 (months)");
    EXPECT_EQ(files[2].state, CheckedFile::State::Missing);
    EXPECT_EQ(files[2].path, h.home.file("EV%m.TBL"));
    EXPECT_EQ(files[3].label, "歴史 (history) 7月 (July)");
    EXPECT_EQ(files[3].path, h.completed("HI07.TBL"));
    expectDropped(files[3], {{1, Problem::DateNeedsTwoSlashes, "1900/7 E x"}});
    EXPECT_FALSE(files[3].sectionOff);
    EXPECT_NE(checkListing(files).find("EV03.TBL: イベント (events) 3月 (March), 2 行 (lines), "
                                       "1 件の問題 (1 dropped), ASCII, CR LF, 表示しない設定 "
                                       "(section off)\n"),
              std::string::npos)
        << checkListing(files);

    // with the monthly files off, or a pattern without %m, no monthly file is read
    h.settings.IncME = 0;
    h.settings.HisMFile = h.home.file("HIST.TBL");
    EXPECT_TRUE(h.check().empty());
}

} // namespace
} // namespace tira
