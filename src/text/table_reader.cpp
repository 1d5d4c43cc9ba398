#include "text/table_reader.h"

#include "text/cp932.h"
#include "text/file_error.h"
#include "text/paths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <share.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tira {

namespace {

constexpr std::size_t kChunk = 1 << 18;
static_assert(kMaxLineBytes % kChunk == 0, "the buffer doubles from one chunk up to the limit");
constexpr char kCtrlZ = 0x1A;

std::string reasonOf(int error)
{
    return std::generic_category().message(error); // strerror's text, without its buffer
}

// Feeds `bytes` up to the first Ctrl-Z; `stopped` tells whether one was met.
bool feedUpToCtrlZ(Utf8Scan& scan, std::string_view bytes, bool& stopped) noexcept
{
    const auto ctrlZ = bytes.find(kCtrlZ);
    stopped = ctrlZ != std::string_view::npos;
    return scan.feed(bytes.substr(0, ctrlZ));
}

} // namespace

std::FILE* openRegularFile(const std::string& path, std::string& reason, bool& missing)
{
    const std::filesystem::path fsPath = toFsPath(path);
    int refused = 0;
#ifdef _WIN32
    std::error_code error;
    const auto status = std::filesystem::status(fsPath, error);
    if (std::filesystem::is_directory(status))
        refused = EISDIR;
    else if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        refused = -1;
    std::FILE* file = nullptr;
    if (refused == 0) {
        file = _wfsopen(fsPath.c_str(), L"rb", _SH_DENYNO); // an editor may have it open
        if (file == nullptr) refused = errno;
    }
#else
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting for one
    const int fd = ::open(fsPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    std::FILE* file = nullptr;
    if (fd < 0) {
        refused = errno;
    } else {
        struct stat status
        {
        };
        const bool known = ::fstat(fd, &status) == 0;
        if (known && !S_ISREG(status.st_mode))
            refused = S_ISDIR(status.st_mode) ? EISDIR : -1;
        else if (!known || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
            refused = errno;
        if (refused == 0) file = ::fdopen(fd, "rb");
        if (file == nullptr) {
            if (refused == 0) refused = errno;
            ::close(fd);
        }
    }
#endif
    missing = refused == ENOENT; // a dangling link too
    if (file == nullptr) reason = refused < 0 ? std::string(kNotRegularFile) : reasonOf(refused);
    return file;
}

namespace {

std::FILE* openTable(const std::string& path)
{
    std::string reason;
    bool missing = false;
    std::FILE* file = openRegularFile(path, reason, missing);
    if (file == nullptr) throw TableFileError(path, reason);
    return file;
}

} // namespace

TableReader::TableReader(const std::string& path) : m_path(path), m_file(openTable(path))
{
    try {
        m_buffer = std::make_unique_for_overwrite<char[]>(kChunk);
        m_capacity = kChunk;
        fill();
    } catch (...) {
        // the destructor does not run for a constructor that throws
        std::fclose(m_file);
        m_file = nullptr;
        throw;
    }
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    if (m_end - m_pos >= 3 && std::memcmp(data() + m_pos, kBom, 3) == 0) {
        m_lineEncoding = LineEncoding::Utf8;
        m_decided = true;
        m_pos += 3;
    }
}

TableReader::~TableReader()
{
    if (m_file != nullptr) std::fclose(m_file);
}

// Moves the bytes not yet read as lines to the front, grows the buffer when a line fills
// it, and reads more. False at the end of the file.
bool TableReader::fill()
{
    if (m_eof) return false;
    if (m_pos > 0) {
        if (m_pos < m_end) std::memmove(data(), data() + m_pos, m_end - m_pos);
        if (m_ctrlZ != std::string_view::npos) m_ctrlZ -= m_pos;
        m_end -= m_pos;
        m_pos = 0;
    }
    if (m_end == m_capacity) {
        auto bigger = std::make_unique_for_overwrite<char[]>(m_capacity * 2);
        std::memcpy(bigger.get(), data(), m_end);
        m_buffer = std::move(bigger);
        m_capacity *= 2;
    }
    const std::size_t got = std::fread(data() + m_end, 1, m_capacity - m_end, m_file);
    if (got == 0) {
        if (std::ferror(m_file) != 0)
            throw TableFileError(m_path, reasonOf(errno != 0 ? errno : EIO));
        m_eof = true;
        return false;
    }
    if (m_ctrlZ == std::string_view::npos) {
        if (const void* at = std::memchr(data() + m_end, kCtrlZ, got))
            m_ctrlZ = static_cast<std::size_t>(static_cast<const char*>(at) - data());
    }
    m_end += got;
    return true;
}

// The first line end in `size` bytes from `from`, or nullptr. Until the first line end is
// met either CR or LF ends a line, and the first one decides which ends the others.
const char* TableReader::findFirstLineEnd(const char* from, std::size_t size) noexcept
{
    const char* const end = from + size;
    const char* at = from;
    while (at != end && *at != '\r' && *at != '\n')
        ++at;
    if (at == end) return nullptr;
    m_ends = *at == '\r' ? Ends::FirstCr : Ends::Lf;
    return at;
}

// The line before ended at a CR: an LF right after it belongs to that line end.
void TableReader::takeLfAfterCr()
{
    m_crPending = false;
    if (m_pos == m_end) fill();
    const bool lf = m_pos < m_end && data()[m_pos] == '\n';
    if (lf) ++m_pos;
    if (m_ends == Ends::FirstCr) [[unlikely]]
        m_ends = lf ? Ends::CrLf : Ends::Cr;
}

bool TableReader::nextBytes(std::string_view& bytes)
{
    m_tooLong = false;
    if (m_crPending) takeLfAfterCr();
    if (stoppedAtCtrlZ()) return false;
    std::size_t scanned = 0; // bytes of this line already searched for its end
    for (;;) {
        const std::size_t limit = readLimit();
        const char* start = data() + m_pos;
        // the line-end rule
        if (const char* lineEnd = findLineEnd(start + scanned, limit - m_pos - scanned)) {
            bytes = std::string_view(start, static_cast<std::size_t>(lineEnd - start));
            m_pos += bytes.size() + 1;
            if (m_ends != Ends::Lf)
                m_crPending = true;
            else if (!bytes.empty() && bytes.back() == '\r')
                bytes.remove_suffix(1);
            break;
        }
        // the Ctrl-Z rule: the line ends there, and reading with it
        if (limit == m_ctrlZ) {
            bytes = std::string_view(start, m_ctrlZ - m_pos);
            m_pos = m_ctrlZ;
            if (bytes.empty()) return false;
            break;
        }
        // the long-line rule
        scanned = m_end - m_pos;
        if (scanned >= kMaxLineBytes) [[unlikely]]
            return skipLongLine(bytes);
        if (!fill()) {
            if (m_pos == m_end) return false;
            bytes = std::string_view(data() + m_pos, m_end - m_pos); // no line end
            m_pos = m_end;
            break;
        }
    }
    if (!m_decided) decideEncoding(bytes);
    return true;
}

// Drops the line in hand, chunk by chunk, up to its line end (or Ctrl-Z, or the end of the
// file), so that it never has to be held whole; it is then read as an empty line.
bool TableReader::skipLongLine(std::string_view& bytes)
{
    bytes = {};
    m_tooLong = true;
    for (;;) {
        const std::size_t limit = readLimit();
        if (const char* lineEnd = findLineEnd(data() + m_pos, limit - m_pos)) {
            m_pos = static_cast<std::size_t>(lineEnd - data()) + 1;
            m_crPending = m_ends != Ends::Lf;
            return true;
        }
        if (limit == m_ctrlZ) {
            m_pos = m_ctrlZ;
            return true;
        }
        m_pos = m_end;
        if (!fill()) return true;
    }
}

// The first line with a byte above 0x7F decides the file's encoding.
void TableReader::decideEncoding(std::string_view line)
{
    if (isAscii(line)) return;
    // checked UTF-8 needs no mending
    m_lineEncoding = restIsUtf8(line) ? LineEncoding::Text : LineEncoding::Cp932;
    m_decided = true;
}

// The lines before the line in hand were ASCII; the rest of the file decides. What is not
// in the buffer yet is scanned through a scratch buffer, and the file goes back to where it
// was, so memory stays bounded. A CP932 file is usually told at its first Japanese
// character; only a UTF-8 file is scanned to its end (or its first Ctrl-Z).
bool TableReader::restIsUtf8(std::string_view line)
{
    Utf8Scan scan;
    // a line ends at an ASCII CR, so a character cut there is no UTF-8
    if (!scan.feed(line) || !scan.complete()) return false;
    if (stoppedAtCtrlZ()) return true;
    bool stopped = false;
    if (!feedUpToCtrlZ(scan, std::string_view(data() + m_pos, m_end - m_pos), stopped))
        return false;
    if (stopped || m_eof) return scan.complete();
    std::fpos_t here;
    if (std::fgetpos(m_file, &here) != 0) return false; // cannot come back: keep CP932
    std::vector<char> ahead(kChunk);
    bool valid = true;
    while (valid && !stopped) {
        const std::size_t got = std::fread(ahead.data(), 1, ahead.size(), m_file);
        if (got == 0) {
            if (std::ferror(m_file) != 0)
                throw TableFileError(m_path, reasonOf(errno != 0 ? errno : EIO));
            break;
        }
        valid = feedUpToCtrlZ(scan, std::string_view(ahead.data(), got), stopped);
    }
    std::clearerr(m_file);
    if (std::fsetpos(m_file, &here) != 0) throw TableFileError(m_path, reasonOf(errno));
    return valid && scan.complete();
}

} // namespace tira
