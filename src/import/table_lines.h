#pragma once

// Table lines written for `--import`: each line reads back, through the parser of its kind,
// with the text it was given. The few characters a table line cannot carry are written in
// their full-width forms and counted.

#include "calendar/tira0.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tira {

enum class TableKind
{
    Birthdays,
    Schedules,
    Events,
    Weekly,
};

// What the writer changed so that a text reads back: characters written in full width
// ("#" anywhere, "_", and "," in an event line) and control characters dropped.
struct TextChanges
{
    std::size_t fullWidth = 0;
    std::size_t dropped = 0;
};

// `text` (UTF-8; ill-formed bytes become U+FFFD) as one text field of a `kind` line: blanks
// written as "_", the field quoted when it starts with a double quote or (but in an event
// line) holds a comma. Empty when nothing is left of the text.
std::string textField(std::string_view text, TableKind kind, TextChanges& changes);

// "year/month/day - name": a birthday with its year. The spare field after the date is "-".
std::string birthdayLine(const Date& date, std::string_view name, TextChanges& changes);

// "year/month/day [*comment] text": a one-off item; `comment` (the start time of a timed
// event) is shown in brackets after the text.
std::string scheduleLine(const Date& date, std::string_view comment, std::string_view text,
                         TextChanges& changes);

// "day weekday week month text": an event rule, `day` as written ("15", "-1", "0", or a
// comma list of days).
std::string eventLine(std::string_view day, int weekday, int week, int month, std::string_view text,
                      TextChanges& changes);

// "month/day month/day text": a period of every year, both ends included.
std::string weeklyLine(int startMonth, int startDay, int endMonth, int endDay,
                       std::string_view text, TextChanges& changes);

} // namespace tira
