// The field splitter and the small field readers, on raw bytes and on decoded lines.
#include "fuzz_support.h"
#include "tables/fields.h"
#include "text/cp932.h"

using namespace tira;

namespace {

bool isSeparator(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return c == ',' || (u >= 1 && u <= 32);
}

void checkSplit(std::string_view line)
{
    static FieldList reused; // reuse must never leak a field of an earlier line
    reused.split(line);
    const std::vector<std::string> fresh = splitFields(line);
    FUZZ_CHECK(reused.size() == fresh.size());
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        FUZZ_CHECK(reused[i] == fresh[i]);
        bytes += fresh[i].size();
    }
    FUZZ_CHECK(bytes <= line.size());
    FUZZ_CHECK(fresh.size() <= line.size());
    // splitting on demand gives the same fields, and says a field is there without it
    static FieldList lazy;
    for (std::size_t step = 1; step <= 3; ++step) {
        lazy.start(line);
        for (std::size_t i = 0; i <= fresh.size(); i += step) {
            FUZZ_CHECK(lazy.has(i) == (i < fresh.size()));
            if (i < fresh.size()) FUZZ_CHECK(lazy.field(i) == fresh[i]);
        }
    }
    if (line.find('"') == std::string_view::npos) {
        for (const std::string& field : fresh)
            for (const char c : field)
                FUZZ_CHECK(!isSeparator(c));
    }
}

void checkReaders(std::string_view text)
{
    if (const auto n = parseNumber(text)) {
        FUZZ_CHECK(parseNumber(std::to_string(*n)) == n);
        FUZZ_CHECK(recordInt(text) == *n);
    }
    for (int parts = 0; parts <= 4; ++parts) {
        if (const auto date = splitDate(text, parts)) {
            std::size_t total = 0;
            for (int i = 0; i < parts; ++i)
                total += (*date)[static_cast<std::size_t>(i)].size();
            FUZZ_CHECK(total + static_cast<std::size_t>(parts - 1) == text.size());
        }
    }
    if (const auto days = advanceDays(text)) FUZZ_CHECK(*days <= 14);
    FUZZ_CHECK(fuzz::isColourCode(colourCode(text)));
    const char stop = stopMark(text);
    FUZZ_CHECK(stop == 'S' || stop == 'N');
    const std::string spaced = underscoresToSpaces(text);
    FUZZ_CHECK(spaced.size() == text.size());
    FUZZ_CHECK(spaced.find('_') == std::string::npos);
    FUZZ_CHECK(withoutFirstCharacter(text).size() < text.size() || text.empty());
    FUZZ_CHECK(asciiUpper(text).size() == text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view raw = fuzz::asView(data, size);
    const std::string decoded = cp932ToUtf8(raw);
    for (const std::string_view line : {raw, std::string_view(decoded)}) {
        checkSplit(line);
        checkReaders(line);
        FieldList fields;
        fields.split(line);
        for (std::size_t i = 0; i < fields.size() && i < 8; ++i)
            checkReaders(fields[i]);
    }
    return 0;
}
