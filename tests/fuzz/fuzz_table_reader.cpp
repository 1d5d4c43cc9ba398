// The line reader against a plain model of its rules: a UTF-8 byte-order mark switches to
// UTF-8, and so do bytes that are well-formed UTF-8 up to the first Ctrl-Z; reading stops at
// that Ctrl-Z. The first line end decides the others: when it is an LF without a CR before
// it, every LF ends a line and a CR right before it belongs to that line end (any other CR
// is an ordinary byte); otherwise a line ends at CR, an LF right after the CR belongs to
// that line end, and any other LF is an ordinary byte. A last line without a line end still
// counts. The lines as bytes, decoded as the reader says, are the same lines.
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
    const bool valid = !utf8 && isValidUtf8(bytes);
    const auto first = bytes.find_first_of("\r\n");
    const bool lfEnds = first != std::string_view::npos && bytes[first] == '\n';
    const char lineEnd = lfEnds ? '\n' : '\r';
    std::vector<std::string> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find(lineEnd);
        std::string_view raw = bytes.substr(0, end);
        if (lfEnds && end != std::string_view::npos && raw.ends_with('\r')) raw.remove_suffix(1);
        lines.push_back(valid ? std::string(raw) : utf8 ? sanitizeUtf8(raw) : cp932ToUtf8(raw));
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
        if (!lfEnds && bytes.starts_with('\n')) bytes.remove_prefix(1);
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
    std::string_view read;
    std::size_t count = 0;
    // each line decoded as the report decodes a shown text
    const auto next = [&] {
        if (!reader.nextBytes(read)) return false;
        line.clear();
        appendText(line, read, reader.lineEncoding());
        return true;
    };
    while (next()) {
        FUZZ_CHECK(count < expected.size());
        FUZZ_CHECK(line == expected[count]);
        FUZZ_CHECK(isValidUtf8(line));
        // a CR ends a line, or goes with the LF after it, unless the file has LF line ends
        FUZZ_CHECK(reader.lineEnds() == LineEnds::Lf || line.find('\r') == std::string::npos);
        ++count;
    }
    FUZZ_CHECK(count == expected.size());
    FUZZ_CHECK(!next()); // stays at the end

    TableReader byBytes(folder.file("T.TBL"));
    std::string_view lineBytes;
    count = 0;
    while (byBytes.nextBytes(lineBytes)) {
        FUZZ_CHECK(count < expected.size());
        std::string text;
        appendText(text, lineBytes, byBytes.lineEncoding());
        FUZZ_CHECK(text == expected[count]);
        ++count;
    }
    FUZZ_CHECK(count == expected.size());
    return 0;
}
