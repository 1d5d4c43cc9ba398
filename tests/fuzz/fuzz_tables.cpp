// The birthday, schedule, weekly and holiday parsers and the sections' deciders.
// TIRA_FUZZ_KIND selects the parser: 0 birthday, 1 schedule, 2 weekly, 3 holiday.
#include "fuzz_support.h"
#include "report/table_sections.h"
#include "tables/jikukai.h"
#include "text/cp932.h"

#include <algorithm>
#include <climits>

using namespace tira;

namespace {

// The date parts a line holds are numbers whose sum + 1 is the verdict (held in int).
void checkVerdict(int verdict, std::initializer_list<std::int32_t> numbers)
{
    std::int64_t sum = 1;
    for (const std::int32_t n : numbers)
        sum += n;
    const std::int64_t held = std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX);
    FUZZ_CHECK(verdict == held);
}

void checkEntry(const std::optional<EntryLine>& entry, bool utf8)
{
    if (entry && utf8) FUZZ_CHECK(isValidUtf8(entry->text));
}

template <auto Parse> auto parsed(std::string_view line)
{
    thread_local FieldList fields;
    fields.start(line);
    return Parse(fields, LineEncoding::Text);
}

void fuzzBirthday(std::string_view line, bool utf8)
{
    const BirthdayLine entry = parsed<TanLine>(line);
    if (entry.verdict.value == kUnparsable) return;
    checkVerdict(entry.verdict.value,
                 {entry.date.value[0], entry.date.value[1], entry.date.value[2]});
    thread_local FieldList tailFields;
    const BirthdayTail tail = birthdayTail(entry, tailFields);
    FUZZ_CHECK(tail.stop == 'S' || tail.stop == 'N');
    FUZZ_CHECK(fuzz::isColourCode(tail.colour));
    FUZZ_CHECK(entry.advance <= 14);
    if (!entry.verdict.kept()) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts())
        for (const std::uint8_t flags : std::initializer_list<std::uint8_t>{0x00, 0xFF, 0x15})
            checkEntry(birthdayEntry(entry, facts, fuzz::settingsFrom(flags)), utf8);
}

void fuzzSchedule(std::string_view line, bool utf8)
{
    const ScheduleLine entry = parsed<SkeLine>(line);
    if (entry.verdict.value == kUnparsable) return;
    checkVerdict(entry.verdict.value,
                 {entry.date.value[0], entry.date.value[1], entry.date.value[2]});
    FUZZ_CHECK(std::string_view("SABN").find(entry.mark) != std::string_view::npos);
    FUZZ_CHECK(fuzz::isColourCode(entry.colour));
    if (!entry.verdict.kept()) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts())
        for (const std::uint8_t flags : std::initializer_list<std::uint8_t>{0x00, 0xFF, 0x16})
            checkEntry(scheduleEntry(entry, facts, fuzz::settingsFrom(flags)), utf8);
}

void fuzzWeekly(std::string_view line, bool utf8)
{
    const WeeklyLine entry = parsed<WekLine>(line);
    if (entry.verdict.value == kUnparsable) return;
    checkVerdict(entry.verdict.value, {entry.start.value[0], entry.start.value[1],
                                       entry.end.value[0], entry.end.value[1]});
    thread_local FieldList tailFields;
    FUZZ_CHECK(fuzz::isColourCode(weeklyTail(entry, tailFields).colour));
    if (!entry.verdict.kept()) return;
    for (const CalendarFacts& facts : fuzz::sampleFacts())
        checkEntry(weeklyEntry(entry, facts, fuzz::settingsFrom(0x0C)), utf8);
}

void fuzzHoliday(std::string_view line, bool)
{
    const HolidayLine entry = parsed<HolLine>(line);
    if (entry.verdict.value == kUnparsable) return;
    checkVerdict(entry.verdict.value, {entry.month, entry.day});
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
