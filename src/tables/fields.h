#pragma once

#include "text/cp932.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

inline constexpr int kUnparsable = -1; // the line verdict of a line that cannot be parsed

// The fields of one table line. Blanks (codes 1..32) and commas separate fields; a field
// that starts with a double quote runs to the closing one ("" stands for one quote, a
// missing closing quote runs to the end of the line); two commas give an empty field.
// The fields are views into the line (a quoted field with "" inside into the list's own
// storage): they are valid while the line lives and until the next split. Reusable:
// splitting again allocates nothing once the list has seen lines as long.
class FieldList
{
  public:
    // Splits the whole line.
    void split(std::string_view line)
    {
        start(line);
        splitRest();
    }

    // Starts splitting `line` lazily: has() and field() split on only as far as they are
    // asked, so a reader that decides on the first fields never scans the rest of the line.
    void start(std::string_view line) noexcept;
    // True when the line has a field number `i` (from 0). Splits the fields before it, not
    // the field itself: a field that is only required to be there is never scanned.
    bool has(std::size_t i)
    {
        if (i < m_count) return true;
        splitUntil(i);
        return i < m_count || (i == m_count && m_pos < m_line.size());
    }
    // Field number `i`, which has(i) said is there; splits on as far as that.
    std::string_view field(std::size_t i)
    {
        if (i >= m_count) splitUntil(i + 1);
        return m_fields[i];
    }
    // Splits what is left of the line.
    void splitRest() { splitUntil(std::string_view::npos); }

    // The fields split so far (all of them after split() or splitRest()).
    std::size_t size() const noexcept { return m_count; }
    bool empty() const noexcept { return m_count == 0; }
    std::string_view operator[](std::size_t i) const noexcept { return m_fields[i]; }

  private:
    void splitUntil(std::size_t count);
    std::string_view quotedField(std::size_t& pos);

    std::vector<std::string_view> m_fields;
    std::size_t m_count = 0;
    std::string_view m_line;
    std::size_t m_pos = 0;        // where splitting goes on
    std::string m_unquoted;       // the quoted fields that held "", one after the other
    bool m_unquotedReady = false; // m_unquoted is cleared and sized for this line
};

// A text field of a line read in place: the line's bytes, decoded only when the entry is
// shown, or (rarely) text already decoded.
struct LineText
{
    std::string_view bytes;
    bool decoded = false; // `bytes` is UTF-8 text already
};

// The shown text of a text field: decoded, with every underscore turned into a space.
std::string shownText(LineText text, LineEncoding encoding);

// Convenience for tests and one-off callers.
std::vector<std::string> splitFields(std::string_view line);

// A text field as shown: every underscore becomes a space (UTF-8 continuation bytes are
// never ASCII, so a double-byte character is never touched).
std::string underscoresToSpaces(std::string_view text);

// A whole decimal number with an optional sign; nothing else (no blanks, no empty text).
// Values outside 32 bits are not numbers.
std::optional<std::int32_t> parseNumber(std::string_view text) noexcept;

// Splits a date written with exactly parts-1 "/" into its parts (parts 1..3); nullopt for
// any other count. The parts are not checked to be numbers.
std::optional<std::array<std::string_view, 3>> splitDate(std::string_view text, int parts) noexcept;

// True when the first field of a line is an advance field (holds a "+").
inline bool isAdvanceField(std::string_view field) noexcept
{
    for (const char c : field) // fields are short: no call to a search
        if (c == '+') return true;
    return false;
}

// Advance days of an advance field: the text after its first character; empty is 1,
// above 14 is 14; nullopt when that text is not a number.
std::optional<std::int32_t> advanceDays(std::string_view field) noexcept;
// The same from the text after that first character.
std::optional<std::int32_t> advanceDaysAfterMark(std::string_view rest) noexcept;
// The same for a field whose bytes read as `encoding`: an ASCII first byte decodes to
// itself alone, anything else is decoded first.
std::optional<std::int32_t> advanceDays(std::string_view field, LineEncoding encoding);

// The colour code of a colour word ("K", "BLACK" ... "Y", "YELLOW"; any other text "A"),
// compared after ASCII capitalisation.
char colourCode(std::string_view word) noexcept;

// The colour value of a code letter, or `automatic` for "A" and anything unknown.
std::uint32_t colourOfCode(char code, std::uint32_t automatic) noexcept;

// "S" for the stop words "S" / "STOP" (any letter case), else "N".
char stopMark(std::string_view word) noexcept;

// ASCII letters a..z turned into capitals; every other byte unchanged.
std::string asciiUpper(std::string_view text);

// True when `text` equals `upperWord` once its ASCII letters are capitalised.
bool matchesWord(std::string_view text, std::string_view upperWord) noexcept;

// The text without its first character; a multi-byte UTF-8 character goes as a whole.
std::string_view withoutFirstCharacter(std::string_view text) noexcept;

// The low 16 bits of a number, as the sections take years, months and days.
inline std::uint16_t low16(std::int32_t value) noexcept
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

// A number field of a parsed record as the sections use it: its low 16 bits (0 when the
// text is not a number, which the parsers never let through).
std::uint16_t recordU16(std::string_view text) noexcept;

// A number field of a parsed record as a signed value (0 when not a number).
std::int32_t recordInt(std::string_view text) noexcept;

} // namespace tira
