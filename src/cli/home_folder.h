#pragma once

// Where the program keeps TIRA.ini and finds its help page. No Qt.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tira {

// The program file's absolute path; empty when the system does not say.
std::string programFile();

// The folder of the program file, without a trailing separator.
std::string programFolder();

// The home folder: `requested` made absolute when given (nullopt when it is no folder);
// else `program` when it holds TIRA.ini, or when it is writable and not an installation
// (portable use); else the per-user configuration folder, created when missing.
std::optional<std::string> resolveHomeFolder(const std::optional<std::string>& requested,
                                             const std::string& program);

// The desktop's per-user configuration folder: $XDG_CONFIG_HOME when that is an absolute
// path, else ~/.config; on Windows the local application-data folder. Empty when the user
// has no home folder.
std::filesystem::path userConfigBase();

// TIRA.ini in a home folder.
std::string iniPathIn(std::string_view home);

// The installation's data folder (share/tira beside bin/) when the program in `program`
// runs from an installation; empty otherwise.
std::string installedDataFolder(std::string_view program);

// The help page: help/index.html beside the program, else in the installed data folder.
// The path beside the program when neither exists.
std::string helpPagePath(std::string_view program);

} // namespace tira
