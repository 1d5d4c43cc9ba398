#pragma once

// The parser of each kind's table lines: the one pairing the report's sections and
// `tira --check` share.

#include "settings/settings.h"
#include "tables/event_line.h"
#include "tables/history_line.h"
#include "tables/jikukai.h"

namespace tira {

template <Kind K> constexpr auto lineParser() noexcept
{
    if constexpr (K == Kind::Birthday)
        return &TanLine;
    else if constexpr (K == Kind::Schedule)
        return &SkeLine;
    else if constexpr (K == Kind::Event)
        return &EveLine;
    else if constexpr (K == Kind::History)
        return &HisLine;
    else {
        static_assert(K == Kind::Week);
        return &WekLine;
    }
}

} // namespace tira
