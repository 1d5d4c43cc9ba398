#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

bool weeklyShown(std::uint16_t startMonth, std::uint16_t startDay, std::uint16_t endMonth,
                 std::uint16_t endDay, const CalendarFacts& facts) noexcept
{
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
    return start <= facts.today && facts.today <= end;
}

std::optional<EntryLine> weeklyEntry(const WeeklyRecord& record, const CalendarFacts& facts,
                                     const Settings& settings)
{
    using namespace weekly;
    if (!weeklyShown(recordU16(record[StartMonth]), recordU16(record[StartDay]),
                     recordU16(record[EndMonth]), recordU16(record[EndDay]), facts))
        return std::nullopt;
    EntryLine entry;
    entry.text = record[Text];
    entry.colour = entryColourOf(settings, Kind::Week, record[Colour][0], false, 0);
    return entry;
}

void MainState::Wek()
{
    FieldList fields;
    WeeklyLine line;
    readKindBytes(Kind::Week, [&](std::string_view bytes, LineEncoding encoding) {
        fields.start(bytes);
        if (readWeeklyLine(fields, line) <= 0) return;
        if (!weeklyShown(low16(line.start.value[0]), low16(line.start.value[1]),
                         low16(line.end.value[0]), low16(line.end.value[1]), facts))
            return;
        readWeeklyExtras(fields, line);
        writeEntry(Kind::Week, weeklySentence(shownText(line.text, encoding)),
                   entryColourOf(settings, Kind::Week, line.colour, false, 0));
    });
}

} // namespace tira
