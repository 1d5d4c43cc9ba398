// The history line parser and what an entry shows on report dates around the year.
#include "fuzz_support.h"
#include "report/table_sections.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "text/cp932.h"

using namespace tira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::forBothReadings(data, size, [](std::string_view line, bool utf8) {
        thread_local FieldList fields;
        fields.start(line);
        const HistoryLine entry = HisLine(fields, LineEncoding::Text);
        if (entry.verdict.value == kUnparsable) return;
        for (const std::string_view part :
             {entry.date[1], entry.date[2], entry.second[1], entry.second[2]})
            FUZZ_CHECK(parseNumber(part).has_value());
        thread_local FieldList tailFields;
        const HistoryTail tail = historyTail(entry, tailFields);
        FUZZ_CHECK(fuzz::isColourCode(tail.colour));
        if (utf8) FUZZ_CHECK(isValidUtf8(shownText(tail.text, LineEncoding::Text)));
        if (!entry.verdict.kept()) return;
        const Settings settings = fuzz::settingsFrom(0xFF);
        for (const CalendarFacts& facts : fuzz::sampleFacts()) {
            const auto shown = historyEntry(entry, facts, settings);
            const bool onFirst = entry.month == facts.date.month && entry.day == facts.date.day;
            if (onFirst) FUZZ_CHECK(shown.has_value());
            if (!shown) continue;
            if (utf8) FUZZ_CHECK(isValidUtf8(shown->text));
            // the first date wins whenever it is the report date: its year starts the line
            if (onFirst) FUZZ_CHECK(shown->text.starts_with(entry.date[0]));
        }
    });
    return 0;
}
