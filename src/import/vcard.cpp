#include "import/vcard.h"

#include "calendar/tira0.h"
#include "text/cp932.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace tira {

namespace {

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && upper(text.substr(0, prefix.size())) == prefix;
}

// The physical lines of `bytes`, without their CR LF, CR or LF ends.
std::vector<std::string_view> physicalLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

// One content line: NAME;PARAM=VALUE;...:value
struct Property
{
    std::string name; // upper case, without a group ("item1.")
    std::string charset;
    bool quotedPrintable = false;
    std::string omitYear;   // X-APPLE-OMIT-YEAR
    bool textValue = false; // VALUE=text: no date
    std::string_view value;
};

std::optional<Property> readProperty(std::string_view line)
{
    // the value starts at the first ":" outside a quoted parameter value
    bool quoted = false;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos) return std::nullopt;
    Property property;
    property.value = line.substr(colon + 1);
    std::string_view head = line.substr(0, colon);
    std::size_t at = head.find(';');
    std::string_view name = head.substr(0, at);
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos)
        name = name.substr(dot + 1);
    property.name = upper(name);
    while (at != std::string_view::npos) {
        const std::size_t next = head.find(';', at + 1);
        const std::string parameter = upper(head.substr(at + 1, next - at - 1));
        at = next;
        const auto equals = parameter.find('=');
        const std::string key = parameter.substr(0, equals);
        std::string value = equals == std::string::npos ? key : parameter.substr(equals + 1);
        std::erase(value, '"');
        if (value == "QUOTED-PRINTABLE") property.quotedPrintable = true;
        if (key == "CHARSET") property.charset = value;
        if (key == "X-APPLE-OMIT-YEAR") property.omitYear = value;
        if (key == "VALUE" && value == "TEXT") property.textValue = true;
    }
    return property;
}

int hexDigit(char c) noexcept
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string decodeQuotedPrintable(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size() && hexDigit(value[i + 1]) >= 0 &&
            hexDigit(value[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(value[i + 1]) * 16 + hexDigit(value[i + 2]));
            i += 2;
        } else if (value[i] == '=' && i + 1 == value.size()) {
            break; // a soft line break at the very end
        } else {
            out += value[i];
        }
    }
    return out;
}

bool isCp932Name(std::string_view charset) noexcept
{
    return charset == "SHIFT_JIS" || charset == "SHIFT-JIS" || charset == "SJIS" ||
           charset == "CP932" || charset == "WINDOWS-31J" || charset == "MS_KANJI" ||
           charset == "X-SJIS";
}

// The value of `property` as UTF-8, escapes still in.
std::string valueText(const Property& property)
{
    const std::string bytes = property.quotedPrintable ? decodeQuotedPrintable(property.value)
                                                       : std::string(property.value);
    if (isCp932Name(property.charset) || (property.charset.empty() && !isValidUtf8(bytes)))
        return cp932ToUtf8(bytes);
    return sanitizeUtf8(bytes);
}

