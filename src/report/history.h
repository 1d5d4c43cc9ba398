#pragma once

#include "report/main_state.h"
#include "tables/history_line.h"

#include <optional>
#include <string>

namespace tira {

// The line a history entry shows on the report date, and the kind it counts as there: an
// entry met on its second date counts as the other kind (a death entry on its birthday is a
// birth).
struct HistoryShown
{
    std::string text;
    std::string kind;
};

// The line of an entry shown on one of its dates (its parts as written): the date, the text
// and, for a birth or death, the mark the text does not already say.
HistoryShown historyShownOn(std::string_view year, std::string_view month, std::string_view day,
                            std::string_view text, std::string kind);

// What a parsed entry shows on `reportDate`, or nothing when neither of its dates falls on
// that month and day. The first date wins when both do.
std::optional<HistoryShown> historyLineFor(const HistoryRecord& record, Date reportDate);

} // namespace tira
