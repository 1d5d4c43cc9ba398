#include "report/main_state.h"
#include "tables/jikukai.h"

namespace tira {

namespace {

// Holiday months and days are held in 8 bits, as the table stores them.
std::uint8_t recordLow8(std::string_view text) noexcept
{
    return static_cast<std::uint8_t>(recordU16(text) & 0xFFu);
}

} // namespace

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
    holidays.clear();
    HolidayRecord record;
    readTableFile(path, [&](std::string_view line) {
        if (holidays.size() >= kMaxHolidays) return; // the first 30 valid lines are kept
        if (HolidayLine(line, record) <= 0) return;
        holidays.push_back({recordLow8(record[holiday::Month]), recordLow8(record[holiday::Day]),
                            record[holiday::Name]});
    });
}

} // namespace tira
