#include "support/parsed_line.h"
#include "tables/fields.h"
#include "tables/history_line.h"

#include <gtest/gtest.h>

namespace tira {
namespace {

TEST(HisLine, FieldsAndVerdicts)
{
    struct Case
    {
        const char* line;
        int verdict;
        // year, month, day, kind, text, colour, second year, second month, second day
        test::Texts record;
    };
    const Case cases[] = {
        {"1868/10/23 E 改元", 34, {"1868", "10", "23", "E", "改元", "A", "0", "0", "0"}},
        {"1900/5/1 B 1980/7/2 山田_太郎",
         16,
         {"1900", "5", "1", "B", "山田 太郎", "A", "1980", "7", "2"}},
        {"1900/5/1 b ? 山田_太郎_誕生",
         7,
         {"1900", "5", "1", "B", "山田 太郎 誕生", "A", "0", "0", "0"}},
        {"1980/7/2 d 1900/5/1 山田_太郎 red",
         16,
         {"1980", "7", "2", "D", "山田 太郎", "R", "1900", "5", "1"}},
        {"?/1/1 e 元日", 3, {"?", "1", "1", "E", "元日", "A", "0", "0", "0"}},
        {"1900/5/1 E two words", 7, {"1900", "5", "1", "E", "two", "A", "0", "0", "0"}},
        {"1900/5/1 E \"two words\" Blue extra",
         7,
         {"1900", "5", "1", "E", "two words", "B", "0", "0", "0"}},
        {"1900/05/01 E x", 7, {"1900", "05", "01", "E", "x", "A", "0", "0", "0"}},
        {"紀元前660/2/11 E 建国", 14, {"紀元前660", "2", "11", "E", "建国", "A", "0", "0", "0"}},
        // a part with "?" anywhere is 0, the year included
        {"1900/5/1 D 18?/?/3 x", 10, {"1900", "5", "1", "D", "x", "A", "0", "0", "3"}},
        // unknown kinds: the text is the read-error text, the colour at the fourth field
        {"1900/5/1 X", 7, {"1900", "5", "1", "X", "読み取りエラー", "A", "0", "0", "0"}},
        {"1900/5/1 q words y", 7, {"1900", "5", "1", "Q", "読み取りエラー", "Y", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        const test::Parsed<HisLine> parsed(c.line);
        EXPECT_EQ(parsed.verdict(), c.verdict) << c.line;
        EXPECT_EQ(test::textsOf(parsed.line), c.record) << c.line;
    }
}

TEST(HisLine, BadLinesAreUnparsable)
{
    const char* const lines[] = {
        "",
        "1900/5/1",
        "1900/5 E x",
        "1900/5/1/2 E x",
        "1900/x/1 E x",
        "1900/5/ E x",
        "1900/5/1 E",
        "1900/5/1 B 1980/7/2",
        "1900/5/1 B 1980/7 x",
        "1900/5/1 B 1980/7/2/1 x",
        "1900/5/1 D 1980/x/2 x",
        "/5/1/ E x",
    };
    for (const char* line : lines)
        EXPECT_EQ(test::Parsed<HisLine>(line).verdict(), kUnparsable) << line;
}

} // namespace
} // namespace tira
