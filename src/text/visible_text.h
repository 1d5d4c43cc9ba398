#pragma once

// Text from files on its way to a terminal: a control character in a table line (an escape
// sequence, a bell) must not reach the terminal as one.

#include <cstdio>
#include <string>
#include <string_view>

namespace tira {

// Appends `utf8` with each control character shown in caret notation: ESC as "^[", BEL as
// "^G", DEL as "^?", and a C1 control (U+0080..U+009F) as the ESC form that stands for it
// ("^[[" for U+009B). Tabs stay.
void appendVisible(std::string& out, std::string_view utf8);
std::string visibleText(std::string_view utf8);

// `utf8` cut after at most `maxBytes` bytes, between two characters, with "…" when cut.
std::string cutText(std::string_view utf8, std::size_t maxBytes);

// True when `file` writes to a terminal.
bool isTerminal(std::FILE* file) noexcept;

} // namespace tira
