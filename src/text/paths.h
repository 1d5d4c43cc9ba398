#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tira {

// The filesystem path for a UTF-8 settings path. On POSIX a backslash is a directory
// separator, so paths written on Windows (".\data\EV%m.TBL") keep working.
std::filesystem::path toFsPath(std::string_view utf8);

// UTF-8 text of a filesystem path.
std::string fromFsPath(const std::filesystem::path& path);

// True when anything (file, folder, ...) exists at the path; never throws.
bool pathExists(std::string_view utf8) noexcept;

// The home folder with its trailing separator, the form ".\" completion puts in front.
std::string homePrefix(std::string_view home);

// Replaces a leading ".\" by the home folder. Returns true when the path changed.
bool completeProgramPath(std::string& path, std::string_view home);

} // namespace tira
