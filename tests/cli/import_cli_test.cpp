// tira --import run as a process: what goes to stdout and stderr, and the exit codes.
#include "support/run_tira.h"
#include "support/temp_home.h"
#include "text/cp932.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tira::test {
namespace {

const std::string kData = std::string(TIRA_SOURCE_DIR) + "/tests/import/data/";

RunResult runTira(const std::vector<std::string>& args)
{
    return runProgram(TIRA_EXE, args);
}

TEST(Import, ExitCodesAndWhatIsNamedOnStandardError)
{
    TempHome home;
    home.writeBytes("notes.txt", "just text\r\n");
    home.writeBytes("nodate.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:X\r\nEND:VCARD\r\n");
    std::filesystem::create_directory(home.file("folder.vcf"));
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::vector<std::string> inErr;
    };
    const Case cases[] = {
        {{"--import"}, 2, {"--import needs a file"}},
        {{kData + "v4.vcf"}, 2, {"unexpected argument"}},
        {{"--import", kData + "v4.vcf", "--encoding", "latin1"}, 2, {"utf8 or cp932"}},
        {{"--import", kData + "v4.vcf", "--print"}, 2, {"--import goes only with"}},
        {{"--print", "--all"}, 2, {"--all goes only with --import"}},
        {{"--import", home.file("notes.txt")}, 1, {"notes.txt: neither contact cards"}},
        {{"--import", home.file("folder.vcf"), kData + "google.vcf"}, 1, {"cannot read"}},
        {{"--import", home.file("nodate.vcf")}, 1, {"nothing to import"}},
        {{"--import", kData + "calendar.ics"},
         0,
         {"\"Every other Tuesday\" not translated: INTERVAL=2",
          "\"Five lessons\" not translated: COUNT=5",
          "\"Until 2099\" not translated: UNTIL=2099-12-31",
          "\"Last workday\" not translated: BYSETPOS",
          "\"Yoga but not once\" not translated: EXDATE",
          "\"Gym twice a week\" not translated: several BYDAY days",
          "\"Every day\" not translated: FREQ=DAILY", "\"The 31st\" not translated: BYMONTHDAY=31",
          "written: 1 birthday line, 2 schedule lines, 6 event lines, 1 weekly line",
          "skipped: 1 ended, 8 not translated, 1 past (--all writes it)"}},
        {{"--import", kData + "calendar.ics", "--all"}, 0, {"3 schedule lines"}},
        // CP932 has no emoji and no "É": nothing is written rather than a "?"
        {{"--import", kData + "google.vcf", kData + "v4.vcf", "--encoding", "cp932"},
         1,
         {"\"Émile Zola 🎂\" cannot be written in CP932", "nothing written"}},
    };
    for (const Case& c : cases) {
        const RunResult run = runTira(c.args);
        std::string args;
        for (const std::string& a : c.args)
            args += a + " ";
        EXPECT_EQ(run.exitCode, c.exitCode) << args << run.err;
        for (const std::string& part : c.inErr)
            EXPECT_NE(run.err.find(part), std::string::npos) << args << "\n" << run.err;
        if (c.exitCode == 2 || run.err.find("nothing written") != std::string::npos) {
            EXPECT_EQ(run.out, "") << args;
        }
    }
}

// The lines written in CP932 read back through --print on the entry's day.
TEST(Import, Cp932LinesPlacedInAHomeGiveTheReport)
{
    const RunResult run = runTira({"--import", kData + "phone21.vcf", "--encoding", "cp932"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string utf8 = cp932ToUtf8(run.out);
    ASSERT_NE(utf8, run.out);
    const auto events = run.out.find(utf8ToCp932("# イベント (events)\r\n"));
    ASSERT_NE(events, std::string::npos) << utf8;
    TempHome home;
    home.writeBytes("BIRTH.TBL", run.out.substr(0, events));
    home.writeBytes("EVENT.TBL", run.out.substr(events));
    home.writeTable("TIRA.ini", "[Birthday]\nCount=1\nFile0=.\\BIRTH.TBL\n"
                                "[Event]\nCount=1\nFile0=.\\EVENT.TBL\n");
    for (const auto& [date, line] :
         {std::pair{"2025-04-30", "今日は 田中 一郎 さんの 50 回目の誕生日です。\n"},
          std::pair{"2025-12-24", "ソニー表 の誕生日です。\n"}}) {
        const RunResult report = runTira({"--print", "--home", home.path(), "--date", date});
        EXPECT_EQ(report.exitCode, 0) << report.err;
        EXPECT_TRUE(report.out.ends_with(line)) << report.out;
    }
}

} // namespace
} // namespace tira::test
