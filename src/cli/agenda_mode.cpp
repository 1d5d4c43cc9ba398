#include "cli/agenda_mode.h"

#include "cli/agenda_ics.h"
#include "report/clock.h"
#include "text/atomic_file.h"
#include "text/file_error.h"
#include "text/visible_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace tira {

namespace {

// The 16 standard terminal colours as the Windows colour words name them, with their SGR
// codes; the terminal's theme decides how each looks.
struct StandardColour
{
    WinColour colour;
    int sgr;
};
constexpr std::array<StandardColour, 16> kStandardColours{{
    {0x000000, 30},
    {0x000080, 31},
    {0x008000, 32},
    {0x008080, 33},
    {0x800000, 34},
    {0x800080, 35},
    {0x808000, 36},
    {0xC0C0C0, 37},
    {0x808080, 90},
    {0x0000FF, 91},
    {0x00FF00, 92},
    {0x00FFFF, 93},
    {0xFF0000, 94},
    {0xFF00FF, 95},
    {0xFFFF00, 96},
    {0xFFFFFF, 97},
}};

int channel(WinColour colour, unsigned shift) noexcept
{
    return static_cast<int>((colour >> shift) & 0xFFu);
}

int nearestStandardColour(WinColour colour) noexcept
{
    int best = 0;
    long bestDistance = -1;
    for (const StandardColour& standard : kStandardColours) {
        long distance = 0;
        for (const unsigned shift : {0u, 8u, 16u}) {
            const long d = channel(colour, shift) - channel(standard.colour, shift);
            distance += d * d;
        }
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = standard.sgr;
        }
    }
    return best;
}

std::string colourEscape(WinColour colour, TerminalColours colours)
{
    if (colours == TerminalColours::Exact)
        return "\x1b[38;2;" + std::to_string(channel(colour, 0)) + ";" +
               std::to_string(channel(colour, 8)) + ";" + std::to_string(channel(colour, 16)) + "m";
    return "\x1b[" + std::to_string(nearestStandardColour(colour)) + "m";
}

std::string isoDate(Date date)
{
    const std::string year = std::to_string(date.year);
    return std::string(year.size() < 4 ? 4 - year.size() : 0, '0') + year + "-" +
           twoDigits(date.month) + "-" + twoDigits(date.day);
}

std::string hexColour(WinColour colour)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", channel(colour, 0), channel(colour, 8),
                  channel(colour, 16));
    return buffer;
}

// DEL and the C1 controls written as \u escapes, as the library already writes C0; the JSON
// is valid UTF-8, where the bytes C2 80..9F are only ever a C1 character.
std::string escapeMoreControls(const std::string& json)
{
    std::string out;
    out.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        const auto byte = static_cast<unsigned char>(json[i]);
        const auto next = i + 1 < json.size() ? static_cast<unsigned char>(json[i + 1]) : 0u;
        char buffer[8];
        if (byte == 0x7F) {
            out += "\\u007f";
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(buffer, sizeof buffer, "\\u%04x", next);
            out += buffer;
            ++i;
        } else {
            out.push_back(json[i]);
        }
    }
    return out;
}

bool writeAll(std::FILE* out, const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
}

} // namespace

std::string agendaText(const std::vector<AgendaEntry>& entries, WinColour defaultColour,
                       TerminalColours colours, bool terminal)
{
    std::string out;
    std::string visible;
    forEachAgendaTextLine(entries, defaultColour, [&](std::string_view text, WinColour colour) {
        if (terminal) { // a control character from a table must not act on the terminal
            visible = visibleText(text);
            text = visible;
        }
        const std::size_t indent = std::min(text.find_first_not_of(' '), text.size());
        if (colours != TerminalColours::None && indent < text.size() && colour != defaultColour) {
            out += text.substr(0, indent);
            out += colourEscape(colour, colours);
            out += text.substr(indent);
            out += "\x1b[0m\n";
        } else {
            out += text;
            out += '\n';
        }
    });
    return out;
}

std::string agendaJson(const std::vector<AgendaEntry>& entries, Date from, int days)
{
    using Json = nlohmann::ordered_json;
    // bytes that are no UTF-8 (a file path) become U+FFFD rather than an exception
    const auto dump = [](const Json& json) {
        return json.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    // entry by entry, so that memory holds the text and not a tree of every entry
    std::string out = dump(Json{{"from", isoDate(from)}, {"days", days}});
    out.pop_back();
    out += ",\"entries\":[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const AgendaEntry& entry = entries[i];
        if (i != 0) out += ',';
        out += escapeMoreControls(dump(Json{{"date", isoDate(entry.date)},
                                            {"kind", agendaKindWord(entry.kind)},
                                            {"text", entry.text},
                                            {"color", entry.colour},
                                            {"colorHex", hexColour(entry.colour)},
                                            {"stop", entry.stop},
                                            {"file", *entry.file},
                                            {"line", entry.line}}));
    }
    out += "]}\n";
    return out;
}

int runAgenda(const Job& job, const std::string& home, Settings settings, TerminalColours colours)
{
    Date first = job.date.value_or(Date{});
    if (!job.date) {
        const ClockReading now = SystemClock().now();
        first = {now.year, now.month, now.day};
    }
    const WinColour defaultColour = settings.BaseF;
    std::vector<AgendaEntry> entries;
    try {
        entries = buildAgenda(home, std::move(settings), first, job.agendaDays, job.agendaKinds);
    } catch (const TableFileError& e) {
        std::fprintf(stderr, "tira: %s\n", visibleText(e.what()).c_str());
        return 1;
    }
    std::string out;
    switch (job.format) {
    case PrintFormat::Text:
        out = agendaText(entries, defaultColour, colours, !job.output && isTerminal(stdout));
        break;
    case PrintFormat::Json: out = agendaJson(entries, first, job.agendaDays); break;
    case PrintFormat::Ics: {
        auto ics = agendaIcs(entries);
        if (!ics) {
            std::fputs("tira: this build of TIRA writes no iCalendar (built without libical)\n",
                       stderr);
            return 1;
        }
        out = std::move(*ics);
        break;
    }
    }
    if (job.output) {
        // a calendar that watches the file never sees half of it
        const AtomicWriteResult written = writeFileAtomically(*job.output, out);
        if (written.ok) return 0;
        std::fprintf(stderr, "tira: cannot write %s: %s\n", visibleText(*job.output).c_str(),
                     visibleText(written.reason).c_str());
        return 1;
    }
    if (!writeAll(stdout, out)) {
        std::fputs("tira: cannot write to standard output\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace tira
