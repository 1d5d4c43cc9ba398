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

std::optional<HistoryShown> historyLineFor(const HistoryRecord& record, Date reportDate)
{
    const std::string& text = record[HistoryText];
    const std::string& kind = record[HistoryKind];
    if (sameMonthDay(record[HistoryMonth], record[HistoryDay], reportDate)) {
        // an unknown kind shows its date and the read-error text, like an E entry
        std::string line = record[HistoryYear] + "/" + record[HistoryMonth] + "/" +
                           record[HistoryDay] + " " + text;
        return HistoryShown{withMark(std::move(line), text, kind), kind};
    }
    if ((kind == "B" || kind == "D") &&
        sameMonthDay(record[HistoryMonth2], record[HistoryDay2], reportDate)) {
        const std::string other = kind == "B" ? "D" : "B";
        std::string line = record[HistoryYear2] + "/" + record[HistoryMonth2] + "/" +
                           record[HistoryDay2] + " " + text;
        return HistoryShown{withMark(std::move(line), text, other), other};
    }
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
    readKindFiles(Kind::History, [this](std::string_view line) { HisX(line); });
}

void MainState::His(std::string path)
{
    readTableFile(path, [this](std::string_view line) { HisX(line); });
}

void MainState::HisX(std::string_view line)
{
    HistoryRecord record;
    if (HisLine(line, record) <= 0) return;
    const auto shown = historyLineFor(record, reportDate);
    if (!shown) return;
    WinColour colour = entryColour(Kind::History, record[HistoryColour].front(), false, 0);
    // anniversary colours win over both the status colours and the entry's own colour
    if (settings.HistMeiTan != 0 && shown->kind == "D") colour = settings.Meinichi;
    if (settings.HistMeiTan != 0 && shown->kind == "B") colour = settings.Tanjyou;
    writeEntry(Kind::History, shown->text, colour);
}

} // namespace tira
