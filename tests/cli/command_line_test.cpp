// The argument parser: every argument list becomes one job, or one usage error.
#include "cli/command_line.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tira {
namespace {

TEST(CommandLine, ArgumentsGiveTheJobOrAUsageError)
{
    struct Case
    {
        std::vector<std::string_view> args;
        JobKind kind;       // when it parses
        std::string error;  // part of the message of a usage error; empty when it parses
        std::string home{}; // --home as given
        PrintFormat format = PrintFormat::Text;
        ColourChoice colour = ColourChoice::Auto;
    };
    const Case cases[] = {
        {{}, JobKind::Window, "", ""},
        {{"--home", "h"}, JobKind::Window, "", "h"},
        {{"--home=a=b"}, JobKind::Window, "", "a=b"},
        {{"--print"}, JobKind::Print, "", ""},
        {{"--print", "--home", "h", "--format", "json", "--color", "never"},
         JobKind::Print,
         "",
         "h",
         PrintFormat::Json,
         ColourChoice::Never},
        {{"--color=always", "--print"},
         JobKind::Print,
         "",
         "",
         PrintFormat::Text,
         ColourChoice::Always},
        {{"--print", "--home", "a", "--home", "b"}, JobKind::Print, "", "b"}, // last one counts
        {{"--print", "--home", "--check"}, JobKind::Print, "", "--check"},    // a value is a value
        {{"--check", "--home=h"}, JobKind::Check, "", "h"},
        {{"--autostart", "on"}, JobKind::Autostart, "", ""},
        {{"--autostart=off", "--home", "h"}, JobKind::Autostart, "", "h"},
        {{"-h"}, JobKind::Help, "", ""},
        {{"--print", "--help", "--date", "x"}, JobKind::Help, "", ""},
        {{"-V"}, JobKind::Version, "", ""},
        {{"--version", "--check"}, JobKind::Version, "", ""},
        {{"--holidays"}, JobKind::Holidays, "", ""},
        {{"--holidays", "2099"}, JobKind::Holidays, "", ""},
        {{"--holidays=1948"}, JobKind::Holidays, "", ""},
        // usage errors
        {{"--print", "--bogus"}, {}, "unknown option: --bogus"},
        {{"-x"}, {}, "unknown option: -x"},
        {{"--print", "extra"}, {}, "unexpected argument: extra"},
        {{"--print", "-"}, {}, "unexpected argument: -"},
        {{"--print", "--home"}, {}, "missing value after --home"},
        {{"--print=yes"}, {}, "no value goes with --print"},
        {{"--print", "--format", "xml"}, {}, "unknown format: xml"},
        {{"--print", "--color", "sometimes"}, {}, "--color takes auto, always, never or 24bit"},
        {{"--print", "--date", "2024-2-30"}, {}, "invalid date"},
        {{"--print", "--time", "9:5"}, {}, "invalid time"},
        {{"--check", "--print"}, {}, "--print and --check do not go together"},
        {{"--autostart", "yes"}, {}, "--autostart takes on or off: yes"},
        {{"--autostart", "on", "--check"}, {}, "--autostart goes without --print and --check"},
        {{"--check", "--date", "2024-1-1"}, {}, "--date goes only with --print"},
        {{"--color=never"}, {}, "--color goes only with --print"},
        {{"--holidays", "1947"}, {}, "--holidays takes a year from 1948 to 2099: 1947"},
        {{"--holidays", "2100"}, {}, "--holidays takes a year from 1948 to 2099: 2100"},
        {{"--holidays", "20x6"}, {}, "--holidays takes a year from 1948 to 2099: 20x6"},
        {{"--holidays", "-3"}, {}, "unknown option: -3"},
        {{"--holidays", "2026", "2027"}, {}, "unexpected argument: 2027"},
        {{"--holidays", "--print"}, {}, "--holidays goes without other options"},
        {{"--holidays", "2024", "--date", "2020-1-1"}, {}, "--holidays goes without other options"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto arg : c.args)
            joined += std::string(arg) + " ";
        const auto result = parseCommandLine(c.args);
        if (!c.error.empty()) {
            const auto* error = std::get_if<UsageError>(&result);
            ASSERT_NE(error, nullptr) << joined;
            EXPECT_NE(error->message.find(c.error), std::string::npos) << joined << error->message;
            continue;
        }
        const auto* job = std::get_if<Job>(&result);
        ASSERT_NE(job, nullptr) << joined << std::get<UsageError>(result).message;
        EXPECT_EQ(job->kind, c.kind) << joined;
        EXPECT_EQ(job->home.value_or(""), c.home) << joined;
        EXPECT_EQ(job->format, c.format) << joined;
        EXPECT_EQ(job->colour, c.colour) << joined;
    }
}

TEST(CommandLine, PrintDateAndTimeAreReadAsTheDateDialogChecksThem)
{
    const std::vector<std::string_view> args{"--print", "--date", "2024-02-29", "--time", "0:07"};
    const auto result = parseCommandLine(args);
    ASSERT_TRUE(std::holds_alternative<Job>(result));
    const Job& job = std::get<Job>(result);
    ASSERT_TRUE(job.date && job.time);
    EXPECT_EQ(job.date->year, 2024);
    EXPECT_EQ(job.date->month, 2);
    EXPECT_EQ(job.date->day, 29);
    EXPECT_EQ(*job.time, std::pair(0, 7));
}

TEST(CommandLine, TheReadmeAndTheHelpPageShowTheHelpAsItIs)
{
    for (const char* page : {"README.md", "help/index.html"}) {
        std::ifstream in(std::string(TIRA_SOURCE_DIR) + "/" + page, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find(helpText()), std::string::npos) << page;
    }
}

} // namespace
} // namespace tira
