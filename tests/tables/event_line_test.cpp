#include "support/parsed_line.h"
#include "tables/event_line.h"
#include "tables/fields.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

struct RuleCase
{
    const char* line;
    int verdict;
    // advance, day, weekday, week, month, colour, text, day form, range end, week form
    test::Texts rule;
};

TEST(EveLine, FieldsAndVerdicts)
{
    const RuleCase cases[] = {
        {"15 0 0 0 家賃", 16, {"0", "15", "0", "0", "0", "A", "家賃", "0", "0", "1"}},
        {"+30 <<25 0 0 0 &red 給料日",
         26,
         {"14", "25", "0", "0", "0", "R", "給料日", "2", "0", "1"}},
        {"10-20 0 0 8 &Q 夏休み", 19, {"0", "10", "0", "0", "8", "A", "夏休み", "5", "20", "1"}},
        {"13 6 0 0 RED 金曜日", 20, {"0", "13", "6", "0", "0", "A", "RED 金曜日", "0", "0", "1"}},
        {"0 2 %1 0 x", 3, {"0", "0", "2", "0", "0", "A", "x", "0", "0", "5"}},
        {"0 2 %2 0 x", 3, {"0", "0", "2", "0", "0", "A", "x", "0", "0", "6"}},
        {"0 2 !-1 0 x", 4, {"0", "0", "2", "1", "0", "A", "x", "0", "0", "4"}},
        {"0 2 !10 0 x", 13, {"0", "0", "2", "10", "0", "A", "x", "0", "0", "3"}},
        {"0 2 -2 0 x", 5, {"0", "0", "2", "2", "0", "A", "x", "0", "0", "2"}},
        {"1 0 0 0", 2, {"0", "1", "0", "0", "0", "A", "", "0", "0", "1"}},
        {"<10 0 0 0 x", 11, {"0", "10", "0", "0", "0", "A", "x", "1", "0", "1"}},
        {">>1 0 0 0 x", 2, {"0", "1", "0", "0", "0", "A", "x", "4", "0", "1"}},
        {">3 0 0 0 x", 4, {"0", "3", "0", "0", "0", "A", "x", "3", "0", "1"}},
        {"-1 0 0 0 x", 2, {"0", "1", "0", "0", "0", "A", "x", "6", "0", "1"}},
        {"&10 0 0 0 x", 11, {"0", "10", "0", "0", "0", "A", "x", "7", "0", "1"}},
        // "<" is tested before ">", "&" before "-"
        {"><5 0 0 0 x", 6, {"0", "5", "0", "0", "0", "A", "x", "1", "0", "1"}},
        {"&5-6 0 0 0 x", kUnparsable, {}},
        // a lone "+" is one day; several blanks and underscores in the text
        {"+ 1 0 0 0 a__b   c", 2, {"1", "1", "0", "0", "0", "A", "a  b c", "0", "0", "1"}},
        {"\"1\" 0 0 0 \"two  words\" &G",
         2,
         {"0", "1", "0", "0", "0", "A", "two  words &G", "0", "0", "1"}},
        {"1 0 0 0 &blue", 2, {"0", "1", "0", "0", "0", "B", "", "0", "0", "1"}},
        {"1 0 0 0 &Magenta ダ_ダ", 2, {"0", "1", "0", "0", "0", "M", "ダ ダ", "0", "0", "1"}},
        // a negative advance passes the parser
        {"+-3 1 0 0 0 x", 2, {"-3", "1", "0", "0", "0", "A", "x", "0", "0", "1"}},
        // the range end is not read by the parser
        {"5- 0 0 0 x", 6, {"0", "5", "0", "0", "0", "A", "x", "5", "", "1"}},
        {"5-x 0 0 0 x", 6, {"0", "5", "0", "0", "0", "A", "x", "5", "x", "1"}},
        // sums of 0 or less are returned as they are and dropped by the caller
        {"0 -1 0 0 x", 0, {"0", "0", "-1", "0", "0", "A", "x", "0", "0", "1"}},
        {"0 -5 0 0 x", -4, {"0", "0", "-5", "0", "0", "A", "x", "0", "0", "1"}},
    };
    for (const RuleCase& c : cases) {
        const test::Parsed<EveLine> parsed(c.line);
        EXPECT_EQ(parsed.verdict(), c.verdict) << c.line;
        if (c.verdict != kUnparsable) {
            EXPECT_EQ(test::textsOf(parsed.line), c.rule) << c.line;
        }
    }
}

TEST(EveLine, BadLinesAreUnparsable)
{
    const char* const lines[] = {
        "",
        "   ",
        "1 0 0",
        "<",
        "< 0 0 0 x",
        "5< 0 0 0 x",
        "0 0 %3 0 x",
        "0 0 !x 0 x",
        "<<>>3 0 0 0",
        "&& 0 0 0 x",
        "x 0 0 0 y",
        "1 x 0 0 y",
        "1 0 0 x y",
        "+x 1 0 0 0 y",
        "5+ 1 0 0 0",
        "1 0 0 0.5",
        "99999999999 0 0 0 x",
        ",,,",
        "1,2",
        "- 0 0 0 x",
        "0 0 - 0 x",
        "0 0 !- 0 x",
        "0 0 !-x 0 x",
    };
    for (const char* line : lines)
        EXPECT_EQ(test::Parsed<EveLine>(line).verdict(), kUnparsable) << line;
}

