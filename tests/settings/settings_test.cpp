#include "settings/settings.h"
#include "support/temp_home.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tira {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A home folder with TIRA.ini helpers.
class IniHome : public test::TempHome
{
  public:
    std::string ini() const { return file("TIRA.ini"); }
    std::string prefix() const { return homePrefix(path()); }
    Settings load() const { return loadSettings(ini(), path()); }
    // Writes the ini as a Windows program would: CP932, CR LF.
    void writeIni(std::string_view utf8Lines) const { writeTable("TIRA.ini", utf8Lines); }
    Settings loadFrom(std::string_view utf8Lines) const
    {
        writeIni(utf8Lines);
        return load();
    }
    // The saved file decoded, one entry per CR LF line.
    std::vector<std::string> savedLines() const
    {
        const std::string bytes = readBytes("TIRA.ini");
        const std::string text = cp932ToUtf8(bytes);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                EXPECT_EQ(text.substr(i, 2), "\r\n") << "CR at " << i;
            } else if (text[i] == '\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "LF at " << i;
            }
        }
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(pos, end - pos));
            pos = end + 2;
        }
        return lines;
    }
};

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::ptrdiff_t indexOf(const std::vector<std::string>& lines, const std::string& line)
{
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : it - lines.begin();
}

TEST(Settings, DefaultsWithoutAFile)
{
    IniHome home;
    const Settings s = home.load();
    EXPECT_EQ(s.Place.Left, 0);
    EXPECT_EQ(s.Place.Top, 0);
    EXPECT_EQ(s.Place.Width, 400);
    EXPECT_EQ(s.Place.Height, 400);
    EXPECT_EQ(s.Jyun, (std::array<std::uint8_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(s.Birthday + s.Schedule + s.Event + s.History + s.Week, 5);
    EXPECT_EQ(s.HistMeiTan + s.Koumoku + s.StopEnd + s.ZengEnd + s.Sotowaku + s.WavOn + s.TopOn +
                  s.EditOk + s.IncME + s.IncMH,
              0);
    EXPECT_EQ(s.Age + s.Comment + s.Yuusen + s.YsenE + s.YsenH, 5);
    EXPECT_EQ(s.AutoEnd, 0);
    EXPECT_EQ(s.WavFile, "");
    EXPECT_EQ(s.Edit, defaultEditor());
    EXPECT_EQ(s.EveMFile, home.prefix() + "EVENT%m.TBL");
    EXPECT_EQ(s.HisMFile, home.prefix() + "HIST%m.TBL");
    EXPECT_EQ(s.Holiday, "");
    EXPECT_EQ(s.Font.Name, "ＭＳ ゴシック");
    EXPECT_EQ(s.Font.Size, 10);
    EXPECT_EQ(s.Font.Style, 0);
    EXPECT_EQ(s.BackF, 12632256u);
    EXPECT_EQ(s.WFC, 8388608u);
    for (const auto& list : s.files)
        EXPECT_TRUE(list.empty());
    EXPECT_FALSE(fs::exists(home.ini())); // loading writes nothing
}

TEST(Settings, EmptyOrUnreadableFileGivesDefaults)
{
    IniHome home;
    EXPECT_EQ(home.loadFrom("").AutoEnd, 0);
    fs::remove(home.ini());
    fs::create_directory(home.ini());
    const Settings s = home.load();
    EXPECT_EQ(s.Place.Width, 400);
    EXPECT_EQ(s.Edit, defaultEditor());
}

TEST(Settings, FirstSaveWritesEveryKeyInOrder)
{
    IniHome home;
    saveSettings(home.load(), home.ini());
    const std::string p = home.prefix();
    const std::vector<std::string> expected = {"[Place]",
                                               "Left=0",
                                               "Top=0",
                                               "Width=400",
                                               "Height=400",
                                               "",
                                               "[Common]",
                                               "Jyun1=1",
                                               "Jyun2=2",
                                               "Jyun3=3",
                                               "Jyun4=4",
                                               "Jyun5=5",
                                               "Birthday=1",
                                               "Schedule=1",
                                               "Event=1",
                                               "History=1",
                                               "HistMeiTan=0",
                                               "Koumoku=0",
                                               "Week=1",
                                               "Age=1",
                                               "Comment=1",
                                               "AutoEnd=0",
                                               "StopEnd=0",
                                               "ZengEnd=0",
                                               "Yuusen=1",
                                               "Sotowaku=0",
                                               "WavOn=0",
                                               "TopOn=0",
                                               "EditOk=0",
                                               "WavFile=",
                                               "Edit=" + defaultEditor(),
                                               "IncME=0",
                                               "YsenE=1",
                                               "EveMFile=" + p + "EVENT%m.TBL",
                                               "IncMH=0",
                                               "YsenH=1",
                                               "HisMFile=" + p + "HIST%m.TBL",
                                               "Holiday=",
                                               "",
                                               "[Font]",
                                               "Name=ＭＳ ゴシック",
                                               "Size=10",
                                               "Style=0",
                                               "",
                                               "[Color]",
                                               "BaseF=0",
                                               "StopF=255",
                                               "ZengoF=65535",
                                               "BackF=12632256",
                                               "BaseB=0",
                                               "StopB=255",
                                               "ZengoB=65535",
                                               "Meinichi=8421504",
                                               "Tanjyou=16776960",
                                               "BFC=0",
                                               "SFC=128",
                                               "EFC=32768",
                                               "HFC=32896",
                                               "WFC=8388608",
                                               "",
                                               "[Birthday]",
                                               "Count=0",
                                               "",
                                               "[Schedule]",
                                               "Count=0",
                                               "",
                                               "[Event]",
                                               "Count=0",
                                               "",
                                               "[History]",
                                               "Count=0",
                                               "",
                                               "[Week]",
                                               "Count=0"};
    EXPECT_EQ(home.savedLines(), expected);
    // CP932 on disk: ＭＳ is 0x82 0x6C 0x82 0x72
    EXPECT_NE(home.readBytes("TIRA.ini").find("Name=\x82\x6C\x82\x72"), std::string::npos);
    EXPECT_FALSE(fs::exists(settingsTempPath(home.ini())));
}

TEST(Settings, IntegerValueForms)
{
    struct Case
    {
        const char* value;
        std::int32_t autoEnd; // default 0
    };
    const Case cases[] = {
        {"30", 30},
        {"0x1E", 30},
        {"0X1e", 30},
        {"$1E", 30},
        {"$001e", 30},
        {"-5", -5},
        {"+7", 7},
        {" 42 ", 42},
        {"\"45\"", 45},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"0xFFFFFFFF", -1},
        {"$80000000", INT_MIN},
        {"-0x10", -16},
        // not an integer: the default
        {"", 0},
        {"abc", 0},
        {"12abc", 0},
        {"1 2", 0},
        {"1.5", 0},
        {"0x", 0},
        {"$", 0},
        {"-", 0},
        {"--5", 0},
        {"0x-5", 0},
        {"0xG", 0},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"0x100000000", 0},
        {"99999999999999999999999", 0},
    };
    IniHome home;
    for (const auto& c : cases) {
        const Settings s = home.loadFrom(std::string("[Common]\nAutoEnd=") + c.value + "\n");
        EXPECT_EQ(s.AutoEnd, c.autoEnd) << "AutoEnd=" << c.value;
        if (c.value[0] != '"') { // quotes belong to the value's text, not to the number
            EXPECT_EQ(parseProfileInt(c.value).value_or(0), c.autoEnd) << c.value;
        }
    }
    // a bad value gives the key's own default, not 0
    EXPECT_EQ(home.loadFrom("[Place]\nWidth=wide\n").Place.Width, 400);
    EXPECT_EQ(home.loadFrom("[Font]\nSize=\n").Font.Size, 10);
}

