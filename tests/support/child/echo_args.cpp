// The child of the process tests: writes back what it was given, as the program under test
// would see it. Each argument goes to standard output followed by a NUL byte, except
//   --env=NAME    the value of NAME (or "<unset>"), then a NUL byte
//   --err=TEXT    TEXT to standard error
//   --exit=N      ends with exit code N
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
// shellapi.h needs windows.h first
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>
#else
#include <cstdlib>
#endif

namespace {

#ifdef _WIN32
std::string utf8(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back(); // the terminator
    return bytes;
}

// The arguments as the C runtime of a Windows program splits its command line.
std::vector<std::string> arguments(int, char**)
{
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(utf8(argv[i]));
    ::LocalFree(argv);
    return args;
}

std::string variable(const std::string& name)
{
    const std::wstring wideName(name.begin(), name.end()); // the tests use ASCII names
    std::wstring value(32767, L'\0');
    ::SetLastError(ERROR_SUCCESS);
    const DWORD size =
        ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (size == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return "<unset>";
    value.resize(size);
    return utf8(value.c_str());
}
#else
std::vector<std::string> arguments(int argc, char** argv)
{
    return {argv + 1, argv + argc};
}

std::string variable(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? value : "<unset>";
}
#endif

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // the bytes as given: no "\n" turned into CR LF on the way out
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    int code = 0;
    for (const std::string& arg : arguments(argc, argv)) {
        std::string out = arg;
        if (startsWith(arg, "--env=")) {
            out = variable(arg.substr(6));
        } else if (startsWith(arg, "--err=")) {
            std::fputs(arg.substr(6).c_str(), stderr);
            continue;
        } else if (startsWith(arg, "--exit=")) {
            code = std::stoi(arg.substr(7));
            continue;
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fputc('\0', stdout);
    }
    return code;
}
