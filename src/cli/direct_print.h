#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tira {

// `tira --print --home DIR [--format F] [--date D] [--time T]` without Qt: the print mode
// reads no setting Qt would have to find, so a program that has not loaded Qt answers it
// at once. Anything else, or anything it would have to report as an error, it leaves to
// the command line under Qt (nullopt), which answers it the same way it always has.
std::optional<int> printDirectly(int argc, char** argv);

// The home folder `--home DIR` names, as QDir(DIR).absolutePath() gives it, when that is
// plain to tell without Qt (no "." or ".." parts, no doubled "/"); nullopt otherwise.
std::optional<std::string> directHomeFolder(std::string_view requested);

} // namespace tira
