#pragma once

#include "tables/decimal.h"
#include "tables/line_problem.h"
#include "text/cp932.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

// The fields of one table line. Blanks (codes 1..32) and commas separate fields; a field
// that starts with a double quote runs to the closing one ("" stands for one quote, a
// missing closing quote runs to the end of the line); two commas give an empty field.
// The fields are views into the line (a quoted field with "" inside into the list's own
// storage): they are valid while the line lives and until the next split. Reusable:
// starting a line allocates nothing once the list has seen lines as long, and splitting
// the first kParsedFields fields never allocates, so the line parsers cannot fail.
namespace detail {

// Byte classes of the field splitter: 1 a blank (codes 1..32), 2 a comma; a NUL byte is
// neither, it stays in its field.
inline constexpr std::array<std::uint8_t, 256> kFieldByteClass = [] {
    std::array<std::uint8_t, 256> classes{};
    for (std::size_t c = 1; c <= 32; ++c)
        classes[c] = 1;
    classes[','] = 2;
    return classes;
}();

inline bool isFieldBlank(char c) noexcept
{
    return kFieldByteClass[static_cast<unsigned char>(c)] == 1;
}

// The end of the run of plain bytes from `pos`: the first blank or comma, or `size`. Eight
// bytes are looked at a time: byte by byte, the 1M-line birthday and weekly rows of
// `make bench` take 9 and 11 % more CPU time (the history and event rows, of short fields,
// 3 and 5 % less).
inline std::size_t plainRunEnd(const char* line, std::size_t pos, std::size_t size) noexcept
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        constexpr std::uint64_t kHighs = 0x8080808080808080u;
        while (size - pos >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, line + pos, 8);
            // bytes below 0x21, and commas; the lowest flagged byte is always a true one
            const std::uint64_t low = (word - 0x21 * kOnes) & ~word & kHighs;
            const std::uint64_t commas = word ^ (0x2C * kOnes);
            const std::uint64_t hits = low | ((commas - kOnes) & ~commas & kHighs);
            if (hits == 0) {
                pos += 8;
                continue;
            }
            pos += static_cast<std::size_t>(std::countr_zero(hits)) / 8;
            if (line[pos] != '\0') return pos;
            ++pos; // a NUL byte is part of the field
        }
    }
    while (pos < size && kFieldByteClass[static_cast<unsigned char>(line[pos])] == 0)
        ++pos;
    return pos;
}

} // namespace detail

class FieldList
{
  public:
    static constexpr std::size_t kParsedFields = 16; // more than any line parser reads

    FieldList() { m_fields.reserve(kParsedFields); }

    // Splits the whole line.
    void split(std::string_view line)
    {
        start(line);
        splitRest();
    }

    // Starts splitting `line` lazily: has() and field() split on only as far as they are
    // asked, so a reader that decides on the first fields never scans the rest of the line.
    // Takes the storage the first kParsedFields fields can need.
    void start(std::string_view line)
    {
        if (m_unquoted.capacity() < line.size()) [[unlikely]]
            makeRoom(line.size());
        m_line = line;
        m_count = 0;
        m_unquotedReady = false;
        m_pos = skipBlanks(0);
    }
    // True when the line has a field number `i` (from 0). Splits the fields before it, not
    // the field itself: a field that is only required to be there is never scanned.
    bool has(std::size_t i)
    {
        splitUntil(i);
        return i < m_count || (i == m_count && m_pos < m_line.size());
    }
    // Field number `i`, which has(i) said is there; splits on as far as that.
    std::string_view field(std::size_t i)
    {
        splitUntil(i + 1);
        return m_fields[i];
    }
    // Splits what is left of the line.
    void splitRest() { splitUntil(std::string_view::npos); }
    // The line from the first field not split yet (after has(i) for a field i that is
    // there and not split: from field i), as the bytes of the line.
    std::string_view unsplit() const noexcept { return m_line.substr(m_pos); }

    // The fields split so far (all of them after split() or splitRest()).
    std::size_t size() const noexcept { return m_count; }
    bool empty() const noexcept { return m_count == 0; }
    std::string_view operator[](std::size_t i) const noexcept { return m_fields[i]; }

  private:
    void makeRoom(std::size_t lineSize) { m_unquoted.reserve(lineSize); }

