#pragma once

// What the report and the agenda share on their way out: ANSI colours for a terminal, and
// the JSON text with every control character escaped.

#include "calendar/tira0.h"
#include "report/report_pane.h"

#include <nlohmann/json.hpp>
#include <string>

namespace tira {

using Json = nlohmann::ordered_json; // keys in the order they are set

// How text lines are coloured: not at all, in the nearest of the 16 standard terminal
// colours (whose shades the terminal's theme chooses, so they stay readable on a dark
// background), or in the exact 24-bit colours.
enum class TextColours
{
    None,
    Standard16,
    Exact
};

// The SGR escape that starts text in `colour` as `colours` says; empty for None.
std::string colourEscape(WinColour colour, TextColours colours);

// `json` as one line of text: bytes that are no UTF-8 become U+FFFD rather than an
// exception, and every control character (C0, DEL, C1) is a \u escape.
std::string jsonText(const Json& json);

// "YYYY-MM-DD", the year with at least four digits.
std::string isoDate(const Date& date);

// A colour value 0x00BBGGRR as "#RRGGBB".
std::string hexColour(WinColour colour);

} // namespace tira
