#include "support/temp_home.h"

#include "text/cp932.h"
#include "text/paths.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace tira::test {

TempHome::TempHome()
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto candidate =
            base / ("tira-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            m_path = fromFsPath(candidate);
            break;
        }
    }
}

TempHome::~TempHome()
{
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

std::string TempHome::file(std::string_view name) const
{
    return m_path + "/" + std::string(name);
}

void TempHome::writeBytes(std::string_view name, std::string_view bytes) const
{
    // UTF-8 names: a plain std::string path would be read in the Windows ANSI code page
    const std::filesystem::path target = toFsPath(file(name));
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempHome::writeTable(std::string_view name, std::string_view utf8Lines) const
{
    std::string crlf;
    for (const char c : utf8Lines) {
        if (c == '\n')
            crlf += "\r\n";
        else
            crlf.push_back(c);
    }
    writeBytes(name, utf8ToCp932(crlf));
}

std::string TempHome::readBytes(std::string_view name) const
{
    std::ifstream in(toFsPath(file(name)), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace tira::test
