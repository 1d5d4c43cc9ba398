#include "report/table_sections.h"
#include "text/table_reader.h"

#include <functional>
#include <gtest/gtest.h>

namespace tira {
namespace {

const std::string kExamples = std::string(TIRA_SOURCE_DIR) + "/examples/home/";

// The entry lines of a sample table: its lines cut at "#", blank ones left out.
std::vector<std::string> entryLines(const std::string& name)
{
    std::vector<std::string> out;
    TableReader reader(kExamples + name);
    std::string line;
    while (reader.next(line)) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t") != std::string::npos) out.push_back(line);
    }
    return out;
}

// Every entry of a sample table parses, and each one is shown on some day of 2026-2027.
template <class Record>
void checkSample(const std::string& name,
                 int (*parse)(std::string_view, Record&, LineProblem*) noexcept,
                 std::function<bool(const Record&, const CalendarFacts&)> shown)
{
    const auto lines = entryLines(name);
    ASSERT_FALSE(lines.empty()) << name;
    for (const std::string& line : lines) {
        Record record;
        ASSERT_GT(parse(line, record, nullptr), 0) << name << ": " << line;
        bool seen = false;
        for (std::uint16_t year = 2026; year <= 2027 && !seen; ++year) {
            for (std::uint16_t month = 1; month <= 12 && !seen; ++month) {
                const auto last = static_cast<std::uint16_t>(daysInMonth(year, month));
                for (std::uint16_t day = 1; day <= last && !seen; ++day)
                    seen = shown(record, computeCalendarFacts({year, month, day}));
            }
        }
        EXPECT_TRUE(seen) << name << ": never shown: " << line;
    }
}

TEST(Examples, EverySampleEntryParsesAndShowsOnSomeDay)
{
    const Settings settings;
    checkSample<BirthdayRecord>("BIRTH.TBL", TanLine, [&](const auto& r, const auto& f) {
        return birthdayEntry(r, f, settings).has_value();
    });
    checkSample<ScheduleRecord>("SCHEDULE.TBL", SkeLine, [&](const auto& r, const auto& f) {
        return scheduleEntry(r, f, settings).has_value();
    });
    checkSample<WeeklyRecord>("WEEK.TBL", WekLine, [&](const auto& r, const auto& f) {
        return weeklyEntry(r, f, settings).has_value();
    });
    checkSample<HolidayRecord>("TIRAHOLI.TBL", HolidayLine, [](const auto& r, const auto& f) {
        return recordU16(r[holiday::Month]) == f.date.month &&
               recordU16(r[holiday::Day]) == f.date.day;
    });
}

} // namespace
} // namespace tira
