#include "settings/profile_file.h"

#include "text/cp932.h"

#include <algorithm>

namespace tira {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Bytes above 0x7F that are well-formed UTF-8: a line that reads as UTF-8 when nothing
// says otherwise.
bool looksUtf8(std::string_view bytes)
{
    return !isAscii(bytes) && isValidUtf8(bytes);
}

// Every byte is part of a CP932 character.
bool wellFormedCp932(std::string_view bytes)
{
    return cp932ToUtf8(bytes).find(kReplacement) == std::string::npos;
}

// True when the text holds a character CP932 has no code for (U+FFFD, a byte read earlier
// without a character, does not count: it is lost either way).
bool needsUnicodeText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = firstCharacterLength(text.substr(pos), LineEncoding::Utf8);
        const std::string_view character = text.substr(pos, length);
        pos += length;
        if (static_cast<unsigned char>(character[0]) < 0x80 || character == kReplacement) continue;
        if (utf8ToCp932(character) == "?") return true;
    }
    return false;
}

// A CP932 line as UTF-8; bytes that are no CP932 character (or one that would not come back
// the same) stay as they are.
std::string cp932LineAsUtf8(std::string_view bytes)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t length = firstCharacterLength(bytes.substr(pos), LineEncoding::Cp932);
        const std::string_view character = bytes.substr(pos, length);
        pos += length;
        const std::string text = cp932ToUtf8(character);
        out += text != kReplacement && utf8ToCp932(text) == character ? std::string_view(text)
                                                                      : character;
    }
    return out;
}

} // namespace

std::string ProfileFile::lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string ProfileFile::keyOf(std::string_view section, std::string_view key)
{
    return lowered(section) + '\n' + lowered(key);
}

ProfileFile::ProfileFile(std::string bytes, const OwnedKey& owned) : m_bytes(std::move(bytes))
{
    m_bom = m_bytes.starts_with(kBom);
    std::vector<std::size_t> ownLines;
    std::size_t pos = m_bom ? kBom.size() : 0;
    std::size_t section = std::string::npos; // none, or not the first of its name
    std::string sectionName;
    while (pos < m_bytes.size()) {
        Line line;
        line.begin = pos;
        line.end = std::min(m_bytes.find_first_of("\r\n", pos), m_bytes.size());
        if (line.end < m_bytes.size())
            line.lineEnd = m_bytes.compare(line.end, 2, "\r\n") == 0 ? 2 : 1;
        pos = line.end + line.lineEnd;
        const std::size_t index = m_lines.size();
        const std::string_view text(m_bytes.data() + line.begin, line.end - line.begin);
        const std::size_t first = text.find_first_not_of(kBlanks);
        // the first ']': a comment after the header may hold brackets of its own
        const std::size_t close = first == std::string_view::npos ? first : text.find(']', first);
        if (first == std::string_view::npos || text[first] == ';' || text[first] == '#') {
            // a blank line or a comment
        } else if (text[first] == '[' && close != std::string_view::npos) {
            sectionName = lowered(trimmed(text.substr(first + 1, close - first - 1)));
            const auto [it, isFirst] = m_sectionOf.try_emplace(sectionName, m_sections.size());
            section = isFirst ? it->second : std::string::npos;
            if (isFirst) m_sections.push_back({{}, index, {}});
        } else if (section != std::string::npos) {
            m_sections[section].insertAfter = index;
            const std::size_t equals = text.find('=');
            if (text[first] != '[' && equals != std::string_view::npos) {
                const std::string key = lowered(trimmed(text.substr(first, equals - first)));
                std::size_t value = equals + 1;
                while (value < text.size() && kBlanks.find(text[value]) != std::string_view::npos)
                    ++value;
                line.valueBegin = line.begin + value;
                line.valueEnd = line.begin + value + trimmed(text.substr(value)).size();
                const auto [it, isFirst] = m_entryOf.try_emplace(keyOf(sectionName, key), index);
                if (isFirst && owned(sectionName, key)) ownLines.push_back(index);
            }
        }
        m_lines.push_back(line);
    }
    decideEncodings(ownLines);
}

