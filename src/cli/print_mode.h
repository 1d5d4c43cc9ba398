#pragma once

#include "calendar/tira0.h"
#include "cli/recording_pane.h"
#include "report/main_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace tira {

enum class PrintFormat
{
    Text,
    Json
};

// What `tira --print` was asked for.
struct PrintRequest
{
    std::string home; // resolved home folder
    PrintFormat format = PrintFormat::Text;
    std::optional<Date> date;        // default: the clock's date
    std::optional<int> hour, minute; // default: the clock's time
    bool colour = false;             // ANSI colours (only on a terminal)
};

// Parses "Y-M-D" (leading zeros optional) with the date dialog's checks: month 1..12,
// day within the month, year 1..65535. nullopt when invalid.
std::optional<Date> parseReportDate(std::string_view text) noexcept;

// Parses "H:MM" (hour 0..23, minute 0..59).
std::optional<std::pair<int, int>> parseReportTime(std::string_view text) noexcept;

// Builds one report and writes it to stdout, errors to stderr. Returns the exit code:
// 0, or 1 when a table file could not be read (the lines so far are still written).
int runPrint(const PrintRequest& request);

// The report as the JSON object of the print mode.
std::string reportJson(const MainState& state, const RecordingPane& pane);

// The report as text lines; with `colour`, each line wrapped in an ANSI colour.
std::string reportText(const RecordingPane& pane, bool colour);

} // namespace tira
