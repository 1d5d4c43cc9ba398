#pragma once

#include "tables/line_problem.h"
#include "text/cp932.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tira {

// The fields of a parsed event rule, every one kept as text.
enum EventField : std::size_t
{
    EventAdvance,  // advance days ("0" without an advance field)
    EventDay,      // day of the month without its marker, 0 = none
    EventWeekday,  // 1..7 (1 = Sunday), 0 = any
    EventWeek,     // week number without its marker, 0 = any
    EventMonth,    // 1..12, 0 = any
    EventColour,   // colour code letter
    EventText,     // the words of the reminder, underscores shown as spaces
    EventDayForm,  // "0".."7", see DayForm
    EventRangeEnd, // second number of a day range, else "0"
    EventWeekForm, // "1".."6", see WeekForm
    kEventFieldCount
};
using EventRule = std::array<std::string, kEventFieldCount>;

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

class FieldList;

// An event line read in place (see jikukai.h): the values without their markers, and the
// text left in the line's fields until the rule is shown.
struct EventLine
{
    std::int32_t advance = 0; // 0 without an advance field (a negative one stays)
    bool hasAdvance = false;
    std::string_view day, weekday, week, month; // as the rule holds them
    std::string_view rangeEnd = "0";
    std::int32_t dayValue = 0, weekdayValue = 0, weekValue = 0, monthValue = 0;
    DayForm dayForm = DayForm::Plain;
    WeekForm weekForm = WeekForm::OfMonth;
    char colour = 'A';         // read by readEventExtras, with the text's first field:
    std::size_t textField = 0; // the text is the fields from here on, joined by spaces
};

// Reads an event line being split (FieldList::start) whose bytes read as `encoding`, as
// far as its verdict and its evaluation need; returns the verdict.
int readEventLine(FieldList& fields, LineEncoding encoding, EventLine& line,
                  LineProblem* problem = nullptr) noexcept;
// Reads the colour field of a read event line and where its text begins.
void readEventExtras(FieldList& fields, EventLine& line);

// The text of an event line after readEventExtras: its text fields joined by single spaces,
// decoded, with every underscore turned into a space.
std::string eventLineText(FieldList& fields, const EventLine& line, LineEncoding encoding);

// 行事 line parser. Fills `rule` from one event line (cut at '#', free of comma lists).
// Returns the line verdict: kUnparsable, or day + weekday + week + month + 1 of the values
// without their markers. Never throws. Given `problem`, says there why a verdict is 0 or less.
int EveLine(std::string_view text, EventRule& rule, LineProblem* problem = nullptr) noexcept;

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
