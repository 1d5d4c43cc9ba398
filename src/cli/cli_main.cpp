#include "cli/cli_main.h"

#include "cli/home_folder.h"
#include "cli/print_mode.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <string_view>
#include <unistd.h>

namespace tira {

namespace {

constexpr const char* kUsage =
    "usage: tira [--home DIR]\n"
    "       tira --print [--home DIR] [--format text|json] [--date Y-M-D] [--time H:MM]\n"
    "       tira --help | --version\n";

bool stdoutIsTerminal()
{
#ifdef _WIN32
    return false;
#else
    return isatty(fileno(stdout)) != 0;
#endif
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
    parser.addOptions({print, home, format, date, time, help, version});
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
    if (!parser.isSet(print)) return usageError(QString());

    PrintRequest request;
    if (parser.isSet(home)) {
        const QString dir = parser.value(home);
        if (!QFileInfo(dir).isDir())
            return usageError(QStringLiteral("home folder not found: ") + dir);
    }
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
