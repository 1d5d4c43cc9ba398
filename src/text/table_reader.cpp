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
        if (std::ferror(m_file)) throw TableFileError(m_path, reasonOf(errno != 0 ? errno : EIO));
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
    line = m_encoding == TextEncoding::Utf8 ? sanitizeUtf8(m_raw) : cp932ToUtf8(m_raw);
    return true;
}

} // namespace tira
