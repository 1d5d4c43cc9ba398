#include "report/main_state.h"
#include "report/table_sections.h"
#include "tables/jikukai.h"

namespace tira {

std::vector<std::string> holidayLines(const std::vector<HolidayEntry>& holidays,
                                      const CalendarFacts& facts)
{
    std::vector<std::string> lines;
    const Date& date = facts.date;
    for (const HolidayEntry& holiday : holidays) {
        if (holiday.month == date.month && holiday.day == date.day)
            lines.push_back(holiday.name + " (祝日) です。");
        // a Sunday holiday gives a substitute line on the Monday after it, same month only
        if (facts.weekday == 2 && holiday.month == date.month && holiday.day == date.day - 1)
            lines.push_back(holiday.name + "の振替休日です。");
    }
    return lines;
}

void MainState::Hol()
{
    std::string& path = settings.Holiday;
    completeProgramPath(path, m_home);
    if (path.empty()) {
        holidays.clear();
        return;
    }
    // a file that has gone leaves the table of the last load in use
    if (!pathExists(path)) return;
    holidays = readHolidayTable(path);
}

std::vector<HolidayEntry> readHolidayTable(const std::string& path,
                                           std::vector<std::uint32_t>* lineNumbers)
{
    std::vector<HolidayEntry> holidays;
    FieldList fields;
    forEachTableLine(
        path, [&](std::string_view bytes, LineEncoding encoding, std::uint32_t number) {
            if (holidays.size() >= kMaxHolidays) return; // the first 30 valid lines are kept
            fields.start(bytes);
            const HolidayLine line = HolLine(fields, encoding);
            if (!line.verdict.kept()) return;
            // months and days are held in 8 bits, as the table stores them
            std::string name;
            appendText(name, line.name, encoding);
            holidays.push_back({static_cast<std::uint8_t>(line.month & 0xFF),
                                static_cast<std::uint8_t>(line.day & 0xFF), std::move(name)});
            if (lineNumbers != nullptr) lineNumbers->push_back(number);
        });
    return holidays;
}

} // namespace tira
