#pragma once

// Jikukai: the line parsers of the birthday, schedule, weekly and holiday tables. The
// reading path has three steps, one per folder: text/ reads a file's lines as bytes
// (TableReader), tables/ parses one line into a record (these parsers, with FieldList),
// report/ decides what a record shows on a date (table_sections.h).
//
// A parser reads the line a FieldList was started on, as bytes that read as `encoding`: the
// separators, digits and marks the parsers look at are ASCII, and decoding is in step at
// each of them, so the numbers and marks read from the bytes are those of the decoded line.
// It fills a plain record: numbers, marks, and views of the line's texts, which stay bytes
// until an entry is shown. A record needs nothing else to be decided for any number of
// dates. Its views point into the line, or (a quoted field with "" inside) into the
// FieldList's own storage: a record is valid while the line's bytes stay where they are and
// the FieldList is not started on another line. A parser never allocates and never throws;
// its verdict says why a line is dropped.
//
// The fields after those that decide whether an entry is shown stay in the record as its
// `tail`, the rest of the line unsplit, which the kind's tail reader (birthdayTail ...)
// splits for an entry that is shown. Splitting them for every line made the 1M-line rows of
// `make bench` 15 to 25 % slower (birthday, weekly, history, event; CPU time and
// instruction counts).

#include "tables/fields.h"
#include "tables/line_problem.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tira {

// A date of N number parts, as written and as values. The field is kept whole rather than
// as one view per part: a record small enough to be cleared with a few stores, as every
// line makes one.
template <std::size_t N> struct DateParts
{
    std::string_view written; // the date field, its parts separated by "/"
    std::array<std::int32_t, N> value{};
};

// Birthday line: [+advance] year/month/day spare name [spare [stop [colour]]]. The spare
// fields hold their places and are never used. Verdict: year + month + day + 1.
struct BirthdayLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text; // how the texts read
    std::int32_t advance = 0;                   // 0 without an advance field
    DateParts<3> date;
    std::string_view tail; // the line from the name on (birthdayTail)
};

// The fields after the spare field of a birthday line.
struct BirthdayTail
{
    std::string_view name; // as split: underscores stay
    char stop = 'N';       // 'S' or 'N'
    char colour = 'A';     // colour code
};

// Schedule line: [+advance] year/month/day [*comment] text [mark [colour]].
// Verdict: year + month + day + 1.
struct ScheduleLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    char mark = 'N'; // 'S', 'A', 'B' or 'N'
    char colour = 'A';
    std::int32_t advance = 0;
    DateParts<3> date;
    std::string_view comment; // without its first character; empty when the line has none
    std::string_view text;
};

// Weekly line: month/day month/day text [colour]. Verdict: the four numbers + 1.
struct WeeklyLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    DateParts<2> start;
    DateParts<2> end;
    std::string_view tail; // the line from the text on (weeklyTail)
};

// The fields after the dates of a weekly line.
struct WeeklyTail
{
    std::string_view text; // before the underscore and sentence-end rules
    char colour = 'A';
};

// Holiday line: month day name. Verdict: month + day + 1.
struct HolidayLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::string_view name; // as split: underscores stay
};

// The tail of a kept line, split by `fields` (started on it afresh): views into the line or
// into the storage of `fields`, valid while both are.
BirthdayTail birthdayTail(const BirthdayLine& line, FieldList& fields);
WeeklyTail weeklyTail(const WeeklyLine& line, FieldList& fields);

// The schedule mark of a mark word: "S"/"STOP", "A"/"AFTER", "B"/"BEFORE" (any letter
// case), else "N".
char scheduleMark(std::string_view word) noexcept;

// A weekly or event text after the sentence-end rule: when its first "." is its last character that
// "." is dropped, otherwise "です。" is appended; an empty text stays empty.
std::string entrySentence(std::string_view text);

// The parsers are defined here, so that each compiles with the splitter and the readers it
// calls inlined (see TIRA_LINE_PARSER).
namespace detail {

// A date field of N parts each written as an optional sign and one to nine digits, read in
// one pass into `date`, its values added to `sum`; false for anything else (which readDate
// then reads the general way). Reading every date the general way costs the 1M-line
// birthday, schedule and weekly rows of `make bench` 29, 20 and 73 % more CPU time.
template <std::size_t N>
bool readPlainDate(std::string_view field, DateParts<N>& date, std::int64_t& sum) noexcept
{
    const char* p = field.data();
    const char* const end = p + field.size();
    std::int64_t total = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) ++p;
        const char* const digits = p;
        std::uint32_t value = 0;
        unsigned digit = 0;
        while (p < end && (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
            value = value * 10 + digit;
            ++p;
        }
        // one to nine digits cannot overflow; longer numbers go the general way
        if (p == digits || p - digits > 9) return false;
        const auto number = static_cast<std::int32_t>(value);
        date.value[i] = negative ? -number : number;
        total += date.value[i];
        if (i + 1 < N) {
            if (p == end || *p != '/') return false;
            ++p;
        }
    }
    if (p != end) return false;
    date.written = field;
    sum += total;
    return true;
}

