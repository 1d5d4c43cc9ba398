#include "cli/run_command_line.h"

#include "calendar/japanese_holidays.h"
#include "cli/agenda_mode.h"
#include "cli/autostart.h"
#include "cli/command_line.h"
#include "cli/first_start.h"
#include "cli/home_folder.h"
#include "cli/import_job.h"
#include "cli/output.h"
#include "cli/print_mode.h"
#include "report/clock.h"
#include "report/table_check.h"
#include "settings/settings.h"
#include "text/visible_text.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace tira {

namespace {

// The program is a window program on Windows: started from a console, it writes to that
// console. Output that is already redirected (a pipe, a file) is left where it goes.
void attachParentConsole()
{
#ifdef _WIN32
    const bool outRedirected =
        ::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const bool errRedirected = ::GetFileType(::GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((outRedirected && errRedirected) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    FILE* ignored = nullptr;
    if (!outRedirected) freopen_s(&ignored, "CONOUT$", "w", stdout);
    if (!errRedirected) freopen_s(&ignored, "CONOUT$", "w", stderr);
    ::SetConsoleOutputCP(CP_UTF8);
#endif
}

#ifdef _WIN32
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
// A Windows console (10 and later) shows colour escapes once it is asked to; true when
// standard output is such a console and now shows them.
bool consoleShowsEscapes()
{
    // the handle behind stdout, which may have been reopened on the parent's console
    const auto out = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
    DWORD mode = 0;
    if (out == INVALID_HANDLE_VALUE || out == nullptr || ::GetConsoleMode(out, &mode) == 0)
        return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
           ::SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}
#endif

// The value of environment variable `name`; empty when it is not set.
std::string environmentValue(const char* name)
{
#ifdef _WIN32
    std::string value(::GetEnvironmentVariableA(name, nullptr, 0), '\0');
    const DWORD size =
        ::GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(size < value.size() ? size : 0);
    return value;
#else
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
#endif
}

// Colours that nobody asked about: on a terminal (a Windows console that shows escapes),
// unless NO_COLOR is set or TERM=dumb.
bool terminalWantsColour()
{
    if (!environmentValue("NO_COLOR").empty() || environmentValue("TERM") == "dumb") return false;
#ifdef _WIN32
    return consoleShowsEscapes();
#else
    return isTerminal(stdout);
#endif
}

TextColours textColours(const Job& job)
{
    if (job.format != PrintFormat::Text) return TextColours::None;
    switch (job.colour) {
    case ColourChoice::Always:
    case ColourChoice::Exact:
#ifdef _WIN32
        consoleShowsEscapes(); // a console shows them rather than their text, where it can
#endif
        return job.colour == ColourChoice::Exact ? TextColours::Exact : TextColours::Standard16;
    case ColourChoice::Never: return TextColours::None;
    case ColourChoice::Auto: break;
    }
    // a terminal that says COLORTERM=truecolor still gets the 16: their shades follow its theme
    return terminalWantsColour() ? TextColours::Standard16 : TextColours::None;
}

// The agenda's colours are the report's, but a file gets them only when they are asked for.
TextColours agendaColours(const Job& job)
{
    if (job.output && job.colour == ColourChoice::Auto) return TextColours::None;
    return textColours(job);
}

// The settings of `home`; nothing, with the reason on stderr, when TIRA.ini cannot be read.
std::optional<Settings> settingsOf(const std::string& home)
{
    std::string iniProblem;
    Settings settings = loadSettings(iniPathIn(home), home, &iniProblem);
    if (iniProblem.empty()) return settings;
    std::fprintf(stderr, "tira: %s\n", visibleText(iniProblem).c_str());
    return std::nullopt;
}

// Lists the table lines the report would drop and the listed files that are missing; 0 when
// there are none, else 1.
int check(const Settings& settings, const std::string& home)
{
    const auto files = checkTables(settings, home);
    Output out(stdout);
    out.write(checkListing(files));
    return out.finish(checkFoundProblems(files) ? 1 : 0);
}

// The holiday file of a year, as bytes: its CR LF must not become CR CR LF on Windows.
int holidays(const Job& job)
{
    const int year = job.holidayYear.value_or(SystemClock().now().date.year);
    const std::string text = holidayFileText(year);
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    Output out(stdout);
    out.write(text);
    return out.finish(0);
}

// `home` empty: the entry names no home folder.
int autostart(const Job& job, const std::string& home)
{
    const AutostartResult result = setAutostart(job.autostartOn, programFile(), home);
    if (!result.ok) {
        std::fprintf(stderr, "tira: %s\n", result.message.c_str());
        return 1;
    }
    Output out(stdout);
    out.write(result.message + "\n");
    return out.finish(0);
}

} // namespace

int runCommandLine(std::span<const std::string_view> args, const WindowOpener& openWindow)
{
    guardClosedStandardStreams();
    const auto parsed = parseCommandLine(args);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        attachParentConsole();
        return reportUsageError(*error);
    }
    const Job& job = std::get<Job>(parsed);
    if (job.kind != JobKind::Window) attachParentConsole();
    if (job.kind == JobKind::Help || job.kind == JobKind::Version) {
        Output out(stdout);
        out.write(job.kind == JobKind::Help ? std::string(helpText())
                                            : std::string("TIRA ") + TIRA_VERSION + "\n");
        return out.finish(0);
    }
    if (job.kind == JobKind::Holidays) return holidays(job);
    if (job.kind == JobKind::Import) {
        std::setlocale(LC_ALL, ""); // the reason a file cannot be read, in the user's language
        const ClockReading now = SystemClock().now();
        return runImport(job, now.date);
    }
    // a login entry without --home names no home folder, so none is looked for
    if (job.kind == JobKind::Autostart && !job.home) return autostart(job, {});
    const auto home = resolveHomeFolder(job.home, programFolder());
    if (!home) {
        attachParentConsole(); // the window's start, too, ends here with a message
        if (job.home) return reportUsageError({"home folder not found: " + *job.home});
        std::fputs("tira: no home folder (HOME is not set)\n", stderr);
        return 1;
    }
    // system messages (the reason a file cannot be read) in the user's language
    std::setlocale(LC_ALL, "");
    switch (job.kind) {
    case JobKind::Print:
    case JobKind::Agenda:
    case JobKind::Check: {
        auto settings = settingsOf(*home);
        if (!settings) return 1;
        if (job.kind == JobKind::Check) return check(*settings, *home);
        if (job.kind == JobKind::Agenda)
            return runAgenda(job, *home, std::move(*settings), agendaColours(job));
        // a new home is told how to start; the report on stdout stays the report
        for (const std::string& line : firstStartHint(*settings, *home, programFolder()))
            std::fprintf(stderr, "%s\n", line.c_str());
        return runPrint(job, *home, std::move(*settings), textColours(job));
    }
    case JobKind::Autostart: return autostart(job, *home);
    case JobKind::Window: return openWindow(*home);
    case JobKind::Holidays:
    case JobKind::Import:
    case JobKind::Help:
    case JobKind::Version: break;
    }
    return 0;
}

} // namespace tira
