#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tira {

// Opens the window on a checked home folder; returns the exit code.
using WindowOpener = std::function<int(const std::string& home)>;

// Runs what `args` (argv without the program name) ask for: every job but the window here,
// without Qt; the window through `openWindow`, once the arguments and the home folder have
// been checked. Returns the exit code: 0 done, 1 an error or findings, 2 bad arguments.
int runCommandLine(std::span<const std::string_view> args, const WindowOpener& openWindow);

} // namespace tira
