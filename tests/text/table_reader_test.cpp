#include "support/table_lines.h"
#include "support/temp_home.h"
#include "text/file_error.h"
#include "text/table_reader.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tira {
namespace {

constexpr std::size_t kReaderChunk = 1 << 16; // the reader's read size
const std::string kFffd = "\xEF\xBF\xBD";

std::vector<std::string> readAll(const std::string& path)
{
    TableReader reader(path);
    std::vector<std::string> lines;
    std::string line;
    while (test::nextLine(reader, line))
        lines.push_back(line);
    EXPECT_FALSE(test::nextLine(reader, line)); // stays at the end
    return lines;
}

std::vector<std::string> readBytes(const std::string& bytes)
{
    test::TempHome home;
    home.writeBytes("T.TBL", bytes);
    return readAll(home.file("T.TBL"));
}

struct LineCase
{
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(TableReader, LineEnds)
{
    const LineCase cases[] = {
        {"CR", "a\rb\r", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone LF after a first CR is a character", "a\r\nb\nc\r\nd\n", {"a", "b\nc", "d\n"}},
        {"LF CR is a character then a line end", "a\rb\n\rc", {"a", "b\n", "c"}},
        {"first line end LF: every LF ends a line",
         "a\nb\r\nc\rd\n\ne",
         {"a", "b", "c\rd", "", "e"}},
        {"first line end LF after a CR LF is not one", "a\r\nb\n", {"a", "b\n"}},
        {"last line without line end", "a\r\nlast", {"a", "last"}},
        {"empty file", "", {}},
        {"empty lines", "\r\n\r\nx\r\n\r\n", {"", "", "x", ""}},
        {"CR CR LF CR", "\r\r\n\r", {"", "", ""}},
        {"Ctrl-Z stops", "a\r\nb\x1A\r\nc\r\n", {"a", "b"}},
        {"Ctrl-Z at a line start",
         "a\r\n\x1A"
         "b\r\n",
         {"a"}},
        {"Ctrl-Z first",
         "\x1A"
         "a\r\n",
         {}},
        {"NUL is kept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
        {"CP932 decoded per line", "\x83\x5F_\x83\x5F\r\n\xB1\r\n", {"ダ_ダ", "ｱ"}},
        {"lead byte before CR keeps the line end", "\x81\r\nz", {kFffd, "z"}},
        {"UTF-8 with BOM", "\xEF\xBB\xBF\xE3\x83\x80\r\nb", {"ダ", "b"}},
        {"BOM only", "\xEF\xBB\xBF", {}},
        {"BOM file with a bad byte", "\xEF\xBB\xBF\xFF\r\n", {kFffd}},
        {"BOM later in a UTF-8 file is text", "a\r\n\xEF\xBB\xBF", {"a", "\xEF\xBB\xBF"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readBytes(c.bytes), c.lines) << c.name;
}

TEST(TableReader, ReportsTheEncoding)
{
    test::TempHome home;
    home.writeBytes("U.TBL", "\xEF\xBB\xBFx\r\n");
    home.writeBytes("S.TBL", "x\r\n");
    EXPECT_EQ(TableReader(home.file("U.TBL")).encoding(), TextEncoding::Utf8);
    EXPECT_EQ(TableReader(home.file("S.TBL")).encoding(), TextEncoding::Cp932);
}

TEST(TableReader, TellsHowTheLinesEnd)
{
    struct Case
    {
        std::string bytes;
        LineEnds ends;
    };
    const Case cases[] = {{"a\r\nb\r", LineEnds::CrLf}, {"a\rb\r\n", LineEnds::Cr},
                          {"a\nb\r\n", LineEnds::Lf},   {"a", LineEnds::CrLf},
                          {"\r", LineEnds::Cr},         {"\n", LineEnds::Lf}};
    for (const Case& c : cases) {
        test::TempHome home;
        home.writeBytes("T.TBL", c.bytes);
        TableReader reader(home.file("T.TBL"));
        std::string line;
        while (test::nextLine(reader, line)) {
        }
        EXPECT_EQ(reader.lineEnds(), c.ends) << c.bytes;
    }
}

TEST(TableReader, LineLongerThanAChunk)
{
    const std::string longLine(3 * kReaderChunk + 17, 'x');
    EXPECT_EQ(readBytes(longLine + "\r\n" + "y"), (std::vector<std::string>{longLine, "y"}));
    EXPECT_EQ(readBytes("a\r\n" + longLine), (std::vector<std::string>{"a", longLine}));
}

TEST(TableReader, LineEndAcrossTheChunkBoundary)
{
    // put the CR, the LF and a Ctrl-Z on each side of the first chunk's end
    for (std::size_t before = kReaderChunk - 3; before <= kReaderChunk + 1; ++before) {
        const std::string first(before, 'x');
        EXPECT_EQ(readBytes(first + "\r\ny\r\n"), (std::vector<std::string>{first, "y"})) << before;
        EXPECT_EQ(readBytes(first + "\r\x1Ay\r\n"), (std::vector<std::string>{first})) << before;
        EXPECT_EQ(readBytes("\r" + first + "\n\r"), (std::vector<std::string>{"", first + "\n"}))
            << before;
        EXPECT_EQ(readBytes("z\n" + first + "\r\ny\n"), (std::vector<std::string>{"z", first, "y"}))
            << before;
        EXPECT_EQ(readBytes(first + "\n" + first + "\r\n"),
                  (std::vector<std::string>{first, first}))
            << before;
        // a double-byte character cut by the boundary stays whole
        EXPECT_EQ(readBytes(first + "\x83\x5F\r\n"), (std::vector<std::string>{first + "ダ"}))
            << before;
    }
    const std::string afterBom(kReaderChunk - 4, 'u'); // BOM + text + CR fill the chunk
    EXPECT_EQ(readBytes("\xEF\xBB\xBF" + afterBom + "\r\nv"),
              (std::vector<std::string>{afterBom, "v"}));
}

TEST(TableReader, OpenFailuresThrow)
{
    test::TempHome home;
    std::filesystem::create_directory(home.file("DIR.TBL"));
    try {
        TableReader reader(home.file("DIR.TBL"));
        FAIL() << "a directory was opened";
    } catch (const TableFileError& error) {
        EXPECT_EQ(error.path(), home.file("DIR.TBL"));
        EXPECT_NE(std::string(error.what()).find("cannot read " + home.file("DIR.TBL") + ": "),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(TableReader(home.file("MISSING.TBL")), TableFileError);
}

#ifndef _WIN32
TEST(TableReader, OnlyRegularFilesAreRead)
{
    test::TempHome home;
    ASSERT_EQ(::mkfifo(home.file("FIFO.TBL").c_str(), 0600), 0);
    home.writeBytes("REAL.TBL", "a\r\n");
    std::filesystem::create_symlink(home.file("REAL.TBL"), home.file("LINK.TBL"));
    std::filesystem::create_symlink(home.file("FIFO.TBL"), home.file("FIFOLINK.TBL"));
    EXPECT_EQ(readAll(home.file("LINK.TBL")), std::vector<std::string>{"a"});
    // a FIFO without a writer would block the open, /dev/zero would never end
    for (const std::string& path : {home.file("FIFO.TBL"), home.file("FIFOLINK.TBL"),
                                    std::string("/dev/zero"), std::string("/dev/null")}) {
        const auto start = std::chrono::steady_clock::now();
        try {
            TableReader reader(path);
            ADD_FAILURE() << path << " was opened";
        } catch (const TableFileError& error) {
            EXPECT_EQ(std::string(error.what()), "cannot read " + path + ": not a regular file");
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    }
}
#endif

TEST(TableReader, OverlongLineIsSkippedAsOneEmptyLine)
{
    const std::string longest(kMaxLineBytes - 1, 'x'); // with its CR it just fits
    const std::string tooLong(kMaxLineBytes, 'y');
    struct Case
    {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
        std::vector<bool> tooLongMarks;
    };
    const Case cases[] = {
        {"longest kept", "a\r\n" + longest + "\r\nb", {"a", longest, "b"}, {false, false, false}},
        {"too long, LF after its CR", tooLong + "\r\nb\r\n", {"", "b"}, {true, false}},
        {"too long to the end", "a\r" + tooLong + tooLong, {"a", ""}, {false, true}},
        {"too long up to Ctrl-Z", tooLong + "zz\x1A" + "b\r\n", {""}, {true}},
        {"one bad line among good",
         "a\r" + tooLong + "\rb\r",
         {"a", "", "b"},
         {false, true, false}},
        // a file with LF line ends: the skip stops at the LF, a CR before it goes with it
        {"LF file, too long in the middle",
         "a\n" + tooLong + "\r\nb\nc\n",
         {"a", "", "b", "c"},
         {false, true, false, false}},
        {"too long first line of an LF file",
         tooLong + "\nb\nc\n",
         {"", "b", "c"},
         {true, false, false}},
    };
    // a long line is compared by its start and its length, so that a failure stays readable
    const auto shown = [](const std::string& l) {
        return l.size() > 16 ? l.substr(0, 16) + "... " + std::to_string(l.size()) : l;
    };
    for (const auto& c : cases) {
        test::TempHome home;
        home.writeBytes("T.TBL", c.bytes);
        TableReader reader(home.file("T.TBL"));
        std::vector<std::string> lines;
        std::vector<bool> marks;
        std::string line;
        while (test::nextLine(reader, line)) {
            lines.push_back(shown(line));
            marks.push_back(reader.lineTooLong());
        }
        std::vector<std::string> expected;
        for (const auto& l : c.lines)
            expected.push_back(shown(l));
        EXPECT_EQ(lines, expected) << c.name;
        EXPECT_EQ(marks, c.tooLongMarks) << c.name;
    }
}

} // namespace
} // namespace tira
