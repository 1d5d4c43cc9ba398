#pragma once

// Jikukai: the line parsers of the birthday, schedule, weekly and holiday tables. Each
// takes one line already cut at "#", fills a record of text fields (all preset to "0";
// numbers stay text until a section converts them) and returns the line verdict:
// kUnparsable, or the sum of the line's numbers + 1. None of them throws, for any bytes.
// Given `problem`, a parser says there why a verdict is 0 or less (LineProblem::None else).

#include "tables/fields.h"
#include "tables/line_problem.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tira {

namespace birthday {
enum Field : std::size_t
{
    Advance, // advance days, 0 without an advance field
    Year,
    Month,
    Day,
    Spare1, // first spare field, as written
    Name,
    Spare2, // second spare field, "0" when absent
    Stop,   // "S" or "N"
    Colour, // colour code
    FieldCount
};
} // namespace birthday
using BirthdayRecord = std::array<std::string, birthday::FieldCount>;

namespace schedule {
enum Field : std::size_t
{
    Advance,
    Year,
    Month,
    Day,
    Comment, // empty when the line has no "*" field
    Text,
    Mark, // "S", "A", "B" or "N"
    Colour,
    FieldCount
};
} // namespace schedule
using ScheduleRecord = std::array<std::string, schedule::FieldCount>;

namespace weekly {
enum Field : std::size_t
{
    StartMonth,
    StartDay,
    EndMonth,
    EndDay,
    Text, // after the sentence-end rule
    Colour,
    FieldCount
};
} // namespace weekly
using WeeklyRecord = std::array<std::string, weekly::FieldCount>;

namespace holiday {
enum Field : std::size_t
{
    Month,
    Day,
    Name, // as split: underscores stay
    FieldCount
};
} // namespace holiday
using HolidayRecord = std::array<std::string, holiday::FieldCount>;

// --- lines read in place ---
// The report reads a line without decoding it first: the separators, digits and marks the
// parsers look at are ASCII, and decoding is in step at each of them, so the numbers and
// marks read from the bytes are those of the decoded line. Only the texts of a shown entry
// are decoded. The record parsers below are these readers followed by a copy.

// A date of N number parts, as written and as values.
template <std::size_t N> struct DateParts
{
    std::array<std::string_view, N> text{};
    std::array<std::int32_t, N> value{};
};

struct BirthdayLine
{
    std::int32_t advance = 0; // 0 without an advance field
    bool hasAdvance = false;
    DateParts<3> date;
    std::size_t extrasFrom = 0; // the fields after the date, read by readBirthdayExtras:
    std::string_view spare1;
    LineText name;
    LineText spare2; // empty when the line has none
    bool hasSpare2 = false;
    char stop = 'N';
    char colour = 'A';
};

struct ScheduleLine
{
    std::int32_t advance = 0;
    bool hasAdvance = false;
    DateParts<3> date;
    LineText comment; // empty when the line has none
    LineText text;
    char mark = 'N';
    char colour = 'A';
    std::string decodedComment; // holds a comment that had to be decoded to be cut
};

struct WeeklyLine
{
    DateParts<2> start;
    DateParts<2> end;
    LineText text;     // read by readWeeklyExtras (before the underscore and sentence-end
    char colour = 'A'; // rules), with the colour
};

// The readers take a line being split (FieldList::start) whose bytes read as `encoding`,
// read what the verdict and the decision need, and return the verdict. The optional fields
// that only a shown entry needs are read by the Extras functions after them (which may
// throw std::bad_alloc, like any text a shown entry builds).
int readBirthdayLine(FieldList& fields, LineEncoding encoding, BirthdayLine& line,
                     LineProblem* problem = nullptr) noexcept;
void readBirthdayExtras(FieldList& fields, BirthdayLine& line);
int readScheduleLine(FieldList& fields, LineEncoding encoding, ScheduleLine& line,
                     LineProblem* problem = nullptr) noexcept;
int readWeeklyLine(FieldList& fields, WeeklyLine& line, LineProblem* problem = nullptr) noexcept;
void readWeeklyExtras(FieldList& fields, WeeklyLine& line);

// --- records ---

// Birthday line: [+advance] year/month/day spare name [spare2 [stop [colour]]].
// Verdict: year + month + day + 1.
int TanLine(std::string_view line, BirthdayRecord& record, LineProblem* problem = nullptr) noexcept;

// Schedule line: [+advance] year/month/day [*comment] text [mark [colour]].
// Verdict: year + month + day + 1.
int SkeLine(std::string_view line, ScheduleRecord& record, LineProblem* problem = nullptr) noexcept;

// Weekly line: month/day month/day text [colour]. Verdict: the four numbers + 1.
int WekLine(std::string_view line, WeeklyRecord& record, LineProblem* problem = nullptr) noexcept;

// Holiday line: month day name. Verdict: month + day + 1.
int HolidayLine(std::string_view line, HolidayRecord& record,
                LineProblem* problem = nullptr) noexcept;

// The schedule mark of a mark word: "S"/"STOP", "A"/"AFTER", "B"/"BEFORE" (any letter
// case), else "N".
char scheduleMark(std::string_view word) noexcept;

// A weekly text after the sentence-end rule: when its first "." is its last character that
// "." is dropped, otherwise "です。" is appended; an empty text stays empty.
std::string weeklySentence(std::string_view text);

} // namespace tira
