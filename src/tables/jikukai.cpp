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

// A date field of N number parts: its parts as written and their values.
template <std::size_t N> struct DateField
{
    std::array<std::string_view, N> text{};
    std::int64_t sum = 0;
};

// Reads a date field of exactly N number parts; nullopt when the field is no such date.
template <std::size_t N>
std::optional<DateField<N>> readDate(std::string_view field, LineProblem* problem) noexcept
{
    const auto parts = splitDate(field, static_cast<int>(N));
    if (!parts) {
        fail(problem, N == 3 ? LineProblem::DateNeedsTwoSlashes : LineProblem::DateNeedsOneSlash);
        return std::nullopt;
    }
    DateField<N> date;
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = parseNumber((*parts)[i]);
        if (!value) {
            fail(problem, LineProblem::DateNotNumber);
            return std::nullopt;
        }
        date.text[i] = (*parts)[i];
        date.sum += *value;
    }
    return date;
}

// The advance field when the line has one: sets the record's advance days and the index
// of the first entry field. False when the advance field is not a number.
bool readAdvance(const FieldList& fields, std::string& advance, std::size_t& next,
                 LineProblem* problem)
{
    next = 0;
    if (fields.empty() || !isAdvanceField(fields[0])) return true;
    const auto days = advanceDays(fields[0]);
    if (!days) {
        fail(problem, LineProblem::AdvanceNotNumber);
        return false;
    }
    advance = std::to_string(*days);
    next = 1;
    return true;
}

int tanLine(std::string_view line, BirthdayRecord& record, LineProblem* problem)
{
    using namespace birthday;
    FieldList fields;
    fields.split(line);
    std::size_t next = 0; // first field of the entry proper
    if (!readAdvance(fields, record[Advance], next, problem)) return kUnparsable;
    if (fields.size() < next + 3) return fail(problem, LineProblem::TooFewFields);
    const auto date = readDate<3>(fields[next], problem);
    if (!date) return kUnparsable;
    record[Year] = date->text[0];
    record[Month] = date->text[1];
    record[Day] = date->text[2];
    record[Spare1] = fields[next + 1];
    record[Name] = underscoresToSpaces(fields[next + 2]);
    if (fields.size() > next + 3) record[Spare2] = underscoresToSpaces(fields[next + 3]);
    record[Stop] = std::string(1, fields.size() > next + 4 ? stopMark(fields[next + 4]) : 'N');
    record[Colour] = std::string(1, fields.size() > next + 5 ? colourCode(fields[next + 5]) : 'A');
    return verdictOf(date->sum);
}

int skeLine(std::string_view line, ScheduleRecord& record, LineProblem* problem)
{
    using namespace schedule;
    FieldList fields;
    fields.split(line);
    std::size_t next = 0;
    if (!readAdvance(fields, record[Advance], next, problem)) return kUnparsable;
    if (fields.size() < next + 2) return fail(problem, LineProblem::TooFewFields);
    const auto date = readDate<3>(fields[next], problem);
    if (!date) return kUnparsable;
    record[Year] = date->text[0];
    record[Month] = date->text[1];
    record[Day] = date->text[2];
    std::size_t at = next + 1;
    record[Comment].clear();
    // the field after the date is the comment whenever it holds a "*", wherever
    if (fields[at].find('*') != std::string::npos) {
        record[Comment] = underscoresToSpaces(withoutFirstCharacter(fields[at]));
        ++at;
    }
    if (fields.size() <= at) return fail(problem, LineProblem::TooFewFields);
    record[Text] = underscoresToSpaces(fields[at]);
    record[Mark] = std::string(1, fields.size() > at + 1 ? scheduleMark(fields[at + 1]) : 'N');
    record[Colour] = std::string(1, fields.size() > at + 2 ? colourCode(fields[at + 2]) : 'A');
    return verdictOf(date->sum);
}

int wekLine(std::string_view line, WeeklyRecord& record, LineProblem* problem)
{
    using namespace weekly;
    FieldList fields;
    fields.split(line);
    if (fields.size() < 3) return fail(problem, LineProblem::TooFewFields);
    const auto start = readDate<2>(fields[0], problem);
    if (!start) return kUnparsable;
    const auto end = readDate<2>(fields[1], problem);
    if (!end) return kUnparsable;
    record[StartMonth] = start->text[0];
    record[StartDay] = start->text[1];
    record[EndMonth] = end->text[0];
    record[EndDay] = end->text[1];
    record[Text] = weeklySentence(underscoresToSpaces(fields[2]));
    record[Colour] = std::string(1, fields.size() > 3 ? colourCode(fields[3]) : 'A');
    return verdictOf(start->sum + end->sum);
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
