// The event line parser behind the comma-list expansion, and the evaluation of every rule
// on report dates from the edges of the calendar with a holiday table.
#include "fuzz_support.h"
#include "report/events.h"
#include "report/table_sections.h"
#include "tables/event_line.h"
#include "tables/fields.h"
#include "text/cp932.h"

#include <algorithm>

using namespace tira;

namespace {

void evaluate(std::string_view line, bool utf8)
{
    thread_local FieldList fields;
    fields.start(line);
    const EventLine rule = EveLine(fields, LineEncoding::Text);
    if (rule.verdict.value == kUnparsable) return;
    const auto form = static_cast<int>(rule.dayForm);
    const auto weekForm = static_cast<int>(rule.weekForm);
    FUZZ_CHECK(form >= 0 && form <= 7);
    FUZZ_CHECK(weekForm >= 1 && weekForm <= 6);
    thread_local FieldList tailFields;
    const EventTail tail = eventTail(rule, tailFields);
    FUZZ_CHECK(fuzz::isColourCode(tail.colour));
    FUZZ_CHECK(rule.advance <= 14);
    const std::string text = eventText(tail.text, rule.encoding);
    if (utf8) FUZZ_CHECK(isValidUtf8(text));
    FUZZ_CHECK(text.find('_') == std::string::npos);
    if (!rule.verdict.kept()) return;
    const Settings settings = fuzz::settingsFrom(0x0C);
    for (const CalendarFacts& facts : fuzz::sampleFacts()) {
        for (const std::uint16_t forced : std::initializer_list<std::uint16_t>{0, 1, 12}) {
            if (eventRuleProblem(rule, forced) != LineProblem::None) continue;
            const EventMatch match =
                Judge(eventDueDays(rule, forced, facts, fuzz::sampleHolidays()), facts.today,
                      rule.advance);
            FUZZ_CHECK(match.result >= 0 && match.result <= 2);
            if (match.result == 1) FUZZ_CHECK(match.daysToGo == 0);
            if (match.result == 2)
                FUZZ_CHECK(match.daysToGo >= 1 && match.daysToGo <= rule.advance);
            const auto entry = eventEntry(rule, forced, facts, fuzz::sampleHolidays(), settings);
            FUZZ_CHECK(entry.has_value() == (match.result != 0));
            if (entry && utf8) FUZZ_CHECK(isValidUtf8(entry->text));
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