TEST(Settings, SwitchesAndBytesKeepTheLowByte)
{
    struct Case
    {
        const char* value;
        std::uint8_t byte;
    };
    const Case cases[] = {
        {"0", 0},    {"1", 1},     {"2", 2},      {"255", 255}, {"256", 0}, {"257", 1},
        {"-1", 255}, {"0x100", 0}, {"$1FF", 255}, {"x", 1}, // not an integer: the default (on)
    };
    IniHome home;
    for (const auto& c : cases) {
        const Settings s =
            home.loadFrom(std::string("[Common]\nBirthday=") + c.value + "\nJyun3=" + c.value);
        EXPECT_EQ(s.Birthday, c.byte) << c.value;
        EXPECT_EQ(s.Jyun[2], std::string(c.value) == "x" ? 3 : c.byte) << c.value;
    }
}

TEST(Settings, ColoursAreWrittenAsSignedDecimals)
{
    IniHome home;
    Settings s = home.loadFrom("[Color]\nStopF=0x00FF00\nZengoF=-1\nBackF=$80000000\n");
    EXPECT_EQ(s.StopF, 0x00FF00u);
    EXPECT_EQ(s.ZengoF, 0xFFFFFFFFu);
    EXPECT_EQ(s.BackF, 0x80000000u);
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_TRUE(contains(lines, "StopF=65280"));
    EXPECT_TRUE(contains(lines, "ZengoF=-1"));
    EXPECT_TRUE(contains(lines, "BackF=-2147483648"));
    const Settings again = home.load();
    EXPECT_EQ(again.ZengoF, 0xFFFFFFFFu);
    EXPECT_EQ(again.BackF, 0x80000000u);
}

