#pragma once

// A small reader of contact cards (vCard 2.1, 3.0 and 4.0): the name and the dates of each
// card, nothing else.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

// A date of a card; a date written without its year (--0512, or the year Apple writes for
// one it omits) has none.
struct CardDate
{
    std::optional<int> year;
    int month = 0;
    int day = 0;
};

struct Card
{
    std::string name;                    // FN, else N put together family name first
    std::optional<CardDate> birthday;    // BDAY
    std::vector<CardDate> anniversaries; // ANNIVERSARY, X-ANNIVERSARY ...
    std::vector<std::string> badDates;   // date values that are no month and day
};

// True when `bytes` hold contact cards (their first line is BEGIN:VCARD).
bool looksLikeVcard(std::string_view bytes) noexcept;

// The cards in `bytes`: folded lines joined, quoted-printable and CHARSET=SHIFT_JIS (or any
// CP932 name) decoded; a value without a charset is UTF-8, or CP932 when it is no UTF-8.
std::vector<Card> readVcards(std::string_view bytes);

} // namespace tira
