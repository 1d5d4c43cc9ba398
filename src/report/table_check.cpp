#include "report/table_check.h"

#include "calendar/tira0.h"
#include "report/events.h"
#include "report/main_state.h"
#include "tables/event_line.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"
#include "text/cp932.h"
#include "text/file_error.h"
#include "text/paths.h"
#include "text/visible_text.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

namespace tira {

namespace {

using LineCheck = std::function<void(std::string_view cut, const std::string& whole,
                                     std::size_t number, std::vector<DroppedLine>& dropped)>;

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

std::optional<LostTail> textAfterCtrlZ(const std::string& path)
{
    std::ifstream in(toFsPath(path), std::ios::binary);
    std::size_t lineEnds = 0;
    char c = 0;
    while (in.get(c) && c != '\x1A')
        if (c == '\r') ++lineEnds;
    if (!in) return std::nullopt; // no Ctrl-Z
    std::string after;
    while (in.get(c)) {
        after.push_back(c);
        if (after.size() > 4096) break; // enough to show and to decide
    }
    const auto text = after.find_first_not_of(std::string_view("\x1A\r\n \t", 5));
    if (text == std::string::npos) return std::nullopt; // the DOS end mark, nothing lost
    const auto end = after.find_first_of("\r\n", text);
    return LostTail{lineEnds + 1, after.substr(text, end == std::string::npos ? end : end - text)};
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
        std::string line;
        while (reader.next(line)) {
            ++file.lines;
            if (reader.lineTooLong())
                file.dropped.push_back({file.lines, LineProblem::LineTooLong, {}, {}});
            const std::string_view cut = std::string_view(line).substr(0, line.find('#'));
            // blank and comment lines are meant to give nothing
            if (cut.find_first_not_of(kBlanks) != std::string_view::npos)
                check(cut, line, file.lines, file.dropped);
            if (line.find('\n') != std::string::npos)
                file.dropped.push_back({file.lines, LineProblem::LfLineEnds, line, {}});
        }
        file.encoding = reader.encoding();
        file.asciiOnly = !reader.encodingDecided();
        if (const auto lost = textAfterCtrlZ(file.path)) {
            const std::string text = file.encoding == TextEncoding::Utf8
                                         ? sanitizeUtf8(lost->firstLine)
                                         : cp932ToUtf8(lost->firstLine);
            file.dropped.push_back({lost->lineNumber, LineProblem::TextAfterCtrlZ, text, {}});
        }
    } catch (const TableFileError& error) {
        file.state = CheckedFile::State::Unreadable;
        file.error = error.what();
    } catch (const std::exception& error) {
        file.state = CheckedFile::State::Unreadable;
        file.error = error.what();
    }
    return file;
}

// A check for the kinds whose lines go to one parser as they are.
template <class Record>
LineCheck parserCheck(int (*parse)(std::string_view, Record&, LineProblem*) noexcept)
{
    return [parse](std::string_view cut, const std::string& whole, std::size_t number,
                   std::vector<DroppedLine>& dropped) {
        Record record;
        LineProblem problem = LineProblem::None;
        if (parse(cut, record, &problem) <= 0) dropped.push_back({number, problem, whole, {}});
    };
}

// Event lines: every rule of a comma list, parsed and then looked at as the section does.
LineCheck eventCheck(std::uint16_t forcedMonth)
{
    return [forcedMonth](std::string_view cut, const std::string& whole, std::size_t number,
                         std::vector<DroppedLine>& dropped) {
        const bool list = cut.find(',') != std::string_view::npos;
        // what can stop a rule does not depend on the date
        static const CalendarFacts facts = computeCalendarFacts(Date{2000, 1, 1});
        expandCommaList(cut, [&](std::string_view one) {
            EventRule rule;
            LineProblem problem = LineProblem::None;
            if (EveLine(one, rule, &problem) > 0)
                evaluateEvent(rule, forcedMonth, facts, {}, &problem);
            if (problem != LineProblem::None)
                dropped.push_back({number, problem, whole, list ? std::string(one) : ""});
        });
    };
}

// The holiday table keeps the first 30 valid lines.
LineCheck holidayCheck()
{
    auto kept = std::make_shared<std::size_t>(0);
    return [kept](std::string_view cut, const std::string& whole, std::size_t number,
                  std::vector<DroppedLine>& dropped) {
        HolidayRecord record;
        LineProblem problem = LineProblem::None;
        if (HolidayLine(cut, record, &problem) <= 0) {
            dropped.push_back({number, problem, whole, {}});
        } else if (*kept >= kMaxHolidays) {
            dropped.push_back({number, LineProblem::HolidayTableFull, whole, {}});
        } else {
            ++*kept;
        }
    };
}

// Whether the report shows a kind at present: its switch is on and it has a slot.
bool sectionShown(const Settings& settings, Kind kind)
{
    std::uint8_t on = 0;
    switch (kind) {
    case Kind::Birthday: on = settings.Birthday; break;
    case Kind::Schedule: on = settings.Schedule; break;
    case Kind::Event: on = settings.Event; break;
    case Kind::History: on = settings.History; break;
    case Kind::Week: on = settings.Week; break;
    }
    const auto number = static_cast<std::uint8_t>(static_cast<int>(kind) + 1);
    return on != 0 &&
           std::find(settings.Jyun.begin(), settings.Jyun.end(), number) != settings.Jyun.end();
}

void checkList(std::vector<CheckedFile>& out, const Settings& settings, Kind kind,
               const std::string& label, const std::string& home, const LineCheck& check)
{
    for (const std::string& path : settings.filesOf(kind)) {
        out.push_back(checkFile(label, path, home, check));
        out.back().sectionOff = !sectionShown(settings, kind);
    }
}

// The monthly files of all twelve months; nothing for a pattern without "%m" or "%M". The
// months without a file are named together in one entry.
void checkMonthly(std::vector<CheckedFile>& out, const Settings& settings, Kind kind,
                  const std::string& pattern, const std::string& label, const std::string& home)
{
    std::string missing;
    for (std::uint16_t month = 1; month <= 12; ++month) {
        auto path = monthlyFilePath(pattern, month);
        if (!path) return;
        completeProgramPath(*path, home);
        if (!pathExists(*path)) {
            missing += (missing.empty() ? "" : ", ") + std::to_string(month);
            continue;
        }
        const std::string monthLabel = label + " " + std::to_string(month) + "月 (" +
                                       std::string(kMonthNames[month - 1u]) + ")";
        // an event file of a month is read with that month forced on its rules
        const LineCheck check =
            kind == Kind::Event ? eventCheck(month) : parserCheck<HistoryRecord>(HisLine);
        out.push_back(checkFile(monthLabel, *path, home, check));
        out.back().sectionOff = !sectionShown(settings, kind);
    }
    if (missing.empty()) return;
    CheckedFile file;
    file.label = label + " " + missing + "月 (months)";
    file.path = pattern;
    completeProgramPath(file.path, home);
    file.state = CheckedFile::State::Missing;
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

} // namespace

std::vector<CheckedFile> checkTables(const Settings& settings, const std::string& home)
{
    std::vector<CheckedFile> files;
    if (!settings.Holiday.empty())
        files.push_back(checkFile("祝日 (holidays)", settings.Holiday, home, holidayCheck()));
    checkList(files, settings, Kind::Birthday, "誕生日 (birthdays)", home,
              parserCheck<BirthdayRecord>(TanLine));
    checkList(files, settings, Kind::Schedule, "スケジュール (schedules)", home,
              parserCheck<ScheduleRecord>(SkeLine));
    if (settings.IncME != 0)
        checkMonthly(files, settings, Kind::Event, settings.EveMFile, "イベント (events)", home);
    checkList(files, settings, Kind::Event, "イベント (events)", home, eventCheck(0));
    if (settings.IncMH != 0)
        checkMonthly(files, settings, Kind::History, settings.HisMFile, "歴史 (history)", home);
    checkList(files, settings, Kind::History, "歴史 (history)", home,
              parserCheck<HistoryRecord>(HisLine));
    checkList(files, settings, Kind::Week, "週間 (weekly items)", home,
              parserCheck<WeeklyRecord>(WekLine));
    return files;
}

std::string checkListing(const std::vector<CheckedFile>& files)
{
    std::string out;
    std::size_t problems = 0;
    for (const CheckedFile& file : files) {
        if (file.state == CheckedFile::State::Unreadable) ++problems;
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
            out += ", " + encodingName(file);
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
               " problems found)\n";
    return out;
}

bool checkFoundProblems(const std::vector<CheckedFile>& files) noexcept
{
    return std::ranges::any_of(files, [](const CheckedFile& file) {
        return file.state == CheckedFile::State::Unreadable || !file.dropped.empty();
    });
}

} // namespace tira
