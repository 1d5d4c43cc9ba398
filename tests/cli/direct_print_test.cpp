// The print mode answered before Qt is loaded (`--print --home DIR`) against the same report
// from the command line under Qt: the same bytes, the same exit code, the same messages.
#include "cli/direct_print.h"
#include "cli/home_folder.h"
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tira {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32 // the print mode before Qt is there on POSIX only
TEST(DirectPrint, HomeFolderAsQtMakesItOrLeftToQt)
{
    const test::TempHome root;
    fs::create_directories(root.file("a/b"));
    const std::string cwd = fs::current_path().string();
    struct Case
    {
        std::string requested;
        bool direct;
    };
    const Case cases[] = {
        {root.file("a/b"), true},
        {root.file("a/b") + "/", true},
        {"relative/dir", true},
        {"/", true},
        {root.file("a/./b"), false},
        {root.file("a/../a"), false},
        {root.path() + "//a", false},
        {".", false},
        {"x/..", false},
    };
    for (const Case& c : cases) {
        const auto direct = directHomeFolder(c.requested);
        EXPECT_EQ(direct.has_value(), c.direct) << c.requested;
        if (direct) {
            const QString qt = resolveHomeFolder(QString::fromStdString(c.requested));
            EXPECT_EQ(*direct, qt.toStdString()) << c.requested;
        }
    }
}

#endif

TEST(DirectPrint, SameReportWithAndWithoutQt)
{
    const test::TempHome home;
    fs::copy(fs::path(TIRA_SOURCE_DIR) / "examples/home", home.path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    // "DIR/." is the same folder, but a path the program leaves to Qt to clean
    const std::string viaQt = home.path() + "/.";
    for (const char* date : {"2024-1-1", "2024-5-12", "2024-12-25"}) {
        for (const char* format : {"text", "json"}) {
            const std::vector<std::string> tail = {"--format", format,   "--date",
                                                   date,       "--time", "7:05"};
            std::vector<std::string> direct = {"--print", "--home", home.path()};
            std::vector<std::string> qt = {"--print", "--home", viaQt};
            direct.insert(direct.end(), tail.begin(), tail.end());
            qt.insert(qt.end(), tail.begin(), tail.end());
            const auto a = test::runProgram(TIRA_EXE, direct);
            const auto b = test::runProgram(TIRA_EXE, qt);
            EXPECT_EQ(a.exitCode, 0) << a.err;
            EXPECT_EQ(a.out, b.out) << date << " " << format;
            EXPECT_EQ(a.err, b.err);
        }
    }
    // an unreadable table ends the report the same way: lines so far, the reason, exit 1
    fs::remove(home.file("SCHEDULE.TBL"));
    fs::create_directories(home.file("SCHEDULE.TBL"));
    const auto a = test::runProgram(TIRA_EXE, {"--print", "--home=" + home.path()});
    const auto b = test::runProgram(TIRA_EXE, {"--print", "--home=" + viaQt});
    EXPECT_EQ(a.exitCode, 1);
    EXPECT_EQ(b.exitCode, 1);
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.err.find("SCHEDULE.TBL"), std::string::npos) << a.err;
}

TEST(DirectPrint, AnythingElseIsLeftToQt)
{
    const char* const argv0 = "tira";
    const auto declines = [&](std::vector<std::string> args) {
        std::vector<char*> argv{const_cast<char*>(argv0)};
        for (auto& a : args)
            argv.push_back(a.data());
        return !printDirectly(static_cast<int>(argv.size()), argv.data()).has_value();
    };
    const test::TempHome home;
    EXPECT_TRUE(declines({"--print"}));                                 // no home
    EXPECT_TRUE(declines({"--print", "--home", home.file("missing")})); // Qt says so
    EXPECT_TRUE(declines({"--print", "--home", home.path(), "--format", "xml"}));
    EXPECT_TRUE(declines({"--print", "--home", home.path(), "--date", "2024-2-30"}));
    EXPECT_TRUE(declines({"--print", "--home", home.path(), "--time", "24:00"}));
    EXPECT_TRUE(declines({"--print", "--print", "--home", home.path()}));
    EXPECT_TRUE(declines({"--print", "--home", home.path(), "--home", home.path()}));
    EXPECT_TRUE(declines({"--print", "--home", home.path(), "extra"}));
    EXPECT_TRUE(declines({"--print", "--home"}));
    EXPECT_TRUE(declines({"--check", "--home", home.path()}));
    EXPECT_TRUE(declines({"--print", "--home", "\xFF"}));
}

} // namespace
} // namespace tira
