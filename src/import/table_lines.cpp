#include "import/table_lines.h"

#include "text/cp932.h"

#include <string>

namespace tira {

namespace {

bool isControl(char32_t c) noexcept
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string dateText(const Date& date)
{
    return std::to_string(date.year) + "/" + std::to_string(date.month) + "/" +
           std::to_string(date.day);
}

} // namespace

std::string textField(std::string_view text, TableKind kind, TextChanges& changes)
{
    const std::string utf8 = sanitizeUtf8(text);
    std::string field;
    bool quote = false;
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = utf8SequenceLength(utf8, at, &c);
        const std::string_view character(utf8.data() + at, length);
        at += length;
        if (isControl(c)) {
            ++changes.dropped;
            continue;
        }
        switch (c) {
        case ' ': field += '_'; break;
        // a comment starts at "#"; "_" would read back as a blank
        case '#': field += "＃", ++changes.fullWidth; break;
        case '_': field += "＿", ++changes.fullWidth; break;
        case ',':
            // the event reader expands commas before any field is split, quoted or not
            if (kind == TableKind::Events) {
                field += "，";
                ++changes.fullWidth;
            } else {
                field += ',';
                quote = true;
            }
            break;
        default: field += character;
        }
    }
    // blanks at the ends would be separators, not text
    const auto first = field.find_first_not_of('_');
    if (first == std::string::npos) return {};
    field = field.substr(first, field.find_last_not_of('_') - first + 1);
    if (!quote && field.front() != '"') return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    return quoted + '"';
}

std::string birthdayLine(const Date& date, std::string_view name, TextChanges& changes)
{
    return dateText(date) + " - " + textField(name, TableKind::Birthdays, changes);
}

std::string scheduleLine(const Date& date, std::string_view comment, std::string_view text,
                         TextChanges& changes)
{
    const std::string field = textField(text, TableKind::Schedules, changes);
    std::string line = dateText(date);
    // the field after the date is a comment whenever it holds a "*": a text with one gets
    // an empty comment before it
    if (!comment.empty())
        line += " *" + textField(comment, TableKind::Schedules, changes);
    else if (field.find('*') != std::string::npos)
        line += " *";
    return line + " " + field;
}

std::string eventLine(std::string_view day, int weekday, int week, int month, std::string_view text,
                      TextChanges& changes)
{
    const std::string field = textField(text, TableKind::Events, changes);
    std::string line = std::string(day) + " " + std::to_string(weekday) + " " +
                       std::to_string(week) + " " + std::to_string(month);
    // a first word with "&" would be taken for the colour field: an automatic colour first
    if (field.find('&') != std::string::npos) line += " &A";
    return line + " " + field;
}

std::string weeklyLine(int startMonth, int startDay, int endMonth, int endDay,
                       std::string_view text, TextChanges& changes)
{
    return std::to_string(startMonth) + "/" + std::to_string(startDay) + " " +
           std::to_string(endMonth) + "/" + std::to_string(endDay) + " " +
           textField(text, TableKind::Weekly, changes);
}

} // namespace tira
