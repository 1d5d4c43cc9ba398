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
        std::function<LineVerdict(std::string_view)> parse;
        std::string bad;
        LineProblem problem;
        std::string good;
    };
    const auto verdictOf = [](auto parser) {
        return [parser](std::string_view text) {
            FieldList fields;
            fields.start(text);
            return parser(fields, LineEncoding::Text).verdict;
        };
    };
    const Case cases[] = {
        {"birthday", verdictOf(TanLine), "1/2/x a b", LineProblem::DateNotNumber, "1/2/3 a b"},
        {"schedule", verdictOf(SkeLine), "+ 1/2/3", LineProblem::TooFewFields, "1/2/3 a"},
        {"weekly", verdictOf(WekLine), "1/2 1/2/3 a", LineProblem::DateNeedsOneSlash, "1/2 1/3 a"},
        {"holiday", verdictOf(HolLine), "-3,1,x", LineProblem::SumNotPositive, "3,1,x"},
        {"event", verdictOf(EveLine), "+1x 5 0 0 0", LineProblem::AdvanceNotNumber, "5 0 0 0"},
        {"history", verdictOf(HisLine), "1/1/1 D ?/1/x y", LineProblem::DateNotNumber,
         "1/1/1 D ? y"},
    };
    for (const Case& c : cases) {
        const LineVerdict bad = c.parse(c.bad);
        EXPECT_LE(bad.value, 0) << c.name;
        EXPECT_EQ(bad.problem, c.problem) << c.name << ": " << lineProblemText(bad.problem);
        const LineVerdict good = c.parse(c.good);
        EXPECT_GT(good.value, 0) << c.name;
        EXPECT_EQ(good.problem, LineProblem::None) << c.name;
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
