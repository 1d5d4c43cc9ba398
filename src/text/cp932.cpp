#include "text/cp932.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace tira {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The double-byte characters: leads 0x81..0x9F and 0xE0..0xFC, trails 0x40..0xFC.
constexpr std::size_t kLeadCount = 0x9F - 0x81 + 1 + 0xFC - 0xE0 + 1;
constexpr std::size_t kTrailCount = 0xFC - 0x40 + 1;

std::size_t leadIndex(unsigned char lead) noexcept
{
    return lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + (0x9F - 0x81 + 1);
}

using DecodeTable = std::array<std::array<char16_t, kTrailCount>, kLeadCount>;

#ifdef _WIN32
// One row of the table, pair by pair, from the Windows converter.
void decodeRow(unsigned char lead, std::array<char16_t, kTrailCount>& row)
{
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!isTrailByte(static_cast<unsigned char>(trail))) continue;
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        wchar_t out[2] = {};
        const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, 2, out, 2);
        // the converter answers an unmapped pair with the default character U+30FB
        if (n != 1 || (out[0] == 0x30FB && !(lead == 0x81 && trail == 0x45))) continue;
        row[trail - 0x40u] = static_cast<char16_t>(out[0]);
    }
}
#else
// One row of the table from iconv: all pairs of the row in one conversion, stepping over
// each pair that iconv refuses (an unmapped pair stops it at its lead byte).
void decodeRow(iconv_t converter, unsigned char lead, std::array<char16_t, kTrailCount>& row)
{
    std::array<char, 2 * kTrailCount> pairs{};
    std::array<unsigned char, kTrailCount> trails{};
    std::size_t count = 0;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!isTrailByte(static_cast<unsigned char>(trail))) continue;
        pairs[2 * count] = static_cast<char>(lead);
        pairs[2 * count + 1] = static_cast<char>(trail);
        trails[count++] = static_cast<unsigned char>(trail);
    }
    std::size_t done = 0; // pairs converted or refused so far
    while (done < count) {
        char* in = pairs.data() + 2 * done;
        std::size_t inLeft = 2 * (count - done);
        std::array<char, 4 * kTrailCount> out{};
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        // each converted pair gave one UTF-16 unit (CP932 holds no character beyond U+FFFF);
        // anything else leaves the rest of the row unmapped
        const std::size_t consumed = 2 * (count - done) - inLeft;
        const std::size_t converted = consumed / 2;
        if (consumed % 2 != 0 || static_cast<std::size_t>(outPtr - out.data()) != consumed) return;
        for (std::size_t i = 0; i < converted; ++i) {
            const auto low = static_cast<unsigned char>(out[2 * i]);
            const auto high = static_cast<unsigned char>(out[2 * i + 1]);
            row[trails[done + i] - 0x40u] = static_cast<char16_t>(low | high << 8);
        }
        done += converted;
        if (result == static_cast<std::size_t>(-1)) ++done; // the refused pair
    }
}
#endif

// The double-byte table (lead, trail) -> code point (0: unmapped): the code page itself,
// built once at the first double-byte character and never changed; decoding is then a
// lookup with no per-character system call.
const DecodeTable& decodeTable()
{
    static const auto table = [] {
        auto rows = std::make_unique<DecodeTable>();
#ifndef _WIN32
        iconv_t converter = iconv_open("UTF-16LE", "CP932");
        // iconv's failure value is (iconv_t)-1; without a converter every pair stays unmapped
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
        if (converter == reinterpret_cast<iconv_t>(-1)) return rows;
#endif
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
            auto& row = (*rows)[leadIndex(static_cast<unsigned char>(lead))];
#ifdef _WIN32
            decodeRow(static_cast<unsigned char>(lead), row);
#else
            decodeRow(converter, static_cast<unsigned char>(lead), row);
#endif
        }
#ifndef _WIN32
        iconv_close(converter);
#endif
        return rows;
    }();
    return *table;
}

char32_t decodePair(unsigned char lead, unsigned char trail) noexcept
{
    return decodeTable()[leadIndex(lead)][trail - 0x40u];
}

// Code point -> double-byte code for the encoder (0: none), built at the first encoding. Every
// character CP932 decodes to lies in the BMP, so a flat table indexed by code point holds
// them all and is built in a fraction of the time a hash map takes.
using EncodeTable = std::array<std::uint16_t, 0x10000>;

const EncodeTable& encodeTable()
{
    static const auto table = [] {
        auto codes = std::make_unique<EncodeTable>();
        codes->fill(0);
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail))) continue;
                const char32_t cp =
                    decodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
                if (cp == 0) continue;
                const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
                // the lowest code wins, except that Windows encodes the NEC-selected IBM
                // extensions (rows 0xED, 0xEE) with their IBM codes (rows 0xFA..0xFC)
                std::uint16_t& held = (*codes)[cp];
                if (held == 0 || (held >= 0xED00 && held < 0xEF00 && code >= 0xFA00)) held = code;
            }
        }
        return codes;
    }();
    return *table;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void appendSanitized(std::string& out, std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t len = utf8SequenceLength(bytes, i, nullptr);
        if (len == 0) {
            appendUtf8(out, kReplacement);
            ++i;
        } else {
            out.append(bytes.substr(i, len));
            i += len;
        }
    }
}

} // namespace