TEST(Settings, HexIsReadAndWrittenBackInDecimal)
{
    IniHome home;
    const Settings s = home.loadFrom("[Common]\nAutoEnd=0x1E\n");
    EXPECT_EQ(s.AutoEnd, 30);
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_TRUE(contains(lines, "AutoEnd=30"));
    EXPECT_FALSE(contains(lines, "AutoEnd=0x1E"));
}

TEST(Settings, TextValues)
{
    IniHome home;
    Settings s = home.loadFrom("[Common]\nWavFile=\"C:\\Sound\\ring a.wav\"\nEdit=\n"
                               "[Font]\nName='Noto Sans CJK JP'\n");
    EXPECT_EQ(s.WavFile, "C:\\Sound\\ring a.wav");
    EXPECT_EQ(s.Edit, ""); // present but empty is not missing
    EXPECT_EQ(s.Font.Name, "Noto Sans CJK JP");

    const std::string ascii(3000, 'a');
    s = home.loadFrom("[Common]\nWavFile=" + ascii + "\n");
    EXPECT_EQ(s.WavFile, std::string(2047, 'a'));
    std::string kana;
    for (int i = 0; i < 1500; ++i)
        kana += "あ"; // two bytes each in the file
    s = home.loadFrom("[Common]\nWavFile=x" + kana + "\n");
    EXPECT_EQ(s.WavFile, "x" + kana.substr(0, 1023 * 3));
    s = home.loadFrom("[Common]\nWavFile=" + kana + "\n");
    EXPECT_EQ(s.WavFile, kana.substr(0, 1023 * 3)); // a character is never cut in two
}

TEST(Settings, SectionsAndKeysIgnoreCaseAndTheFirstDuplicateWins)
{
    IniHome home;
    const Settings s = home.loadFrom("AutoEnd=99\n" // before any section
                                     "[common]\nautoend=30\nAUTOEND=60\nage=0\n"
                                     "[COLOR]\nbasef=255\n[place]\nLEFT=5\nLeft=6\n");
    EXPECT_EQ(s.AutoEnd, 30);
    EXPECT_EQ(s.Age, 0);
    EXPECT_EQ(s.BaseF, 255u);
    EXPECT_EQ(s.Place.Left, 5);
}

TEST(Settings, SaveReplacesTheFirstDuplicateAndKeepsTheRest)
{
    IniHome home;
    Settings s = home.loadFrom("[Common]\nAutoEnd=30\nAutoEnd=60\n");
    s.AutoEnd = 45;
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_TRUE(contains(lines, "AutoEnd=45"));
    EXPECT_TRUE(contains(lines, "AutoEnd=60"));
    EXPECT_LT(indexOf(lines, "AutoEnd=45"), indexOf(lines, "AutoEnd=60"));
    EXPECT_EQ(home.load().AutoEnd, 45);
}

TEST(Settings, MonthlyPatternsAreCompletedAtLoad)
{
    IniHome home;
    const Settings s = home.loadFrom("[Common]\nEveMFile=.\\data\\EV%m.TBL\n"
                                     "HisMFile=.\\HI%m.TBL\nHoliday=.\\HOLI.TBL\n"
                                     "WavFile=.\\a.wav\n");
    EXPECT_EQ(s.EveMFile, home.prefix() + "data\\EV%m.TBL");
    EXPECT_EQ(s.HisMFile, home.prefix() + "HI%m.TBL");
    // completed by their users when first used
    EXPECT_EQ(s.Holiday, ".\\HOLI.TBL");
    EXPECT_EQ(s.WavFile, ".\\a.wav");
    saveSettings(s, home.ini());
    EXPECT_TRUE(contains(home.savedLines(), "EveMFile=" + home.prefix() + "data\\EV%m.TBL"));

    const Settings relative = home.loadFrom("[Common]\nEveMFile=data\\EV%m.TBL\n");
    EXPECT_EQ(relative.EveMFile, "data\\EV%m.TBL");
}

