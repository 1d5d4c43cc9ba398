#include "cli/print_mode.h"

#include "calendar/tira0.h"
#include "cli/recording_pane.h"
#include "report/clock.h"
#include "report/main_state.h"
#include "text/file_error.h"
#include "text/visible_text.h"

#include <cstdio>
#include <utility>

namespace tira {

namespace {

void appendJsonString(std::string& out, std::string_view text)
{
    out.push_back('"');
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
                out += buffer;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

// `name` with the Windows colour value and, beside it as `name`Hex, the same colour as
// "#RRGGBB".
void appendColour(std::string& out, std::string_view name, WinColour colour)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string hex = "#";
    for (const unsigned shift : {0u, 8u, 16u}) { // red, green, blue
        const unsigned byte = (colour >> shift) & 0xFFu;
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xFu];
    }
    out += '"';
    out += name;
    out += "\":" + std::to_string(colour) + ",\"";
    out += name;
    out += "Hex\":\"" + hex + '"';
}

// The report as the JSON object of the print mode.
std::string reportJson(const MainState& state, const RecordingPane& pane)
{
    std::string out = "{\"date\":";
    const Date d = state.reportDate;
    const std::string year = std::to_string(d.year);
    std::string date(year.size() < 4 ? 4 - year.size() : 0, '0');
    date += year;
    appendJsonString(out, date + "-" + twoDigits(d.month) + "-" + twoDigits(d.day));
    out += ",\"time\":";
    appendJsonString(out, twoDigits(state.reportHour) + ":" + twoDigits(state.reportMinute));
    out += ",\"lines\":[";
    bool first = true;
    for (const auto& line : pane.lines) {
        if (!first) out.push_back(',');
        first = false;
        out += "{\"text\":";
        appendJsonString(out, line.text);
        out += ',';
        appendColour(out, "color", line.colour);
        out += '}';
    }
    out += "],";
    appendColour(out, "background", pane.background());
    out += ',';
    appendColour(out, "paneBackground", pane.paneBackground);
    out += ",\"countdown\":" + std::to_string(state.countdown);
    out += std::string(",\"stopToday\":") + (state.report.stopToday != 0 ? "true" : "false");
    out += ",\"sound\":";
    if (state.soundPlayed.empty())
        out += "null";
    else
        appendJsonString(out, state.soundPlayed);
    out += "}\n";
    return out;
}

// One text line; with `colour`, wrapped in a 24-bit ANSI colour unless it is in the default
// colour, which is left to the terminal's own foreground.
void appendTextLine(std::string& out, std::string_view text, WinColour colourValue,
                    WinColour defaultColour, bool colour)
{
    if (colour && !text.empty() && colourValue != defaultColour) {
        const unsigned r = colourValue & 0xFFu;
        const unsigned g = (colourValue >> 8) & 0xFFu;
        const unsigned b = (colourValue >> 16) & 0xFFu;
        out += "\x1b[38;2;" + std::to_string(r) + ";" + std::to_string(g) + ";" +
               std::to_string(b) + "m";
        out += text;
        out += "\x1b[0m\n";
    } else {
        out += text;
        out += '\n';
    }
}

// The text print mode writes each line as the report appends it, so the lines need not be
// kept: memory stays that of one line however long the report.
class TextOutPane : public ReportPane, public ReportWindow
{
  public:
    TextOutPane(std::FILE* out, bool colour)
        : m_out(out), m_colour(colour), m_terminal(isTerminal(out))
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
        appendTextLine(m_buffer, utf8, m_current, m_default, m_colour);
        if (m_buffer.size() >= kFlushAt) flush();
    }
    void repaint() override {}

    void setBackground(WinColour colour) override { m_background = colour; }
    WinColour background() const override { return m_background; }
    void setPaneBackground(WinColour /*colour*/) override {}
    void playSound(const std::string& /*path*/) override {}

    void flush()
    {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out);
        m_buffer.clear();
        std::fflush(m_out);
    }

  private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    std::FILE* m_out;
    bool m_colour;
    bool m_terminal;
    std::string m_visible;
    std::string m_buffer;
    WinColour m_default = 0;
    WinColour m_current = 0;
    WinColour m_background = 0;
};

} // namespace

int runPrint(const Job& job, const std::string& home, Settings settings, bool colour)
{
    ClockReading reading = SystemClock().now();
    if (job.time) {
        reading.hour = static_cast<std::uint16_t>(job.time->first);
        reading.minute = static_cast<std::uint16_t>(job.time->second);
    }
    if (job.date) reading.date = *job.date;
    const FixedClock clock(reading);
    RecordingPane recording;
    TextOutPane text(stdout, colour);
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
    if (json) {
        const std::string out = reportJson(state, recording);
        std::fwrite(out.data(), 1, out.size(), stdout);
    }
    text.flush();
    if (!error.empty()) std::fprintf(stderr, "tira: %s\n", visibleText(error).c_str());
    return exitCode;
}

} // namespace tira
