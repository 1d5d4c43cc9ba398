#include "tables/event_line.h"

#include "tables/fields.h"

#include <cstdint>

namespace tira {

namespace {

constexpr auto npos = std::string_view::npos;

// The markers are tested in a fixed order, so "<" wins over ">" and "&" over "-". One pass
// tells which markers are there; a plain day needs no search at all.
void readDayField(std::string_view field, EventLine& line) noexcept
{
    bool less = false;
    bool greater = false;
    bool ampersand = false;
    bool dash = false;
    for (const char c : field) {
        less = less || c == '<';
        greater = greater || c == '>';
        ampersand = ampersand || c == '&';
        dash = dash || c == '-';
    }
    line.rangeEnd = "0";
    const auto take = [&](std::string_view value, DayForm form) {
        line.day = value;
        line.dayForm = form;
    };
    if (less) {
        if (const auto at = field.find("<<"); at != npos)
            return take(field.substr(at + 2), DayForm::EarlierWorkingDay);
        return take(field.substr(field.find('<') + 1), DayForm::Earlier);
    }
    if (greater) {
        if (const auto at = field.find(">>"); at != npos)
            return take(field.substr(at + 2), DayForm::LaterWorkingDay);
        return take(field.substr(field.find('>') + 1), DayForm::Later);
    }
    if (ampersand) return take(field.substr(field.find('&') + 1), DayForm::Unsupported);
    if (dash) {
        const auto at = field.find('-');
        if (at == 0) return take(field.substr(1), DayForm::FromMonthEnd);
        line.rangeEnd = field.substr(at + 1);
        return take(field.substr(0, at), DayForm::Range);
    }
    take(field, DayForm::Plain);
}

void readWeekField(std::string_view field, EventLine& line) noexcept
{
    const auto take = [&](std::string_view value, WeekForm form) {
        line.week = value;
        line.weekForm = form;
    };
    if (field.starts_with('-')) return take(field.substr(1), WeekForm::FromMonthEnd);
    if (field.starts_with('!')) {
        if (const auto at = field.find("!-"); at != npos)
            return take(field.substr(at + 2), WeekForm::FromYearEnd);
        return take(field.substr(1), WeekForm::OfYear);
    }
    if (field.starts_with("%1")) return take("0", WeekForm::OddWeeks);
    if (field.starts_with("%2")) return take("0", WeekForm::EvenWeeks);
    take(field, WeekForm::OfMonth);
}

// Event colour words carry a leading "&"; any other text with "&" is automatic. The words
// are ASCII, so the bytes of a field that is not need no decoding: they match nothing.
char eventColourCode(std::string_view field) noexcept
{
    if (!field.starts_with('&')) return 'A';
    return colourCode(field.substr(1));
}

} // namespace

EventLine EveLine(FieldList& fields, LineEncoding encoding) noexcept
{
    return parsedLine<EventLine>([&](EventLine& line, std::int64_t& sum) {
        line.encoding = encoding;
        line.fields = &fields;
        std::size_t next = 0;
        if (fields.has(0) && isAdvanceField(fields.field(0))) {
            const auto days = advanceDays(fields.field(0), encoding);
            if (!days) return LineProblem::AdvanceNotNumber;
            line.advance = *days;
            next = 1;
        }
        if (!fields.has(next + 3)) return LineProblem::TooFewFields;

        readDayField(fields.field(next), line);
        line.weekday = fields.field(next + 1);
        readWeekField(fields.field(next + 2), line);
        line.month = fields.field(next + 3);

        // a value with any byte above 0x7F is no number, decoded or not
        if (!readNumber(line.day, line.dayValue) || !readNumber(line.weekday, line.weekdayValue) ||
            !readNumber(line.week, line.weekValue) || !readNumber(line.month, line.monthValue))
            return LineProblem::NotNumber;

        line.colourAt = next + 4;
        sum = std::int64_t{line.dayValue} + line.weekdayValue + line.weekValue + line.monthValue;
        return LineProblem::None;
    });
}

EventLine::Tail EventLine::tail() const noexcept
{
    Tail tail;
    // a colour field holds "&" anywhere; without it the field is the text's first word
    if (fields->has(colourAt)) {
        tail.text = fields->unsplit();
        if (fields->field(colourAt).find('&') != std::string_view::npos) {
            tail.colour = eventColourCode(fields->field(colourAt));
            tail.text = fields->unsplit();
        }
    }
    return tail;
}

std::string eventText(std::string_view bytes, LineEncoding encoding)
{
    thread_local FieldList fields; // keeps its storage from line to line
    fields.split(bytes);
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text.push_back(' ');
        appendText(text, fields[i], encoding);
    }
    for (char& c : text)
        if (c == '_') c = ' ';
    return text;
}

void detail::expandCommaListOf(std::string_view line,
                               const std::function<void(std::string_view)>& onLine)
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
