#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

std::optional<EntryLine> weeklyEntry(const WeeklyRecord& record, const CalendarFacts& facts,
                                     const Settings& settings)
{
    using namespace weekly;
    const std::uint16_t startMonth = recordU16(record[StartMonth]);
    const std::uint16_t startDay = recordU16(record[StartDay]);
    const std::uint16_t endMonth = recordU16(record[EndMonth]);
    const std::uint16_t endDay = recordU16(record[EndDay]);
    const std::int32_t year = facts.date.year;
    std::int32_t start = DayCount(year, startMonth, startDay);
    std::int32_t end = DayCount(year, endMonth, endDay);
    // a period across the year end: the months alone decide, the days do not
    if (endMonth < startMonth) {
        if (facts.date.month < startMonth)
            start = DayCount(year - 1, startMonth, startDay);
        else
            end = DayCount(year + 1, endMonth, endDay);
    }
    if (start > facts.today || facts.today > end) return std::nullopt;
    EntryLine entry;
    entry.text = record[Text];
    entry.colour = entryColourOf(settings, Kind::Week, record[Colour][0], false, 0);
    return entry;
}

void MainState::Wek()
{
    WeeklyRecord record;
    readKindFiles(Kind::Week, [&](std::string_view line) {
        if (WekLine(line, record) <= 0) return;
        if (const auto entry = weeklyEntry(record, facts, settings))
            writeEntry(Kind::Week, entry->text, entry->colour);
    });
}

} // namespace tira
