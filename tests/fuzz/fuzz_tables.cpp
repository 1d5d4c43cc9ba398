// The birthday, schedule, weekly and holiday parsers and the sections' deciding functions.
// TIRA_FUZZ_KIND selects the parser: 0 birthday, 1 schedule, 2 weekly, 3 holiday.
#include "fuzz_support.h"
#include "report/table_sections.h"
#include "tables/jikukai.h"
#include "text/cp932.h"

#include <algorithm>
#include <climits>

using namespace tira;

namespace {

// The date parts a record holds are numbers whose sum + 1 is the verdict (held in int).
void checkVerdict(int verdict, std::initializer_list<std::string_view> numbers)
{
    std::int64_t sum = 1;
    for (const std::string_view text : numbers) {
        const auto n = parseNumber(text);
        FUZZ_CHECK(n.has_value());
        sum += *n;
    }
    const std::int64_t held = std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX);
    FUZZ_CHECK(verdict == held);
}

void checkEntry(const std::optional<EntryLine>& entry, bool utf8)
{
    if (entry && utf8) FUZZ_CHECK(isValidUtf8(entry->text));
}

void fuzzBirthday(std::string_view line, bool utf8)
{
    using namespace birthday;
    BirthdayRecord record;
    const int verdict = TanLine(line, record);
    if (verdict == kUnparsable) return;
    checkVerdict(verdict, {record[Year], record[Month], record[Day]});
    FUZZ_CHECK(record[Stop] == "S" || record[Stop] == "N");
    FUZZ_CHECK(record[Colour].size() == 1 && fuzz::isColourCode(record[Colour][0]));
    FUZZ_CHECK(parseNumber(record[Advance]).has_value());
    FUZZ_CHECK(*parseNumber(record[Advance]) <= 14);
    if (verdict <= 0) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts())
        for (const std::uint8_t flags : std::initializer_list<std::uint8_t>{0x00, 0xFF, 0x15})
            checkEntry(birthdayEntry(record, facts, fuzz::settingsFrom(flags)), utf8);
}

void fuzzSchedule(std::string_view line, bool utf8)
{
    using namespace schedule;
    ScheduleRecord record;
    const int verdict = SkeLine(line, record);
    if (verdict == kUnparsable) return;
    checkVerdict(verdict, {record[Year], record[Month], record[Day]});
    FUZZ_CHECK(std::string_view("SABN").find(record[Mark]) != std::string_view::npos &&
               record[Mark].size() == 1);
    FUZZ_CHECK(record[Colour].size() == 1 && fuzz::isColourCode(record[Colour][0]));
    if (verdict <= 0) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts())
        for (const std::uint8_t flags : std::initializer_list<std::uint8_t>{0x00, 0xFF, 0x16})
            checkEntry(scheduleEntry(record, facts, fuzz::settingsFrom(flags)), utf8);
}

void fuzzWeekly(std::string_view line, bool utf8)
{
    using namespace weekly;
    WeeklyRecord record;
    const int verdict = WekLine(line, record);
    if (verdict == kUnparsable) return;
    checkVerdict(verdict, {record[StartMonth], record[StartDay], record[EndMonth], record[EndDay]});
    FUZZ_CHECK(record[Colour].size() == 1 && fuzz::isColourCode(record[Colour][0]));
    if (verdict <= 0) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts())
        checkEntry(weeklyEntry(record, facts, fuzz::settingsFrom(0x0C)), utf8);
}

void fuzzHoliday(std::string_view line, bool)
{
    using namespace holiday;
    HolidayRecord record;
    const int verdict = HolidayLine(line, record);
    if (verdict == kUnparsable) return;
    checkVerdict(verdict, {record[Month], record[Day]});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::forBothReadings(data, size, [](std::string_view line, bool utf8) {
        switch (TIRA_FUZZ_KIND) {
        case 0: fuzzBirthday(line, utf8); break;
        case 1: fuzzSchedule(line, utf8); break;
        case 2: fuzzWeekly(line, utf8); break;
        default: fuzzHoliday(line, utf8); break;
        }
    });
    return 0;
}