std::size_t utf8SequenceLength(std::string_view s, std::size_t pos, char32_t* cp) noexcept
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        if (cp != nullptr) *cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t value = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        value = b0 & 0x1Fu;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        value = b0 & 0x0Fu;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        value = b0 & 0x07u;
        min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) return 0;
        value = (value << 6) | (b & 0x3Fu);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    if (cp != nullptr) *cp = value;
    return len;
}

void appendCp932(std::string& out, std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t run = i;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
            ++run;
        out.append(bytes.data() + i, run - i);
        i = run;
        if (i == bytes.size()) break;

        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0xA1 && b <= 0xDF) { // half-width katakana
            appendUtf8(out, 0xFF61 + (b - 0xA1u));
            ++i;
        } else if (isLeadByte(b) && i + 1 < bytes.size() &&
                   isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            const char32_t cp = decodePair(b, trail);
            appendUtf8(out, cp != 0 ? cp : kReplacement);
            // an unmapped pair keeps an ASCII second byte ("S", "@", digits) as itself
            i += cp == 0 && trail < 0x80 ? 1 : 2;
        } else {
            // a stray byte; the byte after it is read on its own, so no line end or
            // separator is ever swallowed
            appendUtf8(out, kReplacement);
            ++i;
        }
    }
}

std::string cp932ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    appendCp932(out, bytes);
    return out;
}

std::string utf8ToCp932(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const std::size_t len = utf8SequenceLength(utf8, i, &cp);
        if (len == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += len;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp >= 0xFF61 && cp <= 0xFF9F) {
            out.push_back(static_cast<char>(0xA1 + (cp - 0xFF61)));
        } else {
            const std::uint16_t code = cp < 0x10000 ? encodeTable()[cp] : 0;
            if (code == 0) {
                out.push_back('?');
            } else {
                out.push_back(static_cast<char>(code >> 8));
                out.push_back(static_cast<char>(code & 0xFF));
            }
        }
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) noexcept
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t len = utf8SequenceLength(bytes, i, nullptr);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string sanitizeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    appendSanitized(out, bytes);
    return out;
}

bool isAscii(std::string_view bytes) noexcept
{
    return std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t firstCharacterLength(std::string_view bytes, LineEncoding encoding) noexcept
{
    if (bytes.empty()) return 0;
    const auto b = static_cast<unsigned char>(bytes[0]);
    if (b < 0x80) return 1;
    switch (encoding) {
    case LineEncoding::Text: {
        // a lead byte and its continuation bytes, as the text holds them
        std::size_t length = 1;
        while (length < bytes.size() &&
               (static_cast<unsigned char>(bytes[length]) & 0xC0u) == 0x80u)
            ++length;
        return length;
    }
    case LineEncoding::Cp932: {
        if (!isLeadByte(b) || bytes.size() < 2) return 1;
        const auto trail = static_cast<unsigned char>(bytes[1]);
        if (!isTrailByte(trail)) return 1;
        // as appendCp932 reads an unmapped pair: an ASCII second byte stays itself
        return decodePair(b, trail) == 0 && trail < 0x80 ? 1 : 2;
    }
    case LineEncoding::Utf8: return std::max<std::size_t>(utf8SequenceLength(bytes, 0, nullptr), 1);
    }
    return 1;
}

void appendText(std::string& out, std::string_view bytes, LineEncoding encoding)
{
    switch (encoding) {
    case LineEncoding::Text: out.append(bytes); break;
    case LineEncoding::Cp932: appendCp932(out, bytes); break;
    case LineEncoding::Utf8: appendSanitized(out, bytes); break;
    }
}

bool Utf8Scan::feed(std::string_view bytes) noexcept
{
    if (m_failed) return false;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        if (m_need > 0) {
            const auto b = static_cast<unsigned char>(*p++);
            if (b < m_low || b > m_high) return !(m_failed = true);
            --m_need;
            m_low = 0x80;
            m_high = 0xBF;
            continue;
        }
        const auto b = static_cast<unsigned char>(*p++);
        if (b < 0x80) continue;
        // the second byte's range also rules out overlong forms, surrogates and > U+10FFFF
        if (b >= 0xC2 && b <= 0xDF) {
            m_need = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_need = 2;
            if (b == 0xE0) m_low = 0xA0;
            if (b == 0xED) m_high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_need = 3;
            if (b == 0xF0) m_low = 0x90;
            if (b == 0xF4) m_high = 0x8F;
        } else {
            return !(m_failed = true);
        }
    }
    return true;
}

} // namespace tira
