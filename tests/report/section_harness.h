#pragma once

#include "cli/recording_pane.h"
#include "report/main_state.h"
#include "support/temp_home.h"
#include "text/file_error.h"

#include <string>
#include <string_view>
#include <vector>

namespace tira::test {

using Strings = std::vector<std::string>;

// Distinct colours, so that every colour rule shows in the recorded lines.
inline constexpr WinColour kBaseF = 0x101010;
inline constexpr WinColour kStopF = 0x202020;
inline constexpr WinColour kZengoF = 0x303030;
inline constexpr WinColour kBFC = 0x404040;
inline constexpr WinColour kSFC = 0x505050;
inline constexpr WinColour kWFC = 0x606060;
inline constexpr WinColour kBaseB = 0x707070;
inline constexpr WinColour kStopB = 0x808080;
inline constexpr WinColour kZengoB = 0x909090;
inline constexpr WinColour kRed = 0x0000FF;
inline constexpr WinColour kGreen = 0x00FF00;
inline constexpr WinColour kBlue = 0xFF0000;

// A main state over a temporary home, a recording pane and a fixed clock. Every section is
// switched off until a table of its kind is listed; no holiday file unless one is set.
class SectionHarness
{
  public:
    SectionHarness() : state(home.path(), pane, pane, clock)
    {
        Settings& s = state.settings;
        s.Birthday = s.Schedule = s.Event = s.History = s.Week = 0;
        s.BaseF = kBaseF;
        s.StopF = kStopF;
        s.ZengoF = kZengoF;
        s.BFC = kBFC;
        s.SFC = kSFC;
        s.WFC = kWFC;
        s.BaseB = kBaseB;
        s.StopB = kStopB;
        s.ZengoB = kZengoB;
        s.AutoEnd = 30;
        s.Holiday.clear();
    }

    // Writes `utf8Lines` (CP932, CR LF) as `name` in the home folder and lists it.
    void table(Kind kind, std::string_view name, std::string_view utf8Lines)
    {
        home.writeTable(name, utf8Lines);
        list(kind, home.file(name));
    }
    void list(Kind kind, std::string path)
    {
        state.settings.filesOf(kind).push_back(std::move(path));
        state.settings.*describe(kind).shown = 1;
    }

    // Builds the report for a date; returns the lines after the header's time line.
    std::vector<RecordingPane::Line> report(std::uint16_t year, std::uint16_t month,
                                            std::uint16_t day)
    {
        clock.set({year, month, day, 9, 5});
        state.Tirawa(1);
        return sectionLines();
    }

    std::vector<RecordingPane::Line> sectionLines() const
    {
        std::size_t i = 0;
        while (i < pane.lines.size() && pane.lines[i].text.rfind("ただいまの時刻は", 0) != 0)
            ++i;
        if (i == pane.lines.size()) return {};
        return {pane.lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, pane.lines.end()};
    }

    // The header lines between the date line and the time line (the holiday lines).
    std::vector<RecordingPane::Line> headerLines() const
    {
        std::vector<RecordingPane::Line> out;
        for (std::size_t i = 1; i < pane.lines.size(); ++i) {
            if (pane.lines[i].text.rfind("ただいまの時刻は", 0) == 0) break;
            out.push_back(pane.lines[i]);
        }
        return out;
    }

    // The texts of the lines of a report, for short comparisons.
    static Strings texts(const std::vector<RecordingPane::Line>& lines)
    {
        Strings out;
        for (const auto& line : lines)
            out.push_back(line.text);
        return out;
    }

    TempHome home;
    RecordingPane pane;
    FixedClock clock{ClockReading{2024, 5, 12, 9, 5}};
    MainState state;
};

} // namespace tira::test
