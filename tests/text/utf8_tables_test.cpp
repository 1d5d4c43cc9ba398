// A table file without a byte-order mark is UTF-8 when its bytes above 0x7F are
// well-formed UTF-8 throughout; anything else is CP932.
#include "support/table_lines.h"
#include "support/temp_home.h"
#include "text/cp932.h"
#include "text/table_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

constexpr std::size_t kReaderChunk = 1 << 16; // the reader's read size

struct Read
{
    std::vector<std::string> lines;
    TextEncoding encoding = TextEncoding::Cp932;
    bool decided = false;
};

Read readBytes(const std::string& bytes)
{
    test::TempHome home;
    home.writeBytes("T.TBL", bytes);
    TableReader reader(home.file("T.TBL"));
    Read read;
    std::string line;
    while (test::nextLine(reader, line))
        read.lines.push_back(line);
    read.encoding = reader.encoding();
    read.decided = reader.encodingDecided();
    return read;
}

TEST(Utf8Scan, AcceptsWellFormedUtf8Only)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"ASCII", "abc 123,#", true},
        {"two, three and four bytes", "\xC3\xA9\xE3\x83\x80\xF0\x9F\x98\x80", true},
        {"U+FFFF and U+10FFFF", "\xEF\xBF\xBF\xF4\x8F\xBF\xBF", true},
        {"ASCII run then a character", "abcdefghijklmnop\xE3\x83\x80", true},
        {"CP932 ダ", "\x83\x5F", false},
        {"CP932 half-width ｱ alone", "\xB1", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"continuation without lead", "a\x80", false},
        {"lead followed by ASCII", "\xE3\x83z", false},
    };
    for (const Case& c : cases) {
        Utf8Scan scan;
        EXPECT_EQ(scan.feed(c.bytes) && scan.complete(), c.valid) << c.name;
    }
}

TEST(Utf8Scan, CharactersSplitBetweenPieces)
{
    const std::string text = "x\xE3\x83\x80y\xF0\x9F\x98\x80";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Utf8Scan scan;
        EXPECT_TRUE(scan.feed(text.substr(0, cut))) << cut;
        EXPECT_TRUE(scan.feed(text.substr(cut))) << cut;
        EXPECT_TRUE(scan.complete()) << cut;
    }
    Utf8Scan cutShort;
    EXPECT_TRUE(cutShort.feed("\xE3\x83"));
    EXPECT_FALSE(cutShort.complete());
    EXPECT_FALSE(cutShort.feed("A")); // and it stays failed
    EXPECT_FALSE(cutShort.feed("\x80"));
}

TEST(TableReader, EncodingIsDecidedByTheWholeFile)
{
    const std::string da = "\xE3\x83\x80"; // ダ in UTF-8
    struct Case
    {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
        TextEncoding encoding;
    };
    const Case cases[] = {
        {"UTF-8 without BOM", "ダ_ダ\r\n山田 太郎\r\n", {"ダ_ダ", "山田 太郎"}, TextEncoding::Utf8},
        {"CP932 of the same",
         utf8ToCp932("ダ_ダ\r\n山田 太郎\r\n"),
         {"ダ_ダ", "山田 太郎"},
         TextEncoding::Cp932},
        {"ASCII lines first", "a\r\nb\r\n" + da + "\r\n", {"a", "b", "ダ"}, TextEncoding::Utf8},
        {"one CP932 line late in a UTF-8 file",
         da + "\r\nx\r\n\x83\x5F\r\n",
         {"繝\xEF\xBF\xBD", "x", "ダ"},
         TextEncoding::Cp932},
        {"a character cut by the line end",
         "\xE3\x83\r\n\x80\r\n",
         {"繝", "\xEF\xBF\xBD"},
         TextEncoding::Cp932},
        {"bytes after Ctrl-Z do not count", da + "\r\n\x1A\x83\x5F", {"ダ"}, TextEncoding::Utf8},
        {"UTF-8 up to a Ctrl-Z mid-line", da + "\x1A\xFF", {"ダ"}, TextEncoding::Utf8},
        {"last line without line end", "a\r\n" + da, {"a", "ダ"}, TextEncoding::Utf8},
    };
    for (const Case& c : cases) {
        const Read read = readBytes(c.bytes);
        EXPECT_EQ(read.lines, c.lines) << c.name;
        EXPECT_EQ(read.encoding, c.encoding) << c.name;
        EXPECT_TRUE(read.decided) << c.name;
    }
    const Read ascii = readBytes("a\r\n\tb\x7F\r\n");
    EXPECT_EQ(ascii.lines, (std::vector<std::string>{"a", "\tb\x7F"}));
    EXPECT_EQ(ascii.encoding, TextEncoding::Cp932);
    EXPECT_FALSE(ascii.decided);
}

TEST(TableReader, EncodingDecidedAcrossChunks)
{
    const std::string da = "\xE3\x83\x80";
    const std::string ascii(kReaderChunk - 7, 'a');
    // the first high byte in the first chunk, the spoiling byte two chunks further on
    {
        const std::string tail(2 * kReaderChunk, 'b');
        const Read read = readBytes(da + "\r\n" + tail + "\r\n\x83\x5F\r\nz");
        EXPECT_EQ(read.encoding, TextEncoding::Cp932);
        ASSERT_EQ(read.lines.size(), 4u);
        EXPECT_EQ(read.lines[1], tail) << "the lines after the look-ahead are read as before";
        EXPECT_EQ(read.lines[2], "ダ");
        EXPECT_EQ(read.lines[3], "z");
    }
    // characters cut by every chunk boundary, with a long line and a Ctrl-Z after it
    for (std::size_t shift = 0; shift < 4; ++shift) {
        const std::string head(kReaderChunk - 2 - shift, 'h');
        std::string body;
        for (int i = 0; i < 3000; ++i)
            body += "行" + std::to_string(i) + "ダ";
        const Read read = readBytes("x" + da + "\r\n" + head + da + da + "\r\n" + body + "\r\n" +
                                    std::string(kReaderChunk, 'l') + "\x1A\xFF");
        EXPECT_EQ(read.encoding, TextEncoding::Utf8) << shift;
        ASSERT_EQ(read.lines.size(), 4u) << shift;
        EXPECT_EQ(read.lines[1], head + "ダダ") << shift;
        EXPECT_EQ(read.lines[2], body) << shift;
    }
    // the first high byte comes only after the first chunk
    const Read late = readBytes(ascii + "\r\n" + ascii + "\r\n" + da + "\r\n");
    EXPECT_EQ(late.encoding, TextEncoding::Utf8);
    EXPECT_EQ(late.lines.back(), "ダ");
}

} // namespace
} // namespace tira
