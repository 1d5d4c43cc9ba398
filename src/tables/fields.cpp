#include "tables/fields.h"

#include <bit>
#include <cstring>

namespace tira {

// The quoted field whose opening quote is at `pos`; moves `pos` past it.
std::string_view FieldList::quotedField(std::size_t& pos)
{
    const std::string_view line = m_line;
    ++pos;
    const std::size_t start = pos;
    auto close = line.find('"', pos);
    if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != '"') {
        // no doubled quote before the closing one: the field is the line's own bytes
        const std::size_t stop = close == std::string_view::npos ? line.size() : close;
        pos = stop == line.size() ? stop : stop + 1;
        return line.substr(start, stop - start);
    }
    // a doubled quote stands for one: the field is built in the list's storage, which holds
    // at most the line, so it never moves while the line is split
    if (!m_unquotedReady) {
        m_unquoted.clear(); // start() has made room for the whole line
        m_unquotedReady = true;
    }
    const std::size_t from = m_unquoted.size();
    while (pos < line.size()) {
        close = line.find('"', pos);
        if (close == std::string_view::npos) {
            m_unquoted.append(line.substr(pos));
            pos = line.size();
            break;
        }
        m_unquoted.append(line.substr(pos, close - pos));
        if (close + 1 < line.size() && line[close + 1] == '"') {
            m_unquoted.push_back('"');
            pos = close + 2;
            continue;
        }
        pos = close + 1; // the closing quote
        break;
    }
    return std::string_view(m_unquoted).substr(from);
}

std::string shownText(std::string_view bytes, LineEncoding encoding)
{
    std::string out;
    appendText(out, bytes, encoding);
    for (char& c : out)
        if (c == '_') c = ' ';
    return out;
}

std::optional<std::array<std::string_view, 3>> splitDate(std::string_view text, int parts) noexcept
{
    std::array<std::string_view, 3> out{};
    if (parts < 1 || parts > 3) return std::nullopt;
    std::size_t start = 0;
    for (int i = 0; i < parts - 1; ++i) {
        const auto slash = text.find('/', start);
        if (slash == std::string_view::npos) return std::nullopt;
        out[static_cast<std::size_t>(i)] = text.substr(start, slash - start);
        start = slash + 1;
    }
    const std::string_view rest = text.substr(start);
    if (rest.find('/') != std::string_view::npos) return std::nullopt;
    out[static_cast<std::size_t>(parts - 1)] = rest;
    return out;
}

bool matchesWord(std::string_view text, std::string_view upperWord) noexcept
{
    if (text.size() != upperWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != upperWord[i]) return false;
    }
    return true;
}

char colourCode(std::string_view word) noexcept
{
    struct Word
    {
        std::string_view letter;
        std::string_view name;
    };
    static constexpr std::array<Word, 8> kWords{{{"K", "BLACK"},
                                                 {"W", "WHITE"},
                                                 {"R", "RED"},
                                                 {"G", "GREEN"},
                                                 {"B", "BLUE"},
                                                 {"C", "CYAN"},
                                                 {"M", "MAGENTA"},
                                                 {"Y", "YELLOW"}}};
    for (const Word& w : kWords)
        if (matchesWord(word, w.letter) || matchesWord(word, w.name)) return w.letter[0];
    return 'A';
}

std::uint32_t colourOfCode(char code, std::uint32_t automatic) noexcept
{
    switch (code) {
    case 'K': return 0x000000;
    case 'W': return 0xFFFFFF;
    case 'R': return 0x0000FF;
    case 'G': return 0x00FF00;
    case 'B': return 0xFF0000;
    case 'C': return 0xFFFF00;
    case 'M': return 0xFF00FF;
    case 'Y': return 0x00FFFF;
    default: return automatic;
    }
}

char stopMark(std::string_view word) noexcept
{
    return (matchesWord(word, "S") || matchesWord(word, "STOP")) ? 'S' : 'N';
}

} // namespace tira
