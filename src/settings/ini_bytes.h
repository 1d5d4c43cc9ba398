#pragma once

// TIRA.ini as text for the ini parser, and back, without losing a byte: whatever would not
// come back the same when encoded again (a byte CP932 or UTF-8 has no character for, a pair
// with two codes for one character, NUL) travels as an escape character of its own.

#include <string>
#include <string_view>

namespace tira {

enum class IniEncoding
{
    Cp932,   // Shift-JIS as Windows writes it
    Utf8,    // UTF-8 without a byte-order mark, as Linux editors write it
    Utf8Bom, // UTF-8 after a byte-order mark
};

// How `bytes` (a whole TIRA.ini) is written: a byte-order mark, else UTF-8 when bytes above
// 0x7F are all well-formed UTF-8 (Shift-JIS text practically never is), else CP932.
IniEncoding iniEncodingOf(std::string_view bytes) noexcept;

// UTF-8 text of the file `bytes` (byte-order mark left out) in which every byte that the
// encoding would not give back is an escape character.
std::string decodeIniBytes(std::string_view bytes, IniEncoding encoding);

// The file's bytes for `text`: escape characters become their bytes again. Characters that
// CP932 cannot hold become "?". Utf8Bom puts the byte-order mark first.
std::string encodeIniText(std::string_view text, IniEncoding encoding);

// The plain text of a value read from decoded text: escaped bytes decoded as well as they go
// (bytes without a character become U+FFFD, so does NUL).
std::string iniValueText(std::string_view decoded, IniEncoding encoding);

// A value of our own, ready to be put among decoded text: a character that happens to be an
// escape character is escaped as its own UTF-8 bytes.
std::string iniValueForText(std::string_view value);

} // namespace tira
