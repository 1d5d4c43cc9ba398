#include "cli/print_mode.h"

#include "calendar/tira0.h"
#include "cli/output.h"
#include "cli/recording_pane.h"
#include "report/clock.h"
#include "report/main_state.h"
#include "text/file_error.h"
#include "text/paths.h"
#include "text/visible_text.h"

#include <array>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <utility>

namespace tira {

namespace {

using Json = nlohmann::ordered_json; // keys in the order they are set

// The Windows colour value and, as `name`Hex, the same colour as "#RRGGBB".
void setColour(Json& object, const std::string& name, WinColour colour)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string hex = "#";
    for (const unsigned shift : {0u, 8u, 16u}) { // red, green, blue
        const unsigned byte = (colour >> shift) & 0xFFu;
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xFu];
    }
    object[name] = colour;
    object[name + "Hex"] = hex;
}

// The library escapes the C0 controls; DEL and the C1 controls (U+0080..U+009F: U+009B
// acts as ESC [ on many terminals) get the same \u form here. The dump is valid UTF-8 (bad
// bytes became U+FFFD), so 0xC2 is always the lead byte of a character.
std::string escapeDelAndC1(const std::string& dumped)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out;
    out.reserve(dumped.size());
    for (std::size_t i = 0; i < dumped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(dumped[i]);
        const auto next = i + 1 < dumped.size() ? static_cast<unsigned char>(dumped[i + 1]) : 0u;
        if (byte == 0x7F) {
            out += "\\u007f";
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += "\\u00";
            out += kDigits[next >> 4];
            out += kDigits[next & 0xFu];
            ++i;
        } else {
            out.push_back(dumped[i]);
        }
    }
    return out;
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
    const Date d = state.reportDate;
    const std::string year = std::to_string(d.year);
    Json report;
    report["date"] = std::string(year.size() < 4 ? 4 - year.size() : 0, '0') + year + "-" +
                     twoDigits(d.month) + "-" + twoDigits(d.day);
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
    return escapeDelAndC1(report.dump(-1, ' ', false, Json::error_handler_t::replace)) + "\n";
}

// The SGR foreground code of the standard terminal colour nearest to `colour` (0x00BBGGRR),
// measured in RGB against the usual shades of the 16: the Windows colours TIRA offers are
// exactly these, so each keeps its name (maroon stays dark red, navy dark blue).
int nearestStandardColour(WinColour colour)
{
    struct Standard
    {
        int code;
        int r, g, b;
    };
    static constexpr std::array<Standard, 16> kStandard{{
        {30, 0, 0, 0},
        {31, 128, 0, 0},
        {32, 0, 128, 0},
        {33, 128, 128, 0},
        {34, 0, 0, 128},
        {35, 128, 0, 128},
        {36, 0, 128, 128},
        {37, 192, 192, 192},
        {90, 128, 128, 128},
        {91, 255, 0, 0},
        {92, 0, 255, 0},
        {93, 255, 255, 0},
        {94, 0, 0, 255},
        {95, 255, 0, 255},
        {96, 0, 255, 255},
        {97, 255, 255, 255},
    }};
    const auto r = static_cast<int>(colour & 0xFFu);
    const auto g = static_cast<int>((colour >> 8) & 0xFFu);
    const auto b = static_cast<int>((colour >> 16) & 0xFFu);
    int best = kStandard[0].code;
    int bestDistance = INT_MAX;
    for (const Standard& s : kStandard) {
        const int distance = (r - s.r) * (r - s.r) + (g - s.g) * (g - s.g) + (b - s.b) * (b - s.b);
        if (distance < bestDistance) {
            best = s.code;
            bestDistance = distance;
        }
    }
    return best;
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
    if (colours == TextColours::Exact) {
        out += "\x1b[38;2;" + std::to_string(colourValue & 0xFFu) + ";" +
               std::to_string((colourValue >> 8) & 0xFFu) + ";" +
               std::to_string((colourValue >> 16) & 0xFFu) + "m";
    } else {
        out += "\x1b[" + std::to_string(nearestStandardColour(colourValue)) + "m";
    }
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
    if (job.date) {
        reading.year = job.date->year;
        reading.month = job.date->month;
        reading.day = job.date->day;
    }
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
