// Reading table lines in place: splitting only as far as asked, numbers read from the bytes,
// and Shift-JIS bytes giving the same entries as the decoded line gives the record parsers.
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
        const std::vector<std::string> whole = splitFields(line);
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
        EXPECT_EQ(advanceDays(cp932ToUtf8(c.bytes)), c.days) << c.name;
    }
}

// The same line as Shift-JIS bytes read in place and as decoded text parsed into a record
// gives the same numbers, marks and texts.
TEST(InPlaceReading, ShiftJisBytesReadAsTheirDecodedText)
{
    const char* const birthdays[] = {"+7 1990/5/12 友 山田_太郎 メモ STOP red",
                                     "1990/5/12 \"予 定\" 能_表 x s",
                                     "+3 0000000001/5/12 x y",
                                     "+ 1990/05/012 x y z w",
                                     "1990/5/12/1 x y",
                                     "＋7 1990/5/12 x y"};
    for (const char* text : birthdays) {
        const std::string bytes = utf8ToCp932(text);
        FieldList fields;
        fields.start(bytes);
        BirthdayLine line;
        BirthdayRecord record;
        const int verdict = readBirthdayLine(fields, LineEncoding::Cp932, line);
        ASSERT_EQ(verdict, TanLine(text, record)) << text;
        if (verdict == kUnparsable) continue;
        readBirthdayExtras(fields, line);
        using namespace birthday;
        EXPECT_EQ(line.hasAdvance ? std::to_string(line.advance) : "0", record[Advance]);
        EXPECT_EQ(std::string(line.date.text[2]), record[Day]) << text;
        EXPECT_EQ(shownText(line.name, LineEncoding::Cp932), record[Name]) << text;
        EXPECT_EQ(line.hasSpare2 ? shownText(line.spare2, LineEncoding::Cp932) : "0",
                  record[Spare2])
            << text;
        EXPECT_EQ(std::string(1, line.stop), record[Stop]) << text;
        EXPECT_EQ(std::string(1, line.colour), record[Colour]) << text;
    }

    const char* const schedules[] = {"2024/5/20 *本社 会議 B", "2024/5/20 表*3 計算 after g",
                                     "+3 2024/5/20 ** 会議", "2024/5/20 5*3"};
    for (const char* text : schedules) {
        const std::string bytes = utf8ToCp932(text);
        FieldList fields;
        fields.start(bytes);
        ScheduleLine line;
        ScheduleRecord record;
        const int verdict = readScheduleLine(fields, LineEncoding::Cp932, line);
        ASSERT_EQ(verdict, SkeLine(text, record)) << text;
        if (verdict == kUnparsable) continue;
        using namespace schedule;
        EXPECT_EQ(shownText(line.comment, LineEncoding::Cp932), record[Comment]) << text;
        EXPECT_EQ(shownText(line.text, LineEncoding::Cp932), record[Text]) << text;
        EXPECT_EQ(std::string(1, line.mark), record[Mark]) << text;
    }

    const char* const events[] = {"+3 <<25 0 0 0 &red 給料_日", "10-表 0 0 8 夏休み",
                                  "0 3 !2 0 表 十", "-1 0 %1 0", "<十 0 0 0 x"};
    for (const char* text : events) {
        const std::string bytes = utf8ToCp932(text);
        FieldList fields;
        fields.start(bytes);
        EventLine line;
        EventRule rule;
        const int verdict = readEventLine(fields, LineEncoding::Cp932, line);
        ASSERT_EQ(verdict, EveLine(text, rule)) << text;
        if (verdict == kUnparsable) continue;
        readEventExtras(fields, line);
        EXPECT_EQ(eventLineText(fields, line, LineEncoding::Cp932), rule[EventText]) << text;
        EXPECT_EQ(cp932ToUtf8(line.rangeEnd), rule[EventRangeEnd]) << text;
        EXPECT_EQ(std::string(1, line.colour), rule[EventColour]) << text;
    }

    const char* const history[] = {"紀元前660/2/11 E 建国_記念", "1900/5/1 b ? 能 y",
                                   "1980/7/2 D 1900/5/? 十", "1900/5/1 表 x"};
    for (const char* text : history) {
        const std::string bytes = utf8ToCp932(text);
        FieldList fields;
        fields.start(bytes);
        HistoryLine line;
        HistoryRecord record;
        const int verdict = readHistoryLine(fields, line);
        ASSERT_EQ(verdict, HisLine(text, record)) << text;
        if (verdict == kUnparsable) continue;
        readHistoryExtras(fields, line);
        EXPECT_EQ(cp932ToUtf8(line.date[0]), record[HistoryYear]) << text;
        EXPECT_EQ(std::string(line.second[2]), record[HistoryDay2]) << text;
        if (line.kindLetter != 'X') {
            EXPECT_EQ(shownText({line.text}, LineEncoding::Cp932), record[HistoryText]) << text;
        }
    }
}

TEST(LineText, DecodedOnlyWhenNotAsciiOrAlreadyText)
{
    std::string scratch;
    const std::string_view ascii = "abc";
    EXPECT_EQ(textOf(ascii, LineEncoding::Cp932, scratch).data(), ascii.data());
    EXPECT_EQ(textOf("\x95\x5C", LineEncoding::Cp932, scratch), "表");
    EXPECT_EQ(textOf("\xE8\xA1", LineEncoding::Utf8, scratch), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(textOf("\xE8\xA1", LineEncoding::Text, scratch), "\xE8\xA1"); // as it is
    EXPECT_TRUE(isAscii("0123456789abcdef\x7F"));
    EXPECT_FALSE(isAscii("0123456789abcdef\x80"));
    EXPECT_EQ(shownText({"能_表"}, LineEncoding::Text), "能 表");
    EXPECT_EQ(shownText({"\x94\x5C_\x83\x5F"}, LineEncoding::Cp932), "能 ダ");
}

} // namespace
} // namespace tira
