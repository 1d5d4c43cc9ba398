#include "cli/import_job.h"

#include "cli/output.h"
#include "import/import.h"
#include "text/cp932.h"
#include "text/table_reader.h"
#include "text/visible_text.h"

#include <cstdio>
#include <map>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tira {

namespace {

// The whole of `path`; false with the reason when it cannot be read.
bool readWhole(const std::string& path, std::string& bytes, std::string& reason)
{
    bool missing = false;
    std::FILE* file = openRegularFile(path, reason, missing);
    if (file == nullptr) return false;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) reason = "read error";
    return !failed;
}

std::string quoted(std::string_view text)
{
    return "\"" + visibleText(text) + "\"";
}

std::string counted(std::size_t n, std::string_view what)
{
    return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
}

void writeSummary(const Imported& imported)
{
    std::map<TableKind, std::size_t> written;
    for (const ImportedLine& line : imported.lines)
        ++written[line.kind];
    std::string text;
    for (const auto& [kind, name] :
         {std::pair{TableKind::Birthdays, "birthday line"},
          std::pair{TableKind::Schedules, "schedule line"},
          std::pair{TableKind::Events, "event line"}, std::pair{TableKind::Weekly, "weekly line"}})
        text += (text.empty() ? "" : ", ") + counted(written[kind], name);
    std::fprintf(stderr, "tira: written: %s\n", text.c_str());
    if (!imported.skipped.empty()) {
        std::map<std::string, std::size_t> reasons;
        for (const SkippedItem& item : imported.skipped)
            ++reasons[item.untranslated ? "not translated" : item.reason];
        text.clear();
        for (const auto& [reason, n] : reasons)
            text += (text.empty() ? "" : ", ") + std::to_string(n) + " " + reason;
        std::fprintf(stderr, "tira: skipped: %s\n", text.c_str());
    }
    const TextChanges& changes = imported.changes;
    if (changes.fullWidth > 0)
        std::fprintf(stderr,
                     "tira: %s written in full width (＃ ＿ ，) so that the lines read back\n",
                     counted(changes.fullWidth, "character").c_str());
    if (changes.dropped > 0)
        std::fprintf(stderr, "tira: %s dropped\n",
                     counted(changes.dropped, "control character").c_str());
}

// The lines as CP932, or nothing when a text cannot be held in it (each such item named).
std::optional<std::string> asCp932(const Imported& imported, const std::string& text)
{
    bool refused = false;
    for (const ImportedLine& line : imported.lines)
        if (cp932ToUtf8(utf8ToCp932(line.line)) != line.line) {
            std::fprintf(stderr, "tira: %s cannot be written in CP932\n",
                         quoted(line.source).c_str());
            refused = true;
        }
    if (!refused) return utf8ToCp932(text);
    std::fputs("tira: nothing written; --encoding utf8 writes these names as they are\n", stderr);
    return std::nullopt;
}

} // namespace

int runImport(const Job& job, const Date& today)
{
    Imported imported;
    const ImportOptions options{today, job.importAll};
    bool failed = false;
    for (const std::string& path : job.importFiles) {
        std::string bytes;
        std::string problem;
        const std::size_t skippedBefore = imported.skipped.size();
        if (!readWhole(path, bytes, problem)) {
            std::fprintf(stderr, "tira: cannot read %s: %s\n", path.c_str(), problem.c_str());
            failed = true;
        } else if (!importBytes(bytes, options, imported, problem)) {
            std::fprintf(stderr, "tira: %s: %s\n", path.c_str(), problem.c_str());
            failed = true;
        }
        for (std::size_t i = skippedBefore; i < imported.skipped.size(); ++i)
            if (const SkippedItem& item = imported.skipped[i]; item.untranslated)
                std::fprintf(stderr, "tira: %s: %s not translated: %s\n", path.c_str(),
                             quoted(item.source).c_str(), visibleText(item.reason).c_str());
    }
    std::string text = groupedLines(imported);
    if (job.importCp932) {
        auto bytes = asCp932(imported, text);
        if (!bytes) return 1;
        text = *std::move(bytes);
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // CR LF as it is
#endif
    Output out(stdout);
    out.write(text);
    const bool written = out.finish(); // says "tira: standard output: <reason>" itself
    writeSummary(imported);
    if (!written) return 1;
    if (imported.lines.empty() && !failed) std::fputs("tira: nothing to import\n", stderr);
    return failed || imported.lines.empty() ? 1 : 0;
}

} // namespace tira
