#pragma once

#include <stdexcept>
#include <string>

namespace tira {

// An input/output failure on a file that exists: carries the path and the OS reason,
// e.g. "cannot read /x/BIRTH.TBL: Is a directory". Ends the report being built.
class TableFileError : public std::runtime_error
{
  public:
    TableFileError(const std::string& path, const std::string& reason)
        : std::runtime_error("cannot read " + path + ": " + reason), m_path(path)
    {
    }
    const std::string& path() const noexcept { return m_path; }

  private:
    std::string m_path;
};

} // namespace tira
