#pragma once

#include "calendar/tira0.h"
#include "cli/command_line.h"

namespace tira {

// `tira --import`: writes the table lines of the job's files to stdout, grouped by kind,
// and a summary (lines written, items skipped and why, untranslated items by name) to
// stderr; `today` tells past events. Returns the exit code: 0 when lines were written, 1
// when a file could not be read or translated, nothing was left to write, or a name cannot
// be held in CP932 (then nothing is written).
int runImport(const Job& job, const Date& today);

} // namespace tira