// How the program's own values read. A byte-order mark makes the whole file UTF-8.
// Otherwise only the lines of the program's own keys are looked at, so that a foreign line
// in another encoding cannot change how they read: each own value whose bytes are
// well-formed UTF-8 (beyond ASCII) is UTF-8, any other CP932 — unless the own lines are
// CP932 throughout (one of them is no UTF-8 and all are well-formed CP932), which makes a
// short CP932 value that happens to be well-formed UTF-8 CP932 too. Values added take the
// encoding of the own lines; with no own line beyond ASCII, that of most lines beyond
// ASCII; CP932, as Windows writes it, when there are none.
void ProfileFile::decideEncodings(const std::vector<std::size_t>& ownLines)
{
    for (Line& line : m_lines) // foreign lines by their own bytes
        line.encoding =
            looksUtf8(std::string_view(m_bytes).substr(line.begin, line.end - line.begin))
                ? Encoding::Utf8
                : Encoding::Cp932;
    if (m_bom) {
        for (Line& line : m_lines)
            line.encoding = Encoding::Utf8;
        m_encoding = Encoding::Utf8;
        return;
    }
    bool anyOwn = false;   // an own value beyond ASCII
    bool anyUtf8 = false;  // one that is well-formed UTF-8
    bool anyOther = false; // one that is not
    bool allCp932 = true;  // all are well-formed CP932
    for (const std::size_t index : ownLines) {
        const std::string_view raw = rawValue(m_lines[index]);
        if (isAscii(raw)) continue;
        anyOwn = true;
        (isValidUtf8(raw) ? anyUtf8 : anyOther) = true;
        allCp932 = allCp932 && wellFormedCp932(raw);
    }
    const bool cp932Throughout = anyOther && allCp932;
    for (const std::size_t index : ownLines) {
        Line& line = m_lines[index];
        line.encoding =
            !cp932Throughout && looksUtf8(rawValue(line)) ? Encoding::Utf8 : Encoding::Cp932;
    }
    if (anyOwn) {
        m_encoding = anyUtf8 && !cp932Throughout ? Encoding::Utf8 : Encoding::Cp932;
    } else {
        std::ptrdiff_t vote = 0;
        for (const Line& line : m_lines)
            if (!isAscii(std::string_view(m_bytes).substr(line.begin, line.end - line.begin)))
                vote += line.encoding == Encoding::Utf8 ? 1 : -1;
        m_encoding = vote > 0 ? Encoding::Utf8 : Encoding::Cp932;
    }
    for (const std::size_t index : ownLines) // an ASCII value given text beyond ASCII
        if (isAscii(rawValue(m_lines[index]))) m_lines[index].encoding = m_encoding;
}

std::string_view ProfileFile::rawValue(const Line& line) const
{
    return std::string_view(m_bytes).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

std::string ProfileFile::decode(std::string_view raw, Encoding encoding)
{
    // quotes around the whole value are not part of it
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.substr(1, raw.size() - 2);
    const std::string text = encoding == Encoding::Cp932 ? cp932ToUtf8(raw) : sanitizeUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c == '\0')
            out += kReplacement;
        else
            out.push_back(c);
    return out;
}

std::optional<std::string> ProfileFile::text(std::string_view section, std::string_view key) const
{
    const std::string name = keyOf(section, key);
    if (const auto found = m_entryOf.find(name); found != m_entryOf.end()) {
        const Line& line = m_lines[found->second];
        if (line.value) return line.value;
        return decode(rawValue(line), line.encoding);
    }
    if (const auto added = m_addedOf.find(name); added != m_addedOf.end())
        return m_sections[added->second.first].added[added->second.second].second;
    return std::nullopt;
}

