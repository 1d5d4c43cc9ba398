// The installed program: where it finds its help page and its home folder, and the login
// entry it writes.
#include "cli/autostart.h"
#include "cli/home_folder.h"
#include "support/run_tira.h"
#include "support/temp_home.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace tira {
namespace {

namespace fs = std::filesystem;

// The installation layout (bin/ beside share/), HOME and XDG_CONFIG_HOME, and the login entry
// as a desktop file are the POSIX side; Windows keeps everything in the program's folder.
#ifndef _WIN32

TEST(InstallLayout, HelpPageBesideTheProgramOrInTheInstalledDataFolder)
{
    const test::TempHome root;
    root.writeBytes("portable/help/index.html", "<html></html>");
    root.writeBytes("usr/share/tira/help/index.html", "<html></html>");
    fs::create_directories(root.file("usr/bin"));
    fs::create_directories(root.file("bare"));

    // a build tree or a portable folder: help beside the program, no installation
    EXPECT_EQ(installedDataFolder(root.file("portable")), std::string());
    EXPECT_EQ(helpPagePath(root.file("portable")), root.file("portable/help/index.html"));

    // an installation: bin/ and share/tira/ side by side
    EXPECT_EQ(installedDataFolder(root.file("usr/bin")), root.file("usr/share/tira"));
    EXPECT_EQ(helpPagePath(root.file("usr/bin")), root.file("usr/share/tira/help/index.html"));

    // neither: the path beside the program (the browser then says it is missing)
    EXPECT_EQ(installedDataFolder(root.file("bare")), std::string());
    EXPECT_EQ(helpPagePath(root.file("bare")), root.file("bare/help/index.html"));
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

// Runs one of the checking tools the test set-up installs (scripts/install-deps.sh).
void expectToolAccepts(const std::string& tool, const std::vector<std::string>& args)
{
    if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) != 0) {
        ADD_FAILURE() << tool << " is missing: scripts/install-deps.sh installs it";
        return;
    }
    const auto r = test::runProgram(tool, args);
    EXPECT_EQ(r.exitCode, 0) << tool << " " << args.back() << "\n" << r.out << r.err;
}

std::string execLine(const std::string& desktopEntry)
{
    const std::size_t at = desktopEntry.find("\nExec=");
    if (at == std::string::npos) return {};
    return desktopEntry.substr(at + 1, desktopEntry.find('\n', at + 1) - at - 1);
}

// The size a PNG file declares in its header.
std::pair<int, int> pngSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 24> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto at = [&](std::size_t i) {
        return (head[i] << 24) | (head[i + 1] << 16) | (head[i + 2] << 8) | head[i + 3];
    };
    return {at(16), at(20)};
}

// `cmake --install --prefix` chooses the prefix after configuring: the menu entry and the
// login entry must still start the program of this installation.
TEST(InstallLayout, EntriesStartTheProgramOfTheInstallPrefix)
{
    const test::TempHome root;
    struct Case
    {
        std::string prefix; // in root
        std::string exec;   // the expected Exec= value
    };
    const std::vector<Case> cases{
        {"prefix", root.file("prefix/bin/tira")},
        // a blank makes the path one quoted argument
        {"my prefix", "\"" + root.file("my prefix/bin/tira") + "\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefix);
        const auto install = test::runProgram(
            CMAKE_COMMAND, {"--install", TIRA_BUILD_DIR, "--prefix", root.file(c.prefix)});
        ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
        const std::string menuEntry = c.prefix + "/share/applications/tira.desktop";
        EXPECT_EQ(execLine(root.readBytes(menuEntry)), "Exec=" + c.exec);
        expectToolAccepts("desktop-file-validate", {root.file(menuEntry)});

        // the manual page names the sample home of this installation (as roff: "-" is "\-")
        const auto page =
            test::runProgram("gzip", {"-dc", root.file(c.prefix + "/share/man/man1/tira.1.gz")});
        ASSERT_EQ(page.exitCode, 0) << page.err;
        std::string samples;
        for (const char ch : root.file(c.prefix + "/share/doc/tira/examples/home"))
            samples += ch == '-' ? std::string("\\-") : std::string(1, ch);
        EXPECT_NE(page.out.find("\n.I " + samples + "\n"), std::string::npos) << page.out;

        const test::TempHome config;
        const auto autostart =
            test::runProgram(root.file(c.prefix + "/bin/tira"), {"--autostart", "on"},
                             {"XDG_CONFIG_HOME=" + config.path()});
        ASSERT_EQ(autostart.exitCode, 0) << autostart.err;
        EXPECT_EQ(execLine(config.readBytes("autostart/tira.desktop")), "Exec=" + c.exec);
    }

    // what the package adds for desktops, shells and man, checked by their own tools
    const std::string share = root.file("prefix/share");
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string icon = share + "/icons/hicolor/" + std::to_string(size) + "x" +
                                 std::to_string(size) + "/apps/tira.png";
        EXPECT_EQ(pngSize(icon), std::make_pair(size, size)) << icon;
    }
    for (const char* file :
         {"icons/hicolor/scalable/apps/tira.svg", "bash-completion/completions/tira",
          "zsh/site-functions/_tira", "doc/tira/copyright", "doc/tira/changelog.gz"})
        EXPECT_TRUE(fs::is_regular_file(share + "/" + file)) << file;
    expectToolAccepts("appstreamcli", {"validate", "--no-net",
                                       share + "/metainfo/io.github.tira.tira.metainfo.xml"});
    expectToolAccepts("mandoc", {"-T", "lint", share + "/man/man1/tira.1.gz"});
}

// The menu entry (written by cmake/desktop_entry.cmake at install time) and the login entry
// (desktopExec) quote a program path by one rule: the same Exec for any ASCII character in
// the path.
TEST(InstallLayout, MenuAndLoginEntriesQuoteAProgramPathAlike)
{
    const test::TempHome root;
    root.writeBytes("in.desktop", "Exec=@TIRA_DESKTOP_EXEC@\n");
    std::string characters = "\ta"; // and every ASCII character that is no letter or digit
    for (char c = ' '; c <= '~'; ++c)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) characters += c;
    for (const char c : characters) {
        const std::string bin = "/opt/a" + std::string(1, c) + "b/bin";
        const auto r = test::runProgram(
            CMAKE_COMMAND,
            {"-DTIRA_DESKTOP_IN=" + root.file("in.desktop"),
             "-DTIRA_DESKTOP_OUT=" + root.file("out.desktop"), "-DTIRA_BINDIR=" + bin, "-P",
             std::string(TIRA_SOURCE_DIR) + "/cmake/desktop_entry.cmake"});
        ASSERT_EQ(r.exitCode, 0) << bin << r.err;
        EXPECT_EQ(execLine("\n" + root.readBytes("out.desktop")),
                  "Exec=" + desktopExec(bin + "/tira", {}))
            << bin;
    }
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
