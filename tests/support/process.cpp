#include "support/process.h"

#include "support/temp_home.h"
#include "text/paths.h"

#include <algorithm>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ; // NOLINT(readability-redundant-declaration): POSIX leaves it to the program
#endif

namespace tira::test {

namespace {

template <class Char> std::basic_string_view<Char> nameOf(std::basic_string_view<Char> setting)
{
    return setting.substr(0, std::min(setting.find(Char('=')), setting.size()));
}

} // namespace

std::wstring windowsCommandLine(const std::vector<std::wstring>& args)
{
    std::wstring line;
    for (const std::wstring& arg : args) {
        if (!line.empty()) line += L' ';
        if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
            line += arg;
            continue;
        }
        // Backslashes are literal except before a quote: there they are doubled, and the
        // quote escaped with one more; before the closing quote they are doubled.
        line += L'"';
        std::size_t backslashes = 0;
        for (const wchar_t c : arg) {
            if (c == L'\\') {
                ++backslashes;
                continue;
            }
            if (c == L'"') backslashes = backslashes * 2 + 1;
            line.append(backslashes, L'\\');
            backslashes = 0;
            line += c;
        }
        line.append(backslashes * 2, L'\\');
        line += L'"';
    }
    return line;
}

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8)
{
    return toFsPath(utf8).wstring();
}

bool sameName(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The caller's environment with `env` laid over it, as a block for CreateProcessW: names
// compare without regard to case, and the block is sorted so.
std::wstring environmentBlock(const std::vector<std::string>& env)
{
    std::vector<std::wstring> settings;
    if (wchar_t* strings = ::GetEnvironmentStringsW()) {
        for (const wchar_t* p = strings; *p != L'\0'; p += std::wcslen(p) + 1)
            settings.emplace_back(p);
        ::FreeEnvironmentStringsW(strings);
    }
    for (const std::string& setting : env) {
        std::wstring added = wide(setting);
        const auto name = nameOf<wchar_t>(added);
        std::erase_if(settings,
                      [&](const std::wstring& s) { return sameName(nameOf<wchar_t>(s), name); });
        settings.push_back(std::move(added));
    }
    std::stable_sort(settings.begin(), settings.end(), [](const auto& a, const auto& b) {
        const auto x = nameOf<wchar_t>(a);
        const auto y = nameOf<wchar_t>(b);
        return ::CompareStringOrdinal(x.data(), static_cast<int>(x.size()), y.data(),
                                      static_cast<int>(y.size()), TRUE) == CSTR_LESS_THAN;
    });
    std::wstring block;
    for (const std::wstring& setting : settings)
        block.append(setting).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

HANDLE inheritable(const std::wstring& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env)
{
    const TempHome scratch;
    ProcessResult result;
    std::vector<std::wstring> argv{wide(program)};
    for (const std::string& arg : args)
        argv.push_back(wide(arg));
    std::wstring commandLine = windowsCommandLine(argv);
    std::wstring environment = environmentBlock(env);

    const HANDLE in = inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = inheritable(wide(scratch.file("stdout")), GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = inheritable(wide(scratch.file("stderr")), GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                         err != INVALID_HANDLE_VALUE &&
                         ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                          CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                          environment.data(), nullptr, &startup, &process) != 0;
    for (const HANDLE h : {in, out, err}) {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    if (!started) return result;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code) != 0)
        result.exitCode = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    result.out = scratch.readBytes("stdout");
    result.err = scratch.readBytes("stderr");
    return result;
}

#else

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env)
{
    const TempHome scratch;
    ProcessResult result;
    std::vector<std::string> settings;
    for (char** p = environ; *p != nullptr; ++p)
        settings.emplace_back(*p);
    for (const std::string& setting : env) {
        const auto name = nameOf<char>(setting);
        std::erase_if(settings, [&](const std::string& s) { return nameOf<char>(s) == name; });
        settings.push_back(setting);
    }
    std::vector<char*> envp;
    for (std::string& setting : settings)
        envp.push_back(setting.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const std::string outPath = scratch.file("stdout");
    const std::string errPath = scratch.file("stderr");
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t child = 0;
    const int spawned =
        posix_spawnp(&child, program.c_str(), &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (spawned != 0) return result;
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return result;
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = scratch.readBytes("stdout");
    result.err = scratch.readBytes("stderr");
    return result;
}

#endif

} // namespace tira::test
