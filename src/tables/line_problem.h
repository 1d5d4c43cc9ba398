#pragma once

#include <cstdint>
#include <string_view>

namespace tira {

// Why a table line is dropped. The parsers fill it through an optional out-parameter, so
// that `tira --check` can tell the user; the report only looks at the verdict.
enum class LineProblem : std::uint8_t
{
    None,
    TooFewFields,
    DateNeedsTwoSlashes, // year/month/day
    DateNeedsOneSlash,   // month/day
    DateNotNumber,
    NotNumber,
    AdvanceNotNumber,
    SumNotPositive,
    RangeEndNotNumber,
    ValueOutOfRange, // a negative or huge day, weekday, week or month of an event
    HolidayTableFull,
    LfLineEnds,     // a lone LF joins what follows to the line
    TextAfterCtrlZ, // reading stops at the first Ctrl-Z
    LineTooLong,    // longer than the reader keeps: skipped unread
};

// The reason in plain Japanese and English words, e.g. "項目が足りません (too few fields)".
std::string_view lineProblemText(LineProblem problem) noexcept;

} // namespace tira
