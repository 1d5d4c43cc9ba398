#pragma once

#include "calendar/tira0.h"
#include "report/clock.h"
#include "report/line_parsers.h"
#include "report/report_pane.h"
#include "report/table_files.h"
#include "settings/settings.h"
#include "tables/fields.h"
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

struct EntryLine;

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
    // Section builders, one per kind (see kSectionBuilders).
    void Tan();     // 誕生日
    void Ske();     // スケジュール
    void EveBase(); // イベント
    void HisBase(); // 歴史
    void Wek();     // 週間

    // One parsed event rule free of comma lists, read with `forcedMonth` (0 = none) in
    // place of its month.
    void EveX(const EventLine& rule, std::uint16_t forcedMonth);

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
    // the file, cut before its first "#", as the file's bytes and how they read as text,
    // onBytes(bytes, encoding): the sections decode only what they show. "#" is ASCII and
    // no part of a double-byte character, so the cut is the same either way. Throws
    // TableFileError.
    template <class OnBytes> void readTableBytes(std::string& path, OnBytes&& onBytes);

    // Calls readTableBytes for every file of a kind the report date reads (kindFiles), in
    // order, as onLine(bytes, encoding, forcedMonth). The listed paths are completed in
    // place.
    template <class OnLine> void readKindFiles(Kind kind, OnLine&& onLine)
    {
        for (std::string& path : settings.filesOf(kind))
            completeProgramPath(path, m_home);
        for (KindFile& file : kindFiles(settings, kind, reportDate.month))
            readTableBytes(file.path, [&](std::string_view bytes, LineEncoding encoding) {
                onLine(bytes, encoding, file.forcedMonth);
            });
    }

    // A section, in one pass over the kind's files: each line is read as bytes, parsed into
    // a record by the kind's parser, and what decide(record) says to show is written.
    template <Kind K, class Decide> void showSection(Decide decide)
    {
        FieldList fields;
        readKindFiles(K, [&](std::string_view bytes, LineEncoding encoding, std::uint16_t) {
            fields.start(bytes);
            const auto line = lineParser<K>()(fields, encoding);
            if (!line.verdict.kept()) return;
            if (const auto entry = decide(line)) writeShown(K, *entry);
        });
    }

    // One shown entry of `kind`: raises the counter, writes the heading before the first
    // entry, then the line in `colour` when the counter is above the written mark.
    // Returns true when the line was written.
    bool writeEntry(Kind kind, std::string_view text, WinColour colour);

    // Writes a shown entry and, for a stop entry that was written, its stop effects.
    void writeShown(Kind kind, const EntryLine& entry);

    // Effects of a written stop entry on the frame, the stop-today flag and the countdown.
    void applyStopEffects(std::int32_t daysToGo);

  private:
    std::string m_home;
    ReportPane& m_pane;
    ReportWindow& m_window;
    const Clock& m_clock;
};

// Every line of the table file at `path` (a missing file gives none), cut before its first
// "#", as onLine(bytes, encoding, lineNumber), the first line being number 1. Throws
// TableFileError.
template <class OnLine> void forEachTableLine(const std::string& path, OnLine&& onLine)
{
    if (!pathExists(path)) return;
    TableReader reader(path);
    std::string_view bytes;
    std::uint32_t number = 0;
    while (reader.nextBytes(bytes)) {
        ++number;
        // find, not memchr: the view of an empty line may have no data pointer at all
        if (const std::size_t hash = bytes.find('#'); hash != std::string_view::npos)
            bytes = bytes.substr(0, hash);
        onLine(bytes, reader.lineEncoding(), number);
    }
}

template <class OnBytes> void MainState::readTableBytes(std::string& path, OnBytes&& onBytes)
{
    completeProgramPath(path, m_home);
    forEachTableLine(path, [&](std::string_view bytes, LineEncoding encoding, std::uint32_t) {
        onBytes(bytes, encoding);
    });
}

// The holiday table of the file at `path` (complete): its first kMaxHolidays valid lines,
// and in `lineNumbers`, when given, the line each came from. Throws TableFileError.
std::vector<HolidayEntry> readHolidayTable(const std::string& path,
                                           std::vector<std::uint32_t>* lineNumbers = nullptr);

// The section builder of each kind, in section-number order (as kKinds).
inline constexpr std::array<void (MainState::*)(), kKindCount> kSectionBuilders{
    &MainState::Tan, &MainState::Ske, &MainState::EveBase, &MainState::HisBase, &MainState::Wek};

// The colour of an entry line under `settings`: with Yuusen on, StopF / ZengoF for a stop
// entry (on its day / ahead) and otherwise the kind colour (Koumoku) or BaseF; with Yuusen
// off, the entry's colour code ("A": BaseF).
WinColour entryColourOf(const Settings& settings, Kind kind, char colourCode, bool stopEntry,
                        std::int32_t daysToGo) noexcept;

} // namespace tira
