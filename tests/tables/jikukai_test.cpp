#include "support/parsed_line.h"
#include "tables/jikukai.h"

#include <climits>
#include <gtest/gtest.h>

namespace tira {
namespace {

using Strings = std::vector<std::string>;
using test::Parsed;
using test::splitFields;
using test::textsOf;

TEST(FieldSplitter, SeparatorsQuotesAndEmptyFields)
{
    struct Case
    {
        const char* name;
        std::string_view line;
        Strings fields;
    };
    const Case cases[] = {
        {"two commas give an empty field", "a,,b", {"a", "", "b"}},
        {"blanks around a comma", "x , y ,z", {"x", "y", "z"}},
        {"several blanks are one separator", " \t a   b\t", {"a", "b"}},
        {"comma at the start", ",a", {"", "a"}},
        {"comma at the end adds nothing", "a,", {"a"}},
        {"quoted field keeps blanks and commas", R"("a b,c" d)", {"a b,c", "d"}},
        {"doubled quote inside", R"("say ""hi""" x)", {R"(say "hi")", "x"}},
        {"empty quoted field", R"("" x)", {"", "x"}},
        {"missing closing quote runs to the end", R"(a "b c, d)", {"a", "b c, d"}},
        {"a lone LF is a blank", "a\nb", {"a", "b"}},
        {"only separators", " \t ", {}},
        {"empty line", "", {}},
        {"double-byte text stays whole", "山田_太郎,ダ", {"山田_太郎", "ダ"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitFields(c.line), c.fields) << c.name;
}

TEST(FieldSplitter, ReusedListForgetsTheLongerLineBefore)
{
    FieldList list;
    list.split("a b c d");
    list.split("x");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], "x");
}

TEST(FieldRules, NumbersAdvanceFieldsAndWords)
{
    EXPECT_EQ(parseNumber("007"), 7);
    EXPECT_EQ(parseNumber("+5"), 5);
    EXPECT_EQ(parseNumber("-2147483648"), INT_MIN);
    for (std::string_view bad :
         {"", "-", "+", "1x", " 1", "0x10", "2147483648", "99999999999999999999", "１"})
        EXPECT_FALSE(parseNumber(bad)) << bad;

    const auto text = LineEncoding::Text;
    EXPECT_EQ(advanceDays("+", text), 1);
    EXPECT_EQ(advanceDays("+7", text), 7);
    EXPECT_EQ(advanceDays("+20", text), 14);
    EXPECT_EQ(advanceDays("+-3", text), -3);
    EXPECT_FALSE(advanceDays("+x", text));
    EXPECT_FALSE(advanceDays("5+", text)); // the rest is "+", not a number

    EXPECT_EQ(colourCode("red"), 'R');
    EXPECT_EQ(colourCode("Red"), 'R');
    EXPECT_EQ(colourCode("r"), 'R');
    EXPECT_EQ(colourCode("magenta"), 'M');
    EXPECT_EQ(colourCode("ORANGE"), 'A');
    EXPECT_EQ(colourCode("ｒ"), 'A');
    EXPECT_EQ(stopMark("stop"), 'S');
    EXPECT_EQ(stopMark("s"), 'S');
    EXPECT_EQ(stopMark("STOPS"), 'N');
    EXPECT_EQ(scheduleMark("after"), 'A');
    EXPECT_EQ(scheduleMark("Before"), 'B');
    EXPECT_EQ(scheduleMark("R"), 'N');

    EXPECT_FALSE(splitDate("2024/5", 3));
    EXPECT_FALSE(splitDate("2024/5/1/2", 3));
    EXPECT_FALSE(splitDate("4/6/2024", 2));
    EXPECT_EQ(shownText("ダ_ダ", LineEncoding::Text), "ダ ダ"); // ダ is 0x83 0x5F in CP932
}

TEST(TanLine, Fields)
{
    struct Case
    {
        const char* name;
        std::string_view line;
        int verdict;
        Strings record; // checked when the verdict is above 0
    };
    const Case cases[] = {
        {"full line with advance",
         "+3 1990/5/12 x 山田_太郎 友人 S",
         2008,
         {"3", "1990", "5", "12", "山田 太郎", "S", "A"}},
        {"minimal line", "1990/5/12 x_y Taro", 2008, {"0", "1990", "5", "12", "Taro", "N", "A"}},
        {"lone plus is one day",
         "+ 1990/5/12 x Taro",
         2008,
         {"1", "1990", "5", "12", "Taro", "N", "A"}},
        {"advance capped at 14",
         "+99 1990/05/012 x Taro a_b stop red extra",
         2008,
         {"14", "1990", "05", "012", "Taro", "S", "R"}},
        {"colour word needs the fields before it",
         "1990/5/12 x Taro note R",
         2008,
         {"0", "1990", "5", "12", "Taro", "N", "A"}},
        {"unknown colour word",
         "1990/5/12 x Taro note N orange",
         2008,
         {"0", "1990", "5", "12", "Taro", "N", "A"}},
        {"unbalanced quote runs to the end",
         R"(1990/5/12 x "Taro S)",
         2008,
         {"0", "1990", "5", "12", "Taro S", "N", "A"}},
        {"negative numbers sum below 1", "-5/1/1 x Taro", -2, {}},
        {"two entry fields", "1990/5/12 Taro", kUnparsable, {}},
        {"advance field only shifts", "+3 1990/5/12 x", kUnparsable, {}},
        {"advance not a number", "+x 1990/5/12 x Taro", kUnparsable, {}},
        {"plus after a digit", "5+ 1990/5/12 x Taro", kUnparsable, {}},
        {"date of two parts", "1990/5 x Taro", kUnparsable, {}},
        {"date of four parts", "1990/5/12/1 x Taro", kUnparsable, {}},
        {"empty date part", "1990//12 x Taro", kUnparsable, {}},
        {"overflowing year", "99999999999999999999/1/1 x Taro", kUnparsable, {}},
        {"comment only", "", kUnparsable, {}},
    };
    for (const Case& c : cases) {
        const Parsed<TanLine> parsed(c.line);
        EXPECT_EQ(parsed.verdict(), c.verdict) << c.name;
        if (c.verdict > 0) {
            EXPECT_EQ(textsOf(parsed.line), c.record) << c.name;
        }
    }
}

TEST(SkeLine, Fields)
{
    struct Case
    {
        const char* name;
        std::string_view line;
        int verdict;
        Strings record;
    };
    const Case cases[] = {
        {"comment field",
         "2024/5/20 *本社 会議",
         2050,
         {"0", "2024", "5", "20", "本社", "会議", "N", "A"}},
        {"star anywhere makes the comment",
         "2024/5/20 5*3 計算",
         2050,
         {"0", "2024", "5", "20", "*3", "計算", "N", "A"}},
        {"star alone is an empty comment",
         "+3 2024/5/20 * 会_議 S",
         2050,
         {"3", "2024", "5", "20", "", "会 議", "S", "A"}},
        {"colour letter in the mark place",
         "2024/5/20 会議 R",
         2050,
         {"0", "2024", "5", "20", "", "会議", "N", "A"}},
        {"mark then colour",
         "2024/5/20 会議 N R",
         2050,
         {"0", "2024", "5", "20", "", "会議", "N", "R"}},
        {"mark words",
         "2024/5/20 開店 after green",
         2050,
         {"0", "2024", "5", "20", "", "開店", "A", "G"}},
        {"before", "2024/5/20 x BEFORE", 2050, {"0", "2024", "5", "20", "", "x", "B", "A"}},
        {"no text after the comment", "2024/5/20 5*3", kUnparsable, {}},
        {"no text", "2024/5/20", kUnparsable, {}},
        {"bad date", "2024/5/2x 会議", kUnparsable, {}},
    };
    for (const Case& c : cases) {
        const Parsed<SkeLine> parsed(c.line);
        EXPECT_EQ(parsed.verdict(), c.verdict) << c.name;
        if (c.verdict > 0) {
            EXPECT_EQ(textsOf(parsed.line), c.record) << c.name;
        }
    }
}

TEST(WekLine, FieldsAndSentenceEnd)
{
    struct Case
    {
        const char* name;
        std::string_view line;
        int verdict;
        Strings record;
    };
    const Case cases[] = {
        {"plain text gains です。",
         "4/6 4/15 春の全国交通安全運動",
         30,
         {"4", "6", "4", "15", "春の全国交通安全運動です。", "A"}},
        {"final full stop is dropped",
         "5/5 5/5 こどもの日.",
         21,
         {"5", "5", "5", "5", "こどもの日", "A"}},
        {"first full stop not at the end",
         "1/1 1/2 a.b",
         6,
         {"1", "1", "1", "2", "a.bです。", "A"}},
        {"two full stops", "1/1 1/2 a.b.", 6, {"1", "1", "1", "2", "a.b.です。", "A"}},
        {"Japanese full stop does not count",
         "1/1 1/2 週間。",
         6,
         {"1", "1", "1", "2", "週間。です。", "A"}},
        {"underscore alone", "1/1 1/2 _", 6, {"1", "1", "1", "2", " です。", "A"}},
        {"empty text stays empty", R"(1/1 1/2 "")", 6, {"1", "1", "1", "2", "", "A"}},
        {"colour", "4/6 4/15 x g", 30, {"4", "6", "4", "15", "xです。", "G"}},
        {"no end", "4/6 x", kUnparsable, {}},
        {"no text", "4/6 4/15", kUnparsable, {}},
        {"year in the start", "4/6/2024 4/15 x", kUnparsable, {}},
        {"no slash", "4 4/15 x", kUnparsable, {}},
    };
    for (const Case& c : cases) {
        const Parsed<WekLine> parsed(c.line);
        EXPECT_EQ(parsed.verdict(), c.verdict) << c.name;
        if (c.verdict > 0) {
            EXPECT_EQ(textsOf(parsed.line), c.record) << c.name;
        }
    }
}

TEST(HolLine, Fields)
{
    struct Case
    {
        const char* name;
        std::string_view line;
        int verdict;
        Strings record;
    };
    const Case cases[] = {
        {"commas", "1,1,元日", 3, {"1", "1", "元日"}},
        {"blanks", "11 3 文化の日", 15, {"11", "3", "文化の日"}},
        {"name kept as split", "5,3,憲法_記念日 extra", 9, {"5", "3", "憲法_記念日"}},
        {"two fields", "2,11", kUnparsable, {}},
        {"day not a number", "2,x,建国記念の日", kUnparsable, {}},
        {"quoted month with a comma", R"("1,15" 1 成人の日)", kUnparsable, {}},
    };
    for (const Case& c : cases) {
        const Parsed<HolLine> parsed(c.line);
        EXPECT_EQ(parsed.verdict(), c.verdict) << c.name;
        if (c.verdict > 0) {
            EXPECT_EQ(textsOf(parsed.line), c.record) << c.name;
        }
    }
}

TEST(ParserLimits, HugeValidNumbersSaturateInsteadOfWrapping)
{
    EXPECT_EQ(Parsed<TanLine>("2147483647/2147483647/2147483647 x Taro").verdict(), INT_MAX);
    EXPECT_EQ(Parsed<TanLine>("-2147483648/-2147483648/-2147483648 x Taro").verdict(), INT_MIN);
    EXPECT_EQ(Parsed<WekLine>("2147483647/2147483647 2147483647/2147483647 x").verdict(), INT_MAX);
}

TEST(ParserLimits, LongLinesAndManyFields)
{
    const std::string longName(1 << 20, 'n');
    const Parsed<TanLine> longLine("1990/5/12 x " + longName);
    EXPECT_EQ(longLine.verdict(), 2008);
    EXPECT_EQ(longLine.tail().name.size(), longName.size());

    std::string manyFields = "1990/5/12 x Taro note S blue";
    for (int i = 0; i < 10000; ++i)
        manyFields += " f";
    const Parsed<TanLine> many(manyFields);
    EXPECT_EQ(many.verdict(), 2008);
    EXPECT_EQ(many.tail().colour, 'B');

    EXPECT_EQ(Parsed<SkeLine>(std::string(1 << 20, ',')).verdict(), kUnparsable); // empty date
    EXPECT_EQ(Parsed<SkeLine>(std::string(1 << 20, '"')).verdict(), kUnparsable);
}

} // namespace
} // namespace tira
