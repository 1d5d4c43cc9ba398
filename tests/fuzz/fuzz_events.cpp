// The event line parser behind the comma-list expansion, and the evaluation of every rule
// on report dates from the edges of the calendar with a holiday table.
#include "fuzz_support.h"
#include "report/events.h"
#include "tables/event_line.h"
#include "tables/fields.h"
#include "text/cp932.h"

#include <algorithm>

using namespace tira;

namespace {

void evaluate(std::string_view line, bool utf8)
{
    EventRule rule;
    const int verdict = EveLine(line, rule);
    if (verdict == kUnparsable) return;
    const auto form = parseNumber(rule[EventDayForm]);
    const auto weekForm = parseNumber(rule[EventWeekForm]);
    FUZZ_CHECK(form && *form >= 0 && *form <= 7);
    FUZZ_CHECK(weekForm && *weekForm >= 1 && *weekForm <= 6);
    FUZZ_CHECK(rule[EventColour].size() == 1 && fuzz::isColourCode(rule[EventColour][0]));
    const auto advance = parseNumber(rule[EventAdvance]);
    FUZZ_CHECK(advance && *advance <= 14);
    if (utf8) FUZZ_CHECK(isValidUtf8(rule[EventText]));
    FUZZ_CHECK(rule[EventText].find('_') == std::string::npos);
    if (verdict <= 0) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts()) {
        for (const std::uint16_t forced : std::initializer_list<std::uint16_t>{0, 1, 12}) {
            const EventMatch match = evaluateEvent(rule, forced, facts, fuzz::sampleHolidays());
            FUZZ_CHECK(match.result >= 0 && match.result <= 2);
            if (match.result == 1) FUZZ_CHECK(match.daysToGo == 0);
            if (match.result == 2) FUZZ_CHECK(match.daysToGo >= 1 && match.daysToGo <= *advance);
            if (match.result == 0) continue;
            const std::string text = eventReportText(rule, match);
            if (utf8) FUZZ_CHECK(isValidUtf8(text));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::forBothReadings(data, size, [](std::string_view line, bool utf8) {
        const auto commas = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
        std::size_t produced = 0;
        expandCommaList(line, [&](std::string_view one) {
            ++produced;
            // each produced line is at most the prefix, one item and the rest of the line
            FUZZ_CHECK(one.size() <= 2 * line.size() + 1);
            if (utf8) FUZZ_CHECK(isValidUtf8(one));
            evaluate(one, utf8);
        });
        FUZZ_CHECK(produced == commas + 1);
    });
    return 0;
}
