#pragma once

// The deciding half of the birthday, schedule and weekly sections: whether one parsed
// entry concerns the report date, and with which text and colour. Pure functions; the
// section builders of MainState write what they decide.

#include "calendar/tira0.h"
#include "settings/settings.h"
#include "tables/jikukai.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tira {

// One report line an entry produces.
struct EntryLine
{
    std::string text;
    WinColour colour = 0;
    bool stopEntry = false;    // a birthday or schedule marked "S"
    std::int32_t daysToGo = 0; // serial day of the entry's date minus today's
};

// The days to go to a birthday of `month`/`day` when the report shows it: on the day, or
// within `advance` days before it (a January birthday seen from December lies in the next
// year).
std::optional<std::int32_t> birthdayDaysToGo(std::uint16_t month, std::uint16_t day,
                                             std::int32_t advance,
                                             const CalendarFacts& facts) noexcept;

// The line of a shown birthday.
EntryLine birthdayLine(std::string_view name, std::uint16_t birthYear, std::int32_t daysToGo,
                       bool stopEntry, char colourCode, const CalendarFacts& facts,
                       const Settings& settings);

// A birthday on the report date or within its advance days before it.
std::optional<EntryLine> birthdayEntry(const BirthdayRecord& record, const CalendarFacts& facts,
                                       const Settings& settings);

// How a schedule item shows on the report date: on its date, counted down to it (an "S"
// item within its advance days, a "B" item on any day before), or counted up from it (an
// "A" item on any day after).
enum class ScheduleShow : std::uint8_t
{
    No,
    Today,
    Ahead,
    Since,
};
struct ScheduleDue
{
    ScheduleShow show = ScheduleShow::No;
    std::int32_t daysToGo = 0;
};
ScheduleDue scheduleDue(std::uint16_t year, std::uint16_t month, std::uint16_t day, char mark,
                        std::int32_t advance, const CalendarFacts& facts) noexcept;

// The line of a shown schedule item: its text, with its comment in parentheses when
// comments are shown.
EntryLine scheduleLine(std::string_view text, std::string_view comment, const ScheduleDue& due,
                       char mark, char colourCode, const Settings& settings);

// A schedule item on the report date, announced ahead ("S"), counted down ("B") or
// counted up ("A").
std::optional<EntryLine> scheduleEntry(const ScheduleRecord& record, const CalendarFacts& facts,
                                       const Settings& settings);

// True when the period start/end of the report year (across the year end when the end
// month is the smaller) holds the report date.
bool weeklyShown(std::uint16_t startMonth, std::uint16_t startDay, std::uint16_t endMonth,
                 std::uint16_t endDay, const CalendarFacts& facts) noexcept;

// A weekly item whose period of the report year holds the report date.
std::optional<EntryLine> weeklyEntry(const WeeklyRecord& record, const CalendarFacts& facts,
                                     const Settings& settings);

} // namespace tira
