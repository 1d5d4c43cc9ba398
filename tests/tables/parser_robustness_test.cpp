#include "report/events.h"
#include "report/history.h"
#include "report/table_sections.h"
#include "tables/jikukai.h"
#include "text/cp932.h"

#include <gtest/gtest.h>
#include <random>

namespace tira {
namespace {

bool isOneOf(const std::string& field, std::string_view letters)
{
    return field.size() == 1 && letters.find(field[0]) != std::string_view::npos;
}

// Runs every parser on a line and, for a line they accept, the deciding functions too.
// Returns how many parsers accepted it.
int parseAndDecide(std::string_view line, const CalendarFacts& facts, const Settings& settings)
{
    int accepted = 0;
    BirthdayRecord birthday;
    const int tan = TanLine(line, birthday);
    EXPECT_TRUE(tan == kUnparsable || isOneOf(birthday[birthday::Stop], "SN"));
    if (tan > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(birthday[birthday::Colour], "KWRGBCMYA"));
        const auto entry = birthdayEntry(birthday, facts, settings);
        if (entry) {
            EXPECT_FALSE(entry->text.empty());
        }
    }
    ScheduleRecord schedule;
    if (SkeLine(line, schedule) > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(schedule[schedule::Mark], "SABN"));
        const auto entry = scheduleEntry(schedule, facts, settings);
        if (entry) {
            EXPECT_FALSE(entry->text.empty());
        }
    }
    WeeklyRecord weekly;
    if (WekLine(line, weekly) > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(weekly[weekly::Colour], "KWRGBCMYA"));
        (void)weeklyEntry(weekly, facts, settings);
    }
    HolidayRecord holiday;
    if (HolidayLine(line, holiday) > 0) ++accepted;
    // event rules go through the comma-list expansion first
    expandCommaList(line, [&](std::string_view one) {
        EventRule rule;
        if (EveLine(one, rule) <= 0) return;
        ++accepted;
        EXPECT_TRUE(isOneOf(rule[EventColour], "KWRGBCMYA"));
        const EventMatch match = evaluateEvent(rule, 0, facts, {{1, 1, "h"}});
        EXPECT_TRUE(match.result >= 0 && match.result <= 2);
    });
    HistoryRecord history;
    if (HisLine(line, history) > 0) {
        ++accepted;
        EXPECT_TRUE(isOneOf(history[HistoryColour], "KWRGBCMYA"));
        (void)historyLineFor(history, facts.date);
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
    BirthdayRecord record;
    ASSERT_GT(TanLine("65535/1/1 x Taro", record), 0);
    const CalendarFacts december = computeCalendarFacts({65535, 12, 25});
    const auto entry = birthdayEntry(record, december, settings);
    EXPECT_FALSE(entry); // 1 January of year 65536 is 7 days ahead; no advance days
}

} // namespace
} // namespace tira
