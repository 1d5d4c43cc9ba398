#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

ScheduleDue scheduleDue(std::uint16_t year, std::uint16_t month, std::uint16_t day, char mark,
                        std::int32_t advance, const CalendarFacts& facts) noexcept
{
    const std::int32_t daysToGo = DayCount(year, month, day) - facts.today;
    ScheduleShow show = ScheduleShow::No;
    switch (mark) {
    case 'A':
        if (daysToGo < 0) show = ScheduleShow::Since;
        if (daysToGo == 0) show = ScheduleShow::Today;
        break;
    case 'B':
        if (daysToGo > 0) show = ScheduleShow::Ahead;
        if (daysToGo == 0) show = ScheduleShow::Today;
        break;
    default: {
        // "N" and "S" fall on their date only when it is written as the report date, so a
        // date such as 2/30 is never today's item
        const Date& today = facts.date;
        if (year == today.year && month == today.month && day == today.day)
            show = ScheduleShow::Today;
        else if (mark == 'S' && daysToGo > 0 && daysToGo <= advance)
            show = ScheduleShow::Ahead;
    }
    }
    return {show, daysToGo};
}

EntryLine scheduleLine(std::string_view text, std::string_view comment, const ScheduleDue& due,
                       char mark, char colourCode, const Settings& settings)
{
    EntryLine entry;
    entry.text = text;
    if (settings.Comment != 0 && !comment.empty()) {
        entry.text += "(";
        entry.text += comment;
        entry.text += ")";
    }
    switch (due.show) {
    case ScheduleShow::Today: entry.text += " です。"; break;
    case ScheduleShow::Ahead:
        entry.text += " まであと " + std::to_string(due.daysToGo) + " 日です。";
        break;
    case ScheduleShow::Since:
        entry.text += " から " + std::to_string(-std::int64_t{due.daysToGo}) + " 日経過しました。";
        break;
    case ScheduleShow::No: break;
    }
    entry.stopEntry = mark == 'S';
    entry.daysToGo = due.daysToGo;
    entry.colour =
        entryColourOf(settings, Kind::Schedule, colourCode, entry.stopEntry, due.daysToGo);
    return entry;
}

std::optional<EntryLine> scheduleEntry(const ScheduleRecord& record, const CalendarFacts& facts,
                                       const Settings& settings)
{
    using namespace schedule;
    const ScheduleDue due =
        scheduleDue(recordU16(record[Year]), recordU16(record[Month]), recordU16(record[Day]),
                    record[Mark][0], recordInt(record[Advance]), facts);
    if (due.show == ScheduleShow::No) return std::nullopt;
    return scheduleLine(record[Text], record[Comment], due, record[Mark][0], record[Colour][0],
                        settings);
}

void MainState::Ske()
{
    FieldList fields;
    ScheduleLine line;
    readKindBytes(Kind::Schedule, [&](std::string_view bytes, LineEncoding encoding) {
        fields.start(bytes);
        if (readScheduleLine(fields, encoding, line) <= 0) return;
        const ScheduleDue due =
            scheduleDue(low16(line.date.value[0]), low16(line.date.value[1]),
                        low16(line.date.value[2]), line.mark, line.advance, facts);
        if (due.show == ScheduleShow::No) return;
        const EntryLine entry =
            scheduleLine(shownText(line.text, encoding), shownText(line.comment, encoding), due,
                         line.mark, line.colour, settings);
        if (writeEntry(Kind::Schedule, entry.text, entry.colour) && entry.stopEntry)
            applyStopEffects(entry.daysToGo);
    });
}

} // namespace tira
