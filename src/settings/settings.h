#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tira {

using WinColour = std::uint32_t; // 0x00BBGGRR, the form TIRA.ini stores

// The five kinds of table file, in section-number order (section number = index + 1).
enum class Kind : std::uint8_t
{
    Birthday = 0,
    Schedule,
    Event,
    History,
    Week
};
inline constexpr std::size_t kKindCount = 5;
inline constexpr std::size_t kMaxFilesPerKind = 1024;

// Every setting of TIRA.ini, as the main window holds it while it runs.
struct Settings
{
    struct PlaceKeys // [Place]
    {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Width = 400;
        std::int32_t Height = 400;
    } Place;

    // [Common]
    std::array<std::uint8_t, 5> Jyun{1, 2, 3, 4, 5}; // 表示順: Jyun1..Jyun5, section per slot
    std::uint8_t Birthday = 1;                       // 誕生日 section on
    std::uint8_t Schedule = 1;                       // スケジュール section on
    std::uint8_t Event = 1;                          // イベント section on
    std::uint8_t History = 1;                        // 歴史 section on
    std::uint8_t HistMeiTan = 0;                     // 命日・誕生日 colours for history
    std::uint8_t Koumoku = 0;                        // 項目: kind colours for ordinary entries
    std::uint8_t Week = 1;                           // 週間 section on
    std::uint8_t Age = 1;                            // 年齢表示
    std::uint8_t Comment = 1;                        // schedule comments shown
    std::int32_t AutoEnd = 0;                        // seconds to the automatic exit; <= 0: none
    std::uint8_t StopEnd = 0;                        // stop entry on its day holds the window
    std::uint8_t ZengEnd = 0;                        // stop entry ahead holds the window
    std::uint8_t Yuusen = 1;                         // 優先: status colours over colour words
    std::uint8_t Sotowaku = 0;                       // 外枠: stop entries recolour the frame
    std::uint8_t WavOn = 0;                          // ring WavFile on a stop day
    std::uint8_t TopOn = 0;                          // keep the window top-most
    std::uint8_t EditOk = 0;                         // table files may be opened in the editor
    std::string WavFile;
    std::string Edit;
    std::uint8_t IncME = 0; // read the monthly event file
    std::uint8_t YsenE = 1; // monthly event file before the listed ones
    std::string EveMFile;
    std::uint8_t IncMH = 0; // read the monthly history file
    std::uint8_t YsenH = 1; // monthly history file before the listed ones
    std::string HisMFile;
    std::string Holiday;

    struct FontKeys // [Font]
    {
        std::string Name = "ＭＳ ゴシック";
        std::int32_t Size = 10;
        std::int32_t Style = 0; // 1 bold, 2 italic, 4 underline, 8 strikeout
    } Font;

    // [Color]
    WinColour BaseF = 0;
    WinColour StopF = 255;
    WinColour ZengoF = 65535;
    WinColour BackF = 12632256;
    WinColour BaseB = 0;
    WinColour StopB = 255;
    WinColour ZengoB = 65535;
    WinColour Meinichi = 8421504;
    WinColour Tanjyou = 16776960;
    WinColour BFC = 0;
    WinColour SFC = 128;
    WinColour EFC = 32768;
    WinColour HFC = 32896;
    WinColour WFC = 8388608;

    // [Birthday] [Schedule] [Event] [History] [Week]: Count and File0..File<Count-1>,
    // at most kMaxFilesPerKind paths each.
    std::array<std::vector<std::string>, kKindCount> files;

    std::vector<std::string>& filesOf(Kind kind) { return files[static_cast<std::size_t>(kind)]; }
    const std::vector<std::string>& filesOf(Kind kind) const
    {
        return files[static_cast<std::size_t>(kind)];
    }
};

