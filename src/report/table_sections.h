#pragma once

// The deciders of the five sections, the last of the reading path's three steps (text/
// reads a file's lines as bytes, tables/ parses a line into a record, report/ decides):
// whether one parsed record concerns a date, and with which text, colour and stop effect.
// A decider takes the record, the calendar facts of the date and the settings, nothing
// else, so one record can be decided for any number of dates; it decodes only the texts
// it shows. The section builders of MainState read, parse and decide in one pass and
// write what the decider says.

#include "calendar/tira0.h"
#include "report/main_state.h"
#include "settings/settings.h"
#include "tables/event_line.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tira {

// One report line an entry produces.
struct EntryLine
{
    std::string text;
    WinColour colour = 0;
    bool stopEntry = false;    // a birthday or schedule marked "S"
    std::int32_t daysToGo = 0; // serial day of the entry's date minus today's: 0 on its day
};

// An entry of `kind` showing `text`, in the colour entryColourOf gives it.
EntryLine entryLine(std::string text, const Settings& settings, Kind kind, char colourCode,
                    bool stopEntry = false, std::int32_t daysToGo = 0);

// A birthday on the report date or within its advance days before it (a January birthday
// seen from December lies in the next year).
std::optional<EntryLine> birthdayEntry(const BirthdayLine& line, const CalendarFacts& facts,
                                       const Settings& settings);

// A schedule item on its date, announced ahead ("S", within its advance days), counted down
// ("B", on any day before) or counted up ("A", on any day after).
std::optional<EntryLine> scheduleEntry(const ScheduleLine& line, const CalendarFacts& facts,
                                       const Settings& settings);

// A weekly item whose period of the report year (across the year end when the end month is
// the smaller) holds the report date.
std::optional<EntryLine> weeklyEntry(const WeeklyLine& line, const CalendarFacts& facts,
                                     const Settings& settings);

// An event rule due on the report date or within its advance days; `forcedMonth` (0 =
// none) replaces the rule's month.
std::optional<EntryLine> eventEntry(const EventLine& rule, std::uint16_t forcedMonth,
                                    const CalendarFacts& facts,
                                    const std::vector<HolidayEntry>& holidays,
                                    const Settings& settings);

// A history entry whose date, or whose second date (birth or death), falls on the report
// date's month and day; the first date wins when both do. Met on its second date an entry
// counts as the other kind (a death entry on its birthday is a birth).
std::optional<EntryLine> historyEntry(const HistoryLine& line, const CalendarFacts& facts,
                                      const Settings& settings);

// The holiday lines of the report date: the holiday itself, and the substitute holiday on
// the Monday after a Sunday holiday (same month only).
std::vector<std::string> holidayLines(const std::vector<HolidayEntry>& holidays,
                                      const CalendarFacts& facts);

} // namespace tira
