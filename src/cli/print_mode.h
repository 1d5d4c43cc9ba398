#pragma once

#include "calendar/tira0.h"
#include "cli/command_line.h"
#include "cli/recording_pane.h"
#include "report/main_state.h"

#include <optional>
#include <string>
#include <string_view>

namespace tira {

// What `tira --print` was asked for.
struct PrintRequest
{
    std::string home; // resolved home folder
    PrintFormat format = PrintFormat::Text;
    std::optional<Date> date;        // default: the clock's date
    std::optional<int> hour, minute; // default: the clock's time
    bool colour = false;             // ANSI colours for text in other than the default colour
};

// Builds one report and writes it to stdout, errors to stderr. Returns the exit code:
// 0, or 1 when a table file could not be read (the lines so far are still written).
int runPrint(const PrintRequest& request);

// The report as the JSON object of the print mode.
std::string reportJson(const MainState& state, const RecordingPane& pane);

} // namespace tira
