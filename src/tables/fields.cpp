#include "tables/fields.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace tira {

namespace {

enum CharClass : std::uint8_t
{
    kPlain,
    kBlank, // codes 1..32; a NUL byte counts as neither blank nor comma: it stays in the field
    kComma,
};

constexpr std::array<CharClass, 256> kClasses = [] {
    std::array<CharClass, 256> classes{};
    for (std::size_t c = 1; c <= 32; ++c)
        classes[c] = kBlank;
    classes[','] = kComma;
    return classes;
}();

CharClass classOf(char c) noexcept
{
    return kClasses[static_cast<unsigned char>(c)];
}

std::size_t skipBlanks(std::string_view line, std::size_t pos) noexcept
{
    while (pos < line.size() && classOf(line[pos]) == kBlank)
        ++pos;
    return pos;
}

// The end of the run of plain bytes from `p`: the first blank (1..32) or comma, or `end`.
const char* plainRunEnd(const char* p, const char* end) noexcept
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        constexpr std::uint64_t kHighs = 0x8080808080808080u;
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, 8);
            // bytes below 0x21, and commas; the lowest flagged byte is always a true one
            const std::uint64_t low = (word - 0x21 * kOnes) & ~word & kHighs;
            const std::uint64_t commas = word ^ (0x2C * kOnes);
            const std::uint64_t hits = low | ((commas - kOnes) & ~commas & kHighs);
            if (hits == 0) {
                p += 8;
                continue;
            }
            p += std::countr_zero(hits) / 8;
            if (*p != '\0') return p;
            ++p; // a NUL byte is part of the field
        }
    }
    while (p < end && classOf(*p) == kPlain)
        ++p;
    return p;
}

} // namespace

void FieldList::start(std::string_view line) noexcept
{
    m_line = line;
    m_count = 0;
    m_unquotedReady = false;
    m_pos = skipBlanks(line, 0);
}

void FieldList::splitUntil(std::size_t count)
{
    const char* const begin = m_line.data();
    const char* const end = begin + m_line.size();
    std::size_t pos = m_pos;
    while (pos < m_line.size() && m_count < count) {
        std::string_view field;
        if (begin[pos] == '"') {
            field = quotedField(pos);
        } else {
            const char* const stop = plainRunEnd(begin + pos, end);
            field = std::string_view(begin + pos, static_cast<std::size_t>(stop - (begin + pos)));
            pos = static_cast<std::size_t>(stop - begin);
        }
        if (m_count == m_fields.size())
            m_fields.push_back(field);
        else
            m_fields[m_count] = field;
        ++m_count;
        pos = skipBlanks(m_line, pos);
        if (pos < m_line.size() && begin[pos] == ',') pos = skipBlanks(m_line, pos + 1);
    }
    m_pos = pos;
}

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
        m_unquoted.clear();
        m_unquoted.reserve(line.size());
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

std::vector<std::string> splitFields(std::string_view line)
{
    FieldList list;
    list.split(line);
    std::vector<std::string> out;
    out.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        out.emplace_back(list[i]);
    return out;
}

std::string shownText(LineText text, LineEncoding encoding)
{
    std::string out;
    appendText(out, text.bytes, text.decoded ? LineEncoding::Text : encoding);
    for (char& c : out)
        if (c == '_') c = ' ';
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
    // up to nine digits cannot overflow: the common case, without from_chars
    if (last - first <= 9) {
        std::int32_t value = 0;
        for (const char* p = first; p < last; ++p) {
            if (*p < '0' || *p > '9') return std::nullopt;
            value = value * 10 + (*p - '0');
        }
        return negative ? -value : value;
    }
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

std::optional<std::int32_t> advanceDays(std::string_view field) noexcept
{
    // the first character is skipped whatever it is, so "5+" leaves "+", not a number
    return advanceDaysAfterMark(withoutFirstCharacter(field));
}

std::optional<std::int32_t> advanceDays(std::string_view field, LineEncoding encoding)
{
    if (encoding != LineEncoding::Text && !field.empty() &&
        static_cast<unsigned char>(field.front()) < 0x80)
        return advanceDaysAfterMark(field.substr(1));
    thread_local std::string scratch;
    return advanceDays(textOf(field, encoding, scratch));
}

std::optional<std::int32_t> advanceDaysAfterMark(std::string_view rest) noexcept
{
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
    return low16(recordInt(text));
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
