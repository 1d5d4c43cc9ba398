#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

std::optional<EntryLine> scheduleEntry(const ScheduleRecord& record, const CalendarFacts& facts,
                                       const Settings& settings)
{
    using namespace schedule;
    const std::uint16_t year = recordU16(record[Year]);
    const std::uint16_t month = recordU16(record[Month]);
    const std::uint16_t day = recordU16(record[Day]);
    const std::int32_t daysToGo = DayCount(year, month, day) - facts.today;
    const char mark = record[Mark][0];

    std::string head = record[Text];
    if (settings.Comment != 0 && !record[Comment].empty()) head += "(" + record[Comment] + ")";

    EntryLine entry;
    switch (mark) {
    case 'A':
        if (daysToGo < 0)
            entry.text =
                head + " から " + std::to_string(-std::int64_t{daysToGo}) + " 日経過しました。";
        else if (daysToGo == 0)
            entry.text = head + " です。";
        else
            return std::nullopt;
        break;
    case 'B':
        if (daysToGo > 0)
            entry.text = head + " まであと " + std::to_string(daysToGo) + " 日です。";
        else if (daysToGo == 0)
            entry.text = head + " です。";
        else
            return std::nullopt;
        break;
    default: {
        // "N" and "S" fall on their date only when it is written as the report date, so a
        // date such as 2/30 is never today's item
        const Date& today = facts.date;
        if (year == today.year && month == today.month && day == today.day)
            entry.text = head + " です。";
        else if (mark == 'S' && daysToGo > 0 && daysToGo <= recordInt(record[Advance]))
            entry.text = head + " まであと " + std::to_string(daysToGo) + " 日です。";
        else
            return std::nullopt;
    }
    }
    entry.stopEntry = mark == 'S';
    entry.daysToGo = daysToGo;
    entry.colour =
        entryColourOf(settings, Kind::Schedule, record[Colour][0], entry.stopEntry, daysToGo);
    return entry;
}

void MainState::Ske()
{
    ScheduleRecord record;
    readKindFiles(Kind::Schedule, [&](std::string_view line) {
        if (SkeLine(line, record) <= 0) return;
        const auto entry = scheduleEntry(record, facts, settings);
        if (!entry) return;
        if (writeEntry(Kind::Schedule, entry->text, entry->colour) && entry->stopEntry)
            applyStopEffects(entry->daysToGo);
    });
}

} // namespace tira
