#include "settings/settings.h"

#include "settings/ini_bytes.h"
#include "text/atomic_file.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/table_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <system_error>
#include <type_traits>

// The file is decoded and encoded here; SimpleIni only ever sees UTF-8. Some distributions
// split SimpleIni's definitions into a library: SI_IMPLEMENTATION keeps it header-only.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace tira {

namespace {

using Ini = CSimpleIniA; // case-insensitive sections and keys

constexpr std::size_t kMaxTextBytes = 2047;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// Comments after the last entry belong to nothing and SimpleIni would drop them; a section
// appended after them holds them until the save writes them back at the end.
constexpr const char* kTailSection = "\x01tail\x01";

enum class ReadResult
{
    Read,
    Missing,
    Failed
};

// TIRA.ini is never larger than this unless something else wrote it: the largest file the
// program itself writes (five lists of 1024 paths of at most 2047 bytes) is about 10.5 MB.
constexpr std::uintmax_t kMaxIniBytes = std::uintmax_t{16} << 20;

// Reads the whole file when it is a regular file (or a link to one) of at most kMaxIniBytes.
// `reason` tells why a file that is there could not be read. Never waits for a writer.
ReadResult readFile(const std::string& path, std::string& bytes, std::string& reason)
{
    bool missing = false;
    std::FILE* file = openRegularFile(path, reason, missing);
    if (file == nullptr) return missing ? ReadResult::Missing : ReadResult::Failed;
    int failure = 0;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
        if (bytes.size() > kMaxIniBytes) {
            failure = EFBIG;
            break;
        }
    }
    if (failure == 0 && std::ferror(file) != 0) failure = errno != 0 ? errno : EIO;
    std::fclose(file);
    if (failure == 0) return ReadResult::Read;
    reason = std::generic_category().message(failure);
    bytes.clear();
    return ReadResult::Failed;
}

ReadResult readFile(const std::string& path, std::string& bytes)
{
    std::string reason;
    return readFile(path, bytes, reason);
}

struct IniText
{
    std::string utf8; // decoded, bytes without a character escaped
    IniEncoding encoding = IniEncoding::Cp932;
};

IniText decodeIni(std::string_view bytes)
{
    IniText text;
    text.encoding = iniEncodingOf(bytes);
    text.utf8 = decodeIniBytes(bytes, text.encoding);
    return text;
}

// A line that opens a section and does not close it is no entry. SimpleIni skips it but
// keeps pointing at its text as the section of the next key, so the save would write a
// header that reads differently at the next load, one more line at every close. The line
// is kept as a comment instead.
std::string withOpenSectionsAsComments(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[' &&
            line.find(']', first) == std::string_view::npos)
            out.push_back(';');
        out.append(line);
        if (end < text.size()) out.push_back(text[end]);
        pos = end + 1;
    }
    return out;
}

void parseIni(Ini& ini, std::string utf8)
{
    ini.SetUnicode(false);
    ini.SetMultiKey(true); // duplicates are kept; lookups see the first
    ini.SetMultiLine(false);
    ini.SetQuotes(false);
    ini.SetAllowKeyOnly(false);
    ini.SetSpaces(false);
    utf8 = withOpenSectionsAsComments(utf8);
    utf8 += "\n[";
    utf8 += kTailSection;
    utf8 += "]\n";
    ini.LoadData(utf8); // can only fail for lack of memory: what was read stays
}

std::size_t utf8Length(unsigned char lead) noexcept
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// At most kMaxTextBytes bytes as the file holds them (CP932), cut between characters.
std::string limitText(std::string_view text)
{
    if (text.size() <= kMaxTextBytes) return std::string(text); // never longer in CP932
    std::size_t width = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length =
            std::min(utf8Length(static_cast<unsigned char>(text[pos])), text.size() - pos);
        const std::size_t bytes = utf8ToCp932(text.substr(pos, length)).size();
        if (width + bytes > kMaxTextBytes) break;
        width += bytes;
        pos += length;
    }
    return std::string(text.substr(0, pos));
}

// Reads values with the profile functions' rules.
class ProfileReader
{
  public:
    ProfileReader(const Ini& ini, IniEncoding encoding) : m_ini(ini), m_encoding(encoding) {}

    std::optional<std::string> text(const char* section, const char* key) const
    {
        const char* raw = m_ini.GetValue(section, key, nullptr);
        if (raw == nullptr) return std::nullopt;
        std::string_view value(raw);
        // quotes around the whole value are not part of it
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return limitText(iniValueText(value, m_encoding));
    }

    void read(const char* section, const char* key, std::string& value) const
    {
        if (auto found = text(section, key)) value = std::move(*found);
    }
    void read(const char* section, const char* key, std::int32_t& value) const
    {
        if (const auto found = text(section, key)) value = parseProfileInt(*found).value_or(value);
    }
    void read(const char* section, const char* key, std::uint8_t& value) const
    {
        std::int32_t number = value;
        read(section, key, number);
        value = static_cast<std::uint8_t>(number & 0xFF);
    }
    void read(const char* section, const char* key, WinColour& value) const
    {
        auto number = static_cast<std::int32_t>(value);
        read(section, key, number);
        value = static_cast<WinColour>(number);
    }

