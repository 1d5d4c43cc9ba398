#pragma once

// Starts a program directly - no shell in between, so no quoting but the platform's own -
// and collects what it wrote and how it ended.
#include <string>
#include <vector>

namespace tira::test {

struct ProcessResult
{
    int exitCode = -1; // -1: not started, or ended by a signal
    std::string out;
    std::string err;
};

// Runs `program` (a path, or a bare name looked up in PATH) with `args` (UTF-8) and an empty
// standard input, and waits for it. `env` holds NAME=VALUE settings that add to or replace
// the caller's environment for the child only; "NAME=" sets an empty value.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {});

// The Windows command line that hands `args` (program first) unchanged to a program that
// splits its command line as the C runtime and CommandLineToArgvW do.
std::wstring windowsCommandLine(const std::vector<std::wstring>& args);

} // namespace tira::test
