#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tira {

enum class TextEncoding
{
    Cp932,
    Utf8
};

// Reads a table file line by line in UTF-8. A line ends at CR, an LF right after the CR
// belongs to the line end, a lone LF is an ordinary character, and reading stops at the
// first Ctrl-Z. A file that starts with a UTF-8 byte-order mark is read as UTF-8; so is a
// file with bytes above 0x7F that is well-formed UTF-8 throughout (Shift-JIS text
// practically never is); anything else is CP932. Lines of any length; only a bounded
// buffer and the line in hand are held.
class TableReader
{
  public:
    // Opens `path`; throws TableFileError when it cannot be opened or read.
    explicit TableReader(const std::string& path);
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;
    TableReader(TableReader&&) = delete;
    TableReader& operator=(TableReader&&) = delete;

    // Next line into `line` (UTF-8); false at the end. Throws TableFileError on a read error.
    bool next(std::string& line);

    // The encoding of the file. Decided at the first line with a byte above 0x7F: until
    // then (and for a file of ASCII only) it is CP932, which reads ASCII the same.
    TextEncoding encoding() const noexcept { return m_encoding; }
    // True once a line with a byte above 0x7F has been read, or the file has a BOM.
    bool encodingDecided() const noexcept { return m_decided; }

  private:
    bool fill();
    bool restIsUtf8();

    std::string m_path;
    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_stopped = false; // Ctrl-Z met
    TextEncoding m_encoding = TextEncoding::Cp932;
    bool m_decided = false;
    bool m_verifiedUtf8 = false; // every byte left up to the end or Ctrl-Z is UTF-8
    std::string m_raw;
};

} // namespace tira