TEST(Settings, HolidayDefaultDependsOnTheHolidayFile)
{
    IniHome home;
    EXPECT_EQ(home.load().Holiday, "");
    home.writeTable("TIRAHOLI.TBL", "1/1 元日\n");
    const Settings s = home.load();
    EXPECT_EQ(s.Holiday, home.prefix() + "TIRAHOLI.TBL");
    saveSettings(s, home.ini());
    EXPECT_TRUE(contains(home.savedLines(), "Holiday=" + home.prefix() + "TIRAHOLI.TBL"));
    // a key that is there wins, even when empty
    EXPECT_EQ(home.loadFrom("[Common]\nHoliday=\n").Holiday, "");
}

TEST(Settings, FileListCounts)
{
    struct Case
    {
        const char* ini;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"[Event]\nCount=2\nFile0=a.TBL\nFile1=b.TBL\nFile2=c.TBL\n", {"a.TBL", "b.TBL"}},
        {"[event]\ncount=0x2\nfile0=a.TBL\nfile1=b.TBL\n", {"a.TBL", "b.TBL"}},
        {"[Event]\nCount=3\nFile0=a.TBL\nFile2=c.TBL\n", {"a.TBL", "c.TBL"}}, // no nameless
        {"[Event]\nCount=3\nFile0=\nFile1= \nFile2=c.TBL\n", {"c.TBL"}},
        {"[Event]\nCount=-5\nFile0=a.TBL\n", {}},
        {"[Event]\nCount=many\nFile0=a.TBL\n", {}},
        {"[Event]\nFile0=a.TBL\n", {}},
        {"[Common]\nEvent=1\nCount=1\nFile0=a.TBL\n", {}}, // another section's Count
    };
    IniHome home;
    for (const auto& c : cases) {
        const Settings s = home.loadFrom(c.ini);
        EXPECT_EQ(s.filesOf(Kind::Event), c.files) << c.ini;
        EXPECT_TRUE(s.filesOf(Kind::Birthday).empty()) << c.ini;
    }
}

TEST(Settings, FileListHoldsAtMost1024Paths)
{
    IniHome home;
    std::string ini = "[Week]\nCount=99999\n";
    for (int i = 0; i < 1100; ++i)
        ini += "File" + std::to_string(i) + "=W" + std::to_string(i) + ".TBL\n";
    const Settings s = home.loadFrom(ini);
    ASSERT_EQ(s.filesOf(Kind::Week).size(), kMaxFilesPerKind);
    EXPECT_EQ(s.filesOf(Kind::Week).back(), "W1023.TBL");
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_TRUE(contains(lines, "Count=1024"));
    EXPECT_TRUE(contains(lines, "File1099=W1099.TBL")); // not ours: left alone
}

TEST(Settings, LoweredCountLeavesTheHigherFileKeys)
{
    IniHome home;
    Settings s = home.loadFrom("[Birthday]\nCount=5\nFile0=A.TBL\nFile1=B.TBL\nFile2=C.TBL\n"
                               "File3=D.TBL\nFile4=E.TBL\n");
    auto& files = s.filesOf(Kind::Birthday);
    files.resize(3);
    files[2] = "Z.TBL";
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_TRUE(contains(lines, "Count=3"));
    EXPECT_TRUE(contains(lines, "File2=Z.TBL"));
    EXPECT_TRUE(contains(lines, "File3=D.TBL"));
    EXPECT_TRUE(contains(lines, "File4=E.TBL"));
    EXPECT_EQ(home.load().filesOf(Kind::Birthday),
              (std::vector<std::string>{"A.TBL", "B.TBL", "Z.TBL"}));
}

TEST(Settings, PlaceIsClampedOnSave)
{
    struct Case
    {
        std::int32_t left, top, width, height;
        std::int32_t savedLeft, savedTop, savedWidth, savedHeight;
    };
    const Case cases[] = {
        {10, 20, 500, 600, 10, 20, 500, 600},
        {-5, -1, 400, 401, 0, 0, 400, 401},
        {0, 0, 351, 400, 0, 0, 351, 400},
        {0, 0, 350, 399, 0, 0, 350, 400},
        {0, 0, 100, 100, 0, 0, 350, 400},
        {INT_MIN, 3, -10, 0, 0, 3, 350, 400},
        {INT_MAX, 0, INT_MAX, INT_MAX, INT_MAX, 0, INT_MAX, INT_MAX},
    };
    IniHome home;
    for (const auto& c : cases) {
        Settings s;
        s.Place = {c.left, c.top, c.width, c.height};
        saveSettings(s, home.ini());
        const Settings again = home.load();
        EXPECT_EQ(again.Place.Left, c.savedLeft) << c.left;
        EXPECT_EQ(again.Place.Top, c.savedTop) << c.top;
        EXPECT_EQ(again.Place.Width, c.savedWidth) << c.width;
        EXPECT_EQ(again.Place.Height, c.savedHeight) << c.height;
    }
}

