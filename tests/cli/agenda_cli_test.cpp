#include "support/run_tira.h"
#include "support/temp_home.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifdef TIRA_HAVE_LIBICAL
#include <libical/ical.h>
#endif

namespace tira::test {
namespace {

const std::string kSampleHome = std::string(TIRA_SOURCE_DIR) + "/examples/home";

RunResult agenda(std::vector<std::string> args, const std::string& home = kSampleHome)
{
    args.insert(args.begin(), "--agenda");
    args.insert(args.end(), {"--home", home});
    return runProgram(TIRA_EXE, args, {"NO_COLOR="});
}

TEST(AgendaCli, FormatsAndArguments)
{
    TempHome controls; // a weekly item with C1 and DEL characters, a table that is a folder
    controls.writeTable("TIRA.ini", "[Week]\nCount=1\nFile0=.\\W.TBL\n");
    controls.writeBytes("W.TBL", "\xEF\xBB\xBF"
                                 "1/1 12/31 a\xC2\x85"
                                 "b\x7F"
                                 "c\r\n");
    TempHome unreadable;
    unreadable.writeTable("TIRA.ini", "[Week]\nCount=1\nFile0=.\\W.TBL\n");
    std::filesystem::create_directory(unreadable.file("W.TBL"));

    struct Case
    {
        std::vector<std::string> args;
        std::string home;
        int exitCode;
        std::string out; // the whole output, or a part of stderr for a failure
    };
    const std::vector<Case> cases{
        {{"3", "--date", "2026-5-3", "--kinds", "holiday,event", "--color", "always"},
         kSampleHome,
         0,
         "2026年5月3日(日)\n  憲法記念日 (祝日) です。\n  \x1b[32m五月病に注意です。\x1b[0m\n\n"
         "2026年5月4日(月)\n  憲法記念日の振替休日です。\n  みどりの日 (祝日) です。\n"
         "  \x1b[32m燃えないごみの日です。\x1b[0m\n  \x1b[32m五月病に注意です。\x1b[0m\n\n"
         "2026年5月5日(火)\n  こどもの日 (祝日) です。\n  \x1b[32m五月病に注意です。\x1b[0m\n"},
        {{"2", "--date=2026-12-31", "--kinds=birthday,weekly", "--color", "24bit"},
         kSampleHome,
         0,
         "2026年12月31日(木)\n  \x1b[38;2;0;0;128m歳末たすけあい運動\x1b[0m\n"
         "  \x1b[38;2;0;0;128m年末年始です。\x1b[0m\n"
         "  \x1b[38;2;0;0;128m冬の節電期間です。\x1b[0m\n\n"
         "2027年1月1日(金)\n  \x1b[38;2;0;0;128m年末年始です。\x1b[0m\n"
         "  \x1b[38;2;0;0;128m冬の節電期間です。\x1b[0m\n"},
        {{"1", "--date", "2026-2-1", "--format", "json"},
         controls.path(),
         0,
         R"({"from":"2026-02-01","days":1,"entries":[{"date":"2026-02-01","kind":"weekly",)"
         R"("text":"a\u0085b\u007fcです。","color":0,"colorHex":"#000000","stop":false,)"
         R"("file":")" +
             controls.file("W.TBL") + R"(","line":1}]})" + "\n"},
        {{"0"}, kSampleHome, 2, "--agenda takes a number of days from 1 to 1000: 0"},
        {{"1001"}, kSampleHome, 2, "from 1 to 1000: 1001"},
        {{"--kinds", "birthday,holidays"}, kSampleHome, 2, "separated by commas: holidays"},
        {{"--time", "9:00"}, kSampleHome, 2, "--time goes only with --print"},
        {{"--print"}, kSampleHome, 2, "--agenda goes without --print"},
        {{"--format", "xml"}, kSampleHome, 2, "unknown format: xml"},
        {{"5"}, unreadable.path(), 1, "W.TBL"},
    };
    for (const Case& c : cases) {
        const RunResult run = agenda(c.args, c.home);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args[0] << run.err;
        if (c.exitCode == 0)
            EXPECT_EQ(run.out, c.out) << c.args[0];
        else
            EXPECT_NE(run.err.find(c.out), std::string::npos) << run.err;
    }
    // --output replaces the file whole, and leaves it as it was when it cannot
    TempHome out;
    out.writeBytes("feed.ics", "old");
    const RunResult written =
        agenda({"2", "--date", "2026-5-3", "--kinds", "holiday", "--output", out.file("feed.ics")});
    EXPECT_EQ(written.exitCode, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(out.readBytes("feed.ics"), "2026年5月3日(日)\n  憲法記念日 (祝日) です。\n\n"
                                         "2026年5月4日(月)\n  憲法記念日の振替休日です。\n"
                                         "  みどりの日 (祝日) です。\n");
    std::filesystem::create_directory(out.file("folder.ics"));
    const RunResult refused = agenda({"--output", out.file("folder.ics")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("cannot write " + out.file("folder.ics")), std::string::npos)
        << refused.err;
    EXPECT_TRUE(std::filesystem::is_directory(out.file("folder.ics")));

    const RunResult outputWithPrint = runProgram(TIRA_EXE, {"--print", "--output", "x"});
    EXPECT_EQ(outputWithPrint.exitCode, 2);
    EXPECT_NE(outputWithPrint.err.find("--output goes only with --agenda"), std::string::npos);
}

std::vector<std::string> icsLines(const std::string& ics)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (auto end = ics.find("\r\n"); end != std::string::npos; end = ics.find("\r\n", at)) {
        lines.push_back(ics.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(at, ics.size()) << "the last line ends in CR LF";
    return lines;
}

// A line that ends in the middle of a UTF-8 character, or begins with the rest of one.
bool cutsACharacter(const std::string& line)
{
    if (!line.empty() && (static_cast<unsigned char>(line.front()) & 0xC0) == 0x80) return true;
    std::size_t i = line.size();
    while (i > 0 && (static_cast<unsigned char>(line[i - 1]) & 0xC0) == 0x80)
        --i;
    if (i == 0) return false;
    const auto lead = static_cast<unsigned char>(line[i - 1]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return line.size() - (i - 1) != length;
}

TEST(AgendaCli, IcsIsReadByThreeReadersWithStableUids)
{
    const std::vector<std::string> args{"400", "--date", "2026-1-1", "--format", "ics"};
    const RunResult first = agenda(args);
    const RunResult second = agenda(args);
    ASSERT_EQ(first.exitCode, 0) << first.err;
    ASSERT_EQ(second.exitCode, 0) << second.err;

    std::vector<std::string> uids[2];
    std::size_t events = 0;
    for (int run = 0; run < 2; ++run) {
        for (const std::string& line : icsLines(run == 0 ? first.out : second.out)) {
            EXPECT_LE(line.size(), 75u) << line;
            EXPECT_FALSE(cutsACharacter(line)) << line;
            if (line.starts_with("UID:")) uids[run].push_back(line);
            if (run == 0 && line == "BEGIN:VEVENT") ++events;
        }
    }
    EXPECT_GT(events, 200u);
    EXPECT_EQ(uids[0], uids[1]);
    EXPECT_EQ(std::set<std::string>(uids[0].begin(), uids[0].end()).size(), events);

    TempHome scratch;
    scratch.writeBytes("feed.ics", first.out);
#ifdef TIRA_HAVE_LIBICAL
    icalcomponent* calendar = icalparser_parse_string(first.out.c_str());
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0);
    EXPECT_EQ(std::size_t(icalcomponent_count_components(calendar, ICAL_VEVENT_COMPONENT)), events);
    icalcomponent_free(calendar);
#endif
#ifndef _WIN32
    const RunResult python = runProgram(
        "/usr/bin/python3", {"-c",
                             "import icalendar, sys\n"
                             "c = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                             "print(len(c.walk('VEVENT')), len(c.walk('VALARM')))",
                             scratch.file("feed.ics")});
    EXPECT_EQ(python.exitCode, 0) << python.err;
    EXPECT_EQ(python.out.substr(0, python.out.find(' ')), std::to_string(events)) << python.out;
    EXPECT_NE(python.out, std::to_string(events) + " 0\n") << "stop entries have alarms";

    scratch.writeBytes("khal/config", "[calendars]\n[[tira]]\npath = " + scratch.file("cal") +
                                          "\ntype = calendar\n[locale]\n"
                                          "dateformat = %Y-%m-%d\nlongdateformat = %Y-%m-%d\n"
                                          "timeformat = %H:%M\n"
                                          "datetimeformat = %Y-%m-%d %H:%M\n"
                                          "longdatetimeformat = %Y-%m-%d %H:%M\n");
    const RunResult khal =
        runProgram("khal", {"printics", scratch.file("feed.ics")},
                   {"XDG_CONFIG_HOME=" + scratch.path(), "XDG_DATA_HOME=" + scratch.path()});
    EXPECT_EQ(khal.exitCode, 0) << khal.err;
    EXPECT_NE(khal.out.find(std::to_string(events) + " events found"), std::string::npos)
        << khal.out.substr(0, 200);
    EXPECT_NE(khal.out.find("年末年始です。"), std::string::npos);
#endif
}

} // namespace
} // namespace tira::test
