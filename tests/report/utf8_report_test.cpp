// The same tables written in CP932 and in UTF-8 (no byte-order mark) give the same report.
#include "cli/recording_pane.h"
#include "report/main_state.h"
#include "support/temp_home.h"
#include "text/cp932.h"
#include "text/paths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace tira {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TIRA_SOURCE_DIR) / "examples" / "home";

// Copies the sample home; with `utf8`, every table file is rewritten in UTF-8.
void copyExamples(const test::TempHome& home, bool utf8)
{
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        const std::string name = fromFsPath(entry.path().filename());
        std::ifstream in(entry.path(), std::ios::binary);
        ASSERT_TRUE(in) << name;
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const bool table = name.size() > 4 && name.substr(name.size() - 4) == ".TBL";
        if (utf8 && table) {
            const std::string converted = cp932ToUtf8(bytes);
            ASSERT_NE(converted, bytes) << name << " has no Japanese text to tell the encodings";
            bytes = converted;
        }
        home.writeBytes(name, bytes);
    }
}

struct Report
{
    std::vector<RecordingPane::Line> lines;
    WinColour background = 0;
};

std::vector<Report> reportsOfTheYear(const test::TempHome& home)
{
    RecordingPane pane;
    FixedClock clock({2026, 1, 1, 9, 5});
    MainState state(home.path(), pane, pane, clock);
    state.settings = loadSettings(home.file("TIRA.ini"), home.path());
    state.settings.Yuusen = 0; // the lines' own colour words show too
    std::vector<Report> reports;
    for (std::uint16_t month = 1; month <= 12; ++month) {
        for (std::uint16_t day = 1; day <= daysInMonth(2026, month); ++day) {
            clock.set({2026, month, day, 9, 5});
            state.Tirawa(1);
            reports.push_back({pane.lines, pane.background()});
        }
    }
    return reports;
}

TEST(Utf8Tables, SameReportsAsCp932AllYear)
{
    const test::TempHome cp932;
    const test::TempHome utf8;
    copyExamples(cp932, false);
    copyExamples(utf8, true);
    const auto expected = reportsOfTheYear(cp932);
    const auto actual = reportsOfTheYear(utf8);
    ASSERT_EQ(actual.size(), expected.size());
    std::size_t entryLines = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i].lines.size(), expected[i].lines.size()) << "day " << i + 1;
        for (std::size_t k = 0; k < expected[i].lines.size(); ++k) {
            EXPECT_EQ(actual[i].lines[k].text, expected[i].lines[k].text) << "day " << i + 1;
            EXPECT_EQ(actual[i].lines[k].colour, expected[i].lines[k].colour) << "day " << i + 1;
        }
        EXPECT_EQ(actual[i].background, expected[i].background) << "day " << i + 1;
        entryLines += expected[i].lines.size() - 2; // beyond the date and time lines
    }
    EXPECT_GT(entryLines, 100u) << "the sample tables should fill many reports";
}

} // namespace
} // namespace tira
