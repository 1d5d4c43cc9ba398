#include "text/table_reader.h"

#include "text/cp932.h"
#include "text/file_error.h"
#include "text/paths.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tira {

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr char kCtrlZ = 0x1A;

std::string reasonOf(int error)
{
    return std::strerror(error);
}

bool hasHighByte(std::string_view bytes) noexcept
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Feeds `bytes` up to the first Ctrl-Z; `stopped` tells whether one was met.
bool feedUpToCtrlZ(Utf8Scan& scan, std::string_view bytes, bool& stopped) noexcept
{
    const auto ctrlZ = bytes.find(kCtrlZ);
    stopped = ctrlZ != std::string_view::npos;
    return scan.feed(bytes.substr(0, ctrlZ));
}

} // namespace

TableReader::TableReader(const std::string& path) : m_path(path)
{
    const std::filesystem::path fsPath = toFsPath(path);
    std::error_code error;
    if (std::filesystem::is_directory(fsPath, error)) throw TableFileError(path, reasonOf(EISDIR));
#ifdef _WIN32
    m_file = _wfopen(fsPath.c_str(), L"rb");
#else
    m_file = std::fopen(fsPath.c_str(), "rb");
#endif
    if (m_file == nullptr) throw TableFileError(path, reasonOf(errno));
    m_buffer.resize(kChunk);
    try {
        fill();
    } catch (...) {
        // the destructor does not run for a constructor that throws
        std::fclose(m_file);
        m_file = nullptr;
        throw;
    }
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    if (m_end - m_pos >= 3 && std::memcmp(m_buffer.data() + m_pos, kBom, 3) == 0) {
        m_encoding = TextEncoding::Utf8;
        m_decided = true;
        m_pos += 3;
    }
}

TableReader::~TableReader()
{
    if (m_file != nullptr) std::fclose(m_file);
}

bool TableReader::fill()
{
    if (m_eof) return false;
    if (m_pos > 0 && m_pos < m_end)
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
    m_end -= m_pos;
    m_pos = 0;
    if (m_end == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
    const std::size_t got = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_file);
    if (got == 0) {
        if (std::ferror(m_file) != 0) throw TableFileError(m_path, reasonOf(errno != 0 ? errno : EIO));
        m_eof = true;
        return false;
    }
    m_end += got;
    return true;
}

bool TableReader::next(std::string& line)
{
    if (m_stopped) return false;
    m_raw.clear();
    for (;;) {
        if (m_pos == m_end && !fill()) {
            if (m_raw.empty()) return false;
            break; // the last line has no line end
        }
        const char* begin = m_buffer.data() + m_pos;
        const std::size_t available = m_end - m_pos;
        std::size_t i = 0;
        while (i < available && begin[i] != '\r' && begin[i] != kCtrlZ)
            ++i;
        m_raw.append(begin, i);
        m_pos += i;
        if (i == available) continue;
        if (begin[i] == kCtrlZ) {
            m_stopped = true;
            if (m_raw.empty()) return false;
            break;
        }
        ++m_pos; // the CR
        if (m_pos == m_end) fill();
        if (m_pos < m_end && m_buffer[m_pos] == '\n') ++m_pos;
        break;
    }
    if (!m_decided && hasHighByte(m_raw)) {
        m_verifiedUtf8 = restIsUtf8();
        m_encoding = m_verifiedUtf8 ? TextEncoding::Utf8 : TextEncoding::Cp932;
        m_decided = true;
    }
    // ASCII reads the same either way, and checked UTF-8 needs no mending
    if (!m_decided || m_verifiedUtf8) {
        line.swap(m_raw);
        return true;
    }
    line = m_encoding == TextEncoding::Utf8 ? sanitizeUtf8(m_raw) : cp932ToUtf8(m_raw);
    return true;
}

// The lines before the line in hand were ASCII; the rest of the file decides. What is not
// in the buffer yet is scanned through a scratch buffer, and the file goes back to where it
// was, so memory stays bounded. A CP932 file is usually told at its first Japanese
// character; only a UTF-8 file is scanned to its end (or its first Ctrl-Z).
bool TableReader::restIsUtf8()
{
    Utf8Scan scan;
    // a line ends at an ASCII CR, so a character cut there is no UTF-8
    if (!scan.feed(m_raw) || !scan.complete()) return false;
    if (m_stopped) return true;
    bool stopped = false;
    if (!feedUpToCtrlZ(scan, std::string_view(m_buffer.data() + m_pos, m_end - m_pos), stopped))
        return false;
    if (stopped || m_eof) return scan.complete();
    std::fpos_t here;
    if (std::fgetpos(m_file, &here) != 0) return false; // cannot come back: keep CP932
    std::vector<char> ahead(kChunk);
    bool valid = true;
    while (valid && !stopped) {
        const std::size_t got = std::fread(ahead.data(), 1, ahead.size(), m_file);
        if (got == 0) {
            if (std::ferror(m_file))
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
