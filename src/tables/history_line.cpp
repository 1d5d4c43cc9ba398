#include "tables/history_line.h"

#include "tables/fields.h"

#include <cstdint>

namespace tira {

std::string_view HistoryLine::text() const noexcept
{
    return textAt != 0 ? fields->field(textAt) : std::string_view{};
}

char HistoryLine::colour() const noexcept
{
    return fields->has(colourAt) ? colourCode(fields->field(colourAt)) : 'A';
}

} // namespace tira
