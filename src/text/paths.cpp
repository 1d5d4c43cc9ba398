#include "text/paths.h"

#include <system_error>

namespace tira {

std::filesystem::path toFsPath(std::string_view utf8)
{
#ifdef _WIN32
    const std::u8string text(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size());
    return std::filesystem::path(text);
#else
    std::string text(utf8);
    for (char& c : text)
        if (c == '\\') c = '/';
    return std::filesystem::path(text);
#endif
}

std::string fromFsPath(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    // char8_t and char hold the same bytes
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

bool pathExists(std::string_view utf8) noexcept
{
    if (utf8.empty()) return false;
    try {
        std::error_code error;
        return std::filesystem::exists(toFsPath(utf8), error);
    } catch (...) {
        return false;
    }
}

std::string homePrefix(std::string_view home)
{
    std::string prefix(home);
#ifdef _WIN32
    constexpr char kSeparator = '\\';
#else
    constexpr char kSeparator = '/';
#endif
    if (prefix.empty() || (prefix.back() != '/' && prefix.back() != '\\'))
        prefix.push_back(kSeparator);
    return prefix;
}

bool completeProgramPath(std::string& path, std::string_view home)
{
    if (path.size() < 2 || path[0] != '.' || path[1] != '\\') return false;
    path = homePrefix(home) + path.substr(2);
    return true;
}

} // namespace tira
