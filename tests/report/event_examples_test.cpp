#include "report/events.h"
#include "report/history.h"
#include "text/table_reader.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

const std::string kExamples = std::string(TIRA_SOURCE_DIR) + "/examples/home/";

// The entry lines of a sample table, cut at "#", blank ones left out.
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

// True when `shown` holds on some day of 2026-2027.
bool shownOnSomeDay(const std::function<bool(const CalendarFacts&)>& shown)
{
    for (std::uint16_t year = 2026; year <= 2027; ++year)
        for (std::uint16_t month = 1; month <= 12; ++month) {
            const auto last = static_cast<std::uint16_t>(daysInMonth(year, month));
            for (std::uint16_t day = 1; day <= last; ++day)
                if (shown(computeCalendarFacts({year, month, day}))) return true;
        }
    return false;
}

TEST(EventExamples, EverySampleRuleFallsOnSomeDay)
{
    const std::vector<HolidayEntry> noHolidays;
    for (const auto& [name, forced] : {std::pair{"EVENT.TBL", 0}, std::pair{"EVENT12.TBL", 12}}) {
        const auto lines = entryLines(name);
        ASSERT_FALSE(lines.empty()) << name;
        for (const std::string& line : lines) {
            expandCommaList(line, [&](std::string_view one) {
                EventRule rule;
                ASSERT_GT(EveLine(one, rule), 0) << name << ": " << one;
                EXPECT_TRUE(shownOnSomeDay([&](const CalendarFacts& facts) {
                    const auto month = static_cast<std::uint16_t>(forced);
                    return evaluateEvent(rule, month, facts, noHolidays).result == 1;
                })) << name
                    << ": never due: " << one;
            });
        }
    }
}

TEST(HistoryExamples, EverySampleEntryShowsOnSomeDay)
{
    for (const char* name : {"HISTORY.TBL", "HIST12.TBL"}) {
        const auto lines = entryLines(name);
        ASSERT_FALSE(lines.empty()) << name;
        for (const std::string& line : lines) {
            HistoryRecord record;
            ASSERT_GT(HisLine(line, record), 0) << name << ": " << line;
            EXPECT_NE(record[HistoryText], kHistoryReadError) << line;
            EXPECT_TRUE(shownOnSomeDay([&](const CalendarFacts& facts) {
                return historyLineFor(record, facts.date).has_value();
            })) << name
                << ": never shown: " << line;
        }
    }
}

} // namespace
} // namespace tira
