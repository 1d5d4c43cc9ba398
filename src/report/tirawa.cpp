#include "report/main_state.h"
#include "report/table_sections.h"
#include "tables/fields.h"

#include <string>

namespace tira {

namespace {

constexpr std::array<std::string_view, 7> kWeekdayTexts{"(日)", "(月)", "(火)", "(水)",
                                                        "(木)", "(金)", "(土)"};

} // namespace

MainState::MainState(std::string home, ReportPane& pane, ReportWindow& window, const Clock& clock)
    : m_home(std::move(home)), m_pane(pane), m_window(window), m_clock(clock)
{
}

void MainState::Tirawa(std::uint8_t flag)
{
    m_window.setBackground(settings.BaseB);
    m_window.setPaneBackground(settings.BackF);
    m_pane.clear();
    report = ReportState{};
    soundPlayed.clear();
    // The countdown is 16 bits wide; a value past that range would wrap to a short or zero
    // count and close the window at once, while any value above 600 means "no exit".
    countdown =
        settings.AutoEnd <= 0 || settings.AutoEnd > 0xFFFF ? kHeldCountdown : settings.AutoEnd;
    m_pane.setDefaultColour(settings.BaseF);
    m_pane.resetAttributes();

    const ClockReading clock = m_clock.now();
    if (flag == 1) reportDate = clock.date;
    facts = computeCalendarFacts(reportDate);

    m_pane.appendLine("今日は " + std::to_string(reportDate.year) + "年" +
                      std::to_string(reportDate.month) + "月" + std::to_string(reportDate.day) +
                      "日" + std::string(kWeekdayTexts[facts.weekday - 1u]) + " です。");

    Hol();
    for (const std::string& line : holidayLines(holidays, facts))
        m_pane.appendLine(line);

    reportHour = clock.hour;
    reportMinute = clock.minute;
    m_pane.appendLine("ただいまの時刻は " + std::to_string(reportHour) + "時" +
                      twoDigits(reportMinute) + "分 です。");
    m_pane.repaint();

    for (const std::uint8_t section : settings.Jyun) {
        // 0 or above 5: an empty slot
        if (section < 1 || section > kKindCount) continue;
        const KindDescription& kind = kKinds[section - 1u];
        if (settings.*kind.shown != 0) (this->*kSectionBuilders[section - 1u])();
    }

    if (report.stopToday == 1 && settings.WavOn != 0 && !settings.WavFile.empty()) {
        soundPlayed = settings.WavFile;
        m_window.playSound(settings.WavFile);
    }
    m_pane.resetAttributes();
}

bool MainState::writeEntry(Kind kind, std::string_view text, WinColour colour)
{
    const auto k = static_cast<std::size_t>(kind);
    std::uint32_t& counter = report.lineCounter[k];
    std::uint32_t& mark = report.writtenMark[k];
    ++counter;
    if (counter == 1) {
        m_pane.resetAttributes();
        m_pane.appendLine("");
        m_pane.appendLine(describe(kind).heading);
        counter = 2;
    }
    bool written = false;
    if (counter > mark) {
        m_pane.resetAttributes();
        m_pane.setColour(colour);
        m_pane.appendLine(text);
        m_pane.repaint();
        written = true;
    }
    mark = counter;
    return written;
}

WinColour entryColourOf(const Settings& settings, Kind kind, char colourCode, bool stopEntry,
                        std::int32_t daysToGo) noexcept
{
    if (settings.Yuusen != 0) {
        if (stopEntry) return daysToGo <= 0 ? settings.StopF : settings.ZengoF;
        return settings.Koumoku == 0 ? settings.BaseF : settings.*describe(kind).colour;
    }
    return colourOfCode(colourCode, settings.BaseF);
}

EntryLine entryLine(std::string text, const Settings& settings, Kind kind, char colourCode,
                    bool stopEntry, std::int32_t daysToGo)
{
    return {std::move(text), entryColourOf(settings, kind, colourCode, stopEntry, daysToGo),
            stopEntry, daysToGo};
}

void MainState::writeShown(Kind kind, const EntryLine& entry)
{
    if (writeEntry(kind, entry.text, entry.colour) && entry.stopEntry)
        applyStopEffects(entry.daysToGo);
}

void MainState::applyStopEffects(std::int32_t daysToGo)
{
    if (settings.Sotowaku == 0) return;
    if (daysToGo <= 0) {
        m_window.setBackground(settings.StopB);
        report.stopToday = 1;
        if (settings.StopEnd != 0) countdown = kHeldCountdown;
    } else if (m_window.background() != settings.StopB) {
        m_window.setBackground(settings.ZengoB);
        if (settings.ZengEnd != 0) countdown = kHeldCountdown;
    }
}

} // namespace tira
