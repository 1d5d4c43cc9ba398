#include "tables/event_line.h"

#include "tables/fields.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace tira {

namespace {

constexpr auto npos = std::string_view::npos;

struct DayField
{
    std::string_view value;
    DayForm form = DayForm::Plain;
    std::string_view rangeEnd = "0";
};

// The markers are tested in a fixed order, so "<" wins over ">" and "&" over "-".
DayField readDayField(std::string_view field) noexcept
{
    if (const auto at = field.find("<<"); at != npos)
        return {field.substr(at + 2), DayForm::EarlierWorkingDay};
    if (const auto at = field.find('<'); at != npos)
        return {field.substr(at + 1), DayForm::Earlier};
    if (const auto at = field.find(">>"); at != npos)
        return {field.substr(at + 2), DayForm::LaterWorkingDay};
    if (const auto at = field.find('>'); at != npos) return {field.substr(at + 1), DayForm::Later};
    if (const auto at = field.find('&'); at != npos)
        return {field.substr(at + 1), DayForm::Unsupported};
    if (const auto at = field.find('-'); at != npos && at != 0)
        return {field.substr(0, at), DayForm::Range, field.substr(at + 1)};
    if (!field.empty() && field.front() == '-') return {field.substr(1), DayForm::FromMonthEnd};
    return {field, DayForm::Plain};
}

struct WeekField
{
    std::string_view value;
    WeekForm form = WeekForm::OfMonth;
};

WeekField readWeekField(std::string_view field) noexcept
{
    if (field.starts_with('-')) return {field.substr(1), WeekForm::FromMonthEnd};
    if (field.starts_with('!')) {
        if (const auto at = field.find("!-"); at != npos)
            return {field.substr(at + 2), WeekForm::FromYearEnd};
        return {field.substr(1), WeekForm::OfYear};
    }
    if (field.starts_with("%1")) return {"0", WeekForm::OddWeeks};
    if (field.starts_with("%2")) return {"0", WeekForm::EvenWeeks};
    return {field, WeekForm::OfMonth};
}

// Event colour words carry a leading "&"; any other text with "&" is automatic.
char eventColourCode(std::string_view field)
{
    const std::string upper = asciiUpper(field);
    if (!upper.starts_with('&')) return 'A';
    return colourCode(std::string_view(upper).substr(1));
}

std::string digit(int value)
{
    return std::string(1, static_cast<char>('0' + value));
}

} // namespace

int EveLine(std::string_view line, EventRule& rule, LineProblem* problem) noexcept
{
    const auto fail = [problem](LineProblem why) {
        if (problem != nullptr) *problem = why;
        return kUnparsable;
    };
    if (problem != nullptr) *problem = LineProblem::None;
    rule.fill("0");
    thread_local FieldList fields; // keeps its storage from line to line
    fields.split(line);

    std::size_t next = 0;
    if (!fields.empty() && isAdvanceField(fields[0])) {
        const auto days = advanceDays(fields[0]);
        if (!days) return fail(LineProblem::AdvanceNotNumber);
        rule[EventAdvance] = std::to_string(*days);
        next = 1;
    }
    if (fields.size() < next + 4) return fail(LineProblem::TooFewFields);

    const DayField day = readDayField(fields[next]);
    rule[EventDay] = std::string(day.value);
    rule[EventDayForm] = digit(static_cast<int>(day.form));
    rule[EventRangeEnd] = std::string(day.rangeEnd);
    rule[EventWeekday] = fields[next + 1];
    const WeekField week = readWeekField(fields[next + 2]);
    rule[EventWeek] = std::string(week.value);
    rule[EventWeekForm] = digit(static_cast<int>(week.form));
    rule[EventMonth] = fields[next + 3];

    std::size_t textStart = next + 4;
    rule[EventColour] = "A";
    if (fields.size() > textStart && fields[textStart].find('&') != std::string::npos) {
        rule[EventColour] = std::string(1, eventColourCode(fields[textStart]));
        ++textStart;
    }
    std::string text;
    for (std::size_t i = textStart; i < fields.size(); ++i) {
        if (i > textStart) text.push_back(' ');
        text += fields[i];
    }
    rule[EventText] = underscoresToSpaces(text);

    std::int64_t sum = 1;
    for (const EventField field : {EventDay, EventWeekday, EventWeek, EventMonth}) {
        const auto value = parseNumber(rule[field]);
        if (!value) return fail(LineProblem::NotNumber);
        sum += *value;
    }
    if (sum <= 0 && problem != nullptr) *problem = LineProblem::SumNotPositive;
    return static_cast<int>(std::clamp<std::int64_t>(sum, INT_MIN, INT_MAX));
}

void expandCommaList(std::string_view line, const std::function<void(std::string_view)>& onLine)
{
    const auto firstComma = line.find(',');
    if (firstComma == npos) {
        onLine(line);
        return;
    }
    // the fields before the list: everything up to the last space before the first comma
    std::string prefix;
    const auto lastSpace = line.substr(0, firstComma).rfind(' ');
    if (lastSpace != npos) prefix.assign(line.substr(0, lastSpace + 1));
    std::string_view list = line.substr(prefix.size());

    // a shift marker in front of the list belongs to every item
    for (const char marker : {'>', '<'}) {
        if (!list.starts_with(marker)) continue;
        list.remove_prefix(1);
        prefix.push_back(marker);
        if (list.starts_with(marker)) {
            list.remove_prefix(1);
            prefix.push_back(marker);
        }
    }

    std::string produced;
    // every pass drops at least the comma it stands on, so the loop ends
    for (auto comma = list.find(','); comma != npos; comma = list.find(',')) {
        const std::string_view item = list.substr(0, comma);
        const auto space = list.find(' ');
        const std::string_view rest = space == npos ? list : list.substr(space + 1);
        produced.assign(prefix);
        produced += item;
        produced.push_back(' ');
        produced += rest;
        list.remove_prefix(comma + 1);
        onLine(produced);
    }
    produced.assign(prefix);
    produced += list;
    onLine(produced);
}

} // namespace tira
