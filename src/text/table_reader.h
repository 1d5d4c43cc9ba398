#pragma once

#include "text/cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tira {

// The longest line kept, line end included: longer lines are skipped without being held.
// Real table lines are a few hundred bytes; 4 MiB leaves any hand-made line whole while a
// runaway file (a device, a file of NULs) costs at most this much buffer.
inline constexpr std::size_t kMaxLineBytes = std::size_t{4} << 20;

// The reason given for a path that names a FIFO, a device or a socket.
inline constexpr const char* kNotRegularFile = "not a regular file";

// Opens `path` for reading when it is a regular file (or a link to one), never waiting for a
// writer (a FIFO, a device or a socket is refused at once). nullptr otherwise, with `reason`
// and `missing` (no such file) set. Table files and TIRA.ini are opened through it.
std::FILE* openRegularFile(const std::string& path, std::string& reason, bool& missing);

enum class TextEncoding
{
    Cp932,
    Utf8
};

// How the lines of a table file end, decided by its first line end.
enum class LineEnds
{
    CrLf, // also a file without any line end
    Cr,
    Lf,
};

// Reads a table file line by line, as bytes: the first of the reading path's three steps
// (text/ reads a file's lines as bytes, tables/ parses a line into a record, report/
// decides what a record shows on a date). Three rules make the lines:
// - Line ends. A file whose first line end is an LF without a CR before it has LF line
//   ends: every LF ends a line, and a CR right before it belongs to the line end. In any
//   other file a line ends at CR, an LF right after the CR belongs to the line end, and a
//   lone LF is an ordinary character.
// - Ctrl-Z. Reading stops at the first Ctrl-Z.
// - Long lines. Only a bounded buffer (which holds the line in hand) is kept: a line
//   longer than kMaxLineBytes is skipped unread and comes back empty, marked by
//   lineTooLong().
// A file that starts with a UTF-8 byte-order mark is read as UTF-8; so is a file with bytes
// above 0x7F that is well-formed UTF-8 throughout (Shift-JIS text practically never is);
// anything else is CP932. Only regular files (or links to them) are read.
class TableReader
{
  public:
    // Opens `path`; throws TableFileError when it cannot be opened or read, or is no regular
    // file. Never waits for a writer.
    explicit TableReader(const std::string& path);
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;
    TableReader(TableReader&&) = delete;
    TableReader& operator=(TableReader&&) = delete;

    // Next line as the file's bytes, without its line end; valid until the next call.
    // False at the end. Throws TableFileError on a read error.
    bool nextBytes(std::string_view& bytes);
    // True when the line in hand was too long to keep: it came back empty.
    bool lineTooLong() const noexcept { return m_tooLong; }
    // How the bytes of the line in hand read as text.
    LineEncoding lineEncoding() const noexcept { return m_lineEncoding; }

    // The encoding of the file. Decided at the first line with a byte above 0x7F: until
    // then (and for a file of ASCII only) it is CP932, which reads ASCII the same.
    TextEncoding encoding() const noexcept
    {
        return m_decided && m_lineEncoding != LineEncoding::Cp932 ? TextEncoding::Utf8
                                                                  : TextEncoding::Cp932;
    }
    // True once a line with a byte above 0x7F has been read, or the file has a BOM.
    bool encodingDecided() const noexcept { return m_decided; }
    // How the lines end; known once the first line end has been read.
    LineEnds lineEnds() const noexcept
    {
        return m_ends == Ends::Unknown || m_ends == Ends::CrLf ? LineEnds::CrLf
               : m_ends == Ends::Lf                            ? LineEnds::Lf
                                                               : LineEnds::Cr;
    }
    // True once reading has stopped at a Ctrl-Z.
    bool stoppedAtCtrlZ() const noexcept { return m_pos == m_ctrlZ; }

  private:
    // The line-end style as far as it is known.
    enum class Ends : std::uint8_t
    {
        Unknown, // no line end yet: CR or LF, whichever comes first, decides
        FirstCr, // the first line end was a CR: an LF after it makes CR LF
        Cr,
        CrLf,
        Lf,
    };

    bool fill();
    bool skipLongLine(std::string_view& bytes);
    void takeLfAfterCr();
    const char* findFirstLineEnd(const char* from, std::size_t size) noexcept;
    // The first line end in `size` bytes from `from`, or nullptr.
    const char* findLineEnd(const char* from, std::size_t size) noexcept
    {
        if (m_ends == Ends::Unknown) return findFirstLineEnd(from, size);
        return static_cast<const char*>(std::memchr(from, m_ends == Ends::Lf ? '\n' : '\r', size));
    }
    // Where reading stops in the buffer: its end, or a Ctrl-Z before it.
    std::size_t readLimit() const noexcept { return std::min(m_ctrlZ, m_end); }
    void decideEncoding(std::string_view line);
    bool restIsUtf8(std::string_view line);
    char* data() noexcept { return m_buffer.get(); }

    // the bytes in hand
    std::string m_path;
    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_buffer; // read a chunk at a time, never cleared
    std::size_t m_capacity = 0;
    std::size_t m_pos = 0; // start of the next line
    std::size_t m_end = 0; // end of the bytes read
    bool m_eof = false;
    // the line-end rule
    Ends m_ends = Ends::Unknown;
    bool m_crPending = false; // the last line ended at a CR: an LF next belongs to it
    // the Ctrl-Z rule: where the first one read stands, if anywhere
    std::size_t m_ctrlZ = std::string_view::npos;
    // the long-line rule
    bool m_tooLong = false; // the line in hand was skipped
    // the encoding
    LineEncoding m_lineEncoding = LineEncoding::Text; // ASCII until decided
    bool m_decided = false;
};

} // namespace tira
