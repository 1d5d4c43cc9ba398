// A whole report over one table file of each kind holding the input, as the window builds
// it: reading, "#" comments, comma lists, parsing, deciding and writing.
#include "cli/recording_pane.h"
#include "fuzz_support.h"
#include "report/clock.h"
#include "text/cp932.h"

using namespace tira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFolder home;
    static const bool linked = [] {
        // the monthly files of every month are the listed files under another name
        for (int month = 1; month <= 12; ++month) {
            const std::string mm = (month < 10 ? "0" : "") + std::to_string(month);
            std::filesystem::create_symlink("E.TBL", home.path() / ("EV" + mm + ".TBL"));
            std::filesystem::create_symlink("H.TBL", home.path() / ("HI" + mm + ".TBL"));
        }
        return true;
    }();
    FUZZ_CHECK(linked);
    const std::string_view bytes = fuzz::asView(data, size);
    for (const char* name : {"B.TBL", "S.TBL", "E.TBL", "H.TBL", "W.TBL", "TIRAHOLI.TBL"})
        home.write(name, bytes);

    RecordingPane pane;
    FixedClock clock({2024, 1, 1, 9, 5});
    MainState state(home.path().string(), pane, pane, clock);
    state.settings.Holiday = home.file("TIRAHOLI.TBL");
    state.settings.IncME = 1;
    state.settings.IncMH = 1;
    state.settings.EveMFile = home.file("EV%m.TBL");
    state.settings.HisMFile = home.file("HI%m.TBL");
    state.settings.Sotowaku = 1;
    const char* names[] = {"B.TBL", "S.TBL", "E.TBL", "H.TBL", "W.TBL"};
    for (std::size_t k = 0; k < kKindCount; ++k)
        state.settings.files[k] = {home.file(names[k])};
    // three report dates keep the run fast: a leap day, the year end, a substitute Monday
    for (const std::size_t i : {0u, 1u, 4u}) {
        const CalendarFacts& facts = fuzz::sampleFacts()[i];
        clock.set({facts.date.year, facts.date.month, facts.date.day, 9, 5});
        state.Tirawa(1);
        FUZZ_CHECK(pane.lines.size() >= 2);
        for (const auto& line : pane.lines)
            FUZZ_CHECK(isValidUtf8(line.text));
        FUZZ_CHECK(state.holidays.size() <= kMaxHolidays);
    }
    return 0;
}