TEST(Settings, RoundTripKeepsForeignSectionsKeysAndComments)
{
    IniHome home;
    home.writeIni("; 設定ファイル\n"
                  "\n"
                  "[Place]\n"
                  "Left=12\n"
                  "; my own note\n"
                  "Monitor=2\n"
                  "[Plugins]\n"
                  "Name=日本語の値\n"
                  "[Common]\n"
                  "Extra=ソ表\\\n"
                  "Jyun1=5\n"
                  "Jyun5=1\n"
                  "; the last words\n");
    Settings s = home.load();
    EXPECT_EQ(s.Place.Left, 12);
    EXPECT_EQ(s.Jyun[0], 5);
    s.AutoEnd = 60;
    s.filesOf(Kind::Schedule) = {"予定.TBL"};
    saveSettings(s, home.ini());

    const auto lines = home.savedLines();
    for (const char* line : {"; 設定ファイル", "; my own note", "Monitor=2", "[Plugins]",
                             "Name=日本語の値", "Extra=ソ表\\", "; the last words", "Left=12",
                             "Jyun1=5", "Jyun5=1", "AutoEnd=60", "File0=予定.TBL"})
        EXPECT_TRUE(contains(lines, line)) << line;
    // the note stays with its key, the last comment where it was, ahead of the sections added
    EXPECT_EQ(indexOf(lines, "; my own note") + 1, indexOf(lines, "Monitor=2"));
    EXPECT_EQ(indexOf(lines, "; the last words") + 2, indexOf(lines, "[Font]"));
    // our keys are written where they were, new ones at the end of their section
    EXPECT_LT(indexOf(lines, "Extra=ソ表\\"), indexOf(lines, "Jyun1=5"));
    EXPECT_LT(indexOf(lines, "Jyun5=1"), indexOf(lines, "Jyun2=2"));
    EXPECT_LT(indexOf(lines, "Jyun2=2"), indexOf(lines, "[Font]"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Jyun1=5"), 1);

    const Settings again = home.load();
    EXPECT_EQ(again.AutoEnd, 60);
    EXPECT_EQ(again.filesOf(Kind::Schedule), (std::vector<std::string>{"予定.TBL"}));
    // a second save of the same settings changes nothing
    const std::string first = home.readBytes("TIRA.ini");
    saveSettings(again, home.ini());
    EXPECT_EQ(home.readBytes("TIRA.ini"), first);
}

TEST(Settings, KeysBeforeAnySectionAreKeptButNotRead)
{
    IniHome home;
    const Settings s = home.loadFrom("AutoEnd=99\n[Common]\nAge=0\n");
    EXPECT_EQ(s.AutoEnd, 0);
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_EQ(lines.front(), "AutoEnd=99");
    EXPECT_TRUE(contains(lines, "AutoEnd=0"));
    EXPECT_EQ(home.load().AutoEnd, 0);
}

TEST(Settings, TextsThatCp932CannotHoldSwitchTheFileToUtf8)
{
    IniHome home;
    Settings s = home.load();
    s.WavFile = "/home/josé/ring.wav";
    saveSettings(s, home.ini());
    EXPECT_EQ(home.readBytes("TIRA.ini").substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(home.load().WavFile, "/home/josé/ring.wav");
    // a file that is UTF-8 stays UTF-8
    s.WavFile = "ring.wav";
    s.Font.Name = "ゴシック";
    saveSettings(s, home.ini());
    const std::string bytes = home.readBytes("TIRA.ini");
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("Name=ゴシック"), std::string::npos);
    EXPECT_EQ(home.load().Font.Name, "ゴシック");
}

TEST(Settings, LineEndsInsideTextsDoNotSplitEntries)
{
    IniHome home;
    Settings s = home.load();
    s.Edit = "vi\r\n[Common]\nAutoEnd=5";
    saveSettings(s, home.ini());
    const Settings again = home.load();
    EXPECT_EQ(again.AutoEnd, 0);
    EXPECT_EQ(again.Edit, "vi[Common]AutoEnd=5");
}

// The save edits the file in place: only the values of the program's own keys change, a
// missing key goes after the last entry of its section, a missing section at the end;
// every other byte stays. Each case edits a complete saved file into `before`, changes the
// settings it loads, and edits `before` into the file the save must write.
TEST(Settings, SaveEditsTheFileInPlace)
{
    using Edits = std::vector<std::pair<std::string, std::string>>; // every match; "" appends
    struct Case
    {
        const char* name;
        Edits before;
        void (*change)(Settings&);
        Edits after;
        std::vector<std::string> birthdays; // as loaded from `before`
    };
    const auto edited = [](std::string text, const Edits& edits) {
        for (const auto& [from, to] : edits) {
            if (from.empty()) text += to;
            for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != text.npos;
                 at += to.size())
                text.replace(at, from.size(), to);
        }
        return text;
    };
    const std::string cp932Font = "Name=" + utf8ToCp932("ＭＳ ゴシック");
    const Case cases[] = {
        {"foreign lines, spacing and case",
         {{"[Common]\r\n",
           "[Common] ; mine [x]\r\nforeign key = spaced value  \r\n\tlead=tab\r\nkeyonly\r\n"},
          {"AutoEnd=0\r\n", "\tautoend = 0  \r\n"},
          {"[Place]", "[place]"}},
         [](Settings& s) {
             s.AutoEnd = 30;
             s.Place.Left = 7;
         },
         {{"\tautoend = 0  ", "\tautoend = 30  "}, {"Left=0", "Left=7"}},
         {}},
        {"LF line ends, a key and a section missing, no last line end",
         {{"\r\n", "\n"},
          {"Holiday=\n", ""},
          {"\n\n[Font]", "\n; end of Common\n\n[Font]"},
          {"\n\n[Week]\nCount=0\n", ""}},
         [](Settings&) {},
         {{"\n; end of Common", "\nHoliday=\n; end of Common"}, {"", "\n\n[Week]\nCount=0\n"}},
         {}},
        {"Count beyond the files present",
         {{"[Birthday]\r\nCount=0", "[Birthday]\r\nCount=3\r\nFile0=a.TBL"},
          {"[Week]\r\nCount=0", "[Week]\r\nCount=1000000"}},
         [](Settings&) {},
         {{"Count=3", "Count=1"}, {"Count=1000000", "Count=0"}},
         {"a.TBL"}},
        {"UTF-8 file with a stray Latin-1 byte in a foreign section",
         {{cp932Font, "Name=ＭＳ ゴシック"},
          {"[Place]", "[Other]\r\nx=caf\xE9\r\n\r\n[Place]"},
          {"[Birthday]\r\nCount=0", "[Birthday]\r\nCount=1\r\nFile0=/home/山田/予定.TBL"}},
         [](Settings& s) { s.Font.Name = "ＭＳ 明朝"; },
         {{"Name=ＭＳ ゴシック", "Name=ＭＳ 明朝"}},
         {"/home/山田/予定.TBL"}},
    };
    for (const Case& c : cases) {
        IniHome home;
        saveSettings(home.load(), home.ini());
        const std::string before = edited(home.readBytes("TIRA.ini"), c.before);
        home.writeBytes("TIRA.ini", before);
        Settings s = home.load();
        EXPECT_EQ(s.filesOf(Kind::Birthday), c.birthdays) << c.name;
        c.change(s);
        saveSettings(s, home.ini());
        EXPECT_EQ(home.readBytes("TIRA.ini"), edited(before, c.after)) << c.name;
    }
}

class FailedSave : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        home.writeIni("[Common]\nAutoEnd=30\n; keep me\n[Other]\nx=1\n");
        before = home.readBytes("TIRA.ini");
        settings = home.load();
        settings.AutoEnd = 90;
    }
    void expectFailure()
    {
        try {
            saveSettings(settings, home.ini());
            FAIL() << "the save did not fail";
        } catch (const SettingsWriteError& error) {
            EXPECT_EQ(std::string(error.what()), home.ini() + " に書き込めません");
            EXPECT_EQ(error.path(), home.ini());
        }
        EXPECT_EQ(home.readBytes("TIRA.ini"), before);
    }

    IniHome home;
    std::string before;
    Settings settings;
};

