#pragma once

// The one reader of decimal numbers: table fields, and the numbers typed on the command line
// and in the date dialog.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tira {

// A whole decimal number with an optional sign; nothing else (no blanks, no empty text).
// Values outside 32 bits are not numbers. parseLongNumber is the general way, which
// parseNumber takes for texts of no digits or more than nine.
std::optional<std::int32_t> parseLongNumber(std::string_view text) noexcept;
// The same as a flag and an out value: readers on the hot path use it, as GCC passes a
// returned std::optional<int> through memory (a store the next load has to wait for).
// Reading every number through parseLongNumber instead costs the 1M-line history row of
// `make bench` 34 % more CPU time.
inline bool readNumber(std::string_view text, std::int32_t& value) noexcept
{
    // up to nine digits cannot overflow: the common case, read here
    const char* p = text.data();
    const char* const end = p + text.size();
    if (p != end && (*p == '+' || *p == '-')) ++p;
    const auto digits = end - p;
    if (digits < 1 || digits > 9) {
        const auto number = parseLongNumber(text);
        if (number) value = *number;
        return number.has_value();
    }
    std::uint32_t total = 0;
    for (; p < end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (digit > 9) return false;
        total = total * 10 + digit;
    }
    const auto number = static_cast<std::int32_t>(total);
    value = text.front() == '-' ? -number : number;
    return true;
}

inline std::optional<std::int32_t> parseNumber(std::string_view text) noexcept
{
    std::int32_t value = 0;
    if (!readNumber(text, value)) return std::nullopt;
    return value;
}

} // namespace tira
