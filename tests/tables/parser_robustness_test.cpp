#include "report/events.h"
#include "report/table_sections.h"
#include "support/parsed_line.h"
#include "tables/jikukai.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <random>

namespace tira {
namespace {

bool isOneOf(char letter, std::string_view letters)
{
    return letters.find(letter) != std::string_view::npos;
}

// Runs every parser on a line and, for a line they accept, the deciders too. Returns how
// many parsers accepted it.
int parseAndDecide(std::string_view line, const CalendarFacts& facts, const Settings& settings)
{
    int accepted = 0;
    const std::vector<HolidayEntry> holidays{{1, 1, "h"}};
    const test::Parsed<TanLine> birthday(line);
    if (birthday.verdict() > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(birthday.tail().stop, "SN"));
        EXPECT_TRUE(isOneOf(birthday.tail().colour, "KWRGBCMYA"));
        if (const auto entry = birthdayEntry(birthday.line, facts, settings)) {
            EXPECT_FALSE(entry->text.empty());
        }
    }
    const test::Parsed<SkeLine> schedule(line);
    if (schedule.verdict() > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(schedule.line.mark, "SABN"));
        if (const auto entry = scheduleEntry(schedule.line, facts, settings)) {
            EXPECT_FALSE(entry->text.empty());
        }
    }
    const test::Parsed<WekLine> weekly(line);
    if (weekly.verdict() > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(weekly.tail().colour, "KWRGBCMYA"));
        (void)weeklyEntry(weekly.line, facts, settings);
    }
    if (test::Parsed<HolLine>(line).verdict() > 0) ++accepted;
    // event rules go through the comma-list expansion first
    expandCommaList(line, [&](std::string_view one) {
        const test::Parsed<EveLine> rule(one);
        if (rule.verdict() <= 0) return;
        ++accepted;
        EXPECT_TRUE(isOneOf(rule.tail().colour, "KWRGBCMYA"));
        if (eventRuleProblem(rule.line, 0) != LineProblem::None) return;
        const EventMatch match =
            Judge(eventDueDays(rule.line, 0, facts, holidays), facts.today, rule.line.advance);
        EXPECT_TRUE(match.result >= 0 && match.result <= 2);
        (void)eventEntry(rule.line, 0, facts, holidays, settings);
    });
    const test::Parsed<HisLine> history(line);
    if (history.verdict() > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(history.tail().colour, "KWRGBCMYA"));
        (void)historyEntry(history.line, facts, settings);
    }
    return accepted;
}

TEST(ParserRobustness, RandomBytesRawAndDecoded)
{
    std::mt19937 random(20240512);
    const CalendarFacts facts = computeCalendarFacts({2024, 5, 12});
    const Settings settings;
    // bytes biased towards the characters the rules look at
    const std::string alphabet = "0123456789/+-*\" ,\t_#.SsAaBbRr\x81\x83\x5F\xFF\x80\x1A\r\n";
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(random() % 64, '\0');
        for (char& c : bytes) {
            c = (random() % 2 == 0) ? alphabet[random() % alphabet.size()]
                                    : static_cast<char>(random() % 256);
        }
        accepted += parseAndDecide(bytes, facts, settings);
        accepted += parseAndDecide(cp932ToUtf8(bytes), facts, settings);
    }
    // the generator must reach the accepting paths, or the test proves little
    EXPECT_GT(accepted, 0);
}

TEST(ParserRobustness, ExtremeNumbersReachTheSectionsSafely)
{
    const CalendarFacts facts = computeCalendarFacts({65535, 12, 31});
    Settings settings;
    for (std::string_view line : {"+14 65535/65535/65535 x Taro", "+14 9/-1/-1 x Taro x S",
                                  "2147483647/1/1 x Taro", "+14 0/0/0 x Taro", "65535/12/31 *c t A",
                                  "0/0/0 t B", "12/31 1/1 x", "65535/65535 0/0 x"}) {
        EXPECT_GE(parseAndDecide(line, facts, settings), 1) << line;
    }
    const test::Parsed<TanLine> birthday("65535/1/1 x Taro");
    ASSERT_GT(birthday.verdict(), 0);
    const CalendarFacts december = computeCalendarFacts({65535, 12, 25});
    const auto entry = birthdayEntry(birthday.line, december, settings);
    EXPECT_FALSE(entry); // 1 January of year 65536 is 7 days ahead; no advance days
}

} // namespace
} // namespace tira
