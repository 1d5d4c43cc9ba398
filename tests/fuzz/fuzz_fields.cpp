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
    FieldList once;
    once.split(line);
    std::vector<std::string> fresh;
    for (std::size_t i = 0; i < once.size(); ++i)
        fresh.emplace_back(once[i]);
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
    }
    for (int parts = 0; parts <= 4; ++parts) {
        if (const auto date = splitDate(text, parts)) {
            std::size_t total = 0;
            for (int i = 0; i < parts; ++i)
                total += (*date)[static_cast<std::size_t>(i)].size();
            FUZZ_CHECK(total + static_cast<std::size_t>(parts - 1) == text.size());
        }
    }
    for (const LineEncoding encoding :
         {LineEncoding::Text, LineEncoding::Cp932, LineEncoding::Utf8}) {
        if (const auto days = advanceDays(text, encoding)) FUZZ_CHECK(*days <= 14);
        const std::size_t first = firstCharacterLength(text, encoding);
        FUZZ_CHECK(first <= text.size() && (first > 0 || text.empty()));
    }
    FUZZ_CHECK(fuzz::isColourCode(colourCode(text)));
    const char stop = stopMark(text);
    FUZZ_CHECK(stop == 'S' || stop == 'N');
    const std::string spaced = shownText(text, LineEncoding::Text);
    FUZZ_CHECK(spaced.size() == text.size());
    FUZZ_CHECK(spaced.find('_') == std::string::npos);
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