// readDate for a field that is not a plain date: signs, blanks or long numbers in its
// parts, or another count of parts.
template <std::size_t N>
LineProblem readOtherDate(std::string_view field, DateParts<N>& date, std::int64_t& sum) noexcept
{
    const auto parts = splitDate(field, static_cast<int>(N));
    if (!parts) return N == 3 ? LineProblem::DateNeedsTwoSlashes : LineProblem::DateNeedsOneSlash;
    for (std::size_t i = 0; i < N; ++i) {
        // a part with any byte above 0x7F is no number, decoded or not
        const auto value = parseNumber((*parts)[i]);
        if (!value) return LineProblem::DateNotNumber;
        date.value[i] = *value;
        sum += *value;
    }
    date.written = field;
    return LineProblem::None;
}

// Reads a date field of exactly N number parts into `date` and adds its values to `sum`;
// None, or why the field is no such date.
template <std::size_t N>
LineProblem readDate(std::string_view field, DateParts<N>& date, std::int64_t& sum) noexcept
{
    return readPlainDate(field, date, sum) ? LineProblem::None : readOtherDate(field, date, sum);
}

// The start of a birthday or schedule line: [+advance] year/month/day and at least
// `needed` fields after the date. The date's values go to `sum`; `next` is the first field
// after the date.
inline LineProblem readDatedStart(FieldList& fields, LineEncoding encoding, std::size_t needed,
                                  std::int32_t& advance, DateParts<3>& date, std::int64_t& sum,
                                  std::size_t& next) noexcept
{
    if (const auto problem = readAdvance(fields, encoding, advance, next);
        problem != LineProblem::None)
        return problem;
    if (!fields.has(next + needed)) return LineProblem::TooFewFields;
    const auto problem = readDate(fields.field(next), date, sum);
    ++next;
    return problem;
}

} // namespace detail

TIRA_LINE_PARSER BirthdayLine TanLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<BirthdayLine>([&](BirthdayLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        std::size_t at = 0;
        const auto problem =
            detail::readDatedStart(fields, encoding, 2, line.advance, line.date, sum, at);
        line.tail = fields.unsplit(); // the spare field is split, the name is not
        return problem;
    });
}

TIRA_LINE_PARSER ScheduleLine SkeLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<ScheduleLine>([&](ScheduleLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        std::size_t at = 0;
        if (const auto problem =
                detail::readDatedStart(fields, encoding, 1, line.advance, line.date, sum, at);
            problem != LineProblem::None)
            return problem;
        // the field after the date is the comment whenever it holds a "*", wherever
        if (const std::string_view field = fields.field(at);
            field.find('*') != std::string_view::npos) {
            line.comment = field.substr(firstCharacterLength(field, encoding));
            ++at;
        }
        if (!fields.has(at)) return LineProblem::TooFewFields;
        line.text = fields.field(at);
        line.mark = fields.has(at + 1) ? scheduleMark(fields.field(at + 1)) : 'N';
        line.colour = fields.has(at + 2) ? colourCode(fields.field(at + 2)) : 'A';
        return LineProblem::None;
    });
}

TIRA_LINE_PARSER WeeklyLine WekLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<WeeklyLine>([&](WeeklyLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        if (!fields.has(2)) return LineProblem::TooFewFields;
        if (const auto problem = detail::readDate(fields.field(0), line.start, sum);
            problem != LineProblem::None)
            return problem;
        if (const auto problem = detail::readDate(fields.field(1), line.end, sum);
            problem != LineProblem::None)
            return problem;
        line.tail = fields.unsplit();
        return LineProblem::None;
    });
}

TIRA_LINE_PARSER HolidayLine HolLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<HolidayLine>([&](HolidayLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        if (!fields.has(2)) return LineProblem::TooFewFields;
        line.name = fields.field(2);
        if (!readNumber(fields.field(0), line.month) || !readNumber(fields.field(1), line.day))
            return LineProblem::NotNumber;
        sum = std::int64_t{line.month} + line.day;
        return LineProblem::None;
    });
}

} // namespace tira
