#include "settings/ini_bytes.h"

#include "text/cp932.h"

namespace tira {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Byte b travels as U+F700 + b, a private-use character that CP932 never decodes to.
void appendEscape(std::string& out, unsigned char byte)
{
    const unsigned code = 0xF700u + byte;
    out.push_back(static_cast<char>(0xE0u | (code >> 12)));
    out.push_back(static_cast<char>(0x80u | ((code >> 6) & 0x3Fu)));
    out.push_back(static_cast<char>(0x80u | (code & 0x3Fu)));
}

// The byte of the escape character at `pos`, or -1 when there is none.
int escapeAt(std::string_view text, std::size_t pos) noexcept
{
    if (pos + 2 >= text.size() || static_cast<unsigned char>(text[pos]) != 0xEF) return -1;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    const auto third = static_cast<unsigned char>(text[pos + 2]);
    if (second < 0x9C || second > 0x9F || third < 0x80 || third > 0xBF) return -1;
    return static_cast<int>((((second & 0x3Fu) << 6) | (third & 0x3Fu)) - 0x700u);
}

void appendEscapes(std::string& out, std::string_view bytes)
{
    for (const char c : bytes)
        appendEscape(out, static_cast<unsigned char>(c));
}

std::string decodeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = bytes[pos] == '\0' ? 0 : utf8SequenceLength(bytes, pos);
        if (length == 0) {
            appendEscape(out, static_cast<unsigned char>(bytes[pos++]));
            continue;
        }
        const std::string_view character = bytes.substr(pos, length);
        pos += length;
        if (escapeAt(character, 0) >= 0) // a private character that reads like an escape
            appendEscapes(out, character);
        else
            out.append(character);
    }
    return out;
}

std::string decodeCp932(std::string_view bytes)
{
    if (bytes.find('\0') == std::string_view::npos) {
        std::string plain = cp932ToUtf8(bytes);
        if (utf8ToCp932(plain) == bytes) return plain; // the common case: nothing to keep aside
    }
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        if (lead != 0 && lead < 0x80) {
            out.push_back(bytes[pos++]);
            continue;
        }
        const std::size_t length = isLeadByte(lead) && pos + 1 < bytes.size() &&
                                           isTrailByte(static_cast<unsigned char>(bytes[pos + 1]))
                                       ? 2
                                       : 1;
        const std::string_view character = bytes.substr(pos, length);
        pos += length;
        const std::string text = lead == 0 ? std::string() : cp932ToUtf8(character);
        if (!text.empty() && text != kReplacement && utf8ToCp932(text) == character)
            out += text;
        else
            appendEscapes(out, character);
    }
    return out;
}

} // namespace

IniEncoding iniEncodingOf(std::string_view bytes) noexcept
{
    if (bytes.starts_with(kUtf8Bom)) return IniEncoding::Utf8Bom;
    return !isAscii(bytes) && isValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Cp932;
}

std::string decodeIniBytes(std::string_view bytes, IniEncoding encoding)
{
    switch (encoding) {
    case IniEncoding::Cp932: return decodeCp932(bytes);
    case IniEncoding::Utf8: return decodeUtf8(bytes);
    case IniEncoding::Utf8Bom:
        return decodeUtf8(bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes);
    }
    return {};
}

std::string encodeIniText(std::string_view text, IniEncoding encoding)
{
    std::string out(encoding == IniEncoding::Utf8Bom ? kUtf8Bom : std::string_view());
    out.reserve(out.size() + text.size());
    std::size_t runStart = 0;
    const auto endRun = [&](std::size_t end) {
        const std::string_view run = text.substr(runStart, end - runStart);
        if (encoding == IniEncoding::Cp932)
            out += utf8ToCp932(run);
        else
            out.append(run);
    };
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const int byte = escapeAt(text, pos);
        if (byte < 0) continue;
        endRun(pos);
        out.push_back(static_cast<char>(byte));
        pos += 2;
        runStart = pos + 1;
    }
    endRun(text.size());
    return out;
}

std::string iniValueText(std::string_view decoded, IniEncoding encoding)
{
    std::string out;
    std::string bytes; // a run of escaped bytes, decoded together
    const auto endBytes = [&] {
        if (bytes.empty()) return;
        const std::string text =
            encoding == IniEncoding::Cp932 ? cp932ToUtf8(bytes) : sanitizeUtf8(bytes);
        for (const char c : text) {
            if (c == '\0')
                out += kReplacement;
            else
                out.push_back(c);
        }
        bytes.clear();
    };
    for (std::size_t pos = 0; pos < decoded.size(); ++pos) {
        const int byte = escapeAt(decoded, pos);
        if (byte >= 0) {
            bytes.push_back(static_cast<char>(byte));
            pos += 2;
            continue;
        }
        endBytes();
        out.push_back(decoded[pos]);
    }
    endBytes();
    return out;
}

std::string iniValueForText(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t pos = 0; pos < value.size(); ++pos) {
        if (escapeAt(value, pos) >= 0) {
            appendEscapes(out, value.substr(pos, 3));
            pos += 2;
        } else {
            out.push_back(value[pos]);
        }
    }
    return out;
}

} // namespace tira
