#include "tables/event_line.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"
#include "tables/line_problem.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tira {
namespace {

// Each parser says why a line fails, and a good line after it leaves no stale reason.
TEST(LineProblem, ParsersTellTheReasonAndClearIt)
{
    struct Case
    {
        const char* name;
        std::function<int(std::string_view, LineProblem*)> parse;
        std::string bad;
        LineProblem problem;
        std::string good;
    };
    BirthdayRecord birthday;
    ScheduleRecord schedule;
    WeeklyRecord weekly;
    HolidayRecord holiday;
    EventRule rule;
    HistoryRecord history;
    const Case cases[] = {
        {"birthday", [&](auto l, auto p) { return TanLine(l, birthday, p); }, "1/2/x a b",
         LineProblem::DateNotNumber, "1/2/3 a b"},
        {"schedule", [&](auto l, auto p) { return SkeLine(l, schedule, p); }, "+ 1/2/3",
         LineProblem::TooFewFields, "1/2/3 a"},
        {"weekly", [&](auto l, auto p) { return WekLine(l, weekly, p); }, "1/2 1/2/3 a",
         LineProblem::DateNeedsOneSlash, "1/2 1/3 a"},
        {"holiday", [&](auto l, auto p) { return HolidayLine(l, holiday, p); }, "-3,1,x",
         LineProblem::SumNotPositive, "3,1,x"},
        {"event", [&](auto l, auto p) { return EveLine(l, rule, p); }, "+1x 5 0 0 0",
         LineProblem::AdvanceNotNumber, "5 0 0 0"},
        {"history", [&](auto l, auto p) { return HisLine(l, history, p); }, "1/1/1 D ?/1/x y",
         LineProblem::DateNotNumber, "1/1/1 D ? y"},
    };
    for (const Case& c : cases) {
        LineProblem problem = LineProblem::None;
        EXPECT_LE(c.parse(c.bad, &problem), 0) << c.name;
        EXPECT_EQ(problem, c.problem) << c.name << ": " << lineProblemText(problem);
        EXPECT_GT(c.parse(c.good, &problem), 0) << c.name;
        EXPECT_EQ(problem, LineProblem::None) << c.name;
        EXPECT_LE(c.parse(c.bad, nullptr), 0) << c.name << " without a reason asked for";
    }
}

TEST(LineProblem, EveryReasonHasItsOwnJapaneseAndEnglishText)
{
    std::set<std::string> seen;
    for (int i = 0; i <= static_cast<int>(LineProblem::TextAfterCtrlZ); ++i) {
        const std::string text(lineProblemText(static_cast<LineProblem>(i)));
        EXPECT_TRUE(seen.insert(text).second) << text;
        EXPECT_NE(text.find(" ("), std::string::npos) << text;
        EXPECT_EQ(text.back(), ')') << text;
        const std::string japanese = text.substr(0, text.find(" ("));
        EXPECT_TRUE(std::any_of(japanese.begin(), japanese.end(),
                                [](char c) { return static_cast<unsigned char>(c) > 0x7F; }))
            << "Japanese first: " << text;
    }
}

} // namespace
} // namespace tira
