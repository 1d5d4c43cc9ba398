#pragma once

#include <string>
#include <string_view>

namespace tira {

// Decodes Shift-JIS in the Windows code page 932 (0x8160 -> U+FF5E, 0x8740 -> U+2460,
// 0x5C -> U+005C). Bytes that are not valid CP932 become U+FFFD; nothing is dropped.
std::string cp932ToUtf8(std::string_view bytes);

// Encodes UTF-8 text as CP932. Characters CP932 cannot hold become "?".
std::string utf8ToCp932(std::string_view utf8);

// True when `bytes` is well-formed UTF-8 throughout.
bool isValidUtf8(std::string_view bytes) noexcept;

} // namespace tira

namespace tira {
// UTF-8 text with every ill-formed byte replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);
} // namespace tira
