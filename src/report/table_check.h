#pragma once

// `tira --check`: every table file the settings list, read with the report's own reading and
// parsing rules, and every line the report would drop, with the reason.

#include "settings/settings.h"
#include "tables/line_problem.h"
#include "text/table_reader.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tira {

// One line the report would drop.
struct DroppedLine
{
    std::size_t lineNumber = 0; // 1-based, lines as the report reads them
    LineProblem problem = LineProblem::None;
    std::string text; // the whole line as read, comment included (UTF-8)
    std::string rule; // the item of a comma list that was dropped; empty without a list
};

// What checking one listed file found.
struct CheckedFile
{
    enum class State
    {
        Read,
        Missing,
        Unreadable
    };

    std::string label; // what the file is for, e.g. "誕生日 (birthdays)"
    std::string path;  // completed as the report completes it
    State state = State::Read;
    std::string error; // Unreadable: the reason
    std::size_t lines = 0;
    std::vector<DroppedLine> dropped;
    TextEncoding encoding = TextEncoding::Cp932;
    bool asciiOnly = true; // no byte above 0x7F: both encodings read it the same
    LineEnds lineEnds = LineEnds::CrLf;
    bool monthly = false;    // Missing: the months of a monthly pattern that have no file
    bool sectionOff = false; // the report does not show this kind at present
};

// Checks the holiday file, the files of the five kinds' lists and, while the monthly files
// are switched on, the monthly event and history files of all twelve months. ".\" paths are
// completed against `home`. Never throws; an unreadable file is reported in its entry.
std::vector<CheckedFile> checkTables(const Settings& settings, const std::string& home);

// What `tira --check` prints: each dropped line as "path:line: reason: the line", then one
// summary line per file and a closing line.
std::string checkListing(const std::vector<CheckedFile>& files);

// True when no table is listed, a listed file is missing or could not be read, or a line
// would be dropped.
bool checkFoundProblems(const std::vector<CheckedFile>& files) noexcept;

} // namespace tira
