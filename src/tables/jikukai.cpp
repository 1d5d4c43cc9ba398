#include "tables/jikukai.h"

#include <climits>
#include <cstdint>
#include <new>
#include <optional>

namespace tira {

namespace {

// Sums the numbers of a line into a verdict. The parts are 32-bit values, so the sum is
// taken in 64 bits and held within int: a huge but valid line stays valid, never wraps.
int verdictOf(std::int64_t sum) noexcept
{
    const std::int64_t verdict = sum + 1;
    if (verdict > INT_MAX) return INT_MAX;
    if (verdict < INT_MIN) return INT_MIN;
    return static_cast<int>(verdict);
}

// Records why a line fails (when asked) and gives the verdict of a line that cannot be parsed.
int fail(LineProblem* problem, LineProblem why) noexcept
{
    if (problem != nullptr) *problem = why;
    return kUnparsable;
}

// Reads a date field of exactly N number parts into `date` and adds its values to `sum`;
// false when the field is no such date.
// A date of N parts each written as an optional sign and one to nine digits, read in one
// pass; false for anything else (which readDate then reads the general way).
template <std::size_t N>
bool readPlainDate(std::string_view field, DateParts<N>& date, std::int64_t& sum) noexcept
{
    const char* p = field.data();
    const char* const end = p + field.size();
    std::int64_t total = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const char* const partStart = p;
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) ++p;
        const char* const digits = p;
        std::uint32_t value = 0;
        unsigned digit = 0;
        while (p < end && (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9) {
            value = value * 10 + digit;
            ++p;
        }
        // one to nine digits cannot overflow; longer numbers go the general way
        if (p == digits || p - digits > 9) return false;
        date.text[i] = std::string_view(partStart, static_cast<std::size_t>(p - partStart));
        const auto number = static_cast<std::int32_t>(value);
        date.value[i] = negative ? -number : number;
        total += date.value[i];
        if (i + 1 < N) {
            if (p == end || *p != '/') return false;
            ++p;
        }
    }
    if (p != end) return false;
    sum += total;
    return true;
}

template <std::size_t N>
bool readDate(std::string_view field, DateParts<N>& date, std::int64_t& sum,
              LineProblem* problem) noexcept
{
    if (readPlainDate(field, date, sum)) return true;
    const auto parts = splitDate(field, static_cast<int>(N));
    if (!parts) {
        fail(problem, N == 3 ? LineProblem::DateNeedsTwoSlashes : LineProblem::DateNeedsOneSlash);
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        // a part with any byte above 0x7F is no number, decoded or not
        const auto value = parseNumber((*parts)[i]);
        if (!value) {
            fail(problem, LineProblem::DateNotNumber);
            return false;
        }
        date.text[i] = (*parts)[i];
        date.value[i] = *value;
        sum += *value;
    }
    return true;
}

// The advance field when the line has one: the advance days and the index of the first
// entry field. False when the advance field is not a number.
bool readAdvance(FieldList& fields, LineEncoding encoding, std::int32_t& advance, bool& hasAdvance,
                 std::size_t& next, LineProblem* problem)
{
    next = 0;
    advance = 0;
    hasAdvance = false;
    if (!fields.has(0) || !isAdvanceField(fields.field(0))) return true;
    const auto days = advanceDays(fields.field(0), encoding);
    if (!days) {
        fail(problem, LineProblem::AdvanceNotNumber);
        return false;
    }
    advance = *days;
    hasAdvance = true;
    next = 1;
    return true;
}

int readBirthday(FieldList& fields, LineEncoding encoding, BirthdayLine& line, LineProblem* problem)
{
    std::size_t next = 0; // first field of the entry proper
    if (!readAdvance(fields, encoding, line.advance, line.hasAdvance, next, problem))
        return kUnparsable;
    if (!fields.has(next + 2)) return fail(problem, LineProblem::TooFewFields);
    std::int64_t sum = 0;
    if (!readDate(fields.field(next), line.date, sum, problem)) return kUnparsable;
    line.extrasFrom = next + 1; // the spare field and the name are read with the extras
    return verdictOf(sum);
}

int readSchedule(FieldList& fields, LineEncoding encoding, ScheduleLine& line, LineProblem* problem)
{
    line.date = {};
    line.comment = {};
    line.text = {};
    line.mark = 'N';
    line.colour = 'A';
    std::size_t next = 0;
    if (!readAdvance(fields, encoding, line.advance, line.hasAdvance, next, problem))
        return kUnparsable;
    if (!fields.has(next + 1)) return fail(problem, LineProblem::TooFewFields);
    std::int64_t sum = 0;
    if (!readDate(fields.field(next), line.date, sum, problem)) return kUnparsable;
    std::size_t at = next + 1;
    // the field after the date is the comment whenever it holds a "*", wherever
    if (const std::string_view field = fields.field(at);
        field.find('*') != std::string_view::npos) {
        if (encoding == LineEncoding::Text) {
            line.comment = {withoutFirstCharacter(field), true};
        } else if (static_cast<unsigned char>(field.front()) < 0x80) {
            line.comment = {field.substr(1)}; // an ASCII byte decodes to itself, alone
        } else {
            line.decodedComment.clear();
            appendText(line.decodedComment, field, encoding);
            line.comment = {withoutFirstCharacter(line.decodedComment), true};
        }
        ++at;
    }
    if (!fields.has(at)) return fail(problem, LineProblem::TooFewFields);
    line.text = {fields.field(at)};
    line.mark = fields.has(at + 1) ? scheduleMark(fields.field(at + 1)) : 'N';
    line.colour = fields.has(at + 2) ? colourCode(fields.field(at + 2)) : 'A';
    return verdictOf(sum);
}

int readWeekly(FieldList& fields, WeeklyLine& line, LineProblem* problem)
{
    if (!fields.has(2)) return fail(problem, LineProblem::TooFewFields);
    std::int64_t sum = 0;
    if (!readDate(fields.field(0), line.start, sum, problem)) return kUnparsable;
    if (!readDate(fields.field(1), line.end, sum, problem)) return kUnparsable;
    return verdictOf(sum); // the text is read with the extras
}

// Runs a reader: any failure inside (memory included) becomes the verdict kUnparsable, and
// a verdict of 0 or less that no step explained comes from the sum of the numbers.
template <class Read> int guardedRead(LineProblem* problem, Read read) noexcept
{
    if (problem != nullptr) *problem = LineProblem::None;
    try {
        const int verdict = read();
        if (verdict <= 0 && problem != nullptr && *problem == LineProblem::None)
            *problem = LineProblem::SumNotPositive;
        return verdict;
    } catch (...) {
        return kUnparsable;
    }
}

std::string letter(char c)
{
    return std::string(1, c);
}

int tanLine(std::string_view text, BirthdayRecord& record, LineProblem* problem)
{
    using namespace birthday;
    thread_local FieldList fields;
    thread_local BirthdayLine line;
    fields.start(text);
    const int verdict = readBirthday(fields, LineEncoding::Text, line, problem);
    if (verdict == kUnparsable) return verdict;
    readBirthdayExtras(fields, line);
    if (line.hasAdvance) record[Advance] = std::to_string(line.advance);
    record[Year] = line.date.text[0];
    record[Month] = line.date.text[1];
    record[Day] = line.date.text[2];
    record[Spare1] = line.spare1;
    record[Name] = shownText(line.name, LineEncoding::Text);
    if (line.hasSpare2) record[Spare2] = shownText(line.spare2, LineEncoding::Text);
    record[Stop] = letter(line.stop);
    record[Colour] = letter(line.colour);
    return verdict;
}

int skeLine(std::string_view text, ScheduleRecord& record, LineProblem* problem)
{
    using namespace schedule;
    thread_local FieldList fields;
    thread_local ScheduleLine line;
    fields.start(text);
    const int verdict = readSchedule(fields, LineEncoding::Text, line, problem);
    if (verdict == kUnparsable) return verdict;
    if (line.hasAdvance) record[Advance] = std::to_string(line.advance);
    record[Year] = line.date.text[0];
    record[Month] = line.date.text[1];
    record[Day] = line.date.text[2];
    record[Comment] = shownText(line.comment, LineEncoding::Text);
    record[Text] = shownText(line.text, LineEncoding::Text);
    record[Mark] = letter(line.mark);
    record[Colour] = letter(line.colour);
    return verdict;
}

int wekLine(std::string_view text, WeeklyRecord& record, LineProblem* problem)
{
    using namespace weekly;
    thread_local FieldList fields;
    thread_local WeeklyLine line;
    fields.start(text);
    const int verdict = readWeekly(fields, line, problem);
    if (verdict == kUnparsable) return verdict;
    readWeeklyExtras(fields, line);
    record[StartMonth] = line.start.text[0];
    record[StartDay] = line.start.text[1];
    record[EndMonth] = line.end.text[0];
    record[EndDay] = line.end.text[1];
    record[Text] = weeklySentence(shownText(line.text, LineEncoding::Text));
    record[Colour] = letter(line.colour);
    return verdict;
}

int holidayLine(std::string_view line, HolidayRecord& record, LineProblem* problem)
{
    using namespace holiday;
    FieldList fields;
    fields.split(line);
    if (fields.size() < 3) return fail(problem, LineProblem::TooFewFields);
    record[Month] = fields[0];
    record[Day] = fields[1];
    record[Name] = fields[2];
    const auto month = parseNumber(fields[0]);
    const auto day = parseNumber(fields[1]);
    if (!month || !day) return fail(problem, LineProblem::NotNumber);
    return verdictOf(std::int64_t{*month} + *day);
}

// Runs a parser with the record preset to "0"; any failure inside (memory included)
// becomes the verdict kUnparsable. A verdict of 0 or less that no step explained comes from
// the sum of the numbers.
template <class Record, class Parse>
int guarded(std::string_view line, Record& record, LineProblem* problem, Parse parse) noexcept
{
    if (problem != nullptr) *problem = LineProblem::None;
    try {
        record.fill("0");
        const int verdict = parse(line, record, problem);
        if (verdict <= 0 && problem != nullptr && *problem == LineProblem::None)
            *problem = LineProblem::SumNotPositive;
        return verdict;
    } catch (...) {
        return kUnparsable;
    }
}

} // namespace

