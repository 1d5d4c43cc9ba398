#include "tables/history_line.h"

#include "tables/fields.h"

#include <cstdint>

namespace tira {

namespace {

// A second date: open when it holds no "/", a part with "?" anywhere counts as 0.
bool readSecondDate(std::string_view field, HistoryLine& line) noexcept
{
    if (field.find('/') == std::string_view::npos) return true; // stays 0/0/0
    const auto parts = splitDate(field, 3);
    if (!parts) return false;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string_view part = (*parts)[i];
        line.second[i] = part.find('?') != std::string_view::npos ? "0" : part;
    }
    return true;
}

char kindLetterOf(std::string_view kind) noexcept
{
    for (const char letter : {'E', 'B', 'D'})
        if (matchesWord(kind, std::string_view(&letter, 1))) return letter;
    return 'X';
}

} // namespace

HistoryLine HisLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<HistoryLine>([&](HistoryLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        line.fields = &fields;
        if (!fields.has(1)) return LineProblem::TooFewFields;
        const auto date = splitDate(fields.field(0), 3);
        if (!date) return LineProblem::DateNeedsTwoSlashes;
        line.date = *date;
        line.kind = fields.field(1);
        line.kindLetter = kindLetterOf(line.kind);
        if (line.kindLetter == 'E') {
            if (!fields.has(2)) return LineProblem::TooFewFields;
            line.textAt = 2;
        } else if (line.kindLetter == 'B' || line.kindLetter == 'D') {
            if (!fields.has(3)) return LineProblem::TooFewFields;
            if (!readSecondDate(fields.field(2), line)) return LineProblem::DateNeedsTwoSlashes;
            line.textAt = 3;
            line.colourAt = 4;
        }
        // a part with any byte above 0x7F is no number, decoded or not
        if (!readNumber(line.date[1], line.month) || !readNumber(line.date[2], line.day) ||
            !readNumber(line.second[1], line.month2) || !readNumber(line.second[2], line.day2))
            return LineProblem::DateNotNumber;
        sum = std::int64_t{line.month} + line.day + line.month2 + line.day2;
        return LineProblem::None;
    });
}

std::string_view HistoryLine::text() const noexcept
{
    return textAt != 0 ? fields->field(textAt) : std::string_view{};
}

char HistoryLine::colour() const noexcept
{
    return fields->has(colourAt) ? colourCode(fields->field(colourAt)) : 'A';
}

} // namespace tira
