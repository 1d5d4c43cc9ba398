#include "tables/decimal.h"

#include <charconv>
#include <cstdint>

namespace tira {

std::optional<std::int32_t> parseLongNumber(std::string_view text) noexcept
{
    if (text.empty()) return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    bool negative = false;
    if (*first == '+' || *first == '-') {
        negative = *first == '-';
        ++first;
    }
    if (first == last || *first < '0' || *first > '9') return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace tira
