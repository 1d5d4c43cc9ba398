#pragma once

#include "tables/fields.h"
#include "tables/line_problem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tira {

// The text an entry of an unknown kind carries.
inline constexpr std::string_view kHistoryReadError = "読み取りエラー";

// 歴史 line: date kind [second date] text [colour], the date year/month/day with a year of
// free text, shown as written. Verdict: kUnparsable, or month + day + second month +
// second day + 1. Read in place (see jikukai.h); texts stay the line's bytes.
struct HistoryLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    std::array<std::string_view, 3> date{}; // year, month, day as written
    std::int32_t month = 0, day = 0;
    std::string_view kind; // the kind field as written
    char kindLetter = 'X'; // 'E', 'B' or 'D' (any letter case), 'X' for any other kind
    std::array<std::string_view, 3> second{"0", "0", "0"}; // "0" when open or with "?"
    std::int32_t month2 = 0, day2 = 0;
    std::string_view tail; // the line from the text on (historyTail); see jikukai.h
};

// The fields after the dates of a history line.
struct HistoryTail
{
    std::string_view text; // E, B and D; the others show kHistoryReadError
    char colour = 'A';
};

// The tail of a kept line, split by `fields` (started on it afresh): views into the line or
// into the storage of `fields`, valid while both are.
HistoryTail historyTail(const HistoryLine& line, FieldList& fields);

// The parser is defined here, so that it compiles with what it calls inlined (see
// TIRA_LINE_PARSER).
namespace detail {

// A second date: open when it holds no "/", a part with "?" anywhere counts as 0.
inline bool readSecondDate(std::string_view field, HistoryLine& line) noexcept
{
    if (field.find('/') == std::string_view::npos) return true; // stays 0/0/0
    const auto parts = splitDate(field, 3);
    if (!parts) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string_view part = (*parts)[i];
        line.second[i] = part.find('?') != std::string_view::npos ? "0" : part;
    }
    return true;
}

inline char kindLetterOf(std::string_view kind) noexcept
{
    for (const char letter : {'E', 'B', 'D'})
        if (matchesWord(kind, std::string_view(&letter, 1))) return letter;
    return 'X';
}

} // namespace detail

TIRA_LINE_PARSER HistoryLine HisLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<HistoryLine>([&](HistoryLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        if (!fields.has(1)) return LineProblem::TooFewFields;
        const auto date = splitDate(fields.field(0), 3);
        if (!date) return LineProblem::DateNeedsTwoSlashes;
        line.date = *date;
        line.kind = fields.field(1);
        line.kindLetter = detail::kindLetterOf(line.kind);
        if (line.kindLetter == 'E') {
            if (!fields.has(2)) return LineProblem::TooFewFields;
        } else if (line.kindLetter == 'B' || line.kindLetter == 'D') {
            if (!fields.has(3)) return LineProblem::TooFewFields;
            if (!detail::readSecondDate(fields.field(2), line))
                return LineProblem::DateNeedsTwoSlashes;
        }
        // a part with any byte above 0x7F is no number, decoded or not
        if (!readNumber(line.date[1], line.month) || !readNumber(line.date[2], line.day) ||
            !readNumber(line.second[1], line.month2) || !readNumber(line.second[2], line.day2))
            return LineProblem::DateNotNumber;
        sum = std::int64_t{line.month} + line.day + line.month2 + line.day2;
        // the fields split so far end before the text (before the ignored text of an
        // unknown kind)
        line.tail = fields.unsplit();
        return LineProblem::None;
    });
}

} // namespace tira