int readBirthdayLine(FieldList& fields, LineEncoding encoding, BirthdayLine& line,
                     LineProblem* problem) noexcept
{
    return guardedRead(problem, [&] { return readBirthday(fields, encoding, line, problem); });
}

void readBirthdayExtras(FieldList& fields, BirthdayLine& line)
{
    const std::size_t at = line.extrasFrom;
    line.spare1 = fields.field(at);
    line.name = {fields.field(at + 1)};
    line.hasSpare2 = fields.has(at + 2);
    line.spare2 = line.hasSpare2 ? LineText{fields.field(at + 2)} : LineText{};
    line.stop = fields.has(at + 3) ? stopMark(fields.field(at + 3)) : 'N';
    line.colour = fields.has(at + 4) ? colourCode(fields.field(at + 4)) : 'A';
}

int readScheduleLine(FieldList& fields, LineEncoding encoding, ScheduleLine& line,
                     LineProblem* problem) noexcept
{
    return guardedRead(problem, [&] { return readSchedule(fields, encoding, line, problem); });
}

int readWeeklyLine(FieldList& fields, WeeklyLine& line, LineProblem* problem) noexcept
{
    return guardedRead(problem, [&] { return readWeekly(fields, line, problem); });
}

void readWeeklyExtras(FieldList& fields, WeeklyLine& line)
{
    line.text = {fields.field(2)};
    line.colour = fields.has(3) ? colourCode(fields.field(3)) : 'A';
}

int TanLine(std::string_view line, BirthdayRecord& record, LineProblem* problem) noexcept
{
    return guarded(line, record, problem, tanLine);
}

int SkeLine(std::string_view line, ScheduleRecord& record, LineProblem* problem) noexcept
{
    return guarded(line, record, problem, skeLine);
}

int WekLine(std::string_view line, WeeklyRecord& record, LineProblem* problem) noexcept
{
    return guarded(line, record, problem, wekLine);
}

int HolidayLine(std::string_view line, HolidayRecord& record, LineProblem* problem) noexcept
{
    return guarded(line, record, problem, holidayLine);
}

char scheduleMark(std::string_view word) noexcept
{
    if (stopMark(word) == 'S') return 'S';
    if (matchesWord(word, "A") || matchesWord(word, "AFTER")) return 'A';
    if (matchesWord(word, "B") || matchesWord(word, "BEFORE")) return 'B';
    return 'N';
}

std::string weeklySentence(std::string_view text)
{
    if (text.empty()) return {};
    const auto dot = text.find('.');
    if (dot == text.size() - 1) return std::string(text.substr(0, dot));
    std::string out(text);
    out += "です。";
    return out;
}

} // namespace tira
