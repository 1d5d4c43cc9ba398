#include "support/table_lines.h"
#include "support/temp_home.h"
#include "text/paths.h"
#include "text/table_reader.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tira {
namespace {

TEST(Paths, HomePrefixEndsWithOneSeparator)
{
    const std::string prefix = homePrefix("/h/tira");
    ASSERT_FALSE(prefix.empty());
    EXPECT_TRUE(prefix.back() == '/' || prefix.back() == '\\');
    EXPECT_EQ(prefix.substr(0, prefix.size() - 1), "/h/tira");
    EXPECT_EQ(homePrefix("/h/tira/"), "/h/tira/");
    EXPECT_EQ(homePrefix("C:\\TIRA\\"), "C:\\TIRA\\");
}

TEST(Paths, CompletesOnlyALeadingDotBackslash)
{
    const std::string home = "/h/tira";
    const std::string prefix = homePrefix(home);
    struct Case
    {
        const char* path;
        std::string completed;
        bool changed;
    };
    const Case cases[] = {
        {".\\BIRTH.TBL", prefix + "BIRTH.TBL", true},
        {".\\data\\EV%m.TBL", prefix + "data\\EV%m.TBL", true},
        {".\\", prefix, true},
        {".\\.\\x", prefix + ".\\x", true}, // only the first two characters
        {"./BIRTH.TBL", "./BIRTH.TBL", false},
        {"..\\BIRTH.TBL", "..\\BIRTH.TBL", false},
        {"BIRTH.TBL", "BIRTH.TBL", false},
        {"data\\.\\x", "data\\.\\x", false},
        {".", ".", false},
        {"", "", false},
        {"C:\\TIRA\\BIRTH.TBL", "C:\\TIRA\\BIRTH.TBL", false},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(completeProgramPath(path, home), c.changed) << c.path;
        EXPECT_EQ(path, c.completed) << c.path;
    }
}

#ifndef _WIN32
TEST(Paths, BackslashIsASeparatorOnPosix)
{
    EXPECT_EQ(toFsPath("data\\sub\\EV03.TBL"), std::filesystem::path("data/sub/EV03.TBL"));

    test::TempHome home;
    home.writeBytes("data/EV03.TBL", "x\r\n");
    std::string path = ".\\data\\EV03.TBL";
    ASSERT_TRUE(completeProgramPath(path, home.path()));
    EXPECT_TRUE(pathExists(path));
    TableReader reader(path);
    std::string line;
    ASSERT_TRUE(test::nextLine(reader, line));
    EXPECT_EQ(line, "x");
}
#endif

TEST(Paths, ExistsAndUtf8Names)
{
    test::TempHome home;
    home.writeBytes("予定.TBL", "");
    EXPECT_TRUE(pathExists(home.file("予定.TBL")));
    EXPECT_TRUE(pathExists(home.path()));
    EXPECT_FALSE(pathExists(home.file("none.TBL")));
    EXPECT_FALSE(pathExists(""));
    EXPECT_EQ(fromFsPath(toFsPath("日本/予定.TBL")), "日本/予定.TBL");
}

} // namespace
} // namespace tira
