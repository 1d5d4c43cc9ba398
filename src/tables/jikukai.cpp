#include "tables/jikukai.h"

#include <cstdint>

namespace tira {

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

std::string_view WeeklyLine::text() const noexcept
{
    return fields->field(2);
}

char WeeklyLine::colour() const noexcept
{
    return fields->has(3) ? colourCode(fields->field(3)) : 'A';
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
