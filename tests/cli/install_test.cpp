// The installed program: where it finds its help page and its home folder, and the login
// entry it writes.
#include "cli/home_folder.h"
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace tira {
namespace {

namespace fs = std::filesystem;

// The installation layout (bin/ beside share/), HOME and XDG_CONFIG_HOME, and the login entry
// as a desktop file are the POSIX side; Windows keeps everything in the program's folder.
#ifndef _WIN32

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

TEST(InstallLayout, HelpPageBesideTheProgramOrInTheInstalledDataFolder)
{
    const test::TempHome root;
    root.writeBytes("portable/help/index.html", "<html></html>");
    root.writeBytes("usr/share/tira/help/index.html", "<html></html>");
    fs::create_directories(root.file("usr/bin"));
    fs::create_directories(root.file("bare"));

    // a build tree or a portable folder: help beside the program, no installation
    EXPECT_EQ(installedDataFolder(q(root.file("portable"))), QString());
    EXPECT_EQ(helpPagePath(q(root.file("portable"))), q(root.file("portable/help/index.html")));

    // an installation: bin/ and share/tira/ side by side
    EXPECT_EQ(installedDataFolder(q(root.file("usr/bin"))), q(root.file("usr/share/tira")));
    EXPECT_EQ(helpPagePath(q(root.file("usr/bin"))),
              q(root.file("usr/share/tira/help/index.html")));

    // neither: the path beside the program (the browser then says it is missing)
    EXPECT_EQ(installedDataFolder(q(root.file("bare"))), QString());
    EXPECT_EQ(helpPagePath(q(root.file("bare"))), q(root.file("bare/help/index.html")));
}

// Copies the built program into `bin` of a fake installation (or a portable folder), with
// its Qt module where an installation puts it (or beside it in a portable folder).
std::string placeProgram(const test::TempHome& root, const std::string& folder, bool installed)
{
    const std::string program = root.file(folder + "/tira");
    fs::create_directories(fs::path(program).parent_path());
    fs::copy_file(TIRA_EXE, program);
#ifdef TIRA_QT_MODULE_FILE
    const fs::path module = installed ? fs::path(root.file(folder)) / TIRA_QT_MODULE_FROM_BIN
                                      : fs::path(root.file(folder));
    fs::create_directories(module);
    fs::copy_file(TIRA_QT_MODULE_FILE, module / "tira-qt.so");
#else
    (void)installed;
#endif
    return program;
}

// A TIRA.ini whose pane background tells which home folder was read.
constexpr const char* kMarkedIni = "[Color]\r\nBackF=255\r\n";

std::string printJson(const std::string& program, const test::TempHome& user)
{
    const auto r = test::runProgram(
        program, {"--print", "--format", "json", "--date", "2024-5-12", "--time", "9:00"},
        {"HOME=" + user.path(), "XDG_CONFIG_HOME="});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

TEST(InstallLayout, InstalledProgramUsesTheUserConfigurationFolder)
{
    const test::TempHome root;
    const test::TempHome user;
    const std::string program = placeProgram(root, "usr/bin", true);
    root.writeBytes("usr/share/tira/help/index.html", "<html></html>");
    user.writeBytes(".config/tira/TIRA.ini", kMarkedIni);
    // usr/bin is writable here (tests run as root in CI), yet no place for settings
    EXPECT_NE(printJson(program, user).find("\"paneBackground\":255"), std::string::npos);
}

TEST(InstallLayout, PortableFolderIsItsOwnHome)
{
    const test::TempHome root;
    const test::TempHome user;
    const std::string program = placeProgram(root, "portable", false);
    root.writeBytes("portable/TIRA.ini", kMarkedIni);
    user.writeBytes(".config/tira/TIRA.ini", "[Color]\r\nBackF=0\r\n");
    EXPECT_NE(printJson(program, user).find("\"paneBackground\":255"), std::string::npos);
}

TEST(Autostart, CommandWritesAValidEntryAndRemovesIt)
{
    const test::TempHome config;
    const test::TempHome home;
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + config.path()};
    auto r = test::runProgram(TIRA_EXE, {"--autostart", "on", "--home", home.path()}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string entry = config.readBytes("autostart/tira.desktop");
    EXPECT_NE(entry.find("\nExec=" + std::string(TIRA_EXE) + " --home " + home.path() + "\n"),
              std::string::npos)
        << entry;
    const auto check =
        test::runProgram("desktop-file-validate", {config.file("autostart/tira.desktop")});
    if (check.exitCode != -1) { // the validator is installed
        EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    }

    r = test::runProgram(TIRA_EXE, {"--autostart", "off"}, env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(fs::exists(config.file("autostart/tira.desktop")));

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--autostart", "yes"},
                                                 {"--autostart"},
                                                 {"--autostart", "on", "--print"}}) {
        r = test::runProgram(TIRA_EXE, args, env);
        EXPECT_EQ(r.exitCode, 2) << args.size();
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(config.file("autostart/tira.desktop")));
}

#endif

} // namespace
} // namespace tira
