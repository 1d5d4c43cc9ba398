#include "text/cp932.h"

#include <gtest/gtest.h>
#include <string>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace tira {
namespace {

const std::string kFffd = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

struct DecodeCase
{
    const char* name;
    std::string cp932;
    std::string utf8;
};

TEST(Cp932, DecodesWithTheWindowsMapping)
{
    const DecodeCase cases[] = {
        {"wave dash is the full-width tilde", "\x81\x60", "\xEF\xBD\x9E"}, // U+FF5E
        {"circled one", "\x87\x40", "①"},
        {"da keeps its backslash-like second byte", "\x83\x5F", "ダ"},
        {"hiragana", "\x82\xA0", "あ"},
        {"horizontal bar", "\x81\x5C", "\xE2\x80\x95"},       // U+2015
        {"parallel", "\x81\x61", "\xE2\x88\xA5"},             // U+2225
        {"full-width minus", "\x81\x7C", "\xEF\xBC\x8D"},     // U+FF0D
        {"full-width cent", "\x81\x91", "\xEF\xBF\xA0"},      // U+FFE0
        {"full-width backslash", "\x81\x5F", "\xEF\xBC\xBC"}, // U+FF3C
        {"IBM small roman one", "\xFA\x40", "ⅰ"},
        {"NEC-selected IBM kanji", "\xED\x40", "纊"},
        {"half-width katakana first", "\xA1", "｡"},
        {"half-width katakana a", "\xB1", "ｱ"},
        {"half-width katakana last", "\xDF", "ﾟ"},
        {"0x5C is a backslash", "\x5C", "\\"},
        {"0x7E is a tilde", "\x7E", "~"},
        {"mixed line", "+3 1990/5/12 x \x8E\x52\x93\x63_\x91\xBE\x98\x59 S",
         "+3 1990/5/12 x 山田_太郎 S"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8) << c.name;
}

TEST(Cp932, InvalidBytesBecomeReplacementWithoutSwallowingTheNext)
{
    const DecodeCase cases[] = {
        {"0x80", "a\x80z", "a" + kFffd + "z"},
        {"0xA0", "\xA0", kFffd},
        {"0xFD..0xFF", "\xFD\xFE\xFF", kFffd + kFffd + kFffd},
        {"lead byte before CR", std::string("\x81\r\n", 3), kFffd + "\r\n"},
        {"lead byte before a blank", "\x82 x", kFffd + " x"},
        {"lead byte before a comma", "\x82,", kFffd + ","},
        {"lead byte at the end", "ab\x82", "ab" + kFffd},
        {"lead byte before NUL", std::string("\x82\0z", 3), kFffd + std::string("\0z", 2)},
        {"unmapped pair with an ASCII second byte", "\x85\x53", kFffd + "S"},
        {"unmapped row, second byte @", "\xEB\x40", kFffd + "@"},
        {"unmapped pair with a non-ASCII second byte", "\x85\x9F", kFffd},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8) << c.name;
}

TEST(Cp932, AsciiIsUnchanged)
{
    std::string ascii;
    for (int b = 0; b < 0x80; ++b)
        ascii.push_back(static_cast<char>(b));
    EXPECT_EQ(cp932ToUtf8(ascii), ascii);
    EXPECT_EQ(utf8ToCp932(ascii), ascii);
}

TEST(Cp932, EncodesWithTheCodesWindowsWrites)
{
    const DecodeCase cases[] = {
        {"full-width tilde", "\x81\x60", "\xEF\xBD\x9E"},
        {"circled one", "\x87\x40", "①"},
        {"da", "\x83\x5F", "ダ"},
        {"half-width a", "\xB1", "ｱ"},
        {"backslash", "\x5C", "\\"},
        // characters with two or three codes: the row-0x81 code first, IBM codes over the
        // NEC-selected copies
        {"approximately equal", "\x81\xE0", "≒"},
        {"not sign", "\x81\xCA", "\xEF\xBF\xA2"}, // U+FFE2
        {"because", "\x81\xE6", "∵"},
        {"roman one", "\x87\x54", "Ⅰ"},
        {"IBM small roman one", "\xFA\x40", "ⅰ"},
        {"NEC-selected IBM kanji", "\xFA\x5C", "纊"},
        {"not in the code page", "?", "é"},
        {"outside the BMP", "?", "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ToCp932(c.utf8), c.cp932) << c.name;
    EXPECT_EQ(utf8ToCp932("a\xC0z"), "a?z"); // ill-formed UTF-8
}

TEST(Cp932, EveryDoubleByteCodeRoundTrips)
{
    int mapped = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = cp932ToUtf8(code);
            if (text == kFffd || text.size() == 1 + kFffd.size()) continue; // unmapped
            ++mapped;
            // duplicates encode to one canonical code, which decodes to the same text
            const std::string back = utf8ToCp932(text);
            ASSERT_EQ(back.size(), 2u) << std::hex << lead << trail;
            EXPECT_EQ(cp932ToUtf8(back), text) << std::hex << lead << trail;
        }
    }
    // JIS X 0208 alone has 6879 characters
    EXPECT_GT(mapped, 7000);
}

#ifndef _WIN32
// The table is built a row at a time; every pair must still decode as iconv decodes it alone.
TEST(Cp932, EveryPairDecodesAsTheConverterDecodesItAlone)
{
    iconv_t converter = iconv_open("UTF-8", "CP932");
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
    int differences = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char out[8] = {};
            char* in = pair;
            char* outPtr = out;
            std::size_t inLeft = 2;
            std::size_t outLeft = sizeof out;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
            const bool mapped =
                iconv(converter, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                inLeft == 0;
            const std::string decoded = cp932ToUtf8(std::string(pair, 2));
            if (mapped) {
                if (decoded != std::string(out, outPtr) && ++differences < 10)
                    ADD_FAILURE() << std::hex << lead << " " << trail;
            } else if (!decoded.starts_with(kFffd) && ++differences < 10) {
                ADD_FAILURE() << std::hex << lead << " " << trail << " is not mapped";
            }
        }
    }
    iconv_close(converter);
    EXPECT_EQ(differences, 0);
}
#endif

TEST(Cp932, HalfWidthKatakanaRoundTrips)
{
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const std::string code(1, static_cast<char>(b));
        const std::string text = cp932ToUtf8(code);
        EXPECT_EQ(text.size(), 3u) << std::hex << b;
        EXPECT_EQ(utf8ToCp932(text), code) << std::hex << b;
    }
}

TEST(Utf8, ValidationAndSanitising)
{
    EXPECT_TRUE(isValidUtf8("ダ abc ①"));
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("a\xE3\x81"));        // cut short
    EXPECT_EQ(sanitizeUtf8("a\xE3\x81\r\n"), "a" + kFffd + kFffd + "\r\n");
    EXPECT_EQ(sanitizeUtf8("ダ\xFF"), "ダ" + kFffd);
}

} // namespace
} // namespace tira
