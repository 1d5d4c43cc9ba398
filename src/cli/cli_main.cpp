#include "cli/cli_main.h"

#include "cli/autostart.h"
#include "cli/home_folder.h"
#include "cli/print_mode.h"
#include "report/table_check.h"
#include "settings/settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tira {

namespace {

constexpr const char* kUsage =
    "usage: tira [--home DIR]\n"
    "       tira --print [--home DIR] [--format text|json] [--date Y-M-D] [--time H:MM]\n"
    "       tira --check [--home DIR]\n"
    "       tira --autostart on|off [--home DIR]\n"
    "       tira --help | --version\n";

bool stdoutIsTerminal()
{
#ifdef _WIN32
    return false;
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

#ifdef _WIN32
// The program is a window program: started from a console, it writes to that console.
// Output that is already redirected (a pipe, a file) is left where it goes.
void attachParentConsole()
{
    const bool outRedirected =
        ::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const bool errRedirected = ::GetFileType(::GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((outRedirected && errRedirected) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
    FILE* ignored = nullptr;
    if (!outRedirected) freopen_s(&ignored, "CONOUT$", "w", stdout);
    if (!errRedirected) freopen_s(&ignored, "CONOUT$", "w", stderr);
    ::SetConsoleOutputCP(CP_UTF8);
}
#endif

int runAutostart(const QString& value, const QString& home)
{
    const bool on = value == QLatin1String("on");
    const QString program = QCoreApplication::applicationFilePath();
    const AutostartResult result = setAutostart(
        on, program.toStdString(), home.isEmpty() ? std::string() : home.toStdString());
    std::fprintf(result.ok ? stdout : stderr, "%s%s\n",
                 result.ok ? "" : "tira: ", result.message.c_str());
    return result.ok ? 0 : 1;
}

// Lists the table lines the report would drop; 0 when there are none, else 1.
int runCheck(const QString& home)
{
    const std::string homeDir = home.toStdString();
    std::string iniProblem;
    const Settings settings = loadSettings(iniPathIn(home).toStdString(), homeDir, &iniProblem);
    if (!iniProblem.empty()) {
        std::fprintf(stderr, "tira: %s\n", iniProblem.c_str());
        return 1;
    }
    const auto files = checkTables(settings, homeDir);
    std::fputs(checkListing(files).c_str(), stdout);
    return checkFoundProblems(files) ? 1 : 0;
}

int usageError(const QString& message)
{
    if (!message.isEmpty()) std::fprintf(stderr, "tira: %s\n", message.toUtf8().constData());
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

bool isCommandLineMode(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--home") {
            ++i; // its value
            continue;
        }
        if (arg.rfind("--home=", 0) == 0) continue;
        return true; // --print, --help, --version, or something the window does not know
    }
    return false;
}

int runCommandLine(int argc, char** argv)
{
#ifdef _WIN32
    attachParentConsole();
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tira"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TIRA_VERSION));

    QCommandLineParser parser;
    const QCommandLineOption print(QStringLiteral("print"), QStringLiteral("Print one report."));
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Home folder."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("text or json."),
                                    QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("Report date."),
                                  QStringLiteral("Y-M-D"));
    const QCommandLineOption time(QStringLiteral("time"), QStringLiteral("Report time."),
                                  QStringLiteral("H:MM"));
    const QCommandLineOption help(QStringLiteral("help"), QStringLiteral("Show the usage."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version."));
    const QCommandLineOption autostart(QStringLiteral("autostart"),
                                       QStringLiteral("Start at login: on or off."),
                                       QStringLiteral("on|off"));
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("List the table lines the report drops."));
    parser.addOptions({print, home, format, date, time, autostart, check, help, version});
    if (!parser.parse(QCoreApplication::arguments())) return usageError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument: ") +
                          parser.positionalArguments().first());
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("TIRA %s\n", TIRA_VERSION);
        return 0;
    }
    if (parser.isSet(home)) {
        const QString dir = parser.value(home);
        if (!QFileInfo(dir).isDir())
            return usageError(QStringLiteral("home folder not found: ") + dir);
    }
    if (parser.isSet(autostart)) {
        const QString value = parser.value(autostart);
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            return usageError(QStringLiteral("--autostart takes on or off: ") + value);
        if (parser.isSet(print) || parser.isSet(check))
            return usageError(QStringLiteral("--autostart goes without --print and --check"));
        // the entry names the home folder only when one was asked for
        return runAutostart(value,
                            parser.isSet(home) ? resolveHomeFolder(parser.value(home)) : QString());
    }
    if (parser.isSet(check)) {
        if (parser.isSet(print))
            return usageError(QStringLiteral("--print and --check do not go together"));
        return runCheck(resolveHomeFolder(parser.value(home)));
    }
    if (!parser.isSet(print)) return usageError(QString());

    PrintRequest request;
    request.home = resolveHomeFolder(parser.value(home)).toStdString();
    const QString formatText = parser.value(format);
    if (formatText == QLatin1String("json"))
        request.format = PrintFormat::Json;
    else if (formatText != QLatin1String("text"))
        return usageError(QStringLiteral("unknown format: ") + formatText);
    if (parser.isSet(date)) {
        request.date = parseReportDate(parser.value(date).toStdString());
        if (!request.date)
            return usageError(QStringLiteral("invalid date (Y-M-D, year 1..65535): ") +
                              parser.value(date));
    }
    if (parser.isSet(time)) {
        const auto t = parseReportTime(parser.value(time).toStdString());
        if (!t) return usageError(QStringLiteral("invalid time (H:MM): ") + parser.value(time));
        request.hour = t->first;
        request.minute = t->second;
    }
    request.colour = request.format == PrintFormat::Text && stdoutIsTerminal();
    return runPrint(request);
}

} // namespace tira