    void splitUntil(std::size_t count)
    {
        while (m_count < count && m_pos < m_line.size())
            splitNext();
    }

    // Splits the field at m_pos and the separator after it: blanks, and at most one comma
    // with blanks around it.
    void splitNext()
    {
        const char* const line = m_line.data();
        const std::size_t size = m_line.size();
        std::size_t pos = m_pos;
        std::string_view field;
        if (line[pos] == '"') {
            field = quotedField(pos);
        } else {
            const std::size_t stop = detail::plainRunEnd(line, pos, size);
            field = std::string_view(line + pos, stop - pos);
            pos = stop;
        }
        // a field beyond those the list has held so far (never within the first
        // kParsedFields) is added
        if (m_count == m_fields.size())
            m_fields.push_back(field);
        else
            m_fields[m_count] = field;
        ++m_count;
        m_pos = pos;
        m_pos = skipBlanks(m_pos);
        if (m_pos < size && line[m_pos] == ',') m_pos = skipBlanks(m_pos + 1);
    }

    std::size_t skipBlanks(std::size_t pos) const noexcept
    {
        while (pos < m_line.size() && detail::isFieldBlank(m_line[pos]))
            ++pos;
        return pos;
    }

    std::string_view quotedField(std::size_t& pos);

    std::vector<std::string_view> m_fields;
    std::size_t m_count = 0;
    std::string_view m_line;
    std::size_t m_pos = 0;        // where splitting goes on
    std::string m_unquoted;       // the quoted fields that held "", one after the other
    bool m_unquotedReady = false; // m_unquoted is cleared and sized for this line
};

// The shown text of a text field's bytes: decoded, with every underscore turned into a
// space (after decoding, so the second byte of a double-byte character is never touched).
std::string shownText(std::string_view bytes, LineEncoding encoding);

// Splits a date written with exactly parts-1 "/" into its parts (parts 1..3); nullopt for
// any other count. The parts are not checked to be numbers.
std::optional<std::array<std::string_view, 3>> splitDate(std::string_view text, int parts) noexcept;

// True when the first field of a line is an advance field (holds a "+").
inline bool isAdvanceField(std::string_view field) noexcept
{
    return std::ranges::any_of(field, [](char c) { return c == '+'; });
}

// Advance days of an advance field whose bytes read as `encoding`: the text after its
// first character, whatever that is; empty is 1, above 14 is 14; nullopt when that text is
// not a number. Only ASCII digits make a number, and bytes below 0x80 decode to themselves,
// so the bytes after the first character are read as they are.
inline std::optional<std::int32_t> advanceDays(std::string_view field,
                                               LineEncoding encoding) noexcept
{
    const bool ascii = !field.empty() && static_cast<unsigned char>(field.front()) < 0x80;
    const std::string_view rest = field.substr(ascii ? 1 : firstCharacterLength(field, encoding));
    if (rest.empty()) return 1;
    std::int32_t days = 0;
    if (!readNumber(rest, days)) return std::nullopt;
    return days > 14 ? 14 : days;
}

// The advance field when the line has one: the advance days, and `next` moves past it.
inline LineProblem readAdvance(FieldList& fields, LineEncoding encoding, std::int32_t& advance,
                               std::size_t& next) noexcept
{
    next = 0;
    advance = 0;
    if (!fields.has(0) || !isAdvanceField(fields.field(0))) return LineProblem::None;
    const auto days = advanceDays(fields.field(0), encoding);
    if (!days) return LineProblem::AdvanceNotNumber;
    advance = *days;
    next = 1;
    return LineProblem::None;
}

// The colour code of a colour word ("K", "BLACK" ... "Y", "YELLOW"; any other text "A"),
// compared after ASCII capitalisation.
char colourCode(std::string_view word) noexcept;

// The colour value of a code letter, or `automatic` for "A" and anything unknown.
std::uint32_t colourOfCode(char code, std::uint32_t automatic) noexcept;

// "S" for the stop words "S" / "STOP" (any letter case), else "N".
char stopMark(std::string_view word) noexcept;

// True when `text` equals `upperWord` once its ASCII letters are capitalised.
bool matchesWord(std::string_view text, std::string_view upperWord) noexcept;

// The low 16 bits of a number, as the sections take years, months and days.
inline std::uint16_t low16(std::int32_t value) noexcept
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

} // namespace tira
