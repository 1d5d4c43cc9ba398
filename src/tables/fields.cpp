#include "tables/fields.h"

#include <charconv>

namespace tira {

namespace {

bool isBlank(char c) noexcept
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

std::size_t skipBlanks(std::string_view line, std::size_t pos) noexcept
{
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    return pos;
}

} // namespace

void FieldList::split(std::string_view line)
{
    m_count = 0;
    std::size_t pos = skipBlanks(line, 0);
    while (pos < line.size()) {
        if (m_count == m_fields.size()) m_fields.emplace_back();
        std::string& field = m_fields[m_count++];
        field.clear();
        if (line[pos] == '"') {
            ++pos;
            while (pos < line.size()) {
                if (line[pos] == '"') {
                    if (pos + 1 < line.size() && line[pos + 1] == '"') {
                        field.push_back('"');
                        pos += 2;
                        continue;
                    }
                    ++pos; // the closing quote
                    break;
                }
                field.push_back(line[pos++]);
            }
        } else {
            const std::size_t start = pos;
            // a NUL byte counts as neither blank nor comma: it stays in the field
            while (pos < line.size() && !isBlank(line[pos]) && line[pos] != ',')
                ++pos;
            field.assign(line.substr(start, pos - start));
        }
        pos = skipBlanks(line, pos);
        if (pos < line.size() && line[pos] == ',') pos = skipBlanks(line, pos + 1);
    }
}

std::vector<std::string> splitFields(std::string_view line)
{
    FieldList list;
    list.split(line);
    std::vector<std::string> out;
    out.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        out.push_back(list[i]);
    return out;
}

std::string underscoresToSpaces(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '_') c = ' ';
    return out;
}

std::optional<std::int32_t> parseNumber(std::string_view text) noexcept
{
    if (text.empty()) return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    bool negative = false;
    if (*first == '+' || *first == '-') {
        negative = *first == '-';
        ++first;
    }
    if (first == last || *first < '0' || *first > '9') return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
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

bool isAdvanceField(std::string_view field) noexcept
{
    return field.find('+') != std::string_view::npos;
}

std::optional<std::int32_t> advanceDays(std::string_view field) noexcept
{
    // the first character is skipped whatever it is, so "5+" leaves "+", not a number
    const std::string_view rest = withoutFirstCharacter(field);
    if (rest.empty()) return 1;
    const auto days = parseNumber(rest);
    if (!days) return std::nullopt;
    return *days > 14 ? 14 : *days;
}

std::string asciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
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

std::string_view withoutFirstCharacter(std::string_view text) noexcept
{
    if (text.empty()) return text;
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0u) == 0x80u)
        ++length;
    return text.substr(length);
}

std::uint16_t recordU16(std::string_view text) noexcept
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(recordInt(text)) & 0xFFFFu);
}

std::int32_t recordInt(std::string_view text) noexcept
{
    return parseNumber(text).value_or(0);
}

char stopMark(std::string_view word) noexcept
{
    return (matchesWord(word, "S") || matchesWord(word, "STOP")) ? 'S' : 'N';
}

} // namespace tira