TEST_F(FailedSave, TemporaryFileCannotBeCreated)
{
    const std::string temp = settingsTempPath(home.ini());
    fs::create_directory(temp);
    home.writeBytes(fs::path(temp).filename().string() + "/inside", "x");
    expectFailure();
    EXPECT_TRUE(fs::is_directory(temp)); // not ours to remove
}

TEST_F(FailedSave, ReadOnlyFolder)
{
    fs::permissions(home.path(), fs::perms::owner_read | fs::perms::owner_exec);
    {
        std::ofstream probe(home.file("probe"));
        if (probe) {
            probe.close();
            fs::remove(home.file("probe"));
            GTEST_SKIP() << "this user writes into read-only folders";
        }
    }
    expectFailure();
    EXPECT_FALSE(fs::exists(settingsTempPath(home.ini())));
}

// A file made read-only is kept, also for a user whom the permission bits do not stop.
TEST_F(FailedSave, ReadOnlyFile)
{
    fs::permissions(home.ini(), fs::perms(0444));
    expectFailure();
    EXPECT_FALSE(fs::exists(settingsTempPath(home.ini())));
}

TEST_F(FailedSave, FolderIsMissing)
{
    const std::string ini = home.file("gone/TIRA.ini");
    try {
        saveSettings(settings, ini);
        FAIL() << "the save did not fail";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(std::string(error.what()), ini + " に書き込めません");
    }
}

