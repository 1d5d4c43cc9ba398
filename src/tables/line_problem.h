#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

// A line parser is compiled as one function, with everything it calls (the field splitter,
// the date and number readers) inlined: a call per field costs as much as the parsing, and
// GCC's own inlining leaves those calls in once the program is large. Without it the
// 1M-line rows of `make bench` take 5 to 18 % more CPU time (history 18 %, schedule 14 %).
#if defined(__GNUC__)
#define TIRA_LINE_PARSER [[gnu::flatten]] inline
#else
#define TIRA_LINE_PARSER inline
#endif

namespace tira {

inline constexpr int kUnparsable = -1; // the line verdict of a line that cannot be parsed

// Why a table line is dropped: part of every parser's verdict, so that `tira --check` can
// tell the user; the report only looks at the verdict's value.
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

// The verdict of a parsed line: kUnparsable, or the sum of the line's numbers + 1, held
// within int. A line with a verdict of 0 or less is dropped, for `problem`.
struct LineVerdict
{
    int value = kUnparsable;
    LineProblem problem = LineProblem::None;

    constexpr bool kept() const noexcept { return value > 0; }

    // The verdict of a line that cannot be parsed, for `why`.
    static constexpr LineVerdict unparsable(LineProblem why) noexcept { return {kUnparsable, why}; }
    // The verdict of a parsed line whose numbers add up to `sum` (taken in 64 bits, so a
    // huge but valid line stays valid and never wraps).
    static constexpr LineVerdict ofSum(std::int64_t sum) noexcept
    {
        const int value = static_cast<int>(std::clamp<std::int64_t>(sum + 1, INT_MIN, INT_MAX));
        return {value, value > 0 ? LineProblem::None : LineProblem::SumNotPositive};
    }
};

// How a parser builds its record: read(line, sum) fills `line` and adds the line's numbers
// to `sum`, and says why the line cannot be parsed (None when it can); the verdict follows.
template <class Line, class Read> Line parsedLine(Read read) noexcept
{
    Line line;
    std::int64_t sum = 0;
    const LineProblem problem = read(line, sum);
    line.verdict =
        problem == LineProblem::None ? LineVerdict::ofSum(sum) : LineVerdict::unparsable(problem);
    return line; // one returned object: no copy
}

// The reason in plain Japanese and English words, e.g. "項目が足りません (too few fields)".
std::string_view lineProblemText(LineProblem problem) noexcept;

} // namespace tira
