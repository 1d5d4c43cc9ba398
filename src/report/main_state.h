#pragma once

#include "calendar/tira0.h"
#include "report/clock.h"
#include "report/report_pane.h"
#include "settings/settings.h"
#include "text/paths.h"
#include "text/table_reader.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

inline constexpr std::int32_t kHeldCountdown = 700; // any value above 600 holds the window

// The per-report record the sections fill. Counters never wrap, so a section with more
// than 65,535 entries still shows them all under one heading.
struct ReportState
{
    std::array<std::uint32_t, kKindCount> lineCounter{};
    std::array<std::uint32_t, kKindCount> writtenMark{};
    std::uint8_t stopToday = 0;
};

struct HolidayEntry
{
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::string name;
};
inline constexpr std::size_t kMaxHolidays = 30;

// Everything the main window owns besides its widgets: settings, report date and calendar
// facts, report state, holiday table, countdown; and the report itself. Front ends supply
// the pane, the window and the clock.
class MainState
{
  public:
    MainState(std::string home, ReportPane& pane, ReportWindow& window, const Clock& clock);

    // Builds the whole report. flag 1: the report date comes from the clock; flag 0: the
    // date already held (set by the date override) is kept. A TableFileError ends the report
    // with the lines so far kept, and is passed on to the caller.
    void Tirawa(std::uint8_t flag);

    // Loads the holiday file into the holiday table (kept when the file is missing).
    void Hol();
    // Section builders, one per kind.
    void Tan();     // 誕生日
    void Ske();     // スケジュール
    void EveBase(); // イベント
    void HisBase(); // 歴史
    void Wek();     // 週間

    // The event section's steps: monthly files of the report month and the next (read with
    // that month forced), listed files, one file, one line free of comma lists (UTF-8 text,
    // or a file's bytes in `encoding`).
    void Eve1();
    void Eve2();
    void Eve(std::string path, std::uint16_t forcedMonth);
    void EveX(std::string_view line, std::uint16_t forcedMonth,
              LineEncoding encoding = LineEncoding::Text);
    // Day shift of an event rule; the day may leave the month and is read by DayCount.
    void SpanD(int dayForm, std::int64_t month, std::int64_t rangeEnd, std::int64_t& day) const;
    // 1: `serial` is the report date; 2: it lies 1..advance days ahead; 0: neither.
    int Judge(std::int32_t serial, std::int32_t advance) const;
    // The history section's steps: the monthly file, listed files, one file, one line.
    void His1();
    void His2();
    void His(std::string path);
    void HisX(std::string_view line, LineEncoding encoding = LineEncoding::Text);

    const std::string& home() const noexcept { return m_home; }
    ReportPane& pane() noexcept { return m_pane; }
    ReportWindow& window() noexcept { return m_window; }

    // --- state held by the main window ---
    Settings settings;
    Date reportDate;
    CalendarFacts facts;
    ReportState report;
    std::vector<HolidayEntry> holidays;
    std::uint16_t reportHour = 0;
    std::uint16_t reportMinute = 0;
    std::int32_t countdown = kHeldCountdown; // exit countdown, seconds
    std::uint8_t countdownEnabled = 0;       // 0 while a modal dialog is open
    std::string soundPlayed;                 // WavFile of the last report's alert, or empty

    // --- the machinery the sections share ---

    // Completes ".\" in `path` (in place), skips a missing file, and passes every line of
    // the file, cut before its first "#", to `onLine` as UTF-8 text. Throws TableFileError.
    template <class OnLine> void readTableFile(std::string& path, OnLine&& onLine);

    // The same, passing each line as the file's bytes and how they read as text,
    // onBytes(bytes, encoding): the sections decode only what they show. "#" is ASCII and
    // no part of a double-byte character, so the cut is the same either way.
    template <class OnBytes> void readTableBytes(std::string& path, OnBytes&& onBytes);

    // Calls readTableFile for every path of a kind's file list, in order.
    template <class OnLine> void readKindFiles(Kind kind, OnLine&& onLine)
    {
        for (std::string& path : settings.filesOf(kind))
            readTableFile(path, onLine);
    }

    // Calls readTableBytes for every path of a kind's file list, in order.
    template <class OnBytes> void readKindBytes(Kind kind, OnBytes&& onBytes)
    {
        for (std::string& path : settings.filesOf(kind))
            readTableBytes(path, onBytes);
    }

    // One shown entry of `kind`: raises the counter, writes the heading before the first
    // entry, then the line in `colour` when the counter is above the written mark.
    // Returns true when the line was written.
    bool writeEntry(Kind kind, std::string_view text, WinColour colour);

    // The colour of an entry line: status colours with Yuusen on, the colour code otherwise.
    WinColour entryColour(Kind kind, char colourCode, bool stopEntry, std::int32_t daysToGo) const;

    // Effects of a written stop entry on the frame, the stop-today flag and the countdown.
    void applyStopEffects(std::int32_t daysToGo);

  private:
    std::string m_home;
    ReportPane& m_pane;
    ReportWindow& m_window;
    const Clock& m_clock;
};

template <class OnBytes> void MainState::readTableBytes(std::string& path, OnBytes&& onBytes)
{
    completeProgramPath(path, m_home);
    if (!pathExists(path)) return;
    TableReader reader(path);
    std::string_view bytes;
    while (reader.nextBytes(bytes)) {
        if (const void* hash = std::memchr(bytes.data(), '#', bytes.size()))
            bytes = bytes.substr(
                0, static_cast<std::size_t>(static_cast<const char*>(hash) - bytes.data()));
        onBytes(bytes, reader.lineEncoding());
    }
}

template <class OnLine> void MainState::readTableFile(std::string& path, OnLine&& onLine)
{
    std::string line;
    readTableBytes(path, [&](std::string_view bytes, LineEncoding encoding) {
        line.clear();
        appendText(line, bytes, encoding);
        onLine(std::string_view(line));
    });
}

// The heading line of each kind's section.
std::string_view sectionHeading(Kind kind) noexcept;

// The colour of an entry line under `settings`: with Yuusen on, StopF / ZengoF for a stop
// entry (on its day / ahead) and otherwise the kind colour (Koumoku) or BaseF; with Yuusen
// off, the entry's colour code ("A": BaseF).
WinColour entryColourOf(const Settings& settings, Kind kind, char colourCode, bool stopEntry,
                        std::int32_t daysToGo) noexcept;

} // namespace tira
