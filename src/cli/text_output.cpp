#include "cli/text_output.h"

#include <array>
#include <climits>

namespace tira {

namespace {

// The SGR foreground code of the standard terminal colour nearest to `colour` (0x00BBGGRR),
// measured in RGB against the usual shades of the 16: the Windows colours TIRA offers are
// exactly these, so each keeps its name (maroon stays dark red, navy dark blue).
int nearestStandardColour(WinColour colour)
{
    struct Standard
    {
        int code;
        int r, g, b;
    };
    static constexpr std::array<Standard, 16> kStandard{{
        {30, 0, 0, 0},
        {31, 128, 0, 0},
        {32, 0, 128, 0},
        {33, 128, 128, 0},
        {34, 0, 0, 128},
        {35, 128, 0, 128},
        {36, 0, 128, 128},
        {37, 192, 192, 192},
        {90, 128, 128, 128},
        {91, 255, 0, 0},
        {92, 0, 255, 0},
        {93, 255, 255, 0},
        {94, 0, 0, 255},
        {95, 255, 0, 255},
        {96, 0, 255, 255},
        {97, 255, 255, 255},
    }};
    const auto r = static_cast<int>(colour & 0xFFu);
    const auto g = static_cast<int>((colour >> 8) & 0xFFu);
    const auto b = static_cast<int>((colour >> 16) & 0xFFu);
    int best = kStandard[0].code;
    int bestDistance = INT_MAX;
    for (const Standard& s : kStandard) {
        const int distance = (r - s.r) * (r - s.r) + (g - s.g) * (g - s.g) + (b - s.b) * (b - s.b);
        if (distance < bestDistance) {
            best = s.code;
            bestDistance = distance;
        }
    }
    return best;
}

// The library escapes the C0 controls; DEL and the C1 controls (U+0080..U+009F: U+009B
// acts as ESC [ on many terminals) get the same \u form here. The dump is valid UTF-8 (bad
// bytes became U+FFFD), so 0xC2 is always the lead byte of a character.
std::string escapeDelAndC1(const std::string& dumped)
{
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out;
    out.reserve(dumped.size());
    for (std::size_t i = 0; i < dumped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(dumped[i]);
        const auto next = i + 1 < dumped.size() ? static_cast<unsigned char>(dumped[i + 1]) : 0u;
        if (byte == 0x7F) {
            out += "\\u007f";
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += "\\u00";
            out += kDigits[next >> 4];
            out += kDigits[next & 0xFu];
            ++i;
        } else {
            out.push_back(dumped[i]);
        }
    }
    return out;
}

} // namespace

std::string colourEscape(WinColour colour, TextColours colours)
{
    switch (colours) {
    case TextColours::None: return {};
    case TextColours::Standard16:
        return "\x1b[" + std::to_string(nearestStandardColour(colour)) + "m";
    case TextColours::Exact: break;
    }
    return "\x1b[38;2;" + std::to_string(colour & 0xFFu) + ";" +
           std::to_string((colour >> 8) & 0xFFu) + ";" + std::to_string((colour >> 16) & 0xFFu) +
           "m";
}

std::string jsonText(const Json& json)
{
    return escapeDelAndC1(json.dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::string isoDate(const Date& date)
{
    const std::string year = std::to_string(date.year);
    return std::string(year.size() < 4 ? 4 - year.size() : 0, '0') + year + "-" +
           twoDigits(date.month) + "-" + twoDigits(date.day);
}

std::string hexColour(WinColour colour)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string hex = "#";
    for (const unsigned shift : {0u, 8u, 16u}) { // red, green, blue
        const unsigned byte = (colour >> shift) & 0xFFu;
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xFu];
    }
    return hex;
}

} // namespace tira
