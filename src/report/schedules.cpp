#include "report/main_state.h"
#include "report/table_sections.h"

namespace tira {

namespace {

// How a schedule item shows on the report date.
enum class ScheduleShow : std::uint8_t
{
    No,
    Today,
    Ahead,
    Since,
};

ScheduleShow scheduleShow(const ScheduleLine& line, std::int32_t daysToGo,
                          const CalendarFacts& facts) noexcept
{
    switch (line.mark) {
    case 'A':
        if (daysToGo < 0) return ScheduleShow::Since;
        return daysToGo == 0 ? ScheduleShow::Today : ScheduleShow::No;
    case 'B':
        if (daysToGo > 0) return ScheduleShow::Ahead;
        return daysToGo == 0 ? ScheduleShow::Today : ScheduleShow::No;
    default: {
        // "N" and "S" fall on their date only when it is written as the report date, so a
        // date such as 2/30 is never today's item
        const Date& today = facts.date;
        if (low16(line.date.value[0]) == today.year && low16(line.date.value[1]) == today.month &&
            low16(line.date.value[2]) == today.day)
            return ScheduleShow::Today;
        if (line.mark == 'S' && daysToGo > 0 && daysToGo <= line.advance)
            return ScheduleShow::Ahead;
        return ScheduleShow::No;
    }
    }
}

} // namespace

std::optional<EntryLine> scheduleEntry(const ScheduleLine& line, const CalendarFacts& facts,
                                       const Settings& settings)
{
    const std::int32_t daysToGo =
        DayCount(low16(line.date.value[0]), low16(line.date.value[1]), low16(line.date.value[2])) -
        facts.today;
    const ScheduleShow show = scheduleShow(line, daysToGo, facts);
    if (show == ScheduleShow::No) return std::nullopt;

    std::string text = shownText(line.text, line.encoding);
    if (settings.Comment != 0 && !line.comment.empty()) {
        text += "(";
        text += shownText(line.comment, line.encoding);
        text += ")";
    }
    switch (show) {
    case ScheduleShow::Today: text += " です。"; break;
    case ScheduleShow::Ahead: text += " まであと " + std::to_string(daysToGo) + " 日です。"; break;
    case ScheduleShow::Since:
        text += " から " + std::to_string(-std::int64_t{daysToGo}) + " 日経過しました。";
        break;
    case ScheduleShow::No: break;
    }
    return entryLine(std::move(text), settings, Kind::Schedule, line.colour, line.mark == 'S',
                     daysToGo);
}

void MainState::Ske()
{
    showSection<Kind::Schedule>(
        [this](const ScheduleLine& line) { return scheduleEntry(line, facts, settings); });
}

} // namespace tira