// A kind of table file, described once for the settings, the report and `tira --check`.
struct KindDescription
{
    Kind kind;
    const char* iniSection;        // its file list's section, and its switch's key in [Common]
    std::string_view heading;      // the heading of its report section
    std::string_view label;        // what `tira --check` calls its files
    std::uint8_t Settings::*shown; // its section switch
    WinColour Settings::*colour;   // the colour of its ordinary entries (Koumoku)
    // Monthly files, for the kinds that have them (nullptr else): the switch, the path
    // pattern and whether they are read before the listed files.
    std::uint8_t Settings::*monthlyOn = nullptr;
    std::string Settings::*monthlyPattern = nullptr;
    std::uint8_t Settings::*monthlyFirst = nullptr;
    bool nextMonthToo = false; // the next month's file too, each read with its month forced
};

// The five kinds, in section-number order (section number = index + 1).
inline constexpr std::array<KindDescription, kKindCount> kKinds{{
    {Kind::Birthday, "Birthday", "-=-=-=- 誕生日 -=-=-=-", "誕生日 (birthdays)",
     &Settings::Birthday, &Settings::BFC},
    {Kind::Schedule, "Schedule", "-=-=-=- スケジュール -=-=-=-", "スケジュール (schedules)",
     &Settings::Schedule, &Settings::SFC},
    {Kind::Event, "Event", "-=-=-=- イベント -=-=-=-", "イベント (events)", &Settings::Event,
     &Settings::EFC, &Settings::IncME, &Settings::EveMFile, &Settings::YsenE, true},
    {Kind::History, "History", "-=-=-=- 歴史 -=-=-=-", "歴史 (history)", &Settings::History,
     &Settings::HFC, &Settings::IncMH, &Settings::HisMFile, &Settings::YsenH, false},
    {Kind::Week, "Week", "-=-=-=- 週間 -=-=-=-", "週間 (weekly items)", &Settings::Week,
     &Settings::WFC},
}};

inline const KindDescription& describe(Kind kind) noexcept
{
    return kKinds[static_cast<std::size_t>(kind)];
}

// The default editor: notepad.exe on Windows, the desktop's own choice elsewhere.
std::string defaultEditor();

// Raised by saveSettings; what() is "<path> に書き込めません", reason() the OS reason.
class SettingsWriteError : public std::runtime_error
{
  public:
    explicit SettingsWriteError(const std::string& path, std::string reason = {})
        : std::runtime_error(path + " に書き込めません"), m_path(path), m_reason(std::move(reason))
    {
    }
    const std::string& path() const noexcept { return m_path; }
    const std::string& reason() const noexcept { return m_reason; }

  private:
    std::string m_path;
    std::string m_reason;
};

// Reads TIRA.ini at `iniPath` with the Windows profile rules (missing or non-integer
// values give the default, 0x / $ hexadecimal, switches keep the low byte, texts up to
// 2047 bytes, the first of duplicate keys). `home` is the program folder: defaults and
// ".\" completion of EveMFile / HisMFile use it. A missing file gives the defaults. A file
// that is there but cannot be read (a folder, no permission, no regular file, larger than
// 16 MiB) gives the defaults too, and "TIRA.ini を読めません: reason" in `problem`.
Settings loadSettings(const std::string& iniPath, const std::string& home,
                      std::string* problem = nullptr);

// Writes every key to `iniPath` atomically, keeping sections, keys and comments it does
// not own byte for byte, in the file's own encoding. A link is kept: the file it leads to
// is replaced (or created). Throws SettingsWriteError and leaves the old file intact on
// failure.
void saveSettings(const Settings& settings, const std::string& iniPath);

// The temporary file a save writes and then renames over `iniPath` (or the file its links
// lead to).
std::string settingsTempPath(const std::string& iniPath);

// A profile integer: optional sign, decimal, or hexadecimal after 0x, 0X or $ (up to
// 32 bits, read as two's complement). Nothing when the text is not a whole integer.
std::optional<std::int32_t> parseProfileInt(std::string_view text) noexcept;

} // namespace tira
