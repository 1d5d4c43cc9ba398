#include "cli/command_line.h"

#include "calendar/date_check.h"
#include "calendar/japanese_holidays.h"
#include "tables/decimal.h"

#include <array>
#include <cstdio>

namespace tira {

namespace {

// The one text of the command line: the usage lines (also shown after a usage error) up to
// the first blank line, then one line per option.
constexpr std::string_view kHelp =
    "usage: tira [--home DIR]\n"
    "       tira --print [--home DIR] [--format text|json] [--color WHEN]\n"
    "                    [--date Y-M-D] [--time H:MM]\n"
    "       tira --agenda [DAYS] [--home DIR] [--format text|json|ics] [--color WHEN]\n"
    "                     [--date Y-M-D] [--kinds LIST] [--output FILE]\n"
    "       tira --check [--home DIR]\n"
    "       tira --autostart on|off [--home DIR]\n"
    "       tira --holidays [YEAR]\n"
    "       tira --import FILE... [--encoding utf8|cp932] [--all]\n"
    "       tira -h | --help | -V | --version\n"
    "\n"
    "Without a job, TIRA opens its window with today's report.\n"
    "\n"
    "  --home DIR          the home folder: TIRA.ini, TIRAHOLI.TBL and every .\\ path\n"
    "  --print             writes one report, as the window would show it, to standard output\n"
    "  --agenda [DAYS]     writes what falls on each of DAYS days (1-1000, default 7): the\n"
    "                      entries each day's report shows on their day, no announcements\n"
    "  --format FORMAT     --print: text, one line per report line (default), or json;\n"
    "                      --agenda: text (default), json or ics (iCalendar)\n"
    "  --color WHEN        text: auto (default: colours on a terminal, unless NO_COLOR is set\n"
    "                      or TERM=dumb), always, never or 24bit (exact colours)\n"
    "  --date Y-M-D        --print: the report date; --agenda: the first day (default: today)\n"
    "  --time H:MM         --print: the time in the report's time line (default: now)\n"
    "  --kinds LIST        --agenda: only these kinds, separated by commas: holiday,\n"
    "                      birthday, schedule, weekly, event, history\n"
    "  --output FILE       --agenda: replaces FILE whole instead of writing standard output\n"
    "  --check             lists the table lines the report would drop and the missing files\n"
    "  --autostart on|off  starts TIRA at every login, or no longer\n"
    "  --holidays [YEAR]   prints the Japanese public holiday file for YEAR (default: this\n"
    "                      year) in the holiday-file format\n"
    "  --import FILE...    writes the birthdays and dates of contact cards (.vcf) and\n"
    "                      calendars (.ics) to standard output as table lines, grouped by\n"
    "                      table kind; what has no table line is named on standard error\n"
    "  --encoding ENC      --import: utf8 (default) or cp932 (Shift-JIS, for older tables)\n"
    "  --all               --import: one-off events before today too\n"
    "  -h, --help          shows this help\n"
    "  -V, --version       shows the version\n"
    "\n"
    "Home folder: --home DIR when given; else the program's folder when it holds TIRA.ini,\n"
    "or when it is writable and not an installation (portable use); else\n"
    "$XDG_CONFIG_HOME/tira (~/.config/tira), on Windows %LOCALAPPDATA%\\tira.\n"
    "\n"
    "Exit codes: 0 done; 1 an error (a table file that cannot be read, output that cannot be\n"
    "written, no display for the window, a login entry or --output file not written, a file\n"
    "--import cannot read or nothing to import) or, with --check, something found; 2 bad\n"
    "arguments.\n";

// What the arguments said, before they are checked against each other.
struct Seen
{
    bool print = false;
    bool check = false;
    bool help = false;
    bool version = false;
    bool holidays = false;
    bool import = false;
    bool importAll = false;
    std::optional<std::string_view> encoding;
    std::vector<std::string_view> arguments; // the files of --import
    std::optional<std::string_view> holidayYear;
    bool agenda = false;
    std::optional<std::string_view> agendaDays;
    std::optional<std::string_view> home, autostart, format, colour, date, time, kinds, output;
    std::string_view jobOption;    // the first option that goes only with some jobs
    std::string_view notForPrint;  // the first of them that --print does not take
    std::string_view notForAgenda; // the first of them that --agenda does not take
};

// The jobs an option goes with (none: every job).
enum JobMask : std::uint8_t
{
    kAnyJob = 0,
    kForPrint = 1,
    kForAgenda = 2,
};

struct Option
{
    std::string_view name; // without "--"
    char letter;           // the short form, or 0
    bool takesValue;
    bool valueOptional; // the next argument is its value unless it is an option
    std::uint8_t jobs;  // JobMask: the jobs it goes with, an error with any other
    void (*take)(Seen&, std::string_view value);
};

// A new job: its row here, its field in Seen, its JobKind with a case in jobFrom(), and its
// run in runCommandLine().
constexpr std::array kOptions{
    Option{"print", 0, false, false, kAnyJob, [](Seen& s, std::string_view) { s.print = true; }},
    Option{"check", 0, false, false, kAnyJob, [](Seen& s, std::string_view) { s.check = true; }},
    Option{"help", 'h', false, false, kAnyJob, [](Seen& s, std::string_view) { s.help = true; }},
    Option{"version", 'V', false, false, kAnyJob,
           [](Seen& s, std::string_view) { s.version = true; }},
    Option{"holidays", 0, true, true, kAnyJob,
           [](Seen& s, std::string_view v) {
               s.holidays = true;
               if (!v.empty()) s.holidayYear = v;
           }},
    Option{"agenda", 0, true, true, kAnyJob,
           [](Seen& s, std::string_view v) {
               s.agenda = true;
               if (!v.empty()) s.agendaDays = v;
           }},
    Option{"import", 0, false, false, kAnyJob, [](Seen& s, std::string_view) { s.import = true; }},
    Option{"encoding", 0, true, false, kAnyJob,
           [](Seen& s, std::string_view v) { s.encoding = v; }},
    Option{"all", 0, false, false, kAnyJob, [](Seen& s, std::string_view) { s.importAll = true; }},
    Option{"home", 0, true, false, kAnyJob, [](Seen& s, std::string_view v) { s.home = v; }},
    Option{"autostart", 0, true, false, kAnyJob,
           [](Seen& s, std::string_view v) { s.autostart = v; }},
    Option{"format", 0, true, false, kForPrint | kForAgenda,
           [](Seen& s, std::string_view v) { s.format = v; }},
    Option{"color", 0, true, false, kForPrint | kForAgenda,
           [](Seen& s, std::string_view v) { s.colour = v; }},
    Option{"date", 0, true, false, kForPrint | kForAgenda,
           [](Seen& s, std::string_view v) { s.date = v; }},
    Option{"time", 0, true, false, kForPrint, [](Seen& s, std::string_view v) { s.time = v; }},
    Option{"kinds", 0, true, false, kForAgenda, [](Seen& s, std::string_view v) { s.kinds = v; }},
    Option{"output", 0, true, false, kForAgenda, [](Seen& s, std::string_view v) { s.output = v; }},
};

const Option* findOption(std::string_view arg) noexcept
{
    for (const Option& option : kOptions) {
        if (arg.size() == 2 && arg[0] == '-' && option.letter != 0 && arg[1] == option.letter)
            return &option;
        if (arg.starts_with("--") && arg.substr(2) == option.name) return &option;
    }
    return nullptr;
}

UsageError error(std::string_view what, std::string_view detail)
{
    return UsageError{std::string(what) + std::string(detail)};
}

// Reads every argument into `seen`; arguments that are not options are kept for --import.
std::optional<UsageError> readArguments(std::span<const std::string_view> args, Seen& seen)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> value;
        if (const auto equals = name.find('=');
            name.starts_with("--") && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const Option* option = findOption(name);
        if (option == nullptr) {
            if (name.starts_with('-') && name.size() > 1) return error("unknown option: ", name);
            seen.arguments.push_back(args[i]);
            continue;
        }
        if (!option->takesValue && value) return error("no value goes with ", name);
        if (option->takesValue && !value && option->valueOptional) {
            if (i + 1 < args.size() && !args[i + 1].starts_with('-')) value = args[++i];
        } else if (option->takesValue && !value) {
            if (i + 1 == args.size()) return error("missing value after ", name);
            value = args[++i];
        }
        // an optional value that is given must not be empty (--holidays=)
        if (option->valueOptional && value && value->empty())
            return error("missing value after ", name);
        if (option->jobs != kAnyJob) {
            if (seen.jobOption.empty()) seen.jobOption = name;
            if ((option->jobs & kForPrint) == 0 && seen.notForPrint.empty())
                seen.notForPrint = name;
            if ((option->jobs & kForAgenda) == 0 && seen.notForAgenda.empty())
                seen.notForAgenda = name;
        }
        option->take(seen, value.value_or(std::string_view()));
    }
    return std::nullopt;
}

// Digits only: no sign and no blank, unlike a table's numbers.
std::optional<int> wholeNumber(std::string_view text) noexcept
{
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    return parseNumber(text);
}

// The options --print and --agenda share.
std::optional<UsageError> readReportOptions(const Seen& seen, Job& job)
{
    if (seen.format && *seen.format == "json")
        job.format = PrintFormat::Json;
    else if (seen.format && *seen.format == "ics" && seen.agenda)
        job.format = PrintFormat::Ics;
    else if (seen.format && *seen.format != "text")
        return error("unknown format: ", *seen.format);
    if (seen.colour) {
        if (*seen.colour == "always")
            job.colour = ColourChoice::Always;
        else if (*seen.colour == "never")
            job.colour = ColourChoice::Never;
        else if (*seen.colour == "24bit")
            job.colour = ColourChoice::Exact;
        else if (*seen.colour != "auto")
            return error("--color takes auto, always, never or 24bit: ", *seen.colour);
    }
    if (seen.date) {
        job.date = parseReportDate(*seen.date);
        if (!job.date) return error("invalid date (Y-M-D, year 1..65535): ", *seen.date);
    }
    return std::nullopt;
}

std::variant<Job, UsageError> printJob(const Seen& seen, Job job)
{
    job.kind = JobKind::Print;
    if (auto failure = readReportOptions(seen, job)) return *std::move(failure);
    if (seen.time) {
        job.time = parseReportTime(*seen.time);
        if (!job.time) return error("invalid time (H:MM): ", *seen.time);
    }
    return job;
}

std::variant<Job, UsageError> importJob(const Seen& seen, Job job)
{
    if (seen.print || seen.check || seen.agenda || seen.holidays || seen.autostart || seen.home ||
        !seen.jobOption.empty())
        return UsageError{"--import goes only with --encoding and --all"};
    if (seen.arguments.empty()) return UsageError{"--import needs a file"};
    if (seen.encoding && *seen.encoding != "utf8" && *seen.encoding != "cp932")
        return error("--encoding takes utf8 or cp932: ", *seen.encoding);
    job.kind = JobKind::Import;
    job.importFiles.assign(seen.arguments.begin(), seen.arguments.end());
    job.importCp932 = seen.encoding == "cp932";
    job.importAll = seen.importAll;
    return job;
}

std::variant<Job, UsageError> agendaJob(const Seen& seen, Job job)
{
    job.kind = JobKind::Agenda;
    if (auto failure = readReportOptions(seen, job)) return *std::move(failure);
    if (seen.agendaDays) {
        const auto days = wholeNumber(*seen.agendaDays);
        if (!days || *days < 1 || *days > kMaxAgendaDays)
            return error("--agenda takes a number of days from 1 to 1000: ", *seen.agendaDays);
        job.agendaDays = *days;
    }
    if (seen.kinds) {
        job.agendaKinds = {};
        std::string_view rest = *seen.kinds;
        while (true) {
            const auto comma = rest.find(',');
            const std::string_view word = rest.substr(0, comma);
            const auto kind = agendaKindOfWord(word);
            if (!kind)
                return error("--kinds takes birthday, schedule, weekly, event, history and "
                             "holiday, separated by commas: ",
                             word);
            job.agendaKinds[static_cast<std::size_t>(*kind)] = true;
            if (comma == std::string_view::npos) break;
            rest = rest.substr(comma + 1);
        }
    }
    if (seen.output) {
        if (seen.output->empty()) return UsageError{"--output takes a file name"};
        job.output = std::string(*seen.output);
    }
    return job;
}

std::variant<Job, UsageError> jobFrom(const Seen& seen)
{
    Job job;
    if (seen.home) job.home = std::string(*seen.home);
    if (seen.help) {
        job.kind = JobKind::Help;
        return job;
    }
    if (seen.version) {
        job.kind = JobKind::Version;
        return job;
    }
    if (seen.import) return importJob(seen, job);
    if (!seen.arguments.empty()) return error("unexpected argument: ", seen.arguments.front());
    if (seen.encoding || seen.importAll)
        return UsageError{seen.encoding ? "--encoding goes only with --import"
                                        : "--all goes only with --import"};
    if (seen.holidays) {
        if (seen.print || seen.check || seen.agenda || seen.autostart || seen.home ||
            !seen.jobOption.empty())
            return UsageError{"--holidays goes without other options"};
        job.kind = JobKind::Holidays;
        if (seen.holidayYear) {
            job.holidayYear = wholeNumber(*seen.holidayYear);
            if (!job.holidayYear || !isHolidayYear(*job.holidayYear))
                return error("--holidays takes a year from 1948 to 2099: ", *seen.holidayYear);
        }
        return job;
    }
    if (seen.autostart) {
        if (*seen.autostart != "on" && *seen.autostart != "off")
            return error("--autostart takes on or off: ", *seen.autostart);
        if (seen.print || seen.check)
            return UsageError{"--autostart goes without --print and --check"};
        if (seen.agenda) return UsageError{"--autostart goes without --agenda"};
    }
    if (seen.print && seen.check) return UsageError{"--print and --check do not go together"};
    if (seen.agenda && (seen.print || seen.check))
        return UsageError{"--agenda goes without --print and --check"};
    if (seen.print && !seen.notForPrint.empty())
        return error(seen.notForPrint, " goes only with --agenda");
    if (seen.agenda && !seen.notForAgenda.empty())
        return error(seen.notForAgenda, " goes only with --print");
    if (!seen.print && !seen.agenda && !seen.jobOption.empty())
        return error(seen.jobOption, " goes only with --print or --agenda");
    if (seen.print) return printJob(seen, job);
    if (seen.agenda) return agendaJob(seen, job);
    if (seen.check) {
        job.kind = JobKind::Check;
        return job;
    }
    if (seen.autostart) {
        job.kind = JobKind::Autostart;
        job.autostartOn = *seen.autostart == "on";
    }
    return job;
}

} // namespace

