#include "tables/history_line.h"

#include "tables/fields.h"

#include <algorithm>
#include <climits>
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

int fail(LineProblem* problem, LineProblem why) noexcept
{
    if (problem != nullptr) *problem = why;
    return kUnparsable;
}

char kindLetterOf(std::string_view kind) noexcept
{
    for (const char letter : {'E', 'B', 'D'})
        if (matchesWord(kind, std::string_view(&letter, 1))) return letter;
    return 'X';
}

int readHistory(FieldList& fields, HistoryLine& line, LineProblem* problem)
{
    line.second = {"0", "0", "0"};
    line.textAt = 0;
    if (!fields.has(1)) return fail(problem, LineProblem::TooFewFields);

    const auto date = splitDate(fields.field(0), 3);
    if (!date) return fail(problem, LineProblem::DateNeedsTwoSlashes);
    line.date = *date;
    line.kind = fields.field(1);
    line.kindLetter = kindLetterOf(line.kind);

    line.colourAt = 3;
    if (line.kindLetter == 'E') {
        if (!fields.has(2)) return fail(problem, LineProblem::TooFewFields);
        line.textAt = 2;
    } else if (line.kindLetter == 'B' || line.kindLetter == 'D') {
        if (!fields.has(3)) return fail(problem, LineProblem::TooFewFields);
        if (!readSecondDate(fields.field(2), line))
            return fail(problem, LineProblem::DateNeedsTwoSlashes);
        line.textAt = 3;
        line.colourAt = 4;
    }

    // a part with any byte above 0x7F is no number, decoded or not
    if (!readNumber(line.date[1], line.month) || !readNumber(line.date[2], line.day) ||
        !readNumber(line.second[1], line.month2) || !readNumber(line.second[2], line.day2))
        return fail(problem, LineProblem::DateNotNumber);
    const std::int64_t sum = std::int64_t{1} + line.month + line.day + line.month2 + line.day2;
    if (sum <= 0 && problem != nullptr) *problem = LineProblem::SumNotPositive;
    return static_cast<int>(std::clamp<std::int64_t>(sum, INT_MIN, INT_MAX));
}

} // namespace

int readHistoryLine(FieldList& fields, HistoryLine& line, LineProblem* problem) noexcept
{
    if (problem != nullptr) *problem = LineProblem::None;
    try {
        return readHistory(fields, line, problem);
    } catch (...) {
        return kUnparsable;
    }
}

void readHistoryExtras(FieldList& fields, HistoryLine& line)
{
    if (line.textAt != 0) line.text = fields.field(line.textAt);
    line.colour = fields.has(line.colourAt) ? colourCode(fields.field(line.colourAt)) : 'A';
}

int HisLine(std::string_view text, HistoryRecord& record, LineProblem* problem) noexcept
{
    record.fill("0");
    thread_local FieldList fields; // keeps its storage from line to line
    thread_local HistoryLine line;
    fields.start(text);
    const int verdict = readHistoryLine(fields, line, problem);
    if (verdict == kUnparsable) return verdict;
    try {
        readHistoryExtras(fields, line);
        record[HistoryYear] = line.date[0];
        record[HistoryMonth] = line.date[1];
        record[HistoryDay] = line.date[2];
        record[HistoryKind] = asciiUpper(line.kind);
        record[HistoryText] = line.kindLetter == 'X' ? std::string(kHistoryReadError)
                                                     : underscoresToSpaces(line.text);
        record[HistoryColour] = std::string(1, line.colour);
        record[HistoryYear2] = line.second[0];
        record[HistoryMonth2] = line.second[1];
        record[HistoryDay2] = line.second[2];
    } catch (...) {
        return kUnparsable;
    }
    return verdict;
}

} // namespace tira