void ProfileFile::set(std::string_view section, std::string_view key, std::string_view text)
{
    std::string value;
    for (const char c : text) // a line end would split the entry
        if (c != '\r' && c != '\n' && c != '\0') value.push_back(c);
    if (this->text(section, key) == value) return;
    const std::string name = keyOf(section, key);
    if (const auto found = m_entryOf.find(name); found != m_entryOf.end()) {
        m_lines[found->second].value = std::move(value);
        return;
    }
    if (const auto added = m_addedOf.find(name); added != m_addedOf.end()) {
        m_sections[added->second.first].added[added->second.second].second = std::move(value);
        return;
    }
    const auto [it, isNew] = m_sectionOf.try_emplace(lowered(section), m_sections.size());
    if (isNew) m_sections.push_back({std::string(section), 0, {}});
    auto& added = m_sections[it->second].added;
    m_addedOf.emplace(name, std::make_pair(it->second, added.size()));
    added.emplace_back(std::string(key), std::move(value));
}

bool ProfileFile::needsUnicode() const
{
    for (const Line& line : m_lines)
        if (line.value && line.encoding == Encoding::Cp932 && needsUnicodeText(*line.value))
            return true;
    if (m_encoding == Encoding::Utf8) return false;
    for (const Section& section : m_sections)
        for (const auto& entry : section.added)
            if (needsUnicodeText(entry.second)) return true;
    return false;
}

std::string ProfileFile::bytes() const
{
    // A value CP932 cannot hold turns a CP932 file into UTF-8 with a byte-order mark: the
    // one case in which lines that are not ours change (as text they stay the same).
    const bool toUtf8 = !m_bom && needsUnicode();
    const auto encode = [&](const std::string& text, Encoding encoding) {
        return encoding == Encoding::Cp932 && !toUtf8 ? utf8ToCp932(text) : text;
    };
    std::string lineEnd = "\r\n"; // of lines added: the file's first line end
    for (const Line& line : m_lines) {
        if (line.lineEnd == 0) continue;
        lineEnd = m_bytes.substr(line.end, line.lineEnd);
        break;
    }
    std::vector<std::size_t> addedAfter(m_lines.size(), std::string::npos);
    for (std::size_t s = 0; s < m_sections.size(); ++s)
        if (m_sections[s].header.empty() && !m_sections[s].added.empty())
            addedAfter[m_sections[s].insertAfter] = s;

    std::string out(m_bom || toUtf8 ? kBom : std::string_view());
    out.reserve(m_bytes.size() + 64);
    bool lastBlank = true; // nothing before the first line
    const auto addEntries = [&](const Section& section) {
        for (const auto& [key, text] : section.added) {
            out += key + '=' + encode(text, m_encoding);
            out += lineEnd;
        }
    };
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        const std::string_view content =
            std::string_view(m_bytes).substr(line.begin, line.end - line.begin);
        if (line.value) {
            out.append(m_bytes, line.begin, line.valueBegin - line.begin);
            out += encode(*line.value, line.encoding);
            out.append(m_bytes, line.valueEnd, line.end - line.valueEnd);
        } else if (toUtf8 && line.encoding == Encoding::Cp932) {
            out += cp932LineAsUtf8(content);
        } else {
            out += content;
        }
        out.append(m_bytes, line.end, line.lineEnd);
        lastBlank = trimmed(content).empty();
        if (addedAfter[i] == std::string::npos) continue;
        if (line.lineEnd == 0) out += lineEnd;
        addEntries(m_sections[addedAfter[i]]);
        lastBlank = false;
    }
    bool open = !m_lines.empty() && m_lines.back().lineEnd == 0 &&
                addedAfter.back() == std::string::npos; // the last line has no line end
    for (const Section& section : m_sections) {
        if (section.header.empty()) continue;
        if (open) out += lineEnd;
        open = false;
        if (!lastBlank) out += lineEnd; // sections apart by an empty line
        out += '[' + section.header + ']' + lineEnd;
        addEntries(section);
        lastBlank = false;
    }
    return out;
}

} // namespace tira
