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

// A birthday on the report date or within its advance days before it.
std::optional<EntryLine> birthdayEntry(const BirthdayRecord& record, const CalendarFacts& facts,
                                       const Settings& settings);

// A schedule item on the report date, announced ahead ("S"), counted down ("B") or
// counted up ("A").
std::optional<EntryLine> scheduleEntry(const ScheduleRecord& record, const CalendarFacts& facts,
                                       const Settings& settings);

// A weekly item whose period of the report year holds the report date.
std::optional<EntryLine> weeklyEntry(const WeeklyRecord& record, const CalendarFacts& facts,
                                     const Settings& settings);

} // namespace tira
