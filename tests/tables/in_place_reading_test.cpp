// Reading table lines in place: splitting only as far as asked, numbers read from the bytes,
// and Shift-JIS bytes giving the same entries as the decoded line.
#include "support/parsed_line.h"
#include "tables/event_line.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"
#include "text/cp932.h"

#include <climits>
#include <gtest/gtest.h>

namespace tira {
namespace {

TEST(LazySplit, HasAndFieldAgreeWithTheWholeSplit)
{
    const std::string_view lines[] = {
        "a,,b",   " x , y ,z ", R"("a ""b"" c" d, "e)", "+7 1990/5/12 x", "", " \t",
        "a\0b c", ",",          "12345678901 z",        R"("" "")"};
    for (const std::string_view line : lines) {
        const std::vector<std::string> whole = test::splitFields(line);
        FieldList lazy;
        lazy.start(line);
        // from the back: a field is there before anything of it is split
        EXPECT_FALSE(lazy.has(whole.size())) << line;
        for (std::size_t i = whole.size(); i-- > 0;) {
            EXPECT_TRUE(lazy.has(i)) << line;
            EXPECT_EQ(lazy.field(i), whole[i]) << line << " " << i;
        }
        lazy.splitRest();
        EXPECT_EQ(lazy.size(), whole.size()) << line;
    }
}

TEST(LazySplit, AFieldThatIsOnlyRequiredIsNotScanned)
{
    FieldList fields;
    fields.start("1 2 3");
    EXPECT_TRUE(fields.has(2));
    EXPECT_EQ(fields.size(), 2u); // the third field is known to be there, not yet split
    EXPECT_EQ(fields.field(2), "3");
}

TEST(NumberReading, NineDigitsFastTenAndMoreTheGeneralWay)
{
    struct Case
    {
        std::string_view text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {"999999999", true, 999999999},
        {"0000000001", true, 1},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"+000000007", true, 7},
        {"-0", true, 0},
        {"12a", false, 0},
        {"1 2", false, 0},
        {"", false, 0},
        {"+", false, 0},
        {"\x82\x4f", false, 0}, // full-width 0 in Shift-JIS
    };
    for (const Case& c : cases) {
        std::int32_t value = -1;
        EXPECT_EQ(readNumber(c.text, value), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(parseNumber(c.text).has_value(), c.valid) << c.text;
    }
}

TEST(AdvanceReading, FirstCharacterOfTheBytesGoesAsTheDecoderSeesIt)
{
    struct Case
    {
        const char* name;
        std::string_view bytes;
        std::optional<std::int32_t> days;
    };
    const Case cases[] = {
        {"plain", "+7", 7},
        {"capped", "+30", 14},
        {"alone", "+", 1},
        // a double-byte first character goes whole: "Ａ+3" leaves "+3"
        {"double-byte first character", "\x82\x60+3", 3},
        // a lead byte before an ASCII byte is one bad byte: the "7" is not its second byte
        {"stray lead byte after the plus",
         "+\x81"
         "7",
         std::nullopt},
        {"half-width katakana first", "\xB1+2", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(advanceDays(c.bytes, LineEncoding::Cp932), c.days) << c.name;
        EXPECT_EQ(advanceDays(cp932ToUtf8(c.bytes), LineEncoding::Text), c.days) << c.name;
    }
}

// The same line as Shift-JIS bytes read in place and as decoded text gives the same
// verdict, numbers, marks and texts.
template <auto Parse> void expectSameAsDecoded(std::initializer_list<const char*> lines)
{
    for (const char* text : lines) {
        const test::Parsed<Parse> bytes(utf8ToCp932(text), LineEncoding::Cp932);
        const test::Parsed<Parse> decoded(text);
        ASSERT_EQ(bytes.verdict(), decoded.verdict()) << text;
        EXPECT_EQ(bytes.problem(), decoded.problem()) << text;
        if (decoded.verdict() > 0) {
            EXPECT_EQ(test::textsOf(bytes.line), test::textsOf(decoded.line)) << text;
        }
    }
}

TEST(InPlaceReading, ShiftJisBytesReadAsTheirDecodedText)
{
    expectSameAsDecoded<TanLine>({"+7 1990/5/12 友 山田_太郎 メモ STOP red",
                                  "1990/5/12 \"予 定\" 能_表 x s", "+3 0000000001/5/12 x y",
                                  "+ 1990/05/012 x y z w", "1990/5/12/1 x y", "＋7 1990/5/12 x y"});
    expectSameAsDecoded<SkeLine>({"2024/5/20 *本社 会議 B", "2024/5/20 表*3 計算 after g",
                                  "+3 2024/5/20 ** 会議", "2024/5/20 5*3"});
    expectSameAsDecoded<EveLine>({"+3 <<25 0 0 0 &red 給料_日", "10-表 0 0 8 夏休み",
                                  "0 3 !2 0 表 十", "-1 0 %1 0", "<十 0 0 0 x"});
    expectSameAsDecoded<HisLine>({"紀元前660/2/11 E 建国_記念", "1900/5/1 b ? 能 y",
                                  "1980/7/2 D 1900/5/? 十", "1900/5/1 表 x"});
    expectSameAsDecoded<WekLine>({"4/6 4/15 春の_交通安全 g", "4/6 4/十 x"});
    expectSameAsDecoded<HolLine>({"1,1,元_日", "表 1 x"});
}

TEST(LineText, DecodedOnlyWhenNotAsciiOrAlreadyText)
{
    EXPECT_EQ(shownText("abc", LineEncoding::Cp932), "abc");
    EXPECT_EQ(shownText("\x95\x5C", LineEncoding::Cp932), "表");
    EXPECT_EQ(shownText("\xE8\xA1", LineEncoding::Utf8), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(shownText("\xE8\xA1", LineEncoding::Text), "\xE8\xA1"); // as it is
    EXPECT_TRUE(isAscii("0123456789abcdef\x7F"));
    EXPECT_FALSE(isAscii("0123456789abcdef\x80"));
    EXPECT_EQ(shownText("能_表", LineEncoding::Text), "能 表");
    EXPECT_EQ(shownText("\x94\x5C_\x83\x5F", LineEncoding::Cp932), "能 ダ");
}

} // namespace
} // namespace tira
