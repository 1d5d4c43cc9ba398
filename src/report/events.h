#pragma once

#include "calendar/tira0.h"
#include "report/main_state.h"
#include "tables/event_line.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

// What a rule means for the report date.
struct EventMatch
{
    int result = 0;            // 0 no match, 1 the rule is due today, 2 it lies ahead
    std::int32_t daysToGo = 0; // days from the report date to the due date
};

// The serial days a rule falls due on around the report date, in the order they are
// judged: at most one per month or year the rule is read in.
struct DueDays
{
    std::array<std::int32_t, 2> serials{};
    std::size_t count = 0;

    void add(std::optional<std::int32_t> serial) noexcept
    {
        if (serial && count < serials.size()) serials[count++] = *serial;
    }
};

// Why a rule can never match, whatever the date: a range end that is not a number, or a
// day, weekday, week or month (`forcedMonth` replacing the rule's, when not 0) below 0 or
// too large. None for a rule that can.
LineProblem eventRuleProblem(const EventLine& rule, std::uint16_t forcedMonth) noexcept;

// The day shift: moves a rule's day off Sundays, Saturdays and holidays, or resolves a
// range or a day counted from the month end. The day is read in `month` of `year` (month 0:
// the report month; 13: January of the next year) and may leave 1..length of that month in
// either direction; DayCount then reads it in the month before or after.
void SpanD(DayForm form, std::int64_t year, std::int64_t month, std::int64_t rangeEnd,
           std::int64_t& day, const CalendarFacts& facts,
           const std::vector<HolidayEntry>& holidays) noexcept;

// The days a rule that eventRuleProblem lets through falls due on around the report date
// of `facts`. `forcedMonth` (0 = none) replaces the rule's month.
DueDays eventDueDays(const EventLine& rule, std::uint16_t forcedMonth, const CalendarFacts& facts,
                     const std::vector<HolidayEntry>& holidays) noexcept;

// The match of the first due day that is `today` (1) or lies 1..advance days ahead (2); no
// match (0) when none is. A negative advance announces nothing ahead.
EventMatch Judge(const DueDays& due, std::int32_t today, std::int32_t advance) noexcept;

// The report line of a rule that matched, from its shown text.
std::string eventReportText(std::string_view text, DayForm form, const EventMatch& match);

} // namespace tira
