#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tira {

// Decodes Shift-JIS in the Windows code page 932 (0x8160 -> U+FF5E, 0x8740 -> U+2460,
// 0x5C -> U+005C). Bytes that are not valid CP932 become U+FFFD; nothing is dropped.
std::string cp932ToUtf8(std::string_view bytes);
// The same, appended to `out` (which keeps its storage from call to call).
void appendCp932(std::string& out, std::string_view bytes);

// Encodes UTF-8 text as CP932. Characters CP932 cannot hold become "?".
std::string utf8ToCp932(std::string_view utf8);

// True when `bytes` is well-formed UTF-8 throughout.
bool isValidUtf8(std::string_view bytes) noexcept;

// UTF-8 text with every ill-formed byte replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

// True when every byte is below 0x80.
bool isAscii(std::string_view bytes) noexcept;

// A byte that starts a CP932 double-byte character (0x81..0x9F, 0xE0..0xFC).
inline bool isLeadByte(unsigned char b) noexcept
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// A byte that can end a CP932 double-byte character (0x40..0xFC but 0x7F).
inline bool isTrailByte(unsigned char b) noexcept
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The length of the well-formed UTF-8 character at `pos` (its code point to `cp` when
// given), or 0 when there is none.
std::size_t utf8SequenceLength(std::string_view s, std::size_t pos,
                               char32_t* cp = nullptr) noexcept;

// How the bytes of a table line read as text. Every byte below 0x80 stands for itself in
// all three, and decoding is in step at every byte below 0x40 (no such byte is ever part of
// a double-byte character): so a line can be cut and split on its bytes, and only the
// pieces that are shown need decoding.
enum class LineEncoding : std::uint8_t
{
    Text,  // UTF-8 text already: taken as it is
    Cp932, // Shift-JIS bytes
    Utf8,  // bytes of a UTF-8 file: ill-formed bytes become U+FFFD
};

// How many bytes of `bytes` its first character takes as `encoding` decodes it (a byte
// that is no character's start goes alone); 0 for no bytes.
std::size_t firstCharacterLength(std::string_view bytes, LineEncoding encoding) noexcept;

// Appends the UTF-8 text of `bytes` to `out`.
void appendText(std::string& out, std::string_view bytes, LineEncoding encoding);

// Checks that bytes fed piece by piece are well-formed UTF-8; a character may be split
// between two pieces.
class Utf8Scan
{
  public:
    // Takes the next bytes; false (for good) once the bytes so far cannot be UTF-8.
    bool feed(std::string_view bytes) noexcept;
    // True when the bytes so far end between two characters.
    bool complete() const noexcept { return m_need == 0; }

  private:
    unsigned m_need = 0;                       // continuation bytes still to come
    unsigned char m_low = 0x80, m_high = 0xBF; // range of the next continuation byte
    bool m_failed = false;
};
} // namespace tira
