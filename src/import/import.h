#pragma once

// Contact cards and calendars turned into table lines (`tira --import`). Nothing here
// writes a file: the lines are handed back, grouped by kind, for the caller to write.

#include "calendar/tira0.h"
#include "import/table_lines.h"

#include <string>
#include <string_view>
#include <vector>

namespace tira {

struct ImportedLine
{
    TableKind kind;
    std::string line;   // without its line end
    std::string source; // the name or summary it came from, for messages
};

// An item that gave no line.
struct SkippedItem
{
    std::string source; // its name or summary
    std::string reason;
    bool untranslated = false; // the table format has no rule for it: named to the user
};

struct ImportOptions
{
    Date today;       // events before it are past
    bool all = false; // past one-off events too
};

struct Imported
{
    std::vector<ImportedLine> lines;
    std::vector<SkippedItem> skipped;
    TextChanges changes;
};

// Translates contact cards or a calendar, whichever `bytes` hold, into `into`. False, with
// the reason in `problem`, when they hold neither (or a calendar this build cannot read).
bool importBytes(std::string_view bytes, const ImportOptions& options, Imported& into,
                 std::string& problem);

// The calendar half of importBytes (built with libical).
bool importCalendar(std::string_view bytes, const ImportOptions& options, Imported& into,
                    std::string& problem);

// The comment line that heads the lines of `kind`, e.g. "# 誕生日 (birthdays)".
std::string_view groupHeading(TableKind kind) noexcept;

// Every line, grouped by kind (birthdays, schedules, events, weekly items) under its
// heading, with CR LF line ends and an empty line between groups.
std::string groupedLines(const Imported& imported);

} // namespace tira
