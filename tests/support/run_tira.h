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

} // namespace tira::test
