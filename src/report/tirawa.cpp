#include "report/main_state.h"
#include "tables/fields.h"
#include "text/file_error.h"

#include <string>

namespace tira {

namespace {

constexpr std::array<std::string_view, 7> kWeekdayTexts{"(日)", "(月)", "(火)", "(水)",
                                                        "(木)", "(金)", "(土)"};

constexpr std::array<std::string_view, kKindCount> kHeadings{
    "-=-=-=- 誕生日 -=-=-=-", "-=-=-=- スケジュール -=-=-=-", "-=-=-=- イベント -=-=-=-",
    "-=-=-=- 歴史 -=-=-=-", "-=-=-=- 週間 -=-=-=-"};

} // namespace

std::string_view sectionHeading(Kind kind) noexcept
{
    return kHeadings[static_cast<std::size_t>(kind)];
}

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
    if (flag == 1) reportDate = Date{clock.year, clock.month, clock.day};
    facts = computeCalendarFacts(reportDate);

    m_pane.appendLine("今日は " + std::to_string(reportDate.year) + "年" +
                      std::to_string(reportDate.month) + "月" + std::to_string(reportDate.day) +
                      "日" + std::string(kWeekdayTexts[facts.weekday - 1u]) + " です。");

    Hol();
    for (const HolidayEntry& holiday : holidays) {
        if (holiday.month == reportDate.month && holiday.day == reportDate.day)
            m_pane.appendLine(holiday.name + " (祝日) です。");
        // a Sunday holiday gives a substitute line on the Monday after it, same month only
        if (facts.weekday == 2 && holiday.month == reportDate.month &&
            holiday.day == reportDate.day - 1)
            m_pane.appendLine(holiday.name + "の振替休日です。");
    }

    reportHour = clock.hour;
    reportMinute = clock.minute;
    // two digits, built by appending (GCC 12 -O3 misreads an insert at 0 as an overlap)
    std::string minute(reportMinute < 10 ? 1 : 0, '0');
    minute += std::to_string(reportMinute);
    m_pane.appendLine("ただいまの時刻は " + std::to_string(reportHour) + "時" + minute +
                      "分 です。");
    m_pane.repaint();

    for (const std::uint8_t section : settings.Jyun) {
        switch (section) {
        case 1:
            if (settings.Birthday != 0) Tan();
            break;
        case 2:
            if (settings.Schedule != 0) Ske();
            break;
        case 3:
            if (settings.Event != 0) EveBase();
            break;
        case 4:
            if (settings.History != 0) HisBase();
            break;
        case 5:
            if (settings.Week != 0) Wek();
            break;
        default: // 0 or above 5: an empty slot
            break;
        }
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
        m_pane.appendLine(sectionHeading(kind));
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
        if (settings.Koumoku == 0) return settings.BaseF;
        switch (kind) {
        case Kind::Birthday: return settings.BFC;
        case Kind::Schedule: return settings.SFC;
        case Kind::Event: return settings.EFC;
        case Kind::History: return settings.HFC;
        case Kind::Week: return settings.WFC;
        }
        return settings.BaseF;
    }
    return colourOfCode(colourCode, settings.BaseF);
}

WinColour MainState::entryColour(Kind kind, char colourCode, bool stopEntry,
                                 std::int32_t daysToGo) const
{
    return entryColourOf(settings, kind, colourCode, stopEntry, daysToGo);
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
