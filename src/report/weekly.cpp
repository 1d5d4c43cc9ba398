#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

std::optional<EntryLine> weeklyEntry(const WeeklyLine& line, const CalendarFacts& facts,
                                     const Settings& settings)
{
    const std::uint16_t startMonth = low16(line.start.value[0]);
    const std::uint16_t startDay = low16(line.start.value[1]);
    const std::uint16_t endMonth = low16(line.end.value[0]);
    const std::uint16_t endDay = low16(line.end.value[1]);
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
    if (facts.today < start || end < facts.today) return std::nullopt;
    FieldList fields; // the tail's, for a shown entry only
    const WeeklyTail tail = weeklyTail(line, fields);
    return entryLine(entrySentence(shownText(tail.text, line.encoding)), settings, Kind::Week,
                     tail.colour);
}

void MainState::Wek()
{
    showSection<Kind::Week>(
        [this](const WeeklyLine& line) { return weeklyEntry(line, facts, settings); });
}

} // namespace tira
