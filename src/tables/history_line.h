#pragma once

#include "tables/fields.h"
#include "tables/line_problem.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tira {

// The text an entry of an unknown kind carries.
inline constexpr std::string_view kHistoryReadError = "読み取りエラー";

// 歴史 line: date kind [second date] text [colour], the date year/month/day with a year of
// free text, shown as written. Verdict: kUnparsable, or month + day + second month +
// second day + 1. Read in place (see jikukai.h); texts stay the line's bytes.
struct HistoryLine
{
    LineVerdict verdict;
    LineEncoding encoding = LineEncoding::Text;
    std::array<std::string_view, 3> date{}; // year, month, day as written
    std::int32_t month = 0, day = 0;
    std::string_view kind; // the kind field as written
    char kindLetter = 'X'; // 'E', 'B' or 'D' (any letter case), 'X' for any other kind
    std::array<std::string_view, 3> second{"0", "0", "0"}; // "0" when open or with "?"
    std::int32_t month2 = 0, day2 = 0;

    // The fields after the dates, of a line that is kept.
    std::string_view text() const noexcept; // E, B and D; the others show kHistoryReadError
    char colour() const noexcept;

    FieldList* fields = nullptr; // the line, split on as far as asked
    std::size_t textAt = 0;
    std::size_t colourAt = 3;
};
HistoryLine HisLine(FieldList& fields, LineEncoding encoding) noexcept;

} // namespace tira
