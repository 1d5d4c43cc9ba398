#include "cli/agenda_mode.h"

#include "cli/agenda_ics.h"
#include "cli/output.h"
#include "report/clock.h"
#include "text/atomic_file.h"
#include "text/file_error.h"
#include "text/visible_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tira {

std::string agendaText(const std::vector<AgendaEntry>& entries, WinColour defaultColour,
                       TextColours colours, bool terminal)
{
    std::string out;
    std::string visible;
    forEachAgendaTextLine(entries, defaultColour, [&](std::string_view text, WinColour colour) {
        if (terminal) { // a control character from a table must not act on the terminal
            visible = visibleText(text);
            text = visible;
        }
        const std::size_t indent = std::min(text.find_first_not_of(' '), text.size());
        if (colours != TextColours::None && indent < text.size() && colour != defaultColour) {
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
    // entry by entry, so that memory holds the text and not a tree of every entry
    std::string out = jsonText(Json{{"from", isoDate(from)}, {"days", days}});
    out.pop_back();
    out += ",\"entries\":[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const AgendaEntry& entry = entries[i];
        if (i != 0) out += ',';
        out += jsonText(Json{{"date", isoDate(entry.date)},
                             {"kind", agendaKindWord(entry.kind)},
                             {"text", entry.text},
                             {"color", entry.colour},
                             {"colorHex", hexColour(entry.colour)},
                             {"stop", entry.stop},
                             {"file", *entry.file},
                             {"line", entry.line}});
    }
    out += "]}\n";
    return out;
}

int runAgenda(const Job& job, const std::string& home, Settings settings, TextColours colours)
{
    Date first = job.date.value_or(Date{});
    if (!job.date) {
        const ClockReading now = SystemClock().now();
        first = now.date;
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
    Output stdOut(stdout);
    stdOut.write(out);
    return stdOut.finish(0);
}

} // namespace tira
