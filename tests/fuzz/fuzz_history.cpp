// The history line parser and what an entry shows on report dates around the year.
#include "fuzz_support.h"
#include "report/history.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "text/cp932.h"

using namespace tira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view raw = fuzz::asView(data, size);
    const std::string decoded = cp932ToUtf8(raw);
    for (const bool utf8 : {false, true}) {
        const std::string_view line = utf8 ? std::string_view(decoded) : raw;
        HistoryRecord record;
        const int verdict = HisLine(line, record);
        if (verdict == kUnparsable) continue;
        for (const HistoryField f : {HistoryMonth, HistoryDay, HistoryMonth2, HistoryDay2})
            FUZZ_CHECK(parseNumber(record[f]).has_value());
        FUZZ_CHECK(record[HistoryColour].size() == 1 &&
                   fuzz::isColourCode(record[HistoryColour][0]));
        if (utf8) FUZZ_CHECK(isValidUtf8(record[HistoryText]));
        if (verdict <= 0) continue;
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
    }
    return 0;
}
