// Characters whose second Shift-JIS byte is 0x5C, the byte of "\": 表 ソ 能 予 十 申. Tools
// that read the bytes as ASCII take it for an escape or a line continuation. Here nothing
// joins two lines there, nothing after it is escaped, and nothing is cut before it.
#include "report/reminder_harness.h"
#include "settings/settings.h"
#include "support/table_lines.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/table_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira {
namespace {

using Lines = std::vector<std::string>;

constexpr Date kDay{2024, 5, 12};

TEST(ShiftJisTraps, TheSixCharactersEndInTheBackslashByte)
{
    for (const char* c : {"表", "ソ", "能", "予", "十", "申"}) {
        const std::string bytes = utf8ToCp932(c);
        ASSERT_EQ(bytes.size(), 2u) << c;
        EXPECT_EQ(bytes[1], '\x5C') << c;
        EXPECT_EQ(cp932ToUtf8(bytes), c);
    }
}

// One table per case, shown on one day: the lines the section writes under its heading
// (the harness checks the heading and takes it off).
struct Case
{
    const char* name;
    Kind kind;
    const char* table; // UTF-8, "\n" becomes CR LF, written as Shift-JIS
    Lines shown;
};

Lines sectionTexts(const Case& c)
{
    test::ReminderHarness h(c.kind);
    h.home.writeTable("T.TBL", c.table);
    h.state.settings.filesOf(c.kind) = {h.home.file("T.TBL")};
    h.state.settings.Age = 0;
    return h.texts(kDay);
}

TEST(ShiftJisTraps, NothingJoinsEscapesOrCutsAtTheBackslashByte)
{
    const Case cases[] = {
        // at the end of a line: the next line stays a line of its own
        {"birthday names ending the lines",
         Kind::Birthday,
         "1990/5/12 x 代表\n1990/5/12 x 能\n1990/5/12 x 十\n",
         {"今日は 代表 さんの 誕生日です。", "今日は 能 さんの 誕生日です。",
          "今日は 十 さんの 誕生日です。"}},
        {"last line of the file without a line end",
         Kind::Birthday,
         "1990/5/12 x ソ\n1990/5/12 x 申",
         {"今日は ソ さんの 誕生日です。", "今日は 申 さんの 誕生日です。"}},
        {"event texts ending the lines",
         Kind::Event,
         "12 0 0 0 予\n12 0 0 0 表\n",
         {"予です。", "表です。"}},
        // before "#": the comment is cut, the character stays whole
        {"comment right after the character",
         Kind::Birthday,
         "1990/5/12 x 能#コメント\n1990/5/12 x 予#\n",
         {"今日は 能 さんの 誕生日です。", "今日は 予 さんの 誕生日です。"}},
        {"comment after an event text", Kind::Event, "12 0 0 0 申#x\n", {"申です。"}},
        // inside quotes: the quote after the character closes the field
        {"quoted schedule text", Kind::Schedule, "2024/5/12 \"予定表\" B\n", {"予定表 です。"}},
        {"quoted text with a doubled quote after the character",
         Kind::Schedule,
         "2024/5/12 \"表\"\"十\" N\n",
         {"表\"十 です。"}},
        {"quoted comment",
         Kind::Schedule,
         "2024/5/12 \"*本社の表\" 会議\n",
         {"会議(本社の表) です。"}},
        {"quoted history text, colour after it",
         Kind::History,
         "1900/5/12 E \"申 込\" r\n",
         {"1900/5/12 申 込"}},
        // before a blank or a comma: they still separate fields
        {"blank after the character",
         Kind::Birthday,
         "1990/5/12 能 ソ 十 S\n",
         {"今日は ソ さんの 誕生日です。"}},
        {"comma list after the character", Kind::Event, "12,13 0 0 0 表\n", {"表です。"}},
        {"underscore after the character", Kind::Week, "5/12 5/12 予_表\n", {"予 表です。"}},
        {"full stop after the character", Kind::Week, "5/12 5/12 十.\n", {"十"}},
        // the second date of a history entry, and its text
        {"birth with the death date",
         Kind::History,
         "1900/5/12 B ? 能登_十郎\n",
         {"1900/5/12 能登 十郎 生誕"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sectionTexts(c), c.shown) << c.name;
    }
}

// The line reader keeps a character whole when a read of the file ends between its two
// bytes, whatever the size of the reads (a comment line of the right length puts 表 there).
TEST(ShiftJisTraps, CharacterAcrossTheEndOfARead)
{
    test::TempHome home;
    const std::string entry = "1990/5/12 x 表"; // 表 is bytes 12 and 13 in Shift-JIS
    for (const std::size_t read :
         {std::size_t{1} << 16, std::size_t{1} << 17, std::size_t{1} << 18, std::size_t{1} << 19}) {
        for (const std::size_t trailAt : {read - 1, read, read + 1}) {
            const std::string filler(trailAt - 13 - 2 - 1, 'x');
            home.writeTable("T.TBL", "#" + filler + "\n" + entry + "\n" + entry);
            TableReader reader(home.file("T.TBL"));
            std::string line;
            ASSERT_TRUE(test::nextLine(reader, line));
            EXPECT_EQ(line.size(), filler.size() + 1);
            for (int i = 0; i < 2; ++i) {
                ASSERT_TRUE(test::nextLine(reader, line)) << read << " " << trailAt;
                EXPECT_EQ(line, entry) << read << " " << trailAt;
            }
            EXPECT_FALSE(test::nextLine(reader, line));
        }
    }
}

// Paths in TIRA.ini are Shift-JIS too: a folder or file named with these characters is
// found, and its second bytes are not taken for the path's "\" separators.
TEST(ShiftJisTraps, PathsWithTheCharacters)
{
    test::ReminderHarness h(Kind::Birthday);
    h.home.writeTable("予定表/能力.TBL", "1990/5/12 x 申\n");
    h.home.writeTable("TIRA.ini", "[Common]\nBirthday=1\nSchedule=0\nEvent=0\nHistory=0\n"
                                  "Week=0\n[Birthday]\nCount=1\nFile0=.\\予定表\\能力.TBL\n");
    h.state.settings = loadSettings(h.home.file("TIRA.ini"), h.home.path());
    ASSERT_EQ(h.state.settings.filesOf(Kind::Birthday), (Lines{".\\予定表\\能力.TBL"}));
    h.state.settings.Age = 0;
    EXPECT_EQ(h.texts(kDay), (Lines{"今日は 申 さんの 誕生日です。"}));
    // the completed path keeps the characters (it is what TIRA.ini gets back at close)
    EXPECT_EQ(h.state.settings.filesOf(Kind::Birthday).front(),
              homePrefix(h.home.path()) + "予定表\\能力.TBL");
}

} // namespace
} // namespace tira
