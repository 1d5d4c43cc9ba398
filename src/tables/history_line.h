#pragma once

#include "tables/line_problem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tira {

// The fields of a parsed history entry, every one kept as text.
enum HistoryField : std::size_t
{
    HistoryYear,   // free text, shown as written
    HistoryMonth,  // as written
    HistoryDay,    // as written
    HistoryKind,   // "E", "B", "D" or any other text, capitalised
    HistoryText,   // underscores shown as spaces
    HistoryColour, // colour code letter
    HistoryYear2,  // second date (B: death, D: birth); "0" when open
    HistoryMonth2,
    HistoryDay2,
    kHistoryFieldCount
};
using HistoryRecord = std::array<std::string, kHistoryFieldCount>;

// The text an entry of an unknown kind carries.
inline constexpr std::string_view kHistoryReadError = "読み取りエラー";

class FieldList;

// A history line read in place (see jikukai.h). The texts stay the line's bytes until the
// entry is shown; the year is free text, shown as written.
struct HistoryLine
{
    std::array<std::string_view, 3> date{}; // year, month, day as written
    std::int32_t month = 0, day = 0;
    std::string_view kind; // the kind field as written
    char kindLetter = 'X'; // 'E', 'B' or 'D' (any letter case), 'X' for any other kind
    std::array<std::string_view, 3> second{"0", "0", "0"}; // "0" when open or with "?"
    std::int32_t month2 = 0, day2 = 0;
    std::size_t textAt = 0; // E, B and D (the others show kHistoryReadError): the text
    std::size_t colourAt = 0;
    std::string_view text; // read by readHistoryExtras, with the colour
    char colour = 'A';
};

// Reads a history line being split (FieldList::start) as far as its verdict and its date
// need; returns the verdict.
int readHistoryLine(FieldList& fields, HistoryLine& line, LineProblem* problem = nullptr) noexcept;
// Reads the text and the colour field of a read history line.
void readHistoryExtras(FieldList& fields, HistoryLine& line);

// 歴史 line parser. Fills `record` from one history line (cut at '#').
// Returns the line verdict: kUnparsable, or month + day + second month + second day + 1.
// Never throws. Given `problem`, says there why a verdict is 0 or less.
int HisLine(std::string_view text, HistoryRecord& record, LineProblem* problem = nullptr) noexcept;

} // namespace tira