  private:
    const Ini& m_ini;
    IniEncoding m_encoding;
};

// Writes values as the profile functions do: in place of the first key of that name, or at
// the end of the section, or in a new section at the end of the file.
class ProfileWriter
{
  public:
    explicit ProfileWriter(Ini& ini) : m_ini(ini) {}

    void write(const char* section, const char* key, const std::string& value)
    {
        // a line end would split the entry
        std::string line;
        for (const char c : value)
            if (c != '\r' && c != '\n' && c != '\0') line.push_back(c);
        m_ini.SetValue(section, key, iniValueForText(line).c_str());
    }
    void write(const char* section, const char* key, std::int32_t value)
    {
        write(section, key, std::to_string(value));
    }
    void write(const char* section, const char* key, std::uint8_t value)
    {
        write(section, key, std::to_string(static_cast<unsigned>(value)));
    }
    void write(const char* section, const char* key, WinColour value)
    {
        write(section, key, static_cast<std::int32_t>(value));
    }

  private:
    Ini& m_ini;
};

// Every single-valued key in the order the file is written.
template <class S, class Visit> void forEachKey(S& s, Visit&& visit)
{
    visit("Place", "Left", s.Place.Left);
    visit("Place", "Top", s.Place.Top);
    visit("Place", "Width", s.Place.Width);
    visit("Place", "Height", s.Place.Height);
    visit("Common", "Jyun1", s.Jyun[0]);
    visit("Common", "Jyun2", s.Jyun[1]);
    visit("Common", "Jyun3", s.Jyun[2]);
    visit("Common", "Jyun4", s.Jyun[3]);
    visit("Common", "Jyun5", s.Jyun[4]);
    visit("Common", "Birthday", s.Birthday);
    visit("Common", "Schedule", s.Schedule);
    visit("Common", "Event", s.Event);
    visit("Common", "History", s.History);
    visit("Common", "HistMeiTan", s.HistMeiTan);
    visit("Common", "Koumoku", s.Koumoku);
    visit("Common", "Week", s.Week);
    visit("Common", "Age", s.Age);
    visit("Common", "Comment", s.Comment);
    visit("Common", "AutoEnd", s.AutoEnd);
    visit("Common", "StopEnd", s.StopEnd);
    visit("Common", "ZengEnd", s.ZengEnd);
    visit("Common", "Yuusen", s.Yuusen);
    visit("Common", "Sotowaku", s.Sotowaku);
    visit("Common", "WavOn", s.WavOn);
    visit("Common", "TopOn", s.TopOn);
    visit("Common", "EditOk", s.EditOk);
    visit("Common", "WavFile", s.WavFile);
    visit("Common", "Edit", s.Edit);
    visit("Common", "IncME", s.IncME);
    visit("Common", "YsenE", s.YsenE);
    visit("Common", "EveMFile", s.EveMFile);
    visit("Common", "IncMH", s.IncMH);
    visit("Common", "YsenH", s.YsenH);
    visit("Common", "HisMFile", s.HisMFile);
    visit("Font", "Name", s.Font.Name);
    visit("Font", "Size", s.Font.Size);
    visit("Font", "Style", s.Font.Style);
    visit("Color", "BaseF", s.BaseF);
    visit("Color", "StopF", s.StopF);
    visit("Color", "ZengoF", s.ZengoF);
    visit("Color", "BackF", s.BackF);
    visit("Color", "BaseB", s.BaseB);
    visit("Color", "StopB", s.StopB);
    visit("Color", "ZengoB", s.ZengoB);
    visit("Color", "Meinichi", s.Meinichi);
    visit("Color", "Tanjyou", s.Tanjyou);
    visit("Color", "BFC", s.BFC);
    visit("Color", "SFC", s.SFC);
    visit("Color", "EFC", s.EFC);
    visit("Color", "HFC", s.HFC);
    visit("Color", "WFC", s.WFC);
    visit("Common", "Holiday", s.Holiday);
}

std::string fileKey(std::size_t index)
{
    return "File" + std::to_string(index);
}

// True when the text holds a character CP932 has no code for (an invalid byte read
// earlier, already U+FFFD, does not count: it is lost either way).
bool needsUnicode(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        const std::size_t length = std::min(utf8Length(lead), text.size() - pos);
        const std::string_view character = text.substr(pos, length);
        pos += length;
        if (lead < 0x80 || character == kReplacement) continue;
        if (utf8ToCp932(character) == "?") return true;
    }
    return false;
}

bool needsUnicode(const Settings& s)
{
    bool needed = false;
    forEachKey(s, [&](const char*, const char*, const auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>)
            needed = needed || needsUnicode(value);
    });
    for (const auto& list : s.files)
        for (const auto& path : list)
            needed = needed || needsUnicode(path);
    return needed;
}