TEST(Settings, GarbledFiles)
{
    IniHome home;
    std::mt19937 random(20240512);
    std::string binary;
    for (int i = 0; i < 1 << 16; ++i)
        binary.push_back(static_cast<char>(random() & 0xFF));
    home.writeBytes("TIRA.ini", binary + "\r\n[Common]\r\nAutoEnd=30\r\n");
    Settings s = home.load();
    EXPECT_EQ(s.AutoEnd, 30);
    saveSettings(s, home.ini());
    EXPECT_EQ(home.load().AutoEnd, 30);

    // binary bytes, NUL among them, do not hide the keys that follow
    home.writeBytes("TIRA.ini", "[Common]\r\nWavFile=a\0b\x1A\r\nAge=0\r\n"s);
    EXPECT_EQ(home.load().Age, 0);

    // a 6 MB value and a 6 MB line that is no entry at all (together under the size limit)
    const std::string huge(6u << 20, 'a');
    home.writeBytes("TIRA.ini",
                    "[Common]\r\nWavFile=" + huge + "\r\n" + huge + "\r\nComment=0\r\n");
    s = home.load();
    EXPECT_EQ(s.WavFile.size(), 2047u);
    EXPECT_EQ(s.Comment, 0);
    saveSettings(s, home.ini());
    EXPECT_EQ(home.load().Comment, 0);

    // sections without their bracket, keys without a value
    s = home.loadFrom("[Common\nAutoEnd=30\n[Common]\nAge\n=5\nComment=0\n[]\nAutoEnd=7\n");
    EXPECT_EQ(s.Age, 1);
    EXPECT_EQ(s.Comment, 0);
    EXPECT_EQ(s.AutoEnd, 0);
}

// A header without its closing bracket used to take the next key into a section name that
// the save wrote over two lines, so every close added one line to the file.
TEST(Settings, SectionWithoutItsBracketStaysALineOfItsOwn)
{
    IniHome home;
    const Settings s = home.loadFrom("[Common\nAutoEnd=30\n[Common]\nComment=0\n[]\nAutoEnd=7\n");
    EXPECT_EQ(s.AutoEnd, 0);
    EXPECT_EQ(s.Comment, 0);
    saveSettings(s, home.ini());
    const auto lines = home.savedLines();
    EXPECT_EQ(lines.front(), "[Common");
    EXPECT_TRUE(contains(lines, "AutoEnd=30"));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[Common]"), 1);

    const std::string first = home.readBytes("TIRA.ini");
    for (int close = 0; close < 3; ++close)
        saveSettings(home.load(), home.ini());
    EXPECT_EQ(home.readBytes("TIRA.ini"), first);
}

} // namespace
} // namespace tira

