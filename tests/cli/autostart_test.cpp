#include "cli/autostart.h"
#include "support/temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tira {
namespace {

namespace fs = std::filesystem;

TEST(Autostart, ExecArgumentsAreQuotedAndEscaped)
{
    struct Case
    {
        const char* name;
        std::string program;
        std::vector<std::string> args;
        std::string exec; // as written in the file
    };
    const Case cases[] = {
        {"plain", "/usr/bin/tira", {}, "/usr/bin/tira"},
        {"home", "/usr/bin/tira", {"--home", "/home/u/tira"}, "/usr/bin/tira --home /home/u/tira"},
        {"blank", "/opt/my apps/tira", {}, "\"/opt/my apps/tira\""},
        // inside quotes \" \` \$ \\ ; the file then doubles every backslash
        {"quote", "/x/a\"b", {}, "\"/x/a\\\\\"b\""},
        {"dollar", "/x/$HOME", {}, "\"/x/\\\\$HOME\""},
        {"backslash", "/x/a\\b", {}, "\"/x/a\\\\\\\\b\""},
        {"percent", "/x/100%", {}, "/x/100%%"},
        {"empty argument", "/x/tira", {"--home", ""}, "/x/tira --home \"\""},
        {"japanese", "/home/山田/tira", {}, "/home/山田/tira"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(desktopExec(c.program, c.args), c.exec) << c.name;
    EXPECT_EQ(desktopExec("/x/a\nb", {}), "");
    EXPECT_EQ(desktopExec("/x/tira", {"--home", "a\nb"}), "");
}

TEST(Autostart, EntryCarriesBothNamesAndTheCommand)
{
    const std::string entry = autostartDesktopEntry("/usr/bin/tira --home /h");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=TIRA Daily Reminder\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName[ja]=TIRA 今日のお知らせ\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=/usr/bin/tira --home /h\n"), std::string::npos);
}

#ifndef _WIN32

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv
{
  public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) m_old = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(Autostart, EntryPathHonoursAnAbsoluteXdgConfigHomeOnly)
{
    const test::TempHome home;
    const ScopedEnv userHome("HOME", home.path().c_str());
    {
        const ScopedEnv config("XDG_CONFIG_HOME", home.file("cfg").c_str());
        EXPECT_EQ(autostartEntryPath(), fs::path(home.file("cfg/autostart/tira.desktop")));
    }
    for (const char* ignored : {"relative/cfg", ""}) {
        const ScopedEnv config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(autostartEntryPath(), fs::path(home.file(".config/autostart/tira.desktop")))
            << "XDG_CONFIG_HOME=" << ignored;
    }
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(autostartEntryPath(), fs::path(home.file(".config/autostart/tira.desktop")));
}

TEST(Autostart, OnWritesTheEntryAndOffRemovesIt)
{
    const test::TempHome dir;
    const ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
    const std::string entry = "autostart/tira.desktop";

    // the autostart folder does not exist yet
    AutostartResult r = setAutostart(true, "/opt/tira/tira", "/home/u/my tira");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_NE(r.message.find(dir.file(entry)), std::string::npos) << r.message;
    const std::string written = dir.readBytes(entry);
    EXPECT_EQ(written, autostartDesktopEntry("/opt/tira/tira --home \"/home/u/my tira\""));
    EXPECT_FALSE(fs::exists(dir.file(entry + ".tmp")));

    // on again replaces the entry (another home)
    r = setAutostart(true, "/opt/tira/tira", "");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(dir.readBytes(entry), autostartDesktopEntry("/opt/tira/tira"));

    r = setAutostart(false, "/opt/tira/tira", "");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_FALSE(fs::exists(dir.file(entry)));
    EXPECT_TRUE(fs::exists(dir.file("autostart"))) << "the desktop's folder stays";

    r = setAutostart(false, "/opt/tira/tira", "");
    EXPECT_TRUE(r.ok) << "off without an entry is no error: " << r.message;
}

TEST(Autostart, FailuresAreReportedNotThrown)
{
    const test::TempHome dir;
    // a file where the autostart folder should be
    dir.writeBytes("cfg/autostart", "not a folder");
    const ScopedEnv config("XDG_CONFIG_HOME", dir.file("cfg").c_str());
    AutostartResult r = setAutostart(true, "/usr/bin/tira", "");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("autostart"), std::string::npos) << r.message;

    r = setAutostart(true, "/usr/bin/tira", "line\nbreak");
    EXPECT_FALSE(r.ok);

    // an entry made read-only is kept, and the message says why
    dir.writeBytes("cfg2/autostart/tira.desktop", "mine");
    fs::permissions(dir.file("cfg2/autostart/tira.desktop"), fs::perms(0444));
    {
        const ScopedEnv config2("XDG_CONFIG_HOME", dir.file("cfg2").c_str());
        r = setAutostart(true, "/usr/bin/tira", "");
    }
    EXPECT_EQ(r.message,
              "cannot write " + dir.file("cfg2/autostart/tira.desktop") + ": Permission denied");
    EXPECT_EQ(dir.readBytes("cfg2/autostart/tira.desktop"), "mine");

    const ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv noHome("HOME", nullptr);
    r = setAutostart(true, "/usr/bin/tira", "");
    EXPECT_FALSE(r.ok);
}

#else

TEST(Autostart, StartupFolderShortcutIsWrittenAndRemoved)
{
    const fs::path link = autostartEntryPath();
    ASSERT_FALSE(link.empty());
    EXPECT_EQ(link.filename(), fs::path(L"TIRA.lnk"));
    // never touch the login of the person running the tests
    if (fs::exists(link)) GTEST_SKIP() << "TIRA already starts at login here";
    const test::TempHome dir;
    AutostartResult r = setAutostart(true, dir.file("tira.exe"), "C:\\Users\\u\\my tira");
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_TRUE(fs::exists(link));
    EXPECT_GT(fs::file_size(link), 0u);
    r = setAutostart(false, dir.file("tira.exe"), "");
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_FALSE(fs::exists(link));
}

#endif

} // namespace
} // namespace tira
