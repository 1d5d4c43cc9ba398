#include "report/main_state.h"
#include "report/table_sections.h"
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

} // namespace

std::optional<EntryLine> historyEntry(const HistoryLine& line, const CalendarFacts& facts,
                                      const Settings& settings)
{
    const Date date = facts.date;
    const bool lifeDates = line.kindLetter == 'B' || line.kindLetter == 'D';
    // the first date wins when both fall on the report date
    const bool first = line.month == date.month && line.day == date.day;
    if (!first && !(lifeDates && line.month2 == date.month && line.day2 == date.day))
        return std::nullopt;

    FieldList fields; // the tail's, for a shown entry only
    const HistoryTail tail = historyTail(line, fields);
    // an unknown kind shows its date and the read-error text, like an E entry
    const std::string text = line.kindLetter == 'X' ? std::string(kHistoryReadError)
                                                    : shownText(tail.text, line.encoding);
    const auto& parts = first ? line.date : line.second;
    char kind = line.kindLetter; // 'X' stands for any kind but E, B and D
    if (!first) kind = line.kindLetter == 'B' ? 'D' : 'B';

    EntryLine entry;
    appendText(entry.text, parts[0], line.encoding);
    entry.text += '/';
    entry.text += parts[1];
    entry.text += '/';
    entry.text += parts[2];
    entry.text += ' ';
    entry.text += text;
    // a birth or death gets the mark its text does not already say
    if (kind == 'B' && !containsAny(text, kBirthWords)) entry.text += " 生誕";
    if (kind == 'D' && !containsAny(text, kDeathWords)) entry.text += " 命日";

    entry.colour = entryColourOf(settings, Kind::History, tail.colour, false, 0);
    // anniversary colours win over both the status colours and the entry's own colour
    if (settings.HistMeiTan != 0 && kind == 'D') entry.colour = settings.Meinichi;
    if (settings.HistMeiTan != 0 && kind == 'B') entry.colour = settings.Tanjyou;
    return entry;
}

void MainState::HisBase()
{
    showSection<Kind::History>(
        [this](const HistoryLine& line) { return historyEntry(line, facts, settings); });
}

} // namespace tira
