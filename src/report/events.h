#pragma once

#include "calendar/tira0.h"
#include "report/main_state.h"
#include "tables/event_line.h"

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

// 1 when `serial` is `today`, 2 when it lies 1..advance days ahead, else 0. A negative
// advance announces nothing ahead.
int judgeMatch(std::int32_t serial, std::int32_t today, std::int32_t advance) noexcept;

// Moves a rule's day off Sundays, Saturdays and holidays, or resolves a range or a day
// counted from the month end. `month` is the month the day is read in (0: the report
// month; 13: January of the next year). The day may leave 1..length of that month in either
// direction and is then read by DayCount in the month before or after.
void shiftEventDay(DayForm form, std::int64_t month, std::int64_t rangeEnd, std::int64_t& day,
                   const CalendarFacts& facts, const std::vector<HolidayEntry>& holidays) noexcept;

// Evaluates a parsed rule on the report date of `facts`. `forcedMonth` (0 = none) replaces
// the rule's month. Given `problem`, says there why a rule can never match (a range end
// that is not a number, a value below 0 or too large), whatever the date; None else.
EventMatch evaluateEvent(const EventRule& rule, std::uint16_t forcedMonth,
                         const CalendarFacts& facts, const std::vector<HolidayEntry>& holidays,
                         LineProblem* problem = nullptr) noexcept;

// The same for a line read in place: the values it holds, not their texts.
EventMatch evaluateEvent(const EventLine& line, std::uint16_t forcedMonth,
                         const CalendarFacts& facts, const std::vector<HolidayEntry>& holidays,
                         LineProblem* problem = nullptr) noexcept;

// The report line of a rule that matched.
std::string eventReportText(const EventRule& rule, const EventMatch& match);
std::string eventReportText(std::string_view text, DayForm form, const EventMatch& match);

// A monthly file pattern with its first "%m" (or else its first "%M") replaced by the
// month in two digits; nullopt when the pattern holds neither.
std::optional<std::string> monthlyFilePath(std::string_view pattern, std::uint16_t month);

} // namespace tira
