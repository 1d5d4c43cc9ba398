#include "settings/settings.h"

#include "settings/profile_file.h"
#include "text/atomic_file.h"
#include "text/cp932.h"
#include "text/paths.h"
#include "text/table_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <limits>
#include <system_error>

namespace tira {

namespace {

constexpr std::size_t kMaxTextBytes = 2047;

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

// At most kMaxTextBytes bytes as the file holds them (CP932), cut between characters.
std::string limitText(std::string_view text)
{
    if (text.size() <= kMaxTextBytes) return std::string(text); // never longer in CP932
    std::size_t width = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t length = firstCharacterLength(text.substr(pos), LineEncoding::Utf8);
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
    explicit ProfileReader(const ProfileFile& file) : m_file(file) {}

    std::optional<std::string> text(const char* section, const char* key) const
    {
        auto value = m_file.text(section, key);
        if (value) *value = limitText(*value);
        return value;
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
    const ProfileFile& m_file;
};

// Writes values as the profile functions do: in place of the first key of that name, or at
// the end of the section, or in a new section at the end of the file.
class ProfileWriter
{
  public:
    explicit ProfileWriter(ProfileFile& file) : m_file(file) {}

    void write(const char* section, const char* key, const std::string& value)
    {
        m_file.set(section, key, value);
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
    ProfileFile& m_file;
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

// The keys the program owns (names lowered): the single-valued keys, and Count and File<n>
// of each kind.
ProfileFile::OwnedKey ownedKeys()
{
    std::vector<std::pair<std::string_view, std::string_view>> names;
    const Settings defaults;
    forEachKey(defaults, [&](const char* section, const char* key, const auto&) {
        names.emplace_back(section, key);
    });
    return [names = std::move(names)](std::string_view section, std::string_view key) {
        const auto same = [](std::string_view a, std::string_view b) {
            return std::ranges::equal(a, b, [](char x, char y) {
                return x == (y >= 'A' && y <= 'Z' ? static_cast<char>(y - 'A' + 'a') : y);
            });
        };
        for (const auto& [s, k] : names)
            if (same(section, s) && same(key, k)) return true;
        const bool kindSection = std::ranges::any_of(
            kKinds, [&](const KindDescription& kind) { return same(section, kind.iniSection); });
        if (!kindSection) return false;
        if (key == "count") return true;
        return key.size() > 4 && key.starts_with("file") &&
               key.find_first_not_of("0123456789", 4) == std::string_view::npos;
    };
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
    std::string bytes;
    std::string reason;
    const ReadResult read = readFile(iniPath, bytes, reason);
    if (read == ReadResult::Failed && problem != nullptr)
        *problem = "TIRA.ini を読めません: " + reason;
    const ProfileFile file(std::move(bytes), ownedKeys());
    const ProfileReader reader(file);

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
        // File keys at or above the count are ignored; missing or empty ones below it are
        // no file at all
        const auto listed = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<std::int32_t>(count, 0)), kMaxFilesPerKind);
        auto& files = s.files[k];
        for (std::size_t i = 0; i < listed; ++i) {
            std::string path;
            reader.read(kKinds[k].iniSection, fileKey(i).c_str(), path);
            if (!path.empty()) files.push_back(std::move(path));
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
    ProfileFile file(std::move(old), ownedKeys());

    Settings s = settings;
    s.Place.Left = std::max(s.Place.Left, 0);
    s.Place.Top = std::max(s.Place.Top, 0);
    if (s.Place.Width <= 350) s.Place.Width = 350;
    if (s.Place.Height <= 400) s.Place.Height = 400;

    ProfileWriter writer(file);
    forEachKey(s, [&](const char* section, const char* key, const auto& value) {
        writer.write(section, key, value);
    });
    for (std::size_t k = 0; k < kKindCount; ++k) {
        std::vector<const std::string*> named; // a path without a name is no file
        for (const std::string& path : s.files[k])
            if (!path.empty() && named.size() < kMaxFilesPerKind) named.push_back(&path);
        writer.write(kKinds[k].iniSection, "Count", static_cast<std::int32_t>(named.size()));
        for (std::size_t i = 0; i < named.size(); ++i)
            writer.write(kKinds[k].iniSection, fileKey(i).c_str(), *named[i]);
    }

    const AtomicWriteResult written = writeFileAtomically(iniPath, file.bytes());
    if (!written.ok) throw SettingsWriteError(iniPath, written.reason);
}

} // namespace tira
