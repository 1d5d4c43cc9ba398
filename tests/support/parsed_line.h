#pragma once

// One table line run through its parser, with the storage its views point into, and the
// parsed records written out as lists of texts that test tables can spell.

#include "tables/event_line.h"
#include "tables/fields.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"

#include <string>
#include <string_view>
#include <vector>

namespace tira::test {

// The tail of a record, split by `fields`.
inline BirthdayTail tailOf(const BirthdayLine& l, FieldList& fields)
{
    return birthdayTail(l, fields);
}
inline WeeklyTail tailOf(const WeeklyLine& l, FieldList& fields)
{
    return weeklyTail(l, fields);
}
inline EventTail tailOf(const EventLine& l, FieldList& fields)
{
    return eventTail(l, fields);
}
inline HistoryTail tailOf(const HistoryLine& l, FieldList& fields)
{
    return historyTail(l, fields);
}

template <auto Parse> class Parsed
{
  public:
    explicit Parsed(std::string_view text, LineEncoding encoding = LineEncoding::Text)
        : m_text(text)
    {
        m_fields.start(m_text);
        line = Parse(m_fields, encoding);
    }
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;

    int verdict() const noexcept { return line.verdict.value; }
    LineProblem problem() const noexcept { return line.verdict.problem; }
    // The record's tail, split afresh.
    auto tail() const { return tailOf(line, m_tailFields); }

  private:
    std::string m_text; // before the fields and the line, which point into it
    FieldList m_fields;
    mutable FieldList m_tailFields;

  public:
    decltype(Parse(std::declval<FieldList&>(), LineEncoding::Text)) line;
};

// The fields every split of `text` gives.
inline std::vector<std::string> splitFields(std::string_view text)
{
    FieldList list;
    list.split(text);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i)
        out.emplace_back(list[i]);
    return out;
}

using Texts = std::vector<std::string>;

// Part `i` of a date as written (the text between its slashes).
template <std::size_t N> std::string datePart(const DateParts<N>& date, std::size_t i)
{
    std::string_view rest = date.written;
    for (; i > 0; --i)
        rest.remove_prefix(rest.find('/') + 1);
    return std::string(rest.substr(0, rest.find('/')));
}

// advance, year, month, day, shown name, stop, colour
inline Texts textsOf(const BirthdayLine& l)
{
    FieldList fields;
    const BirthdayTail tail = birthdayTail(l, fields);
    return {std::to_string(l.advance),
            datePart(l.date, 0),
            datePart(l.date, 1),
            datePart(l.date, 2),
            shownText(tail.name, l.encoding),
            std::string(1, tail.stop),
            std::string(1, tail.colour)};
}

// advance, year, month, day, shown comment, shown text, mark, colour
inline Texts textsOf(const ScheduleLine& l)
{
    return {std::to_string(l.advance),
            datePart(l.date, 0),
            datePart(l.date, 1),
            datePart(l.date, 2),
            shownText(l.comment, l.encoding),
            shownText(l.text, l.encoding),
            std::string(1, l.mark),
            std::string(1, l.colour)};
}

// start month, start day, end month, end day, shown text with its sentence end, colour
inline Texts textsOf(const WeeklyLine& l)
{
    FieldList fields;
    const WeeklyTail tail = weeklyTail(l, fields);
    return {datePart(l.start, 0),
            datePart(l.start, 1),
            datePart(l.end, 0),
            datePart(l.end, 1),
            entrySentence(shownText(tail.text, l.encoding)),
            std::string(1, tail.colour)};
}

// month, day, name as split
inline Texts textsOf(const HolidayLine& l)
{
    std::string name;
    appendText(name, l.name, l.encoding);
    return {std::to_string(l.month), std::to_string(l.day), name};
}

// advance, day, weekday, week, month, colour, shown text, day form, range end, week form
inline Texts textsOf(const EventLine& l)
{
    std::string rangeEnd;
    appendText(rangeEnd, l.rangeEnd, l.encoding);
    FieldList fields;
    const EventTail tail = eventTail(l, fields);
    return {std::to_string(l.advance),
            std::string(l.day),
            std::string(l.weekday),
            std::string(l.week),
            std::string(l.month),
            std::string(1, tail.colour),
            eventText(tail.text, l.encoding),
            std::to_string(static_cast<int>(l.dayForm)),
            rangeEnd,
            std::to_string(static_cast<int>(l.weekForm))};
}

// year, month, day, kind letter (or the kind as written), shown text, colour, second date
inline Texts textsOf(const HistoryLine& l)
{
    std::string year;
    appendText(year, l.date[0], l.encoding);
    std::string kind;
    appendText(kind, l.kind, l.encoding);
    for (char& c : kind)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    FieldList fields;
    const HistoryTail tail = historyTail(l, fields);
    return {year,
            std::string(l.date[1]),
            std::string(l.date[2]),
            kind,
            l.kindLetter == 'X' ? std::string(kHistoryReadError) : shownText(tail.text, l.encoding),
            std::string(1, tail.colour),
            std::string(l.second[0]),
            std::string(l.second[1]),
            std::string(l.second[2])};
}

} // namespace tira::test