TEST(EveLine, HugeNumbersDoNotOverflowTheVerdict)
{
    EXPECT_EQ(test::Parsed<EveLine>("2147483647 2147483647 2147483647 2147483647 x").verdict(),
              INT32_MAX);
    EXPECT_EQ(test::Parsed<EveLine>("0 -2147483648 0 -2147483648 x").verdict(), INT32_MIN);
}

std::vector<std::string> expand(std::string_view line)
{
    std::vector<std::string> out;
    expandCommaList(line, [&](std::string_view one) { out.emplace_back(one); });
    return out;
}

TEST(CommaList, Expansion)
{
    struct Case
    {
        const char* line;
        std::vector<std::string> produced;
    };
    const Case cases[] = {
        {"+3 10,20,30 0 0 0 Pay_bills",
         {"+3 10 0 0 0 Pay_bills", "+3 20 0 0 0 Pay_bills", "+3 30 0 0 0 Pay_bills"}},
        {"<<5,20 0 0 0 x", {"<<5 0 0 0 x", "<<20 0 0 0 x"}},
        {">>1,15 0 0 0 x", {">>1 0 0 0 x", ">>15 0 0 0 x"}},
        {"+2 <3,4 0 0 0 x", {"+2 <3 0 0 0 x", "+2 <4 0 0 0 x"}},
        {"5 0 0 0 Tea, coffee", {"5 0 0 0 Tea coffee", "5 0 0 0  coffee"}},
        {"0 0 0 1,2", {"0 0 0 1 1,2", "0 0 0 2"}},
        // quotes mean nothing to the expansion
        {"1 0 0 0 \"a,b\"", {"1 0 0 0 \"a \"a,b\"", "1 0 0 0 b\""}},
        // only the space delimits: a tab stays inside the prefix and the items
        {"1\t2,3 0 0 0 x", {"1\t2 0 0 0 x", "3 0 0 0 x"}},
        {"1 0 0 0 x", {"1 0 0 0 x"}},
        {",,,", {" ,,,", " ,,", " ,", ""}},
        {"1,,2 0 0 0 x", {"1 0 0 0 x", " 0 0 0 x", "2 0 0 0 x"}},
        {"<", {"<"}},
        {"<,>", {"< ,>", "<>"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expand(c.line), c.produced) << c.line;
}

TEST(CommaList, ProducedLinesParseAsTheirItems)
{
    const auto lines = expand("5 0 0 0 Tea, coffee");
    ASSERT_EQ(lines.size(), 2u);
    const test::Parsed<EveLine> tea(lines[0]);
    EXPECT_EQ(tea.verdict(), 6);
    EXPECT_EQ(eventText(tea.tail().text, LineEncoding::Text), "Tea coffee");
    const test::Parsed<EveLine> coffee(lines[1]);
    EXPECT_EQ(coffee.verdict(), 6);
    EXPECT_EQ(eventText(coffee.tail().text, LineEncoding::Text), "coffee");

    const auto tail = expand("0 0 0 1,2");
    const test::Parsed<EveLine> first(tail[0]);
    EXPECT_EQ(first.verdict(), 2);
    EXPECT_EQ(first.line.month, "1");
    EXPECT_EQ(eventText(first.tail().text, LineEncoding::Text), "1 2");
    const test::Parsed<EveLine> second(tail[1]);
    EXPECT_EQ(second.verdict(), 3);
    EXPECT_EQ(eventText(second.tail().text, LineEncoding::Text), "");
}

TEST(CommaList, TenThousandItemsStayLinear)
{
    std::string line;
    for (int i = 0; i < 10000; ++i)
        line += std::to_string(i % 31 + 1) + ",";
    line += "1 0 0 0 x";
    std::size_t count = 0;
    std::size_t longest = 0;
    expandCommaList(line, [&](std::string_view one) {
        ++count;
        longest = std::max(longest, one.size());
    });
    EXPECT_EQ(count, 10001u);
    EXPECT_LE(longest, 12u);

    // the list at the end of the line: every item takes the rest of the list along
    std::string tail = "0 0 0 ";
    for (int i = 0; i < 10000; ++i)
        tail += "1,";
    count = 0;
    int parsed = 0;
    expandCommaList(tail, [&](std::string_view one) {
        ++count;
        if (test::Parsed<EveLine>(one).verdict() > 0) ++parsed;
    });
    EXPECT_EQ(count, 10001u);
    EXPECT_EQ(parsed, 10000); // the last item is empty
}

} // namespace
} // namespace tira
