#include "cli/print_mode.h"

#include "calendar/tira0.h"
#include "cli/output.h"
#include "cli/recording_pane.h"
#include "cli/text_output.h"
#include "report/clock.h"
#include "report/main_state.h"
#include "text/file_error.h"
#include "text/paths.h"
#include "text/visible_text.h"

#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace tira {

namespace {

// The Windows colour value and, as `name`Hex, the same colour as "#RRGGBB".
void setColour(Json& object, const std::string& name, WinColour colour)
{
    object[name] = colour;
    object[name + "Hex"] = hexColour(colour);
}

// The sound path as the player would open it: ".\" and a relative path start at the home
// folder.
std::string soundPathIn(const std::string& home, std::string sound)
{
    completeProgramPath(sound, home);
    std::filesystem::path path = toFsPath(sound);
    if (path.is_relative()) path = toFsPath(home) / path;
    return fromFsPath(path.lexically_normal());
}

// The report as the JSON object of the print mode.
std::string reportJson(const MainState& state, const RecordingPane& pane)
{
    Json report;
    report["date"] = isoDate(state.reportDate);
    report["time"] = twoDigits(state.reportHour) + ":" + twoDigits(state.reportMinute);
    Json lines = Json::array();
    for (const auto& line : pane.lines) {
        Json entry;
        entry["text"] = line.text;
        setColour(entry, "color", line.colour);
        lines.push_back(std::move(entry));
    }
    report["lines"] = std::move(lines);
    setColour(report, "background", pane.background());
    setColour(report, "paneBackground", pane.paneBackground);
    report["countdown"] = state.countdown;
    report["stopToday"] = state.report.stopToday != 0;
    report["sound"] = nullptr;
    report["soundPath"] = nullptr;
    if (!state.soundPlayed.empty()) {
        report["sound"] = state.soundPlayed;
        report["soundPath"] = soundPathIn(state.home(), state.soundPlayed);
    }
    return jsonText(report) + "\n";
}

// One text line; wrapped in an ANSI colour as `colours` says unless it is in the default
// colour, which is left to the terminal's own foreground.
void appendTextLine(std::string& out, std::string_view text, WinColour colourValue,
                    WinColour defaultColour, TextColours colours)
{
    if (colours == TextColours::None || text.empty() || colourValue == defaultColour) {
        out += text;
        out += '\n';
        return;
    }
    out += colourEscape(colourValue, colours);
    out += text;
    out += "\x1b[0m\n";
}

// The text print mode writes each line as the report appends it, so the lines need not be
// kept: memory stays that of one line however long the report.
class TextOutPane : public ReportPane, public ReportWindow
{
  public:
    TextOutPane(Output& out, TextColours colours, bool terminal)
        : m_out(out), m_colours(colours), m_terminal(terminal)
    {
        m_buffer.reserve(kFlushAt + 4096);
    }
    ~TextOutPane() override { flush(); }
    TextOutPane(const TextOutPane&) = delete;
    TextOutPane& operator=(const TextOutPane&) = delete;
    TextOutPane(TextOutPane&&) = delete;
    TextOutPane& operator=(TextOutPane&&) = delete;

    void clear() override {} // comes before the first line: nothing is written yet
    void resetAttributes() override { m_current = m_default; }
    void setDefaultColour(WinColour colour) override { m_default = colour; }
    void setColour(WinColour colour) override { m_current = colour; }
    void appendLine(std::string_view utf8) override
    {
        if (m_terminal) { // a control character from a table must not act on the terminal
            m_visible.clear();
            appendVisible(m_visible, utf8);
            utf8 = m_visible;
        }
        appendTextLine(m_buffer, utf8, m_current, m_default, m_colours);
        if (m_buffer.size() >= kFlushAt) flush();
    }
    void repaint() override {}

    void setBackground(WinColour colour) override { m_background = colour; }
    WinColour background() const override { return m_background; }
    void setPaneBackground(WinColour /*colour*/) override {}
    void playSound(const std::string& /*path*/) override {}

    void flush()
    {
        m_out.write(m_buffer);
        m_buffer.clear();
    }

  private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    Output& m_out;
    TextColours m_colours;
    bool m_terminal;
    std::string m_visible;
    std::string m_buffer;
    WinColour m_default = 0;
    WinColour m_current = 0;
    WinColour m_background = 0;
};

} // namespace

int runPrint(const Job& job, const std::string& home, Settings settings, TextColours colours)
{
    ClockReading reading = SystemClock().now();
    if (job.time) {
        reading.hour = static_cast<std::uint16_t>(job.time->first);
        reading.minute = static_cast<std::uint16_t>(job.time->second);
    }
    if (job.date) reading.date = *job.date;
    const FixedClock clock(reading);
    Output out(stdout);
    RecordingPane recording;
    TextOutPane text(out, colours, isTerminal(stdout));
    const bool json = job.format == PrintFormat::Json;
    ReportPane& pane = json ? static_cast<ReportPane&>(recording) : text;
    ReportWindow& window = json ? static_cast<ReportWindow&>(recording) : text;
    MainState state(home, pane, window, clock);
    state.settings = std::move(settings);
    int exitCode = 0;
    std::string error;
    try {
        state.Tirawa(1);
    } catch (const TableFileError& e) {
        error = e.what();
        exitCode = 1;
    }
    if (json) out.write(reportJson(state, recording));
    text.flush();
    if (!error.empty()) std::fprintf(stderr, "tira: %s\n", visibleText(error).c_str());
    return out.finish(exitCode);
}

} // namespace tira
