#include "cli/home_folder.h"

#include "text/paths.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tira {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHelpPage = "help/index.html";

// `path` made absolute and cleaned of ".", ".." and doubled or trailing separators.
std::string cleanAbsolute(const fs::path& path)
{
    std::error_code error;
    fs::path clean = fs::absolute(path, error).lexically_normal();
    if (!clean.has_filename() && clean.has_relative_path()) clean = clean.parent_path();
    return fromFsPath(clean);
}

bool isWritableFolder(const fs::path& folder)
{
#ifdef _WIN32
    // the attributes of a folder say nothing about its access rights: try a file
    const fs::path probe = folder / L".tira-write-test";
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;
    ::CloseHandle(file);
    return true;
#else
    return ::access(folder.c_str(), W_OK) == 0;
#endif
}

} // namespace

std::string programFile()
{
#ifdef _WIN32
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (size == 0) return {};
        if (size < name.size()) {
            name.resize(size);
            break;
        }
        name.resize(name.size() * 2);
    }
    return fromFsPath(fs::path(name));
#else
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : fromFsPath(self);
#endif
}

std::string programFolder()
{
    return fromFsPath(toFsPath(programFile()).parent_path());
}

fs::path userConfigBase()
{
#ifdef _WIN32
    PWSTR folder = nullptr;
    fs::path base;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)))
        base = fs::path(folder);
    ::CoTaskMemFree(folder);
    return base;
#else
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    // a relative XDG_CONFIG_HOME is invalid and must be ignored
    if (configHome != nullptr && fs::path(configHome).is_absolute()) return configHome;
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') return {};
    return fs::path(home) / ".config";
#endif
}

std::optional<std::string> resolveHomeFolder(const std::optional<std::string>& requested,
                                             const std::string& program)
{
    std::error_code error;
    if (requested) {
        if (requested->empty() || !fs::is_directory(fs::path(*requested), error))
            return std::nullopt;
        return cleanAbsolute(fs::path(*requested));
    }
    if (!program.empty()) {
        if (pathExists(iniPathIn(program))) return program;
        // root may write to /usr/bin, which is still no place for settings
        if (installedDataFolder(program).empty() && isWritableFolder(toFsPath(program)))
            return program;
    }
    const fs::path base = userConfigBase();
    if (base.empty()) return std::nullopt;
    const fs::path config = base / "tira";
    fs::create_directories(config, error);
    return fromFsPath(config);
}

std::string iniPathIn(std::string_view home)
{
    return homePrefix(home) + "TIRA.ini";
}

std::string installedDataFolder(std::string_view program)
{
    const std::string folder = cleanAbsolute(toFsPath(program));
    std::string data = cleanAbsolute(toFsPath(program) / TIRA_DATA_FROM_BIN);
    // an installation keeps its data apart from the program; a folder holding both is portable
    if (data == folder || !pathExists(homePrefix(data) + std::string(kHelpPage))) return {};
    return data;
}

std::string helpPagePath(std::string_view program)
{
    std::string beside = homePrefix(program) + std::string(kHelpPage);
    if (pathExists(beside)) return beside;
    const std::string data = installedDataFolder(program);
    if (!data.empty()) return homePrefix(data) + std::string(kHelpPage);
    return beside;
}

} // namespace tira
