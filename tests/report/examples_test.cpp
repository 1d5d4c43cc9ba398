#include "report/events.h"
#include "report/table_sections.h"
#include "support/parsed_line.h"
#include "support/table_lines.h"
#include "text/table_reader.h"

#include <functional>
#include <gtest/gtest.h>
#include <type_traits>

namespace tira {
namespace {

const std::string kExamples = std::string(TIRA_SOURCE_DIR) + "/examples/home/";

// The entry lines of a sample table: its lines cut at "#", blank ones left out; a comma
// list of an event table expanded.
std::vector<std::string> entryLines(const std::string& name, bool events = false)
{
    std::vector<std::string> out;
    TableReader reader(kExamples + name);
    std::string line;
    while (test::nextLine(reader, line)) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (events)
            expandCommaList(line, [&](std::string_view one) { out.emplace_back(one); });
        else
            out.push_back(line);
    }
    return out;
}

// Every entry of a sample table parses, and each one is shown on some day of 2026-2027.
template <auto Parse, class Shown> void checkSample(const std::string& name, Shown shown)
{
    const auto lines =
        entryLines(name, std::is_same_v<decltype(test::Parsed<Parse>::line), EventLine>);
    ASSERT_FALSE(lines.empty()) << name;
    for (const std::string& line : lines) {
        const test::Parsed<Parse> parsed(line);
        ASSERT_GT(parsed.verdict(), 0) << name << ": " << line;
        bool seen = false;
        for (std::uint16_t year = 2026; year <= 2027 && !seen; ++year) {
            for (std::uint16_t month = 1; month <= 12 && !seen; ++month) {
                const auto last = static_cast<std::uint16_t>(daysInMonth(year, month));
                for (std::uint16_t day = 1; day <= last && !seen; ++day)
                    seen = shown(parsed.line, computeCalendarFacts({year, month, day}));
            }
        }
        EXPECT_TRUE(seen) << name << ": never shown: " << line;
    }
}

TEST(Examples, EverySampleEntryParsesAndShowsOnSomeDay)
{
    const Settings settings;
    checkSample<TanLine>("BIRTH.TBL", [&](const auto& line, const auto& facts) {
        return birthdayEntry(line, facts, settings).has_value();
    });
    checkSample<SkeLine>("SCHEDULE.TBL", [&](const auto& line, const auto& facts) {
        return scheduleEntry(line, facts, settings).has_value();
    });
    checkSample<WekLine>("WEEK.TBL", [&](const auto& line, const auto& facts) {
        return weeklyEntry(line, facts, settings).has_value();
    });
    checkSample<HolLine>("TIRAHOLI.TBL", [](const auto& line, const auto& facts) {
        return line.month == facts.date.month && line.day == facts.date.day;
    });
    for (const auto& [name, forced] :
         {std::pair{"EVENT.TBL", std::uint16_t{0}}, std::pair{"EVENT12.TBL", std::uint16_t{12}}})
        checkSample<EveLine>(name, [&](const EventLine& rule, const CalendarFacts& facts) {
            return Judge(eventDueDays(rule, forced, facts, {}), facts.today, rule.advance).result ==
                   1;
        });
    for (const char* name : {"HISTORY.TBL", "HIST12.TBL"})
        checkSample<HisLine>(name, [&](const HistoryLine& line, const CalendarFacts& facts) {
            EXPECT_NE(line.kindLetter, 'X') << name;
            return historyEntry(line, facts, settings).has_value();
        });
}

} // namespace
} // namespace tira