std::variant<Job, UsageError> parseCommandLine(std::span<const std::string_view> args)
{
    Seen seen;
    if (auto failure = readArguments(args, seen)) return *std::move(failure);
    return jobFrom(seen);
}

std::string_view helpText() noexcept
{
    return kHelp;
}

int reportUsageError(const UsageError& error)
{
    if (!error.message.empty()) std::fprintf(stderr, "tira: %s\n", error.message.c_str());
    const std::string_view usage = kHelp.substr(0, kHelp.find("\n\n") + 1);
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return 2;
}

std::optional<Date> parseReportDate(std::string_view text) noexcept
{
    const auto first = text.find('-');
    const auto second = first == std::string_view::npos ? first : text.find('-', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const auto year = wholeNumber(text.substr(0, first));
    const auto month = wholeNumber(text.substr(first + 1, second - first - 1));
    const auto day = wholeNumber(text.substr(second + 1));
    if (!year || !month || !day || !checkDate(*year, *month, *day).valid()) return std::nullopt;
    return Date{static_cast<std::uint16_t>(*year), static_cast<std::uint16_t>(*month),
                static_cast<std::uint16_t>(*day)};
}

std::optional<std::pair<int, int>> parseReportTime(std::string_view text) noexcept
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto hour = wholeNumber(text.substr(0, colon));
    const std::string_view minuteText = text.substr(colon + 1);
    const auto minute = wholeNumber(minuteText);
    if (!hour || !minute || minuteText.size() != 2) return std::nullopt;
    if (*hour < 0 || *hour > 23 || *minute < 0 || *minute > 59) return std::nullopt;
    return std::pair{*hour, *minute};
}

} // namespace tira
