// The window's start as the command line sees it: no display, and arguments checked before
// the single-instance lock.
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#ifndef _WIN32
#include <unistd.h>
#endif
#include <vector>

// Signals, a background shell job and POSIX lock names: the POSIX side only.
#ifndef _WIN32
namespace tira {
namespace {

namespace fs = std::filesystem;

// A runtime folder of this run only, private as the program wants it for its lock.
struct PrivateRuntime : test::TempHome
{
    PrivateRuntime() { fs::permissions(path(), fs::perms::owner_all, fs::perm_options::replace); }
};

TEST(WindowStart, WithoutADisplayOneLineAndExitOne)
{
    const test::TempHome home;
    const PrivateRuntime runtime; // the lock of this run only
    struct Case
    {
        const char* name;
        std::string display;
    };
    const Case cases[] = {
        {"none named", ""},
        {"cannot be opened", ":4711"},
    };
    for (const Case& c : cases) {
        const auto r = test::runProgram(TIRA_EXE, {"--home", home.path()},
                                        {"DISPLAY=" + c.display, "WAYLAND_DISPLAY=",
                                         "QT_QPA_PLATFORM=", "XDG_RUNTIME_DIR=" + runtime.path()});
        EXPECT_EQ(r.exitCode, 1) << c.name << "\n" << r.err;
        EXPECT_NE(r.err.find("(no display; use tira --print)\n"), std::string::npos)
            << c.name << "\n"
            << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.name << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << c.name;
    }
}

TEST(WindowStart, ArgumentsAreCheckedWhileAnotherCopyRuns)
{
    const test::TempHome home;
    const PrivateRuntime runtime;
    const std::string env =
        "XDG_RUNTIME_DIR=" + test::shellQuote(runtime.path()) + " QT_QPA_PLATFORM=offscreen ";
    // the first copy: a window that holds the lock until it is asked to end
    const std::string start = "env " + env + test::shellQuote(TIRA_EXE) + " --home " +
                              test::shellQuote(home.path()) + " >/dev/null 2>&1 & echo $! >" +
                              test::shellQuote(runtime.file("pid"));
    ASSERT_EQ(std::system(start.c_str()), 0);
    const pid_t first = std::stoi(runtime.readBytes("pid"));
    // a failed assertion below must not leave the window running (and holding its lock)
    const struct Ender
    {
        pid_t pid;
        ~Ender() { ::kill(pid, SIGTERM); }
    } ender{first};
    const std::string lock =
        runtime.file("MutexObjectForTira-" + std::to_string(getuid()) + ".lock");
    for (int i = 0; i < 200 && !fs::exists(lock); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(lock));

    const std::vector<std::string> lockHere{"XDG_RUNTIME_DIR=" + runtime.path(),
                                            "QT_QPA_PLATFORM=offscreen"};
    const auto missing = test::runProgram(TIRA_EXE, {"--home", home.file("missing")}, lockHere);
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("home folder not found"), std::string::npos) << missing.err;
    const auto bogus = test::runProgram(TIRA_EXE, {"--bogus"}, lockHere);
    EXPECT_EQ(bogus.exitCode, 2);
    const auto second = test::runProgram(TIRA_EXE, {"--home", home.path()}, lockHere);
    EXPECT_EQ(second.exitCode, 0) << "a second copy ends silently";
    EXPECT_TRUE(second.err.empty()) << second.err;

    ::kill(first, SIGTERM);
    for (int i = 0; i < 200 && ::kill(first, 0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // the window got the home folder it was started with: it saved its settings there
    EXPECT_TRUE(fs::exists(home.file("TIRA.ini")));
}

} // namespace
} // namespace tira
#endif
