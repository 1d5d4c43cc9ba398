#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

std::optional<EntryLine> birthdayEntry(const BirthdayRecord& record, const CalendarFacts& facts,
                                       const Settings& settings)
{
    using namespace birthday;
    const std::uint16_t month = recordU16(record[Month]);
    const std::uint16_t day = recordU16(record[Day]);
    std::int32_t year = facts.date.year;
    // January birthdays are announced from December: take them in the next year
    if (month == 1 && facts.date.month == 12) ++year;
    const std::int32_t daysToGo = DayCount(year, month, day) - facts.today;
    const std::int32_t advance = recordInt(record[Advance]);

    EntryLine entry;
    if (daysToGo > 0 && daysToGo <= advance) {
        entry.text =
            record[Name] + " さんの誕生日まで あと " + std::to_string(daysToGo) + " 日です。";
    } else if (daysToGo == 0) {
        entry.text = "今日は " + record[Name] + " さんの ";
        if (settings.Age != 0) {
            const int age = int{facts.date.year} - int{recordU16(record[Year])};
            entry.text += std::to_string(age) + " 回目の";
        }
        entry.text += "誕生日です。";
    } else {
        return std::nullopt;
    }
    entry.stopEntry = record[Stop] == "S";
    entry.daysToGo = daysToGo;
    entry.colour =
        entryColourOf(settings, Kind::Birthday, record[Colour][0], entry.stopEntry, daysToGo);
    return entry;
}

void MainState::Tan()
{
    BirthdayRecord record;
    readKindFiles(Kind::Birthday, [&](std::string_view line) {
        if (TanLine(line, record) <= 0) return;
        const auto entry = birthdayEntry(record, facts, settings);
        if (!entry) return;
        if (writeEntry(Kind::Birthday, entry->text, entry->colour) && entry->stopEntry)
            applyStopEffects(entry->daysToGo);
    });
}

} // namespace tira
