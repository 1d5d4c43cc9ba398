// The process helper the command-line tests run the program through: arguments and the
// environment reach the child unchanged, with no shell (and on Windows no quoting fault)
// in between.
#include "support/process.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira::test {
namespace {

std::vector<std::string> split(const std::string& out)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0, end = 0; (end = out.find('\0', start)) != std::string::npos;
         start = end + 1)
        parts.push_back(out.substr(start, end - start));
    return parts;
}

TEST(Process, ArgumentsArriveUnchanged)
{
    const std::vector<std::string> args = {
        "plain",
        "",
        "two words",
        "tab\tand\nnewline",
        "quote\"inside",
        "\"quoted\"",
        "trailing\\",
        "trailing space\\ ",
        "C:\\Program Files\\TIRA\\",
        "backslashes\\\\\"before a quote",
        "\\\\server\\share",
        "'single' $HOME %PATH% `cmd` a&b|c>d<e;f*",
        "日本語 のテキスト",
        "--env=not taken for an option by the caller",
    };
    const ProcessResult run = runProcess(TIRA_ECHO_ARGS, args);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> expected(args.begin(), args.end() - 1);
    auto got = split(run.out);
    ASSERT_EQ(got.size(), args.size()) << run.out;
    got.pop_back(); // the child read the last one as a variable name
    EXPECT_EQ(got, expected);
}

TEST(Process, EnvironmentIsInheritedWithTheSettingsOverIt)
{
    const ProcessResult run = runProcess(
        TIRA_ECHO_ARGS,
        {"--env=TIRA_PROCESS_A", "--env=TIRA_PROCESS_B", "--env=PATH", "--env=TIRA_PROCESS_C"},
        {"TIRA_PROCESS_A=値 with = and spaces", "TIRA_PROCESS_B=first", "TIRA_PROCESS_B=last"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto got = split(run.out);
    ASSERT_EQ(got.size(), 4u) << run.out;
    EXPECT_EQ(got[0], "値 with = and spaces");
    EXPECT_EQ(got[1], "last");
    EXPECT_NE(got[2], "<unset>"); // inherited
    EXPECT_EQ(got[3], "<unset>");

#ifdef _WIN32
    // names are one whatever their case: the setting replaces the inherited variable
    const ProcessResult path = runProcess(TIRA_ECHO_ARGS, {"--env=PATH"}, {"Path=C:\\only"});
    EXPECT_EQ(path.out, std::string("C:\\only") + '\0');
#else
    const ProcessResult empty = runProcess(TIRA_ECHO_ARGS, {"--env=PATH"}, {"PATH="});
    EXPECT_EQ(empty.out, std::string(1, '\0'));
#endif
}

TEST(Process, ExitCodeAndStandardErrorApart)
{
    const ProcessResult run = runProcess(TIRA_ECHO_ARGS, {"out", "--err=problem", "--exit=3"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, std::string("out") + '\0');
    EXPECT_EQ(run.err, "problem");

    const ProcessResult missing = runProcess(TIRA_ECHO_ARGS + std::string(".missing"), {});
    EXPECT_EQ(missing.exitCode, -1);
}

} // namespace
} // namespace tira::test
