#pragma once

// Runs a `tira` binary with arguments and extra environment, capturing its output.
#include "support/temp_home.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tira::test {

struct RunResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& arg)
{
    std::string quoted = "'";
    for (const char c : arg) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted.push_back(c);
    }
    return quoted + "'";
}

// `env` holds NAME=VALUE settings for the child only.
inline RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::vector<std::string>& env = {})
{
    const TempHome scratch;
    std::string command = "env";
    for (const auto& setting : env)
        command += " " + shellQuote(setting);
    command += " " + shellQuote(program);
    for (const auto& arg : args)
        command += " " + shellQuote(arg);
    command += " 2>" + shellQuote(scratch.file("stderr")) + " </dev/null";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = scratch.readBytes("stderr");
    return result;
}

} // namespace tira::test
