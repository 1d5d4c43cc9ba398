// Runs the real `tira` binary: command-line contract, exit codes and golden reports.
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tira {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

test::RunResult runTira(const std::vector<std::string>& args)
{
    return test::runProgram(TIRA_EXE, args);
}

TEST(PrintMode, EmptyHomeGivesTheHeaderOnly)
{
    const test::TempHome home;
    const auto r =
        runTira({"--print", "--home", home.path(), "--date", "2026-12-08", "--time", "9:05"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "今日は 2026年12月8日(火) です。\nただいまの時刻は 9時05分 です。\n");
    EXPECT_TRUE(fs::is_empty(home.path())) << "print mode must write no file";
}

TEST(PrintMode, JsonObject)
{
    const test::TempHome home;
    const auto r = runTira({"--print", "--home", home.path(), "--format", "json", "--date",
                            "2026-12-8", "--time", "10:30"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "{\"date\":\"2026-12-08\",\"time\":\"10:30\",\"lines\":["
                     "{\"text\":\"今日は 2026年12月8日(火) です。\",\"color\":0,"
                     "\"colorHex\":\"#000000\"},"
                     "{\"text\":\"ただいまの時刻は 10時30分 です。\",\"color\":0,"
                     "\"colorHex\":\"#000000\"}],"
                     "\"background\":0,\"backgroundHex\":\"#000000\","
                     "\"paneBackground\":12632256,\"paneBackgroundHex\":\"#C0C0C0\","
                     "\"countdown\":700,\"stopToday\":false,\"sound\":null,"
                     "\"soundPath\":null}\n");
}

TEST(PrintMode, SettingsAreReadButNeverWritten)
{
    const test::TempHome home;
    const std::string ini =
        "; mine\r\n[Common]\r\nAutoEnd=0x1E\r\nForeign=1\r\n[Color]\r\nBackF=255\r\n";
    home.writeBytes("TIRA.ini", ini);
    const auto r = runTira({"--print", "--home", home.path(), "--format", "json", "--date",
                            "2024-01-01", "--time", "0:00"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"countdown\":30,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"paneBackground\":255,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0時00分"), std::string::npos) << r.out;
    EXPECT_EQ(home.readBytes("TIRA.ini"), ini);
}

TEST(PrintMode, BadArgumentsExitTwo)
{
    const test::TempHome home;
    struct Case
    {
        std::vector<std::string> args;
        std::string message; // part of stderr
    };
    const Case cases[] = {
        {{"--print", "--home", home.path(), "--date", "2024-2-30"}, "invalid date"},
        {{"--print", "--home", home.path(), "--date", "2023-2-29"}, "invalid date"},
        {{"--print", "--home", home.path(), "--date", "0-1-1"}, "invalid date"},
        {{"--print", "--home", home.path(), "--date", "70000-1-1"}, "invalid date"},
        {{"--print", "--home", home.path(), "--date", "x"}, "invalid date"},
        {{"--print", "--home", home.path(), "--date", "2024-13-1"}, "invalid date"},
        {{"--print", "--home", home.path(), "--time", "24:00"}, "invalid time"},
        {{"--print", "--home", home.path(), "--time", "9:5"}, "invalid time"},
        {{"--print", "--home", home.path(), "--format", "xml"}, "unknown format"},
        {{"--print", "--home", home.file("missing")}, "home folder not found"},
        {{"--print", "--bogus"}, "usage:"},
        {{"--print", "extra"}, "usage:"},
    };
    for (const Case& c : cases) {
        const auto r = runTira(c.args);
        std::string joined;
        for (const auto& a : c.args)
            joined += a + " ";
        EXPECT_EQ(r.exitCode, 2) << joined;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << joined << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << joined;
    }
}

TEST(PrintMode, DatesAtTheEdgesAreAccepted)
{
    const test::TempHome home;
    struct Case
    {
        std::string date;
        std::string line;
    };
    const Case cases[] = {
        {"2024-02-29", "今日は 2024年2月29日(木) です。\n"},
        {"1-1-1", "今日は 1年1月1日(月) です。\n"},
        {"65535-12-31", "今日は 65535年12月31日("},
        {"2000-1-1", "今日は 2000年1月1日(土) です。\n"},
    };
    for (const Case& c : cases) {
        const auto r = runTira({"--print", "--home", home.path(), "--date", c.date});
        EXPECT_EQ(r.exitCode, 0) << c.date << r.err;
        EXPECT_EQ(r.out.rfind(c.line, 0), 0u) << c.date << "\n" << r.out;
    }
}

TEST(PrintMode, UnreadableTableEndsTheReportWithExitOne)
{
    const test::TempHome home;
    fs::create_directory(home.file("BIRTH.TBL")); // a directory cannot be read as a file
    home.writeBytes("TIRA.ini", "[Birthday]\r\nCount=1\r\nFile0=.\\BIRTH.TBL\r\n");
    const auto r =
        runTira({"--print", "--home", home.path(), "--date", "2026-12-08", "--time", "9:05"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "今日は 2026年12月8日(火) です。\nただいまの時刻は 9時05分 です。\n");
    EXPECT_NE(r.err.find("BIRTH.TBL"), std::string::npos) << r.err;
}

TEST(PrintMode, HelpAndVersion)
{
    const auto help = runTira({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part : {"--print", "--color", "XDG_CONFIG_HOME", "Exit codes"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    EXPECT_EQ(runTira({"-h"}).out, help.out);
    const auto version = runTira({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "TIRA 0.1.0\n");
    EXPECT_EQ(runTira({"-V"}).out, version.out);
}

#ifndef _WIN32
// Output that does not arrive - a full disk, a closed stdout - is an error for every job.
TEST(Output, AFailedWriteIsAnErrorForEveryJob)
{
    const test::TempHome home;
    const test::TempHome config;
    // a table listed, so that a new home's hint on stderr does not come in between
    home.writeBytes("TIRA.ini",
                    "[Common]\r\nAutoEnd=30\r\n[Week]\r\nCount=1\r\nFile0=.\\W.TBL\r\n");
    home.writeBytes("W.TBL", "1/1 12/31 every_day\r\n");
    const std::vector<std::vector<std::string>> jobs{
        {"--print", "--home", home.path()},
        {"--print", "--format", "json", "--home", home.path()},
        {"--agenda", "3", "--home", home.path()},
        {"--agenda", "--format", "json", "--home", home.path()},
        {"--check", "--home", home.path()},
        {"--help"},
        {"--version"},
        {"--holidays", "2026"},
        {"--autostart", "off"},
    };
    const struct
    {
        const char* redirect;
        const char* reason;
    } sinks[] = {{">/dev/full", "No space left on device"}, {">&-", "Bad file descriptor"}};
    for (const auto& args : jobs) {
        std::string command = "exec " + test::shellQuote(TIRA_EXE);
        for (const auto& arg : args)
            command += " " + test::shellQuote(arg);
        for (const auto& sink : sinks) {
            const auto r = test::runProgram("sh", {"-c", command + " " + sink.redirect},
                                            {"LC_ALL=C", "XDG_CONFIG_HOME=" + config.path()});
            EXPECT_EQ(r.exitCode, 1) << command << sink.redirect;
            EXPECT_EQ(r.err, std::string("tira: standard output: ") + sink.reason + "\n")
                << command << sink.redirect;
        }
    }
}
#endif

// The holiday file a year's run writes is the file the report reads back: 2026 has sixteen
// named holidays, a substitute day and a citizens' holiday.
TEST(Holidays, TheWrittenFileGivesTheReportItsHolidays)
{
    const auto file = runTira({"--holidays", "2026"});
    ASSERT_EQ(file.exitCode, 0) << file.err;
    EXPECT_TRUE(file.out.starts_with("#")) << file.out;
    std::size_t days = 0;
    for (std::size_t at = file.out.find("\r\n"); at != std::string::npos;
         at = file.out.find("\r\n", at + 2))
        ++days;
    EXPECT_EQ(days, 1U + 18U) << file.out; // the comment line, then one line a day
    const test::TempHome home;
    home.writeBytes("TIRAHOLI.TBL", file.out);
    const struct
    {
        const char* date;
        const char* line; // empty: no holiday line
    } cases[] = {
        {"2026-05-06", "振替休日 (祝日) です。"},
        {"2026-09-22", "国民の休日 (祝日) です。"},
        {"2026-03-20", "春分の日 (祝日) です。"},
        {"2026-09-24", ""},
    };
    for (const auto& c : cases) {
        const auto r = runTira({"--print", "--home", home.path(), "--date", c.date, "--time",
                                "9:00", "--color", "never"});
        EXPECT_EQ(r.exitCode, 0) << c.date << r.err;
        if (*c.line != '\0')
            EXPECT_NE(r.out.find(c.line), std::string::npos) << c.date << "\n" << r.out;
        else
            EXPECT_EQ(r.out.find("(祝日)"), std::string::npos) << c.date << "\n" << r.out;
    }
    EXPECT_EQ(runTira({"--holidays", "2100"}).exitCode, 2);
    EXPECT_EQ(runTira({"--holidays", "next"}).exitCode, 2);
}

// Text in the default colour is left to the terminal's foreground; other colours are the
// nearest of the 16 standard ones (exact 24-bit ones only when asked for), written on a
// terminal (unless NO_COLOR or TERM=dumb) or when asked for.
TEST(PrintMode, ColoursOnlyWhereWantedAndNeverForTheDefaultColour)
{
    const test::TempHome home;
    home.writeTable("TIRA.ini", "[Common]\nYuusen=1\n[Color]\nZengoF=255\n"
                                "[Birthday]\nCount=1\nFile0=.\\BIRTH.TBL\n");
    home.writeTable("BIRTH.TBL", "+3 1990/5/12 x 山田_太郎 友人 S\n");
    const std::string header = "今日は 2024年5月9日(木) です。\n";
    const std::string line = "山田 太郎 さんの誕生日まで あと 3 日です。\x1b[0m\n";
    const std::string red = "\x1b[91m" + line;
    const std::string exactRed = "\x1b[38;2;255;0;0m" + line;
#ifdef _WIN32
    const bool haveScript = false; // no pseudo-terminal to run it in
#else
    const bool haveScript = std::system("command -v script >/dev/null 2>&1") == 0;
#endif
    struct Case
    {
        const char* name;
        bool terminal; // stdout a terminal (through script), else a pipe
        std::vector<std::string> args;
        std::vector<std::string> env;
        const std::string* coloured; // the red line, or none
    };
    const std::vector<std::string> tty{"NO_COLOR=", "TERM=xterm", "COLORTERM="};
    const Case cases[] = {
        {"pipe", false, {}, tty, nullptr},
        {"pipe, always", false, {"--color=always"}, {"NO_COLOR=1", "TERM=dumb"}, &red},
        {"pipe, 24bit", false, {"--color=24bit"}, {"NO_COLOR=1", "TERM=dumb"}, &exactRed},
        {"terminal", true, {}, tty, &red},
        {"terminal, truecolor", true, {}, {"NO_COLOR=", "TERM=xterm", "COLORTERM=truecolor"}, &red},
        {"terminal, 24bit", true, {"--color", "24bit"}, tty, &exactRed},
        {"terminal, NO_COLOR", true, {}, {"NO_COLOR=1", "TERM=xterm"}, nullptr},
        {"terminal, TERM=dumb", true, {}, {"NO_COLOR=", "TERM=dumb"}, nullptr},
        {"terminal, never", true, {"--color", "never"}, tty, nullptr},
    };
    for (const Case& c : cases) {
        if (c.terminal && !haveScript) continue;
        std::vector<std::string> args{"--print", "--home", home.path(), "--date", "2024-5-9"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        test::RunResult r;
        if (c.terminal) {
#ifndef _WIN32
            std::string command = test::shellQuote(TIRA_EXE);
            for (const auto& arg : args)
                command += " " + test::shellQuote(arg);
            r = test::runProgram("script", {"-qefc", command, "/dev/null"}, c.env);
            std::erase(r.out, '\r'); // the terminal's line ends
#endif
        } else {
            r = test::runProgram(TIRA_EXE, args, c.env);
        }
        EXPECT_EQ(r.exitCode, 0) << c.name << r.err;
        EXPECT_EQ(r.out.rfind(header, 0), 0u) << c.name << "\n" << r.out;
        if (c.coloured != nullptr) {
            EXPECT_NE(r.out.find(*c.coloured), std::string::npos) << c.name << "\n" << r.out;
            EXPECT_EQ(r.out.find("\x1b", r.out.find('\n')), r.out.find(*c.coloured)) << c.name;
        } else {
            EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << c.name;
        }
    }
}

// Each folder under tests/golden holds `args` (one per line), `home/` (tables as UTF-8 text
// with LF, named *.txt, turned into CP932 with CR LF) and `expected` (@HOME@ for the home).
TEST(Golden, ReportsMatchByteForByte)
{
    const fs::path root = fs::path(TIRA_SOURCE_DIR) / "tests" / "golden";
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory()) continue;
        ++cases;
        const test::TempHome home;
        const fs::path homeSource = entry.path() / "home";
        if (fs::exists(homeSource)) {
            for (const auto& file : fs::recursive_directory_iterator(homeSource)) {
                if (!file.is_regular_file()) continue;
                fs::path relative = fs::relative(file.path(), homeSource);
                if (relative.extension() == ".txt") {
                    relative.replace_extension();
                    home.writeTable(relative.string(), readFile(file.path()));
                } else {
                    home.writeBytes(relative.string(), readFile(file.path()));
                }
            }
        }
        std::vector<std::string> args{"--print", "--home", home.path()};
        std::istringstream argLines(readFile(entry.path() / "args"));
        for (std::string line; std::getline(argLines, line);)
            if (!line.empty()) args.push_back(line);
        const auto r = runTira(args);
        std::string expected = readFile(entry.path() / "expected");
        for (auto at = expected.find("@HOME@"); at != std::string::npos;
             at = expected.find("@HOME@"))
            expected.replace(at, 6, home.path());
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(r.exitCode, 0) << name << "\n" << r.err;
        EXPECT_EQ(r.out, expected) << name;
    }
    EXPECT_GT(cases, 0);
}

} // namespace
} // namespace tira
