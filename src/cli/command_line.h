#pragma once

// The program's arguments, read once: which job to run and with what. No Qt, no files.

#include "calendar/tira0.h"
#include "report/agenda.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tira {

enum class JobKind
{
    Window, // no job option: the window
    Print,
    Check,
    Autostart,
    Holidays,
    Import,
    Agenda,
    Help,
    Version
};

enum class PrintFormat
{
    Text,
    Json,
    Ics // --agenda only
};

enum class ColourChoice
{
    Auto, // only on a terminal, and neither NO_COLOR nor TERM=dumb
    Always,
    Never,
    Exact // always, in the exact 24-bit colours rather than the 16 standard ones
};

struct Job
{
    JobKind kind = JobKind::Window;
    std::optional<std::string> home; // --home as given, not yet checked
    bool autostartOn = false;
    std::optional<int> holidayYear; // --holidays; default: the clock's year
    // --print and --agenda
    PrintFormat format = PrintFormat::Text;
    ColourChoice colour = ColourChoice::Auto;
    std::optional<Date> date;                // default: the clock's date
    std::optional<std::pair<int, int>> time; // hour, minute; default: the clock's time
    // --import only
    std::vector<std::string> importFiles;
    bool importCp932 = false; // --encoding cp932
    bool importAll = false;   // --all: past one-off events too
    // --agenda only
    int agendaDays = 7;
    AgendaKinds agendaKinds = kAllAgendaKinds;
    std::optional<std::string> output; // default: standard output
};

// Arguments the program does not take; `message` says which (empty: no job was named).
struct UsageError
{
    std::string message;
};

// The job `args` (argv without the program name) ask for. Options take their value as the
// next argument or after "=" (`--home DIR`, `--home=DIR`); a repeated option keeps its last
// value.
std::variant<Job, UsageError> parseCommandLine(std::span<const std::string_view> args);

// What `--help` prints: every option in a line, the home folder rule and the exit codes.
std::string_view helpText() noexcept;

// Writes `error` and the usage lines to stderr; returns the usage exit code, 2.
int reportUsageError(const UsageError& error);

// Parses "Y-M-D" (leading zeros optional) with the date dialog's checks: month 1..12,
// day within the month, year 1..65535. nullopt when invalid.
std::optional<Date> parseReportDate(std::string_view text) noexcept;

// Parses "H:MM" (hour 0..23, minute 0..59).
std::optional<std::pair<int, int>> parseReportTime(std::string_view text) noexcept;

} // namespace tira
