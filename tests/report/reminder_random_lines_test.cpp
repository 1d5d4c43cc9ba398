// Random lines made of the characters the event and history rules react to: every parser
// and decision must stay within its documented results, whatever the bytes.
#include "report/events.h"
#include "report/table_sections.h"
#include "support/parsed_line.h"
#include "tables/fields.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace tira {
namespace {

// Fields built from the markers and numbers the rules know, with some raw bytes between.
std::string randomLine(std::mt19937& random)
{
    static const char* const markers[] = {"",  "",  "",   "<",  "<<", ">", ">>", "&",
                                          "-", "!", "!-", "%1", "%2", "+", "?",  "\""};
    static const char* const values[] = {
        "0", "0", "1",     "2",  "5",     "7",     "13", "15", "25", "29",   "31",    "65535",
        "",  "x", "99999", "-1", "1/5/1", "?/2/3", "E",  "b",  "D",  "&red", "ダ_ダ", "4-9"};
    static const char* const separators[] = {" ", " ", " ", ",", "\t", "  ", ", ", "\""};
    static const std::string noise = "<>&-!%+,/ ?\"_\t\x83\x5F\xE3";
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    std::string line;
    const std::size_t fields = pick(4) == 0 ? pick(4) : 4 + pick(5);
    for (std::size_t i = 0; i < fields; ++i) {
        if (i > 0) line += separators[pick(std::size(separators))];
        if (pick(3) == 0) line += markers[pick(std::size(markers))];
        line += values[pick(4) == 0 ? pick(std::size(values)) : pick(12)];
        if (pick(8) == 0) line += markers[pick(std::size(markers))];
        if (pick(12) == 0) line.push_back(noise[pick(noise.size())]);
    }
    return line;
}

bool isColourLetter(const std::string& code)
{
    return code.size() == 1 && std::string_view("KWRGBCMYA").find(code[0]) != std::string::npos;
}

TEST(ReminderRandomLines, ParsersAndDecisionsStayInRange)
{
    std::mt19937 random(20240615);
    const std::vector<HolidayEntry> holidays = {{1, 1, "a"}, {5, 5, "b"}, {12, 31, "c"}};
    const CalendarFacts days[] = {
        computeCalendarFacts({2024, 2, 29}),   computeCalendarFacts({2024, 12, 31}),
        computeCalendarFacts({2025, 1, 1}),    computeCalendarFacts({1, 1, 1}),
        computeCalendarFacts({65535, 12, 31}),
    };
    int parsedRules = 0;
    int matches = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string line = randomLine(random);
        expandCommaList(line, [&](std::string_view one) {
            const test::Parsed<EveLine> parsed(one);
            if (parsed.verdict() <= 0) return;
            const EventLine& rule = parsed.line;
            ++parsedRules;
            ASSERT_TRUE(static_cast<int>(rule.dayForm) >= 0 && static_cast<int>(rule.dayForm) <= 7)
                << one;
            ASSERT_TRUE(static_cast<int>(rule.weekForm) >= 1 &&
                        static_cast<int>(rule.weekForm) <= 6)
                << one;
            ASSERT_TRUE(isColourLetter(std::string(1, parsed.tail().colour))) << one;
            ASSERT_TRUE(rule.advance <= 14) << one;
            for (const CalendarFacts& facts : days) {
                for (const std::uint16_t forced : {std::uint16_t{0}, std::uint16_t{1}}) {
                    if (eventRuleProblem(rule, forced) != LineProblem::None) continue;
                    const EventMatch match = Judge(eventDueDays(rule, forced, facts, holidays),
                                                   facts.today, rule.advance);
                    ASSERT_TRUE(match.result >= 0 && match.result <= 2) << one;
                    if (match.result == 1) {
                        EXPECT_EQ(match.daysToGo, 0) << one;
                    }
                    if (match.result == 2) {
                        EXPECT_TRUE(match.daysToGo >= 1 && match.daysToGo <= rule.advance) << one;
                    }
                    matches += match.result != 0 ? 1 : 0;
                }
            }
        });
        const test::Parsed<HisLine> history(line);
        if (history.verdict() > 0) {
            ASSERT_TRUE(isColourLetter(std::string(1, history.tail().colour))) << line;
            const Settings settings;
            for (const CalendarFacts& facts : days) {
                if (const auto shown = historyEntry(history.line, facts, settings)) {
                    EXPECT_TRUE(shown->text.starts_with(history.line.date[0]) ||
                                shown->text.starts_with(history.line.second[0]))
                        << line;
                }
            }
        }
    }
    // the alphabet makes enough sound rules for the run to mean something
    EXPECT_GT(parsedRules, 1000);
    EXPECT_GT(matches, 10);
}

} // namespace
} // namespace tira
