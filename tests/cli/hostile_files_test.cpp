// What a path, a file or its bytes can do to the command-line modes: nothing hangs, memory
// stays bounded, and no control character from a file reaches the terminal.
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

// FIFOs, devices, sparse files and a child's peak memory: the POSIX side.
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>

namespace tira {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kPrint = {"--print", "--date", "2024-06-14", "--home"};

std::vector<std::string> printArgs(const test::TempHome& home)
{
    auto args = kPrint;
    args.push_back(home.path());
    return args;
}

TEST(HostileFiles, SpecialFilesEndPrintModeAtOnce)
{
    struct Case
    {
        const char* name;
        std::string ini;   // TIRA.ini, naming BAD for the path under test
        bool iniIsTheFifo; // TIRA.ini itself is the FIFO
    };
    const Case cases[] = {
        {"table is a FIFO", "[Birthday]\r\nCount=1\r\nFile0=.\\BAD\r\n", false},
        {"table is /dev/zero", "[Birthday]\r\nCount=1\r\nFile0=/dev/zero\r\n", false},
        {"holiday file is a FIFO", "[Common]\r\nHoliday=.\\BAD\r\n", false},
        {"TIRA.ini is a FIFO", "", true},
    };
    for (const Case& c : cases) {
        const test::TempHome home;
        if (c.iniIsTheFifo) {
            ASSERT_EQ(::mkfifo(home.file("TIRA.ini").c_str(), 0600), 0);
        } else {
            ASSERT_EQ(::mkfifo(home.file("BAD").c_str(), 0600), 0);
            home.writeBytes("TIRA.ini", c.ini);
        }
        const auto start = std::chrono::steady_clock::now();
        const auto r = test::runProgram(TIRA_EXE, printArgs(home));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.name;
        EXPECT_EQ(r.exitCode, 1) << c.name;
        EXPECT_NE(r.err.find(": not a regular file\n"), std::string::npos) << c.name << r.err;
        EXPECT_EQ(r.err.find("TIRA.ini を読めません: ") != std::string::npos, c.iniIsTheFifo)
            << c.name;
    }
}

// A 2 GiB file of NULs is one line far over the limit: skipped, never held.
TEST(HostileFiles, HugeLineKeepsMemoryBounded)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", "[Birthday]\r\nCount=1\r\nFile0=.\\BIG.TBL\r\n");
    home.writeBytes("BIG.TBL", "");
    fs::resize_file(home.file("BIG.TBL"), std::uintmax_t{2} << 30); // sparse
    const auto r = test::runProgram(TIRA_EXE, printArgs(home));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    // the sanitizer's own shadow memory and allocator add a fixed amount, not one that grows
    // with the 2 GiB line
#ifdef __SANITIZE_ADDRESS__
    constexpr long kPeakKb = 96 * 1024;
#else
    constexpr long kPeakKb = 32 * 1024;
#endif
    EXPECT_LT(usage.ru_maxrss, kPeakKb) << "peak kB of the largest child";
}

TEST(HostileFiles, CheckNamesAnOverlongLine)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", "[Birthday]\r\nCount=1\r\nFile0=.\\BIRTH.TBL\r\n");
    home.writeBytes("BIRTH.TBL", "1990/6/14 x Taro\r\n" + std::string(5u << 20, 'x') +
                                     "\r\n1990/6/15 x Jiro\r\n");
    const auto r = test::runProgram(TIRA_EXE, {"--check", "--home", home.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out.rfind(home.file("BIRTH.TBL") + ":2: 行が長すぎます (line too long): \n\n", 0),
              0u)
        << r.out.substr(0, 300);
    EXPECT_NE(r.out.find("3 行 (lines), 1 件の問題"), std::string::npos) << r.out.substr(0, 300);
}

TEST(HostileFiles, UnreadableIniIsReported)
{
    const test::TempHome home;
    fs::create_directory(home.file("TIRA.ini"));
    for (const auto& args :
         {std::vector<std::string>{"--check", "--home", home.path()}, printArgs(home)}) {
        const auto r = test::runProgram(TIRA_EXE, args);
        EXPECT_EQ(r.exitCode, 1) << args[0];
        EXPECT_EQ(r.err.rfind("tira: TIRA.ini を読めません: ", 0), 0u) << args[0] << r.err;
        EXPECT_EQ(r.out, "") << args[0];
    }
    EXPECT_TRUE(fs::is_directory(home.file("TIRA.ini")));
}

TEST(HostileFiles, NoEscapeFromATableReachesTheTerminal)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", "[Birthday]\r\nCount=1\r\nFile0=.\\BIRTH.TBL\r\n");
    home.writeBytes("BIRTH.TBL", "1990/6/14 x \"\x1B]0;pwned\x07Taro\"\r\n"
                                 "1990/6 \x1B[2J\r\n" +
                                     std::string(5000, 'y') + "\r\n");
    // the print mode on a pseudo-terminal: script gives it one
    const auto print = test::runProgram("script", {"-qec",
                                                   test::shellQuote(TIRA_EXE) +
                                                       " --print --date 2024-06-14 --home " +
                                                       test::shellQuote(home.path()),
                                                   "/dev/null"});
    EXPECT_NE(print.out.find("^[]0;pwned^GTaro"), std::string::npos) << print.out;
    EXPECT_EQ(print.out.find("\x1B]"), std::string::npos) << print.out;

    const auto check = test::runProgram(TIRA_EXE, {"--check", "--home", home.path()});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.out.find(":2: "), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("1990/6 ^[[2J\n"), std::string::npos) << check.out;
    EXPECT_EQ(check.out.find('\x1B'), std::string::npos) << check.out;
    EXPECT_NE(check.out.find(":3: " + std::string("項目が足りません (too few fields): ") +
                             std::string(200, 'y') + "…\n"),
              std::string::npos)
        << check.out.substr(0, 1000);
}

// JSON carries every control character (C0, DEL, C1) escaped, and no other byte changed.
TEST(HostileFiles, NoControlCharacterInJson)
{
    const test::TempHome home;
    home.writeBytes("TIRA.ini", "[Birthday]\r\nCount=1\r\nFile0=.\\BIRTH.TBL\r\n");
    home.writeBytes("BIRTH.TBL", "\xEF\xBB\xBF"
                                 "1990/6/14 x \"a\x1B[2J\x7F\xC2\x9B"
                                 "1m\xC2\x85\xC2\xA0é\"\r\n");
    auto args = printArgs(home);
    args.insert(args.end(), {"--format", "json"});
    const auto print = test::runProgram(TIRA_EXE, args);
    EXPECT_EQ(print.exitCode, 0) << print.err;
    EXPECT_NE(print.out.find("a\\u001b[2J\\u007f\\u009b1m\\u0085\xC2\xA0é"), std::string::npos)
        << print.out;
    for (const char* raw : {"\x1B", "\x7F", "\xC2\x9B", "\xC2\x85"})
        EXPECT_EQ(print.out.find(raw), std::string::npos) << print.out;
}

} // namespace
} // namespace tira
#endif
