#pragma once

#include "report/agenda.h"

#include <optional>
#include <string>
#include <vector>

namespace tira {

// The agenda as one iCalendar object (RFC 5545), written with libical: an all-day VEVENT
// per entry and day, the consecutive days of a weekly item merged into one, a VALARM at
// 09:00 for a stop entry. Each UID is a hash of the kind, the table file's name (not its
// folder), the entry's text, its (first) date and, for identical entries of a day, their
// place; so a calendar that reads the file again updates its events. nullopt in a build
// without libical.
std::optional<std::string> agendaIcs(const std::vector<AgendaEntry>& entries);

} // namespace tira
