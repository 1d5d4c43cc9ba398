// The line reader against a plain model of its rules: a UTF-8 byte-order mark switches to
// UTF-8, reading stops at the first Ctrl-Z, a line ends at CR and an LF right after the CR
// belongs to that line end, and a last line without a line end still counts.
#include "fuzz_support.h"
#include "text/cp932.h"
#include "text/table_reader.h"

using namespace tira;

namespace {

std::vector<std::string> modelLines(std::string_view bytes)
{
    bool utf8 = false;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        utf8 = true;
        bytes.remove_prefix(3);
    }
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto cr = bytes.find('\r');
        const std::string_view raw = bytes.substr(0, cr);
        lines.push_back(utf8 ? sanitizeUtf8(raw) : cp932ToUtf8(raw));
        if (cr == std::string_view::npos) break;
        bytes.remove_prefix(cr + 1);
        if (bytes.starts_with('\n')) bytes.remove_prefix(1);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFolder folder;
    const std::string_view bytes = fuzz::asView(data, size);
    folder.write("T.TBL", bytes);

    const std::vector<std::string> expected = modelLines(bytes);
    TableReader reader(folder.file("T.TBL"));
    std::string line;
    std::size_t count = 0;
    while (reader.next(line)) {
        FUZZ_CHECK(count < expected.size());
        FUZZ_CHECK(line == expected[count]);
        FUZZ_CHECK(line.find('\r') == std::string::npos);
        FUZZ_CHECK(isValidUtf8(line));
        ++count;
    }
    FUZZ_CHECK(count == expected.size());
    FUZZ_CHECK(!reader.next(line)); // stays at the end
    return 0;
}
