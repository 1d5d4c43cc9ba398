#include "tables/history_line.h"

#include "tables/fields.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace tira {

namespace {

// A second date: open when it holds no "/", a part with "?" anywhere counts as 0.
bool readSecondDate(std::string_view field, HistoryRecord& record)
{
    if (field.find('/') == std::string_view::npos) return true; // stays 0/0/0
    const auto parts = splitDate(field, 3);
    if (!parts) return false;
    const HistoryField targets[] = {HistoryYear2, HistoryMonth2, HistoryDay2};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string_view part = (*parts)[i];
        record[targets[i]] = part.find('?') != std::string_view::npos ? "0" : std::string(part);
    }
    return true;
}

} // namespace

int HisLine(std::string_view line, HistoryRecord& record, LineProblem* problem) noexcept
{
    const auto fail = [problem](LineProblem why) {
        if (problem != nullptr) *problem = why;
        return kUnparsable;
    };
    if (problem != nullptr) *problem = LineProblem::None;
    record.fill("0");
    thread_local FieldList fields; // keeps its storage from line to line
    fields.split(line);
    if (fields.size() < 2) return fail(LineProblem::TooFewFields);

    const auto date = splitDate(fields[0], 3);
    if (!date) return fail(LineProblem::DateNeedsTwoSlashes);
    record[HistoryYear] = std::string((*date)[0]);
    record[HistoryMonth] = std::string((*date)[1]);
    record[HistoryDay] = std::string((*date)[2]);
    record[HistoryKind] = asciiUpper(fields[1]);

    std::size_t colourAt = 0;
    const std::string& kind = record[HistoryKind];
    if (kind == "E") {
        if (fields.size() < 3) return fail(LineProblem::TooFewFields);
        record[HistoryText] = underscoresToSpaces(fields[2]);
        colourAt = 3;
    } else if (kind == "B" || kind == "D") {
        if (fields.size() < 4) return fail(LineProblem::TooFewFields);
        if (!readSecondDate(fields[2], record)) return fail(LineProblem::DateNeedsTwoSlashes);
        record[HistoryText] = underscoresToSpaces(fields[3]);
        colourAt = 4;
    } else {
        record[HistoryText] = std::string(kHistoryReadError);
        colourAt = 3;
    }
    record[HistoryColour] =
        std::string(1, fields.size() > colourAt ? colourCode(fields[colourAt]) : 'A');

    std::int64_t sum = 1;
    for (const HistoryField field : {HistoryMonth, HistoryDay, HistoryMonth2, HistoryDay2}) {
        const auto value = parseNumber(record[field]);
        if (!value) return fail(LineProblem::DateNotNumber);
        sum += *value;
    }
    if (sum <= 0 && problem != nullptr) *problem = LineProblem::SumNotPositive;
    return static_cast<int>(std::clamp<std::int64_t>(sum, INT_MIN, INT_MAX));
}

} // namespace tira
