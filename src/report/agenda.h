#pragma once

// The agenda: for each day of a range, the entries that day's report shows in their
// on-the-day form (holiday lines, birthdays and schedules on their day, weekly periods,
// events due that day, the day's history), with the texts and colours of that report. Each
// table file is read once for the whole range.

#include "calendar/tira0.h"
#include "settings/settings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

enum class AgendaKind : std::uint8_t
{
    Holiday,
    Birthday,
    Schedule,
    Weekly,
    Event,
    History
};
inline constexpr std::size_t kAgendaKindCount = 6;

// The word of a kind on the command line and in the outputs ("holiday", "birthday", …).
std::string_view agendaKindWord(AgendaKind kind) noexcept;
std::optional<AgendaKind> agendaKindOfWord(std::string_view word) noexcept;

// Which kinds an agenda lists, indexed by AgendaKind.
using AgendaKinds = std::array<bool, kAgendaKindCount>;
inline constexpr AgendaKinds kAllAgendaKinds{true, true, true, true, true, true};

inline constexpr int kMaxAgendaDays = 1000;

struct AgendaEntry
{
    Date date;
    AgendaKind kind = AgendaKind::Holiday;
    std::string text; // UTF-8, exactly the report line
    WinColour colour = 0;
    bool stop = false;
    std::shared_ptr<const std::string> file; // the table file as read (".\" completed)
    std::uint32_t line = 0;                  // 1-based line of the file
};

// The entries of the `days` days from `first`, by date, then in report order (holiday lines
// first, then the sections in the display order of the settings). Kinds switched off in
// the settings, or not in `kinds`, are left out. `home` completes ".\" paths. The range
// ends at the last day a date can hold. Throws TableFileError when a table file that is
// there cannot be read.
std::vector<AgendaEntry> buildAgenda(const std::string& home, Settings settings, Date first,
                                     int days, const AgendaKinds& kinds = kAllAgendaKinds);

// The text form, line by line as onLine(text, colour): for each day with entries a heading
// ("2026年5月12日(火)", in `headingColour`), then its entries indented by two spaces in
// their colours; an empty line between days.
void forEachAgendaTextLine(const std::vector<AgendaEntry>& entries, WinColour headingColour,
                           const std::function<void(std::string_view, WinColour)>& onLine);

// The day after `date`.
Date nextDay(Date date) noexcept;

} // namespace tira