// The components of a structured value, split at ";" and unescaped (\, \; \\ \n).
std::vector<std::string> components(std::string_view text)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            parts.back() += next == 'n' || next == 'N' ? '\n' : next;
        } else if (text[i] == ';') {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::optional<int> number(std::string_view digits) noexcept
{
    int value = 0;
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// 1990-05-12, 19900512, --0512, --05-12, each perhaps with a time after "T".
std::optional<CardDate> readDate(std::string_view text, std::string_view omitYear)
{
    std::string digits;
    const std::string_view date = text.substr(0, text.find('T'));
    const bool noYear = date.starts_with("--");
    for (const char c : date.substr(noYear ? 2 : 0))
        if (c != '-') digits += c;
    CardDate result;
    if (noYear && digits.size() == 4) {
        result.month = number(digits.substr(0, 2)).value_or(0);
        result.day = number(digits.substr(2, 2)).value_or(0);
    } else if (!noYear && digits.size() == 8) {
        result.year = number(digits.substr(0, 4));
        result.month = number(digits.substr(4, 2)).value_or(0);
        result.day = number(digits.substr(6, 2)).value_or(0);
        // Apple writes the year it omits; some phones write year 0
        if (!result.year || *result.year == 0 || digits.substr(0, 4) == omitYear)
            result.year.reset();
    } else {
        return std::nullopt;
    }
    const int year = result.year.value_or(2000); // a year without one has 29 February
    if (result.month < 1 || result.month > 12 || result.day < 1 ||
        result.day > daysInMonth(year, result.month))
        return std::nullopt;
    return result;
}

// The lines of one card, folds joined: a line that starts with a blank continues the one
// before (vCard 3.0 and 4.0 drop that blank, 2.1 keeps it); a quoted-printable value whose
// line ends in "=" goes on in the next line.
std::vector<std::string> unfold(const std::vector<std::string_view>& lines, bool keepBlank)
{
    std::vector<std::string> out;
    bool softBreak = false;
    for (const std::string_view line : lines) {
        const bool folded = !line.empty() && (line.front() == ' ' || line.front() == '\t');
        if (!out.empty() && softBreak) {
            out.back().pop_back(); // the "="
            out.back() += line;
        } else if (!out.empty() && folded) {
            out.back() += line.substr(keepBlank ? 0 : 1);
        } else {
            out.emplace_back(line);
        }
        const std::string& current = out.back();
        const auto colon = current.find(':');
        softBreak = !current.empty() && current.back() == '=' && colon != std::string::npos &&
                    upper(current.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
    }
    return out;
}

Card readCard(const std::vector<std::string>& lines)
{
    Card card;
    std::string structuredName;
    for (const std::string& line : lines) {
        const auto property = readProperty(line);
        if (!property) continue;
        const std::string& name = property->name;
        if (name == "FN") {
            // FN is one text: a ";" in it is part of the name
            std::string whole;
            for (const std::string& part : components(valueText(*property)))
                whole += (whole.empty() ? "" : ";") + part;
            card.name = trimmed(whole);
        } else if (name == "N") {
            const auto parts = components(valueText(*property));
            std::string joined; // family, given, additional names
            for (std::size_t i = 0; i < parts.size() && i < 3; ++i) {
                const std::string part = trimmed(parts[i]);
                if (part.empty()) continue;
                joined += (joined.empty() ? "" : " ") + part;
            }
            structuredName = joined;
        } else if (name == "BDAY" || name == "ANNIVERSARY" || name == "X-ANNIVERSARY" ||
                   name == "X-EVOLUTION-ANNIVERSARY" || name == "X-MS-ANNIVERSARY") {
            const std::string value = trimmed(valueText(*property));
            const auto date =
                property->textValue ? std::nullopt : readDate(value, property->omitYear);
            if (!date)
                card.badDates.emplace_back(name + ':').append(value);
            else if (name == "BDAY")
                card.birthday = date;
            else
                card.anniversaries.push_back(*date);
        }
    }
    if (card.name.empty()) card.name = structuredName;
    return card;
}

} // namespace

bool looksLikeVcard(std::string_view bytes) noexcept
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const auto first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && startsWithNoCase(bytes.substr(first), "BEGIN:VCARD");
}

std::vector<Card> readVcards(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    std::vector<Card> cards;
    std::vector<std::string_view> lines;
    bool inCard = false;
    bool version21 = false;
    for (const std::string_view line : physicalLines(bytes)) {
        if (startsWithNoCase(line, "BEGIN:VCARD")) {
            inCard = true;
            version21 = false;
            lines.clear();
        } else if (inCard && startsWithNoCase(line, "END:VCARD")) {
            inCard = false;
            cards.push_back(readCard(unfold(lines, version21)));
        } else if (inCard) {
            if (startsWithNoCase(line, "VERSION:2.1")) version21 = true;
            lines.push_back(line);
        }
    }
    return cards;
}

} // namespace tira
