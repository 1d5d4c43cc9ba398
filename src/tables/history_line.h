#pragma once

#include "tables/line_problem.h"

#include <array>
#include <cstddef>
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

// 歴史 line parser. Fills `record` from one history line (cut at '#').
// Returns the line verdict: kUnparsable, or month + day + second month + second day + 1.
// Never throws. Given `problem`, says there why a verdict is 0 or less.
int HisLine(std::string_view line, HistoryRecord& record, LineProblem* problem = nullptr) noexcept;

} // namespace tira
