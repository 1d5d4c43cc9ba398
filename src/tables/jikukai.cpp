#include "tables/jikukai.h"

#include <cstdint>

namespace tira {

BirthdayTail birthdayTail(const BirthdayLine& line, FieldList& fields)
{
    fields.start(line.tail);
    BirthdayTail tail;
    tail.name = fields.has(0) ? fields.field(0) : std::string_view{};
    if (fields.has(2)) tail.stop = stopMark(fields.field(2)); // after the second spare field
    if (fields.has(3)) tail.colour = colourCode(fields.field(3));
    return tail;
}

WeeklyTail weeklyTail(const WeeklyLine& line, FieldList& fields)
{
    fields.start(line.tail);
    WeeklyTail tail;
    if (fields.has(0)) tail.text = fields.field(0);
    if (fields.has(1)) tail.colour = colourCode(fields.field(1));
    return tail;
}

char scheduleMark(std::string_view word) noexcept
{
    if (stopMark(word) == 'S') return 'S';
    if (matchesWord(word, "A") || matchesWord(word, "AFTER")) return 'A';
    if (matchesWord(word, "B") || matchesWord(word, "BEFORE")) return 'B';
    return 'N';
}

std::string entrySentence(std::string_view text)
{
    if (text.empty()) return {};
    const auto dot = text.find('.');
    if (dot == text.size() - 1) return std::string(text.substr(0, dot));
    std::string out(text);
    out += "です。";
    return out;
}

} // namespace tira
