#include "tables/jikukai.h"

#include <cstdint>

namespace tira {

namespace {

// A date field of N parts each written as an optional sign and one to nine digits, read in
// one pass into `date`, its values added to `sum`; false for anything else (which readDate
// then reads the general way).
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

// Reads a date field of exactly N number parts into `date` and adds its values to `sum`;
// None, or why the field is no such date.
template <std::size_t N>
LineProblem readDate(std::string_view field, DateParts<N>& date, std::int64_t& sum) noexcept
{
    if (readPlainDate(field, date, sum)) return LineProblem::None;
    const auto parts = splitDate(field, static_cast<int>(N));
    if (!parts) return N == 3 ? LineProblem::DateNeedsTwoSlashes : LineProblem::DateNeedsOneSlash;
    for (std::size_t i = 0; i < N; ++i) {
        // a part with any byte above 0x7F is no number, decoded or not
        const auto value = parseNumber((*parts)[i]);
        if (!value) return LineProblem::DateNotNumber;
        date.text[i] = (*parts)[i];
        date.value[i] = *value;
        sum += *value;
    }
    return LineProblem::None;
}

// The advance field when the line has one: the advance days, and `next` moves past it.
LineProblem readAdvance(FieldList& fields, LineEncoding encoding, std::int32_t& advance,
                        std::size_t& next) noexcept
{
    next = 0;
    advance = 0;
    if (!fields.has(0) || !isAdvanceField(fields.field(0))) return LineProblem::None;
    const auto days = advanceDays(fields.field(0), encoding);
    if (!days) return LineProblem::AdvanceNotNumber;
    advance = *days;
    next = 1;
    return LineProblem::None;
}

// The start of a birthday or schedule line: [+advance] year/month/day and at least
// `needed` fields after the date. The date's values go to `sum`; `next` is the first field
// after the date.
LineProblem readDatedStart(FieldList& fields, LineEncoding encoding, std::size_t needed,
                           std::int32_t& advance, DateParts<3>& date, std::int64_t& sum,
                           std::size_t& next) noexcept
{
    if (const auto problem = readAdvance(fields, encoding, advance, next);
        problem != LineProblem::None)
        return problem;
    if (!fields.has(next + needed)) return LineProblem::TooFewFields;
    const auto problem = readDate(fields.field(next), date, sum);
    ++next;
    return problem;
}

} // namespace

BirthdayLine TanLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<BirthdayLine>([&](BirthdayLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        line.fields = &fields;
        line.spareAt = 0; // the spare field, then the name
        return readDatedStart(fields, encoding, 2, line.advance, line.date, sum, line.spareAt);
    });
}

std::string_view BirthdayLine::spare1() const noexcept
{
    return fields->field(spareAt);
}

std::string_view BirthdayLine::name() const noexcept
{
    return fields->field(spareAt + 1);
}

std::string_view BirthdayLine::spare2() const noexcept
{
    return fields->has(spareAt + 2) ? fields->field(spareAt + 2) : std::string_view{};
}

char BirthdayLine::stop() const noexcept
{
    return fields->has(spareAt + 3) ? stopMark(fields->field(spareAt + 3)) : 'N';
}

char BirthdayLine::colour() const noexcept
{
    return fields->has(spareAt + 4) ? colourCode(fields->field(spareAt + 4)) : 'A';
}

ScheduleLine SkeLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<ScheduleLine>([&](ScheduleLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        std::size_t at = 0;
        if (const auto problem =
                readDatedStart(fields, encoding, 1, line.advance, line.date, sum, at);
            problem != LineProblem::None)
            return problem;
        // the field after the date is the comment whenever it holds a "*", wherever
        if (const std::string_view field = fields.field(at);
            field.find('*') != std::string_view::npos) {
            line.comment = field.substr(firstCharacterLength(field, encoding));
            ++at;
        }
        if (!fields.has(at)) return LineProblem::TooFewFields;
        line.text = fields.field(at);
        line.mark = fields.has(at + 1) ? scheduleMark(fields.field(at + 1)) : 'N';
        line.colour = fields.has(at + 2) ? colourCode(fields.field(at + 2)) : 'A';
        return LineProblem::None;
    });
}

WeeklyLine WekLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<WeeklyLine>([&](WeeklyLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        line.fields = &fields;
        if (!fields.has(2)) return LineProblem::TooFewFields;
        const auto problem = readDate(fields.field(0), line.start, sum);
        return problem != LineProblem::None ? problem : readDate(fields.field(1), line.end, sum);
    });
}

std::string_view WeeklyLine::text() const noexcept
{
    return fields->field(2);
}

char WeeklyLine::colour() const noexcept
{
    return fields->has(3) ? colourCode(fields->field(3)) : 'A';
}

HolidayLine HolLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<HolidayLine>([&](HolidayLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        if (!fields.has(2)) return LineProblem::TooFewFields;
        line.name = fields.field(2);
        if (!readNumber(fields.field(0), line.month) || !readNumber(fields.field(1), line.day))
            return LineProblem::NotNumber;
        sum = std::int64_t{line.month} + line.day;
        return LineProblem::None;
    });
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
