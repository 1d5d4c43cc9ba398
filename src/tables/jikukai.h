#pragma once

// Jikukai: the line parsers of the birthday, schedule, weekly and holiday tables. Each
// reads the line a FieldList was started on, as bytes that read as `encoding`: the
// separators, digits and marks the parsers look at are ASCII, and decoding is in step at
// each of them, so the numbers and marks read from the bytes are those of the decoded
// line. Texts stay the line's bytes until an entry is shown, and the fields after those
// that decide whether an entry is shown are split only when it is (through the record's
// accessors, while the FieldList still holds the line). A parser never allocates and never
// throws; its verdict says why a line is dropped.

#include "tables/fields.h"
#include "tables/line_problem.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tira {

// A date of N number parts, as written and as values.
template <std::size_t N> struct DateParts
{
    std::array<std::string_view, N> text{};
    std::array<std::int32_t, N> value{};
};

// Birthday line: [+advance] year/month/day spare name [spare2 [stop [colour]]].
// Verdict: year + month + day + 1.
struct BirthdayLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text; // how the texts read
    std::int32_t advance = 0;                   // 0 without an advance field
    DateParts<3> date;

    // The fields after the date, of a line that is kept.
    std::string_view spare1() const noexcept;
    std::string_view name() const noexcept;
    std::string_view spare2() const noexcept; // empty when the line has none
    char stop() const noexcept;               // 'S' or 'N'
    char colour() const noexcept;             // colour code

    FieldList* fields = nullptr; // the line, split on as far as asked
    std::size_t spareAt = 0;     // the field after the date
};
BirthdayLine TanLine(FieldList& fields, LineEncoding encoding) noexcept;

// Schedule line: [+advance] year/month/day [*comment] text [mark [colour]].
// Verdict: year + month + day + 1.
struct ScheduleLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    std::int32_t advance = 0;
    DateParts<3> date;
    std::string_view comment; // without its first character; empty when the line has none
    std::string_view text;
    char mark = 'N'; // 'S', 'A', 'B' or 'N'
    char colour = 'A';
};
ScheduleLine SkeLine(FieldList& fields, LineEncoding encoding) noexcept;

// Weekly line: month/day month/day text [colour]. Verdict: the four numbers + 1.
struct WeeklyLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    DateParts<2> start;
    DateParts<2> end;

    // The fields after the dates, of a line that is kept.
    std::string_view text() const noexcept; // before the underscore and sentence-end rules
    char colour() const noexcept;

    FieldList* fields = nullptr; // the line, split on as far as asked
};
WeeklyLine WekLine(FieldList& fields, LineEncoding encoding) noexcept;

// Holiday line: month day name. Verdict: month + day + 1.
struct HolidayLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::string_view name; // as split: underscores stay
};
HolidayLine HolLine(FieldList& fields, LineEncoding encoding) noexcept;

// The schedule mark of a mark word: "S"/"STOP", "A"/"AFTER", "B"/"BEFORE" (any letter
// case), else "N".
char scheduleMark(std::string_view word) noexcept;

// A weekly text after the sentence-end rule: when its first "." is its last character that
// "." is dropped, otherwise "です。" is appended; an empty text stays empty.
std::string weeklySentence(std::string_view text);

} // namespace tira
