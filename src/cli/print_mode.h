#pragma once

#include "cli/command_line.h"
#include "cli/text_output.h"
#include "settings/settings.h"

#include <string>

namespace tira {

// Builds one report of `home` under `settings` for the date and time `job` asks for (by
// default the clock's) and writes it to stdout in the job's format, with ANSI colours as
// `colours` says for text in other than the default colour; errors go to stderr. Returns the
// exit code: 0, or 1 when a table file could not be read (the lines so far are still
// written) or the output could not be written.
int runPrint(const Job& job, const std::string& home, Settings settings, TextColours colours);

} // namespace tira
