#pragma once

#include "cli/recording_pane.h"
#include "report/clock.h"
#include "report/main_state.h"
#include "support/temp_home.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tira::test {

// A home folder, a recording pane and a fixed clock around one MainState, with every
// section switched off but the one under test.
class ReminderHarness
{
  public:
    explicit ReminderHarness(Kind kind) : m_kind(kind), state(home.path(), pane, pane, clock)
    {
        Settings& s = state.settings;
        s.Birthday = s.Schedule = s.Event = s.History = s.Week = 0;
        s.*describe(kind).shown = 1;
        s.BaseF = 0x101010; // distinct from black and from every colour word
        s.Holiday.clear();
    }

    // Writes the holiday file the report loads, one "month,day,name" line per entry.
    void useHolidays(const std::vector<HolidayEntry>& entries)
    {
        std::string lines;
        for (const HolidayEntry& h : entries)
            lines += std::to_string(h.month) + "," + std::to_string(h.day) + "," + h.name + "\n";
        home.writeTable("TIRAHOLI.TBL", lines);
        state.settings.Holiday = home.file("TIRAHOLI.TBL");
    }

    // Builds the report for `date` and returns the lines of the section under test, after
    // checking that they stand under one heading preceded by an empty line.
    std::vector<RecordingPane::Line> report(Date date)
    {
        clock.set({date.year, date.month, date.day, 9, 5});
        state.Tirawa(1);
        std::size_t at = 0;
        while (at < pane.lines.size() && !pane.lines[at].text.starts_with("ただいまの時刻は"))
            ++at;
        std::vector<RecordingPane::Line> rest(pane.lines.begin() + static_cast<long>(at) + 1,
                                              pane.lines.end());
        if (rest.empty()) return rest;
        EXPECT_GE(rest.size(), 3u);
        if (rest.size() < 3) return {};
        EXPECT_EQ(rest[0].text, "");
        EXPECT_EQ(rest[1].text, describe(m_kind).heading);
        rest.erase(rest.begin(), rest.begin() + 2);
        for (const auto& line : rest)
            EXPECT_NE(line.text, describe(m_kind).heading) << "a second heading";
        return rest;
    }

    std::vector<std::string> texts(Date date)
    {
        std::vector<std::string> out;
        for (const auto& line : report(date))
            out.push_back(line.text);
        return out;
    }

  private:
    Kind m_kind;

  public:
    TempHome home;
    RecordingPane pane;
    FixedClock clock{ClockReading{}};
    MainState state;
};

} // namespace tira::test
