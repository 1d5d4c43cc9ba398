#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

std::optional<std::int32_t> birthdayDaysToGo(std::uint16_t month, std::uint16_t day,
                                             std::int32_t advance,
                                             const CalendarFacts& facts) noexcept
{
    std::int32_t year = facts.date.year;
    // January birthdays are announced from December: take them in the next year
    if (month == 1 && facts.date.month == 12) ++year;
    const std::int32_t daysToGo = DayCount(year, month, day) - facts.today;
    if (daysToGo == 0 || (daysToGo > 0 && daysToGo <= advance)) return daysToGo;
    return std::nullopt;
}

EntryLine birthdayLine(std::string_view name, std::uint16_t birthYear, std::int32_t daysToGo,
                       bool stopEntry, char colourCode, const CalendarFacts& facts,
                       const Settings& settings)
{
    EntryLine entry;
    if (daysToGo > 0) {
        entry.text =
            std::string(name) + " さんの誕生日まで あと " + std::to_string(daysToGo) + " 日です。";
    } else {
        entry.text = "今日は " + std::string(name) + " さんの ";
        if (settings.Age != 0) {
            const int age = int{facts.date.year} - int{birthYear};
            entry.text += std::to_string(age) + " 回目の";
        }
        entry.text += "誕生日です。";
    }
    entry.stopEntry = stopEntry;
    entry.daysToGo = daysToGo;
    entry.colour = entryColourOf(settings, Kind::Birthday, colourCode, stopEntry, daysToGo);
    return entry;
}

std::optional<EntryLine> birthdayEntry(const BirthdayRecord& record, const CalendarFacts& facts,
                                       const Settings& settings)
{
    using namespace birthday;
    const auto daysToGo = birthdayDaysToGo(recordU16(record[Month]), recordU16(record[Day]),
                                           recordInt(record[Advance]), facts);
    if (!daysToGo) return std::nullopt;
    return birthdayLine(record[Name], recordU16(record[Year]), *daysToGo, record[Stop] == "S",
                        record[Colour][0], facts, settings);
}

void MainState::Tan()
{
    FieldList fields;
    BirthdayLine line;
    readKindBytes(Kind::Birthday, [&](std::string_view bytes, LineEncoding encoding) {
        fields.start(bytes);
        if (readBirthdayLine(fields, encoding, line) <= 0) return;
        const auto daysToGo = birthdayDaysToGo(low16(line.date.value[1]), low16(line.date.value[2]),
                                               line.advance, facts);
        if (!daysToGo) return;
        readBirthdayExtras(fields, line);
        const EntryLine entry =
            birthdayLine(shownText(line.name, encoding), low16(line.date.value[0]), *daysToGo,
                         line.stop == 'S', line.colour, facts, settings);
        if (writeEntry(Kind::Birthday, entry.text, entry.colour) && entry.stopEntry)
            applyStopEffects(entry.daysToGo);
    });
}

} // namespace tira
