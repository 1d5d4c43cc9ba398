#pragma once

// Runs a `tira` binary with arguments and extra environment, capturing its output.
#include "support/process.h"

#include <string>
#include <utility>
#include <vector>

namespace tira::test {

struct RunResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `env` holds NAME=VALUE settings for the child only.
inline RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& env = {})
{
    ProcessResult run = runProcess(program, args, env);
    return {run.exitCode, std::move(run.out), std::move(run.err)};
}

#ifndef _WIN32
// One word for a POSIX shell, for the tests that need one (a pseudo-terminal through
// `script`, a program left running in the background).
inline std::string shellQuote(const std::string& arg)
{
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
#endif

} // namespace tira::test
