#include "cli/direct_print.h"

#include "cli/print_mode.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tira {

namespace {

struct Arguments
{
    bool print = false;
    std::optional<std::string_view> home, format, date, time;
};

// Reads the arguments when they are only the print mode's options, each at most once, with
// values that need no word from Qt; nullopt for anything else.
std::optional<Arguments> printArguments(int argc, char** argv)
{
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--print") {
            if (args.print) return std::nullopt;
            args.print = true;
            continue;
        }
        std::optional<std::string_view>* target = nullptr;
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto equals = arg.find('='); equals != std::string_view::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (name == "--home") target = &args.home;
        if (name == "--format") target = &args.format;
        if (name == "--date") target = &args.date;
        if (name == "--time") target = &args.time;
        if (target == nullptr || target->has_value()) return std::nullopt;
        if (!value) {
            if (i + 1 >= argc) return std::nullopt;
            value = std::string_view(argv[++i]);
        }
        // Qt reads arguments as UTF-8 and may take a value that looks like an option
        if (value->empty() || value->front() == '-' || !isValidUtf8(*value)) return std::nullopt;
        *target = value;
    }
    if (!args.print || !args.home) return std::nullopt;
    return args;
}

} // namespace

std::optional<std::string> directHomeFolder(std::string_view requested)
{
    std::string path;
    if (!requested.starts_with('/')) {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        if (error) return std::nullopt;
        path = fromFsPath(current);
        if (!path.ends_with('/')) path += '/';
    }
    path += requested;
    if (path.size() > 1 && path.ends_with('/')) path.pop_back();
    // any "." or ".." part, or an empty one, is left to Qt's own cleaning
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = std::string_view(path).substr(start, end - start);
        if (path.size() > 1 && (part.empty() || part == "." || part == "..")) return std::nullopt;
        start = end + 1;
    }
    return path;
}

std::optional<int> printDirectly(int argc, char** argv)
{
#ifdef _WIN32
    // the window program first has to attach to its console
    (void)argc;
    (void)argv;
    return std::nullopt;
#else
    const auto args = printArguments(argc, argv);
    if (!args) return std::nullopt;
    PrintRequest request;
    const auto home = directHomeFolder(*args->home);
    std::error_code error;
    if (!home || !std::filesystem::is_directory(toFsPath(*home), error)) return std::nullopt;
    request.home = *home;
    if (args->format) {
        if (*args->format == "json")
            request.format = PrintFormat::Json;
        else if (*args->format != "text")
            return std::nullopt;
    }
    if (args->date) {
        request.date = parseReportDate(*args->date);
        if (!request.date) return std::nullopt;
    }
    if (args->time) {
        const auto t = parseReportTime(*args->time);
        if (!t) return std::nullopt;
        request.hour = t->first;
        request.minute = t->second;
    }
    request.colour = request.format == PrintFormat::Text && isatty(fileno(stdout)) != 0;
    // as QCoreApplication does: system messages (the reason a file cannot be read) in the
    // user's language
    std::setlocale(LC_ALL, "");
    return runPrint(request);
#endif
}

} // namespace tira
