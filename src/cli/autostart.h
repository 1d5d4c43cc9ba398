#pragma once

// Start at login, the desktop's way: an XDG autostart entry on Linux and other free
// desktops, a shortcut in the Startup folder on Windows. Qt-free.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

// Where the login entry lives: $XDG_CONFIG_HOME/autostart/tira.desktop (XDG_CONFIG_HOME
// when set to an absolute path, else ~/.config); on Windows the Startup folder's TIRA.lnk.
// Empty when no such folder can be named.
std::filesystem::path autostartEntryPath();

// The Exec value that runs `program` with `args`, quoted and escaped as desktop entries
// require. Empty when an argument holds a line break, which an entry cannot carry. The menu
// entry's Exec (cmake/desktop_entry.cmake, at install time) follows the same rule.
std::string desktopExec(std::string_view program, const std::vector<std::string>& args);

// The XDG autostart entry for `exec` (a desktopExec value).
std::string autostartDesktopEntry(std::string_view exec);

struct AutostartResult
{
    bool ok = false;
    std::string message; // what was done, or why it failed (English, for the terminal)
};

// Writes (on) or removes (off) the login entry that starts `program`, with --home `home`
// when `home` is not empty. Writing replaces an earlier entry; removing a missing entry
// succeeds.
AutostartResult setAutostart(bool on, const std::string& program, const std::string& home);

} // namespace tira
