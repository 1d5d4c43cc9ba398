#pragma once

#include "cli/command_line.h"
#include "settings/settings.h"

#include <string>

namespace tira {

// How text lines are coloured: not at all, in the nearest of the 16 standard terminal
// colours (whose shades the terminal's theme chooses, so they stay readable on a dark
// background), or in the exact 24-bit colours.
enum class TextColours
{
    None,
    Standard16,
    Exact
};

// Builds one report of `home` under `settings` for the date and time `job` asks for (by
// default the clock's) and writes it to stdout in the job's format, with ANSI colours as
// `colours` says for text in other than the default colour; errors go to stderr. Returns the
// exit code: 0, or 1 when a table file could not be read (the lines so far are still
// written) or the output could not be written.
int runPrint(const Job& job, const std::string& home, Settings settings, TextColours colours);

} // namespace tira
