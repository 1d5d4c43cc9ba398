// The CP932 decoder and encoder and the UTF-8 cleaner.
#include "fuzz_support.h"
#include "text/cp932.h"

#include <algorithm>

using namespace tira;

namespace {

// Bytes below 0x40 are never the second byte of a double-byte character, so decoding is in
// step at each of them: decoding the pieces between them gives the same text as decoding
// the whole. Cutting a line at "#" and splitting it at blanks and commas rely on this.
void checkInStepAtAsciiBytes(std::string_view bytes, const std::string& whole)
{
    std::string pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x40) {
            pieces += cp932ToUtf8(bytes.substr(start, i - start));
            pieces += cp932ToUtf8(bytes.substr(i, 1));
            start = i + 1;
        }
    }
    pieces += cp932ToUtf8(bytes.substr(start));
    FUZZ_CHECK(pieces == whole);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::asView(data, size);

    const std::string utf8 = cp932ToUtf8(bytes);
    FUZZ_CHECK(isValidUtf8(utf8));
    FUZZ_CHECK(utf8.size() <= 3 * bytes.size());
    checkInStepAtAsciiBytes(bytes, utf8);
    // every ASCII byte outside a double-byte pair stays itself: the count of line-level
    // separators never changes
    for (const char c : {'#', ',', '"', '\r', '\n', '\x1a', ' '})
        FUZZ_CHECK(std::count(utf8.begin(), utf8.end(), c) ==
                   std::count(bytes.begin(), bytes.end(), c));

    // what decodes cleanly encodes back to bytes that decode to the same text
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos)
        FUZZ_CHECK(cp932ToUtf8(utf8ToCp932(utf8)) == utf8);

    const std::string clean = sanitizeUtf8(bytes);
    FUZZ_CHECK(isValidUtf8(clean));
    // UTF-8 is in step at every ASCII byte as well
    std::string pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            appendText(pieces, bytes.substr(start, i - start), LineEncoding::Utf8);
            pieces.push_back(bytes[i]);
            start = i + 1;
        }
    }
    appendText(pieces, bytes.substr(start), LineEncoding::Utf8);
    FUZZ_CHECK(pieces == clean);
    if (isValidUtf8(bytes)) {
        FUZZ_CHECK(clean == bytes);
        const std::string encoded = utf8ToCp932(bytes);
        FUZZ_CHECK(encoded.size() <= bytes.size() * 2);
    }
    return 0;
}
