#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

std::optional<EntryLine> birthdayEntry(const BirthdayLine& line, const CalendarFacts& facts,
                                       const Settings& settings)
{
    const std::uint16_t month = low16(line.date.value[1]);
    std::int32_t year = facts.date.year;
    // January birthdays are announced from December: take them in the next year
    if (month == 1 && facts.date.month == 12) ++year;
    const std::int32_t daysToGo = DayCount(year, month, low16(line.date.value[2])) - facts.today;
    if (daysToGo != 0 && (daysToGo < 0 || daysToGo > line.advance)) return std::nullopt;

    FieldList fields; // the tail's, for a shown entry only
    const BirthdayTail tail = birthdayTail(line, fields);
    const std::string name = shownText(tail.name, line.encoding);
    std::string text;
    if (daysToGo > 0) {
        text = name + " さんの誕生日まで あと " + std::to_string(daysToGo) + " 日です。";
    } else {
        text = "今日は " + name + " さんの ";
        if (settings.Age != 0) {
            const int age = int{facts.date.year} - int{low16(line.date.value[0])};
            text += std::to_string(age) + " 回目の";
        }
        text += "誕生日です。";
    }
    return entryLine(std::move(text), settings, Kind::Birthday, tail.colour, tail.stop == 'S',
                     daysToGo);
}

void MainState::Tan()
{
    showSection<Kind::Birthday>(
        [this](const BirthdayLine& line) { return birthdayEntry(line, facts, settings); });
}

} // namespace tira
