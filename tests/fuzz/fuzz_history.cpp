// The history line parser and what an entry shows on report dates around the year.
#include "fuzz_support.h"
#include "report/history.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "text/cp932.h"

using namespace tira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::forBothReadings(data, size, [](std::string_view line, bool utf8) {
        HistoryRecord record;
        const int verdict = HisLine(line, record);
        if (verdict == kUnparsable) return;
        for (const HistoryField f : {HistoryMonth, HistoryDay, HistoryMonth2, HistoryDay2})
            FUZZ_CHECK(parseNumber(record[f]).has_value());
        FUZZ_CHECK(record[HistoryColour].size() == 1 &&
                   fuzz::isColourCode(record[HistoryColour][0]));
        if (utf8) FUZZ_CHECK(isValidUtf8(record[HistoryText]));
        if (verdict <= 0) return;
        const auto month = parseNumber(record[HistoryMonth]);
        const auto day = parseNumber(record[HistoryDay]);
        for (const CalendarFacts& facts : fuzz::sampleFacts()) {
            const auto shown = historyLineFor(record, facts.date);
            if (!shown) continue;
            if (utf8) FUZZ_CHECK(isValidUtf8(shown->text));
            // the first date wins whenever it is the report date
            if (*month == facts.date.month && *day == facts.date.day)
                FUZZ_CHECK(shown->kind == record[HistoryKind]);
        }
    });
    return 0;
}
