#include "report/history.h"

#include "report/events.h"
#include "tables/fields.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tira {

namespace {

constexpr std::array<std::string_view, 4> kBirthWords{"生誕", "誕生", "出生", "生まれる"};
constexpr std::array<std::string_view, 4> kDeathWords{"命日", "逝去", "崩御", "死ぬ"};

// UTF-8 is self-synchronising, so a plain search finds a word only at a character boundary.
bool containsAny(std::string_view text, const std::array<std::string_view, 4>& words)
{
    return std::ranges::any_of(
        words, [text](std::string_view word) { return text.find(word) != std::string_view::npos; });
}

bool sameMonthDay(const std::string& month, const std::string& day, Date date)
{
    const auto m = parseNumber(month);
    const auto d = parseNumber(day);
    return m && d && *m == date.month && *d == date.day;
}

std::string withMark(std::string line, std::string_view text, const std::string& kind)
{
    if (kind == "B" && !containsAny(text, kBirthWords)) line += " 生誕";
    if (kind == "D" && !containsAny(text, kDeathWords)) line += " 命日";
    return line;
}

} // namespace

HistoryShown historyShownOn(std::string_view year, std::string_view month, std::string_view day,
                            std::string_view text, std::string kind)
{
    std::string line(year);
    line += '/';
    line += month;
    line += '/';
    line += day;
    line += ' ';
    line += text;
    line = withMark(std::move(line), text, kind);
    return HistoryShown{std::move(line), std::move(kind)};
}

std::optional<HistoryShown> historyLineFor(const HistoryRecord& record, Date reportDate)
{
    const std::string& text = record[HistoryText];
    const std::string& kind = record[HistoryKind];
    // an unknown kind shows its date and the read-error text, like an E entry
    if (sameMonthDay(record[HistoryMonth], record[HistoryDay], reportDate))
        return historyShownOn(record[HistoryYear], record[HistoryMonth], record[HistoryDay], text,
                              kind);
    if ((kind == "B" || kind == "D") &&
        sameMonthDay(record[HistoryMonth2], record[HistoryDay2], reportDate))
        return historyShownOn(record[HistoryYear2], record[HistoryMonth2], record[HistoryDay2],
                              text, kind == "B" ? "D" : "B");
    return std::nullopt;
}

// --- the section ---

void MainState::HisBase()
{
    if (settings.YsenH != 0) {
        His1();
        His2();
    } else {
        His2();
        His1();
    }
}

void MainState::His1()
{
    if (settings.IncMH == 0) return;
    // the file of the report month; its entries match by their own dates
    if (auto path = monthlyFilePath(settings.HisMFile, reportDate.month)) His(std::move(*path));
}

void MainState::His2()
{
    readKindBytes(Kind::History,
                  [this](std::string_view bytes, LineEncoding encoding) { HisX(bytes, encoding); });
}

void MainState::His(std::string path)
{
    readTableBytes(
        path, [this](std::string_view bytes, LineEncoding encoding) { HisX(bytes, encoding); });
}

void MainState::HisX(std::string_view line, LineEncoding encoding)
{
    thread_local FieldList fields;
    thread_local HistoryLine entry;
    fields.start(line);
    if (readHistoryLine(fields, entry) <= 0) return;
    const Date date = reportDate;
    const bool lifeDates = entry.kindLetter == 'B' || entry.kindLetter == 'D';
    // the first date wins when both fall on the report date
    const bool first = entry.month == date.month && entry.day == date.day;
    if (!first && !(lifeDates && entry.month2 == date.month && entry.day2 == date.day)) return;
    readHistoryExtras(fields, entry);

    const std::string text = entry.kindLetter == 'X' ? std::string(kHistoryReadError)
                                                     : shownText({entry.text}, encoding);
    const auto& parts = first ? entry.date : entry.second;
    std::string kind(1, entry.kindLetter); // 'X' stands for any kind but E, B and D
    if (!first) kind = entry.kindLetter == 'B' ? "D" : "B";
    std::string year;
    appendText(year, parts[0], encoding);
    const HistoryShown shown = historyShownOn(year, parts[1], parts[2], text, kind);

    WinColour colour = entryColour(Kind::History, entry.colour, false, 0);
    // anniversary colours win over both the status colours and the entry's own colour
    if (settings.HistMeiTan != 0 && shown.kind == "D") colour = settings.Meinichi;
    if (settings.HistMeiTan != 0 && shown.kind == "B") colour = settings.Tanjyou;
    writeEntry(Kind::History, shown.text, colour);
}

} // namespace tira
