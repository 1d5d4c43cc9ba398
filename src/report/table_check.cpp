#include "report/table_check.h"

#include "report/events.h"
#include "report/line_parsers.h"
#include "report/main_state.h"
#include "report/table_files.h"
#include "tables/event_line.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/visible_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>

namespace tira {

namespace {

// Where a check puts a dropped line: why, and the item of a comma list it came from (empty
// without a list), as the file's bytes.
using DropLine = std::function<void(LineProblem problem, std::string_view rule)>;
// A check of one line cut before its "#", as the file's bytes in `encoding`.
using LineCheck =
    std::function<void(std::string_view cut, LineEncoding encoding, const DropLine& drop)>;

// Characters 1 to 32, which separate fields and never make one.
constexpr std::string_view kBlanks =
    "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"
    "\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F\x20";

const std::array<std::string_view, 12> kMonthNames{"January",   "February", "March",    "April",
                                                   "May",       "June",     "July",     "August",
                                                   "September", "October",  "November", "December"};

// Where reading stops at a Ctrl-Z that has more than blanks and line ends after it: the
// line number it stands on and the first line of what is lost, as raw bytes.
struct LostTail
{
    std::size_t lineNumber = 0;
    std::string firstLine;
};

std::optional<LostTail> textAfterCtrlZ(const std::string& path, LineEnds ends)
{
    // opened as the reader opens it: the file may have been swapped for a FIFO meanwhile
    std::string reason;
    bool missing = false;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(openRegularFile(path, reason, missing),
                                                             &std::fclose);
    if (!in) return std::nullopt;
    const unsigned char lineEnd = ends == LineEnds::Lf ? '\n' : '\r';
    std::size_t lineEnds = 0;
    int c = 0;
    while ((c = std::getc(in.get())) != EOF && c != '\x1A')
        if (c == lineEnd) ++lineEnds;
    if (c == EOF) return std::nullopt; // no Ctrl-Z
    std::string after;
    while ((c = std::getc(in.get())) != EOF) {
        after.push_back(static_cast<char>(c));
        if (after.size() > 4096) break; // enough to show and to decide
    }
    const auto text = after.find_first_not_of(std::string_view("\x1A\r\n \t", 5));
    if (text == std::string::npos) return std::nullopt; // the DOS end mark, nothing lost
    const auto end = after.find_first_of("\r\n", text);
    return LostTail{lineEnds + 1, after.substr(text, end == std::string::npos ? end : end - text)};
}

std::string decoded(std::string_view bytes, LineEncoding encoding)
{
    std::string text;
    appendText(text, bytes, encoding);
    return text;
}

CheckedFile checkFile(std::string label, std::string path, const std::string& home,
                      const LineCheck& check)
{
    CheckedFile file;
    file.label = std::move(label);
    completeProgramPath(path, home);
    file.path = std::move(path);
    if (!pathExists(file.path)) {
        file.state = CheckedFile::State::Missing;
        return file;
    }
    try {
        TableReader reader(file.path);
        std::string_view bytes;
        while (reader.nextBytes(bytes)) {
            ++file.lines;
            if (reader.lineTooLong())
                file.dropped.push_back({file.lines, LineProblem::LineTooLong, {}, {}});
            const LineEncoding encoding = reader.lineEncoding();
            const std::string_view cut = bytes.substr(0, bytes.find('#'));
            // blank and comment lines are meant to give nothing
            if (cut.find_first_not_of(kBlanks) != std::string_view::npos) {
                check(cut, encoding, [&](LineProblem problem, std::string_view rule) {
                    file.dropped.push_back(
                        {file.lines, problem, decoded(bytes, encoding), decoded(rule, encoding)});
                });
            }
            if (bytes.find('\n') != std::string_view::npos)
                file.dropped.push_back(
                    {file.lines, LineProblem::LfLineEnds, decoded(bytes, encoding), {}});
        }
        file.encoding = reader.encoding();
        file.asciiOnly = !reader.encodingDecided();
        file.lineEnds = reader.lineEnds();
        const auto lost =
            reader.stoppedAtCtrlZ() ? textAfterCtrlZ(file.path, file.lineEnds) : std::nullopt;
        if (lost) {
            const std::string text = file.encoding == TextEncoding::Utf8
                                         ? sanitizeUtf8(lost->firstLine)
                                         : cp932ToUtf8(lost->firstLine);
            file.dropped.push_back({lost->lineNumber, LineProblem::TextAfterCtrlZ, text, {}});
        }
    } catch (const std::exception& error) { // TableFileError, and running out of memory
        file.state = CheckedFile::State::Unreadable;
        file.error = error.what();
    }
    return file;
}

// Event lines: every rule of a comma list, parsed and then looked at as the section does,
// with the month of a monthly file forced on it.
LineCheck eventCheck(std::uint16_t forcedMonth)
{
    return [forcedMonth, fields = FieldList()](std::string_view cut, LineEncoding encoding,
                                               const DropLine& drop) mutable {
        const bool list = cut.find(',') != std::string_view::npos;
        expandCommaList(cut, [&](std::string_view one) {
            fields.start(one);
            const EventLine rule = lineParser<Kind::Event>()(fields, encoding);
            // what can stop a rule does not depend on the date
            const LineProblem problem =
                rule.verdict.kept() ? eventRuleProblem(rule, forcedMonth) : rule.verdict.problem;
            if (problem != LineProblem::None) drop(problem, list ? one : std::string_view{});
        });
    };
}

// The check of a kind's lines; an event file of a month is read with that month forced on
// its rules. The other kinds' lines go to their parser as they are.
template <Kind K> LineCheck kindCheck([[maybe_unused]] std::uint16_t forcedMonth)
{
    if constexpr (K == Kind::Event) {
        return eventCheck(forcedMonth);
    } else {
        return [fields = FieldList()](std::string_view cut, LineEncoding encoding,
                                      const DropLine& drop) mutable {
            fields.start(cut);
            const auto line = lineParser<K>()(fields, encoding);
            if (!line.verdict.kept()) drop(line.verdict.problem, {});
        };
    }
}

// The holiday table keeps the first 30 valid lines.
LineCheck holidayCheck()
{
    return [kept = std::size_t{0}, fields = FieldList()](
               std::string_view cut, LineEncoding encoding, const DropLine& drop) mutable {
        fields.start(cut);
        const HolidayLine line = HolLine(fields, encoding);
        if (!line.verdict.kept())
            drop(line.verdict.problem, {});
        else if (kept >= kMaxHolidays)
            drop(LineProblem::HolidayTableFull, {});
        else
            ++kept;
    };
}

// The check of each kind, in section-number order (as kKinds).
using KindCheck = LineCheck (*)(std::uint16_t forcedMonth);
constexpr std::array<KindCheck, kKindCount> kKindChecks =
    []<std::size_t... I>(std::index_sequence<I...>)
{
    return std::array<KindCheck, kKindCount>{&kindCheck<static_cast<Kind>(I)>...};
}
(std::make_index_sequence<kKindCount>{});

// Whether the report shows a kind at present: its switch is on and it has a slot.
bool sectionShown(const Settings& settings, Kind kind)
{
    const auto number = static_cast<std::uint8_t>(static_cast<int>(kind) + 1);
    return settings.*describe(kind).shown != 0 &&
           std::find(settings.Jyun.begin(), settings.Jyun.end(), number) != settings.Jyun.end();
}

// The monthly files of all twelve months; nothing for a pattern without "%m" or "%M". The
// months without a file are named together in one entry.
void checkMonthly(std::vector<CheckedFile>& out, const Settings& settings, Kind kind,
                  const std::string& home)
{
    const std::string label(describe(kind).label);
    std::string missing;
    for (std::uint16_t month = 1; month <= 12; ++month) {
        auto file = monthlyFile(settings, kind, month);
        if (!file) return;
        completeProgramPath(file->path, home);
        if (!pathExists(file->path)) {
            missing += (missing.empty() ? "" : ", ") + std::to_string(month);
            continue;
        }
        const std::string monthLabel = label + " " + std::to_string(month) + "月 (" +
                                       std::string(kMonthNames[month - 1u]) + ")";
        out.push_back(checkFile(monthLabel, file->path, home,
                                kKindChecks[static_cast<std::size_t>(kind)](file->forcedMonth)));
        out.back().sectionOff = !sectionShown(settings, kind);
    }
    if (missing.empty()) return;
    CheckedFile file;
    file.label = label + " " + missing + "月 (months)";
    file.path = settings.*describe(kind).monthlyPattern;
    completeProgramPath(file.path, home);
    file.state = CheckedFile::State::Missing;
    file.monthly = true;
    file.sectionOff = !sectionShown(settings, kind);
    out.push_back(std::move(file));
}

// A line or path as the listing shows it: line feeds as "\\n", other control characters in
// caret notation.
std::string printable(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return visibleText(out);
}

// An echoed line is cut to what a reader takes in.
constexpr std::size_t kEchoBytes = 200;

std::string encodingName(const CheckedFile& file)
{
    if (file.asciiOnly) return "ASCII";
    return file.encoding == TextEncoding::Utf8 ? "UTF-8" : "CP932";
}

std::string_view lineEndsName(LineEnds ends)
{
    switch (ends) {
    case LineEnds::CrLf: return "CR LF";
    case LineEnds::Cr: return "CR";
    case LineEnds::Lf: return "LF";
    }
    return "?";
}

// A listed file that is not there; the months of a monthly pattern without a file are not
// (most homes have files for some months only).
bool missingListedFile(const CheckedFile& file) noexcept
{
    return file.state == CheckedFile::State::Missing && !file.monthly;
}

} // namespace

std::vector<CheckedFile> checkTables(const Settings& settings, const std::string& home)
{
    std::vector<CheckedFile> files;
    if (!settings.Holiday.empty())
        files.push_back(checkFile("祝日 (holidays)", settings.Holiday, home, holidayCheck()));
    for (const KindDescription& kind : kKinds) {
        if (kind.monthlyOn != nullptr && settings.*kind.monthlyOn != 0)
            checkMonthly(files, settings, kind.kind, home);
        const LineCheck check = kKindChecks[static_cast<std::size_t>(kind.kind)](0);
        for (const std::string& path : settings.filesOf(kind.kind)) {
            files.push_back(checkFile(std::string(kind.label), path, home, check));
            files.back().sectionOff = !sectionShown(settings, kind.kind);
        }
    }
    return files;
}

std::string checkListing(const std::vector<CheckedFile>& files)
{
    std::string out;
    std::size_t problems = 0;
    for (const CheckedFile& file : files) {
        if (file.state == CheckedFile::State::Unreadable || missingListedFile(file)) ++problems;
        for (const DroppedLine& line : file.dropped) {
            out += printable(file.path) + ":" + std::to_string(line.lineNumber) + ": " +
                   std::string(lineProblemText(line.problem)) + ": " +
                   printable(cutText(line.text, kEchoBytes));
            if (!line.rule.empty()) out += "  [" + printable(cutText(line.rule, kEchoBytes)) + "]";
            out += "\n";
        }
        problems += file.dropped.size();
    }
    if (!out.empty()) out += "\n";
    for (const CheckedFile& file : files) {
        out += printable(file.path) + ": " + file.label + ", ";
        switch (file.state) {
        case CheckedFile::State::Missing: out += "見つかりません (not found)"; break;
        case CheckedFile::State::Unreadable:
            out += "読めません (cannot read): " + printable(file.error);
            break;
        case CheckedFile::State::Read:
            out += std::to_string(file.lines) + " 行 (lines), ";
            out += file.dropped.empty() ? std::string("問題なし (nothing dropped)")
                                        : std::to_string(file.dropped.size()) + " 件の問題 (" +
                                              std::to_string(file.dropped.size()) + " dropped)";
            out += ", " + encodingName(file) + ", " + std::string(lineEndsName(file.lineEnds));
            break;
        }
        if (file.sectionOff) out += ", 表示しない設定 (section off)";
        out += "\n";
    }
    if (files.empty())
        out += "表ファイルが設定されていません (no table files are listed)\n";
    else if (!checkFoundProblems(files))
        out += "使われない行はありません (no line is dropped)\n";
    else
        out += std::to_string(problems) + " 件の問題があります (" + std::to_string(problems) +
               (problems == 1 ? " problem found)\n" : " problems found)\n");
    return out;
}

bool checkFoundProblems(const std::vector<CheckedFile>& files) noexcept
{
    // a home that lists no table shows nothing but the date: a finding too
    return files.empty() || std::ranges::any_of(files, [](const CheckedFile& file) {
               return file.state == CheckedFile::State::Unreadable || missingListedFile(file) ||
                      !file.dropped.empty();
           });
}

} // namespace tira
