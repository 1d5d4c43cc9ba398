// Each section as the report builds it (lines read in place, decoded only when shown)
// against the same section built the plain way: every line decoded first, then parsed and
// decided as text. Both must write the same lines in the same colours.
#include "cli/recording_pane.h"
#include "fuzz_support.h"
#include "report/clock.h"
#include "report/events.h"
#include "report/table_sections.h"
#include "tables/event_line.h"
#include "tables/history_line.h"
#include "text/table_reader.h"

using namespace tira;

namespace {

using Lines = std::vector<RecordingPane::Line>;

// What writeEntry writes for the shown entries, in order.
class ReferencePane
{
  public:
    ReferencePane(Kind kind, WinColour base) : m_kind(kind), m_base(base) {}
    void entry(const std::string& text, WinColour colour)
    {
        if (lines.empty()) {
            lines.push_back({"", m_base});
            lines.push_back({std::string(describe(m_kind).heading), m_base});
        }
        lines.push_back({text, colour});
    }
    Lines lines;

  private:
    Kind m_kind;
    WinColour m_base;
};

Lines reference(Kind kind, const std::string& path, const MainState& state)
{
    const Settings& settings = state.settings;
    const CalendarFacts& facts = state.facts;
    ReferencePane pane(kind, settings.BaseF);
    TableReader reader(path);
    std::string text;
    FieldList fields;
    const auto show = [&](const std::optional<EntryLine>& entry) {
        if (entry) pane.entry(entry->text, entry->colour);
    };
    std::string_view bytes;
    while (reader.nextBytes(bytes)) {
        text.clear();
        appendText(text, bytes, reader.lineEncoding());
        const std::string line = text.substr(0, text.find('#'));
        fields.start(line);
        switch (kind) {
        case Kind::Birthday:
            if (const auto entry = TanLine(fields, LineEncoding::Text); entry.verdict.kept())
                show(birthdayEntry(entry, facts, settings));
            break;
        case Kind::Schedule:
            if (const auto entry = SkeLine(fields, LineEncoding::Text); entry.verdict.kept())
                show(scheduleEntry(entry, facts, settings));
            break;
        case Kind::Week:
            if (const auto entry = WekLine(fields, LineEncoding::Text); entry.verdict.kept())
                show(weeklyEntry(entry, facts, settings));
            break;
        case Kind::Event:
            expandCommaList(line, [&](std::string_view one) {
                fields.start(one);
                if (const auto rule = EveLine(fields, LineEncoding::Text); rule.verdict.kept())
                    show(eventEntry(rule, 0, facts, state.holidays, settings));
            });
            break;
        case Kind::History:
            if (const auto entry = HisLine(fields, LineEncoding::Text); entry.verdict.kept())
                show(historyEntry(entry, facts, settings));
            break;
        }
    }
    return pane.lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFolder home;
    home.write("T.TBL", fuzz::asView(data, size));
    home.write("TIRAHOLI.TBL", "1 1 a\r\n5 3 b\r\n9 22 c\r\n12 31 d\r\n");

    for (std::size_t k = 0; k < kKindCount; ++k) {
        const auto kind = static_cast<Kind>(k);
        RecordingPane pane;
        FixedClock clock({2024, 1, 1, 9, 5});
        MainState state(home.path().string(), pane, pane, clock);
        Settings& s = state.settings;
        s.Birthday = s.Schedule = s.Event = s.History = s.Week = 0;
        s.*describe(kind).shown = 1;
        s.Yuusen = 0; // the lines' own colour words count
        s.HistMeiTan = 1;
        s.BaseF = 0x101010;
        s.Holiday = home.file("TIRAHOLI.TBL");
        s.files[k] = {home.file("T.TBL")};
        for (const std::size_t i : {0u, 1u, 4u}) {
            const Date date = fuzz::sampleFacts()[i].date;
            clock.set({date.year, date.month, date.day, 9, 5});
            state.Tirawa(1);
            // the section's lines follow the date, holiday and time lines
            std::size_t at = 0;
            while (at < pane.lines.size() && !pane.lines[at].text.starts_with("ただいまの時刻は"))
                ++at;
            FUZZ_CHECK(at < pane.lines.size());
            const Lines section(pane.lines.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                                pane.lines.end());
            const Lines expected = reference(kind, home.file("T.TBL"), state);
            FUZZ_CHECK(section.size() == expected.size());
            for (std::size_t n = 0; n < section.size(); ++n) {
                FUZZ_CHECK(section[n].text == expected[n].text);
                FUZZ_CHECK(section[n].colour == expected[n].colour);
            }
        }
    }
    return 0;
}
