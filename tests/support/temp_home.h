#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tira::test {

// A home folder in a fresh temporary directory, removed again at the end of the test.
class TempHome
{
  public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const noexcept { return m_path; }
    // path() + "/" + name
    std::string file(std::string_view name) const;

    // Writes raw bytes.
    void writeBytes(std::string_view name, std::string_view bytes) const;
    // Writes UTF-8 text as CP932, each "\n" turned into CR LF.
    void writeTable(std::string_view name, std::string_view utf8Lines) const;
    std::string readBytes(std::string_view name) const;

  private:
    std::string m_path;
};

} // namespace tira::test
