// `tira --check` from the command line: output and exit codes.
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <string>

namespace tira {
namespace {

constexpr const char* kIni = "[Birthday]\r\nCount=1\r\nFile0=.\\BIRTH.TBL\r\n";

TEST(CheckMode, ExitZeroWhenNothingIsDropped)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", kIni);
    home.writeTable("BIRTH.TBL", "# 誕生日\n1990/5/12 x 山田_太郎\n");
    const auto r = test::runProgram(TIRA_EXE, {"--check", "--home", home.path()});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(r.out, home.file("BIRTH.TBL") + ": 誕生日 (birthdays), 2 行 (lines), 問題なし "
                                              "(nothing dropped), CP932, CR LF\n"
                                              "使われない行はありません (no line is dropped)\n");
    EXPECT_EQ(home.readBytes("TIRA.ini"), kIni) << "the check writes nothing";
}

TEST(CheckMode, ExitOneForAMissingListedFile)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", "[Birthday]\r\nCount=2\r\nFile0=.\\BIRTH.TBL\r\n"
                                "File1=.\\GONE.TBL\r\n");
    home.writeTable("BIRTH.TBL", "1990/5/12 x 山田_太郎\n");
    const auto r = test::runProgram(TIRA_EXE, {"--check", "--home", home.path()});
    EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
    EXPECT_NE(r.out.find(home.file("GONE.TBL") +
                         ": 誕生日 (birthdays), 見つかりません (not found)\n"
                         "1 件の問題があります (1 problem found)\n"),
              std::string::npos)
        << r.out;
}

TEST(CheckMode, ExitOneWithTheDroppedLines)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", kIni);
    home.writeTable("BIRTH.TBL", "1990/5/12 x 山田_太郎\n1990/5/12 花子\n");
    const auto r = test::runProgram(TIRA_EXE, {"--check", "--home", home.path()});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out.rfind(home.file("BIRTH.TBL") +
                              ":2: 項目が足りません (too few fields): 1990/5/12 花子\n\n",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("1 件の問題があります (1 problem found)\n"), std::string::npos) << r.out;
}

TEST(CheckMode, BadArgumentsExitTwo)
{
    const test::TempHome home;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--check", "--print", "--home", home.path()},
          {"--check", "--home", home.file("missing")},
          {"--check", "extra"}}) {
        const auto r = test::runProgram(TIRA_EXE, args);
        EXPECT_EQ(r.exitCode, 2) << args[1];
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    }
}

// A home that lists no table: --check finds that, --print tells on stderr how to start and
// keeps the report on stdout; one listed table ends both.
TEST(CheckMode, ANewHomeIsToldHowToStart)
{
    const test::TempHome home;
    const std::vector<std::string> print{"--print",    "--home", home.path(), "--date",
                                         "2026-12-08", "--time", "9:05"};
    const auto check = test::runProgram(TIRA_EXE, {"--check", "--home", home.path()});
    EXPECT_EQ(check.exitCode, 1) << check.out;
    EXPECT_EQ(check.out, "表ファイルが設定されていません (no table files are listed)\n");
    auto r = test::runProgram(TIRA_EXE, print);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "今日は 2026年12月8日(火) です。\nただいまの時刻は 9時05分 です。\n");
    for (const std::string& part :
         {"ホームフォルダ: " + home.path() + "\n", std::string("ｵﾌﾟｼｮﾝ → ﾌｧｲﾙの設定"),
          std::string("tira --import")})
        EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
    home.writeBytes("TIRA.ini", kIni);
    r = test::runProgram(TIRA_EXE, print);
    EXPECT_EQ(r.err, "");
}

} // namespace
} // namespace tira
