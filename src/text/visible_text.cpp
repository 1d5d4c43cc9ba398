#include "text/visible_text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tira {

void appendVisible(std::string& out, std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
        const auto c = static_cast<unsigned char>(utf8[pos]);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            out.push_back('^');
            out.push_back(static_cast<char>(c ^ 0x40u)); // 0x1B -> '[', 0x7F -> '?'
        } else if (c == 0xC2 && pos + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[pos + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[pos + 1]) < 0xA0) {
            // U+0080..U+009F: a terminal reads U+009B as ESC [
            out += "^[";
            out.push_back(static_cast<char>(static_cast<unsigned char>(utf8[++pos]) - 0x40u));
        } else {
            out.push_back(utf8[pos]);
        }
    }
}

std::string visibleText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    appendVisible(out, utf8);
    return out;
}

std::string cutText(std::string_view utf8, std::size_t maxBytes)
{
    if (utf8.size() <= maxBytes) return std::string(utf8);
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0u) == 0x80u)
        --end; // not inside a character
    return std::string(utf8.substr(0, end)) + "…";
}

bool isTerminal(std::FILE* file) noexcept
{
#ifdef _WIN32
    return _isatty(_fileno(file)) != 0;
#else
    return ::isatty(fileno(file)) != 0;
#endif
}

} // namespace tira
