#pragma once

#include "cli/command_line.h"
#include "cli/text_output.h"
#include "report/agenda.h"
#include "settings/settings.h"

#include <string>
#include <vector>

namespace tira {

// The agenda in the text form, one line each, entries in other than `defaultColour`
// coloured as `colours` says.
std::string agendaText(const std::vector<AgendaEntry>& entries, WinColour defaultColour,
                       TextColours colours, bool terminal);

// The agenda as one JSON object: {"from", "days", "entries": [{"date", "kind", "text",
// "color", "colorHex", "stop", "file", "line"}]}.
std::string agendaJson(const std::vector<AgendaEntry>& entries, Date from, int days);

// Builds the agenda `job` asks for over `home` under `settings` and writes it to stdout or
// to the job's output file; errors go to stderr. Returns the exit code: 0, or 1 when a
// table file could not be read or the output could not be written.
int runAgenda(const Job& job, const std::string& home, Settings settings, TextColours colours);

} // namespace tira