namespace tira {
namespace {

#ifndef _WIN32
// What is there but cannot be read is reported, gives the defaults and is never replaced.
TEST(Settings, UnreadableFileIsReportedAndLeftAlone)
{
    struct Case
    {
        const char* name;
        void (*make)(const std::string& ini);
        const char* reason;
    };
    const Case cases[] = {
        {"folder", [](const std::string& ini) { fs::create_directory(ini); }, "Is a directory"},
        {"FIFO", [](const std::string& ini) { ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0); },
         "not a regular file"},
        {"link to a device", [](const std::string& ini) { fs::create_symlink("/dev/zero", ini); },
         "not a regular file"},
        {"over 16 MiB",
         [](const std::string& ini) {
             std::ofstream(ini) << "[Common]\r\nAutoEnd=30\r\n";
             fs::resize_file(ini, (16u << 20) + 1);
         },
         "File too large"},
    };
    for (const Case& c : cases) {
        IniHome home;
        c.make(home.ini());
        std::string problem;
        const Settings s = loadSettings(home.ini(), home.path(), &problem);
        EXPECT_EQ(problem, std::string("TIRA.ini を読めません: ") + c.reason) << c.name;
        EXPECT_EQ(s.AutoEnd, 0) << c.name;
        EXPECT_THROW(saveSettings(s, home.ini()), SettingsWriteError) << c.name;
        EXPECT_FALSE(fs::exists(settingsTempPath(home.ini()))) << c.name;
    }
    IniHome home; // nothing there is no problem
    std::string problem;
    loadSettings(home.ini(), home.path(), &problem);
    EXPECT_EQ(problem, "");
}

TEST(Settings, LinkedFileStaysALink)
{
    IniHome home;
    fs::create_directory(home.file("dotfiles"));
    const std::string target = home.file("dotfiles/TIRA.ini");
    home.writeBytes("dotfiles/TIRA.ini", "[Common]\r\nAutoEnd=30\r\n");
    fs::create_symlink("dotfiles/TIRA.ini", home.ini()); // relative, as dotfile tools make them
    Settings s = home.load();
    EXPECT_EQ(s.AutoEnd, 30);
    s.AutoEnd = 45;
    saveSettings(s, home.ini());
    EXPECT_TRUE(fs::is_symlink(home.ini()));
    EXPECT_EQ(fs::read_symlink(home.ini()), "dotfiles/TIRA.ini");
    EXPECT_EQ(home.load().AutoEnd, 45);
    EXPECT_FALSE(fs::exists(settingsTempPath(target)));

    // a dangling link is followed to create the file it names
    fs::remove(target);
    saveSettings(s, home.ini());
    EXPECT_TRUE(fs::is_symlink(home.ini()));
    EXPECT_TRUE(fs::is_regular_file(target));
    EXPECT_EQ(home.load().AutoEnd, 45);
}

TEST(Settings, SaveKeepsThePermissions)
{
    const mode_t umask = ::umask(077); // what the save must not impose on the file
    for (const auto permissions : {fs::perms(0600), fs::perms(0640), fs::perms(0664)}) {
        IniHome home;
        home.writeBytes("TIRA.ini", "[Common]\r\n");
        fs::permissions(home.ini(), permissions);
        saveSettings(home.load(), home.ini());
        EXPECT_EQ(fs::status(home.ini()).permissions(), permissions);
    }
    ::umask(umask);
}
#endif

// Sections, keys and values the program does not own come back exactly as they were read,
// whatever their bytes; a UTF-8 file stays UTF-8.
TEST(Settings, ForeignBytesSurviveASave)
{
    struct Case
    {
        const char* name;
        std::string head;    // ahead of the program's own keys
        std::string foreign; // bytes that must come back unchanged
        std::string bom;     // what the saved file starts with
    };
    const Case cases[] = {
        {"CP932 with bytes it has no character for", "[Common]\r\nWavFile=a.wav\r\n",
         "[Other]\r\nbad=\x80\xA0\xFD\xFE\xFF\r\nlone=x\x81\r\nnul=a"s + '\0' +
             "b\r\nnec=\xED\x40\xFA\x5C\x87\x90\r\nkana=\xB1\xB2\r\n",
         ""},
        {"UTF-8 without byte-order mark", "[Common]\r\nWavFile=千.wav\r\n",
         "[外]\r\n千=\xE5\x8D\x83\xEF\x9C\x80\r\n", ""},
        {"UTF-8 with byte-order mark and a bad byte", "\xEF\xBB\xBF[Common]\r\n",
         "[Other]\r\nbad=\xE5\x8D\xFF\r\n", "\xEF\xBB\xBF"},
    };
    for (const Case& c : cases) {
        IniHome home;
        home.writeBytes("TIRA.ini", c.head + c.foreign);
        Settings s = home.load();
        if (c.head.find("千") != std::string::npos) {
            EXPECT_EQ(s.WavFile, "千.wav") << c.name;
        }
        s.AutoEnd = 12;
        s.Font.Name = "ＭＳ 明朝";
        saveSettings(s, home.ini());
        const std::string saved = home.readBytes("TIRA.ini");
        EXPECT_NE(saved.find(c.foreign), std::string::npos) << c.name;
        EXPECT_EQ(saved.substr(0, 3) == "\xEF\xBB\xBF", !c.bom.empty()) << c.name;
        const Settings again = home.load();
        EXPECT_EQ(again.AutoEnd, 12) << c.name;
        EXPECT_EQ(again.Font.Name, "ＭＳ 明朝") << c.name;
        saveSettings(again, home.ini());
        EXPECT_EQ(home.readBytes("TIRA.ini"), saved) << c.name << ": a second save changes nothing";
    }
}

} // namespace
} // namespace tira
