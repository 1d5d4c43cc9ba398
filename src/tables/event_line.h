#pragma once

#include "tables/fields.h"
#include "tables/line_problem.h"
#include "text/cp932.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tira {

// How the day field reads.
enum class DayForm : int
{
    Plain = 0,             // 15
    Earlier = 1,           // <15: Sundays and holidays move it back
    EarlierWorkingDay = 2, // <<15: Saturdays too
    Later = 3,             // >15
    LaterWorkingDay = 4,   // >>15
    Range = 5,             // 10-20: every day of the range
    FromMonthEnd = 6,      // -1: the last day, -2 the day before ...
    Unsupported = 7,       // &15
};

// How the week field reads.
enum class WeekForm : int
{
    OfMonth = 1,      // 2: the second row of the month sheet
    FromMonthEnd = 2, // -1: accepted, never matches
    OfYear = 3,       // !10: the tenth row of the year sheet
    FromYearEnd = 4,  // !-1: accepted, never matches
    OddWeeks = 5,     // %1: restricts nothing
    EvenWeeks = 6,    // %2: restricts nothing
};

// 行事 line: [+advance] day weekday week month [&colour] text... Verdict: kUnparsable, or
// day + weekday + week + month + 1 of the values without their markers. The line is read
// in place (see jikukai.h) and cut at '#' and free of comma lists.
struct EventLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    std::int32_t advance = 0;                   // 0 without an advance field (a negative one stays)
    std::string_view day, weekday, week, month; // as the rule holds them, without markers
    std::string_view rangeEnd = "0";            // second number of a day range, as written
    std::int32_t dayValue = 0, weekdayValue = 0, weekValue = 0, monthValue = 0;
    DayForm dayForm = DayForm::Plain;
    WeekForm weekForm = WeekForm::OfMonth;
    std::string_view tail; // the line after the month (eventTail); see jikukai.h
};

// The fields after the month of an event line: the colour field holds "&" (without one
// the text starts there), and the text is the line from its first text field on, as bytes.
struct EventTail
{
    char colour = 'A';
    std::string_view text;
};

// The tail of a kept line, split by `fields` (started on it afresh): views into the line or
// into the storage of `fields`, valid while both are.
EventTail eventTail(const EventLine& rule, FieldList& fields);

// The parser is defined here, so that it compiles with what it calls inlined (see
// TIRA_LINE_PARSER).
namespace detail {

// The markers are tested in a fixed order, so "<" wins over ">" and "&" over "-". One pass
// tells which markers are there; a plain day needs no search at all.
inline void readDayField(std::string_view field, EventLine& line) noexcept
{
    bool less = false;
    bool greater = false;
    bool ampersand = false;
    bool dash = false;
    for (const char c : field) {
        less = less || c == '<';
        greater = greater || c == '>';
        ampersand = ampersand || c == '&';
        dash = dash || c == '-';
    }
    const auto take = [&](std::string_view value, DayForm form) {
        line.day = value;
        line.dayForm = form;
    };
    if (less) {
        if (const auto at = field.find("<<"); at != std::string_view::npos)
            return take(field.substr(at + 2), DayForm::EarlierWorkingDay);
        return take(field.substr(field.find('<') + 1), DayForm::Earlier);
    }
    if (greater) {
        if (const auto at = field.find(">>"); at != std::string_view::npos)
            return take(field.substr(at + 2), DayForm::LaterWorkingDay);
        return take(field.substr(field.find('>') + 1), DayForm::Later);
    }
    if (ampersand) return take(field.substr(field.find('&') + 1), DayForm::Unsupported);
    if (dash) {
        const auto at = field.find('-');
        if (at == 0) return take(field.substr(1), DayForm::FromMonthEnd);
        line.rangeEnd = field.substr(at + 1);
        return take(field.substr(0, at), DayForm::Range);
    }
    take(field, DayForm::Plain);
}

inline void readWeekField(std::string_view field, EventLine& line) noexcept
{
    const auto take = [&](std::string_view value, WeekForm form) {
        line.week = value;
        line.weekForm = form;
    };
    if (field.starts_with('-')) return take(field.substr(1), WeekForm::FromMonthEnd);
    if (field.starts_with('!')) {
        if (const auto at = field.find("!-"); at != std::string_view::npos)
            return take(field.substr(at + 2), WeekForm::FromYearEnd);
        return take(field.substr(1), WeekForm::OfYear);
    }
    if (field.starts_with("%1")) return take("0", WeekForm::OddWeeks);
    if (field.starts_with("%2")) return take("0", WeekForm::EvenWeeks);
    take(field, WeekForm::OfMonth);
}

} // namespace detail

TIRA_LINE_PARSER EventLine EveLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<EventLine>([&](EventLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        std::size_t next = 0;
        if (const auto problem = readAdvance(fields, encoding, line.advance, next);
            problem != LineProblem::None)
            return problem;
        if (!fields.has(next + 3)) return LineProblem::TooFewFields;

        detail::readDayField(fields.field(next), line);
        line.weekday = fields.field(next + 1);
        detail::readWeekField(fields.field(next + 2), line);
        line.month = fields.field(next + 3);

        // a value with any byte above 0x7F is no number, decoded or not
        if (!readNumber(line.day, line.dayValue) || !readNumber(line.weekday, line.weekdayValue) ||
            !readNumber(line.week, line.weekValue) || !readNumber(line.month, line.monthValue))
            return LineProblem::NotNumber;

        sum = std::int64_t{line.dayValue} + line.weekdayValue + line.weekValue + line.monthValue;
        line.tail = fields.unsplit(); // splitting stopped after the month
        return LineProblem::None;
    });
}

// The shown text of an event line's text bytes: its fields joined by single spaces,
// decoded, with every underscore turned into a space.
std::string eventText(std::string_view bytes, LineEncoding encoding);

namespace detail {
// The expansion of a line that holds a comma.
void expandCommaListOf(std::string_view line, const std::function<void(std::string_view)>& onLine);
} // namespace detail

// Comma-list expansion of an event line: calls `onLine` with every line the list stands
// for, in order. The fields before the list and a shift marker in front of it are carried
// to every item; the fields after the list follow every item but the last, which takes the
// rest of the line as it is. Only the space character delimits; quotes mean nothing here.
// A line without a comma (nearly every line) goes straight to `onLine`.
template <class OnLine> void expandCommaList(std::string_view line, OnLine&& onLine)
{
    if (line.find(',') == std::string_view::npos) {
        onLine(line);
        return;
    }
    detail::expandCommaListOf(line, std::function<void(std::string_view)>(std::ref(onLine)));
}

} // namespace tira