// CR LF line ends, at most one empty line in a row, none at the start or the end.
std::string windowsLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t emptyLines = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        if (line.empty()) {
            ++emptyLines;
            continue;
        }
        if (emptyLines > 0 && !out.empty()) out += "\r\n";
        emptyLines = 0;
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace

std::string defaultEditor()
{
#ifdef _WIN32
    return "notepad.exe";
#else
    return "xdg-open";
#endif
}

std::optional<std::int32_t> parseProfileInt(std::string_view text) noexcept
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, magnitude, base);
    if (error != std::errc() || stop != end) return std::nullopt;
    std::int64_t value = 0;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFu) return std::nullopt;
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude)); // $FFFFFFFF = -1
    } else {
        if (magnitude > 0x80000000u) return std::nullopt;
        value = static_cast<std::int64_t>(magnitude);
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string settingsTempPath(const std::string& iniPath)
{
    return atomicTempPath(iniPath);
}

Settings loadSettings(const std::string& iniPath, const std::string& home, std::string* problem)
{
    Ini ini;
    std::string bytes;
    std::string reason;
    IniText text;
    const ReadResult read = readFile(iniPath, bytes, reason);
    if (read == ReadResult::Read) {
        text = decodeIni(bytes);
        parseIni(ini, std::move(text.utf8));
    } else if (read == ReadResult::Failed && problem != nullptr) {
        *problem = "TIRA.ini を読めません: " + reason;
    }
    const ProfileReader reader(ini, text.encoding);

    // the defaults that depend on the home folder; the rest are the struct's own
    Settings s;
    const std::string prefix = homePrefix(home);
    s.Edit = defaultEditor();
    s.EveMFile = prefix + "EVENT%m.TBL";
    s.HisMFile = prefix + "HIST%m.TBL";
    if (pathExists(prefix + "TIRAHOLI.TBL")) s.Holiday = prefix + "TIRAHOLI.TBL";

    forEachKey(s, [&](const char* section, const char* key, auto& value) {
        reader.read(section, key, value);
    });
    completeProgramPath(s.EveMFile, home);
    completeProgramPath(s.HisMFile, home);

    for (std::size_t k = 0; k < kKindCount; ++k) {
        std::int32_t count = 0;
        reader.read(kKinds[k].iniSection, "Count", count);
        // further File keys are ignored
        const auto listed = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<std::int32_t>(count, 0)), kMaxFilesPerKind);
        auto& files = s.files[k];
        files.reserve(listed);
        for (std::size_t i = 0; i < listed; ++i) {
            std::string path;
            reader.read(kKinds[k].iniSection, fileKey(i).c_str(), path);
            files.push_back(std::move(path));
        }
    }
    return s;
}

void saveSettings(const Settings& settings, const std::string& iniPath)
{
    std::string old;
    const ReadResult existing = readFile(iniPath, old);
    // an existing file that cannot be read would lose what it holds beyond our keys
    if (existing == ReadResult::Failed) throw SettingsWriteError(iniPath);
    const IniText text = decodeIni(old);
    Ini ini;
    parseIni(ini, text.utf8);

    Settings s = settings;
    s.Place.Left = std::max(s.Place.Left, 0);
    s.Place.Top = std::max(s.Place.Top, 0);
    if (s.Place.Width <= 350) s.Place.Width = 350;
    if (s.Place.Height <= 400) s.Place.Height = 400;

    ini.SetMultiKey(false); // replace the first of duplicate keys, leave the others
    ProfileWriter writer(ini);
    forEachKey(s, [&](const char* section, const char* key, const auto& value) {
        writer.write(section, key, value);
    });
    for (std::size_t k = 0; k < kKindCount; ++k) {
        const auto& files = s.files[k];
        const std::size_t count = std::min(files.size(), kMaxFilesPerKind);
        writer.write(kKinds[k].iniSection, "Count", static_cast<std::int32_t>(count));
        for (std::size_t i = 0; i < count; ++i)
            writer.write(kKinds[k].iniSection, fileKey(i).c_str(), files[i]);
    }
    ini.SetMultiKey(true); // so that Save writes the duplicates back

    std::string tail;
    Ini::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto& section : sections)
        if (std::strcmp(section.pItem, kTailSection) == 0 && section.pComment != nullptr)
            tail = section.pComment;
    ini.Delete(kTailSection, nullptr);

    std::string body;
    if (ini.Save(body, false) < 0) throw SettingsWriteError(iniPath);
    if (!tail.empty()) body += "\n\n" + tail + "\n";
    body = windowsLines(body);

    // in the file's own encoding; CP932 as Windows writes it unless a path needs characters
    // it cannot hold
    IniEncoding encoding = text.encoding;
    if (encoding == IniEncoding::Cp932 && needsUnicode(s)) encoding = IniEncoding::Utf8Bom;
    const AtomicWriteResult written = writeFileAtomically(iniPath, encodeIniText(body, encoding));
    if (!written.ok) throw SettingsWriteError(iniPath, written.reason);
}

} // namespace tira
