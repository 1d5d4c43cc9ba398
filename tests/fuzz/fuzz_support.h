#pragma once

// Shared helpers of the fuzz targets: input views, report dates from the edges of the
// calendar, and a check that stops the run with a message (libFuzzer keeps the input).

#include "calendar/tira0.h"
#include "report/main_state.h"
#include "settings/settings.h"
#include "text/cp932.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace tira::fuzz {

inline std::string_view asView(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Calls onLine(line, utf8) with the input as it came (any bytes) and decoded as CP932 (valid
// UTF-8): the two ways a table line reaches the parsers.
template <class OnLine>
void forBothReadings(const std::uint8_t* data, std::size_t size, OnLine&& onLine)
{
    const std::string_view raw = asView(data, size);
    const std::string decoded = cp932ToUtf8(raw);
    onLine(raw, false);
    onLine(std::string_view(decoded), true);
}

// Report dates a table line is evaluated on: month and year ends, leap days, a Sunday
// holiday with its substitute Monday, the smallest and the largest year.
inline const std::vector<CalendarFacts>& sampleFacts()
{
    static const std::vector<CalendarFacts> facts = [] {
        std::vector<CalendarFacts> out;
        for (const Date d :
             {Date{2024, 2, 29}, Date{2024, 12, 31}, Date{2025, 1, 1}, Date{2023, 5, 15},
              Date{2024, 9, 23}, Date{1, 1, 1}, Date{65535, 12, 31}, Date{2024, 6, 30}})
            out.push_back(computeCalendarFacts(d));
        return out;
    }();
    return facts;
}

inline const std::vector<HolidayEntry>& sampleHolidays()
{
    static const std::vector<HolidayEntry> holidays{{1, 1, "元日"},
                                                    {5, 3, "憲法記念日"},
                                                    {9, 22, "秋分の日"},
                                                    {12, 31, "大晦日"},
                                                    {2, 29, "x"}};
    return holidays;
}

// Settings with each switch the deciding functions read flipped by the bits of `flags`.
inline Settings settingsFrom(std::uint8_t flags)
{
    Settings s;
    s.Age = flags & 1u;
    s.Comment = (flags >> 1) & 1u;
    s.Yuusen = (flags >> 2) & 1u;
    s.Koumoku = (flags >> 3) & 1u;
    s.Sotowaku = (flags >> 4) & 1u;
    s.HistMeiTan = (flags >> 5) & 1u;
    return s;
}

inline bool isColourCode(char c)
{
    return std::string_view("KWRGBCMYA").find(c) != std::string_view::npos;
}

// A folder of its own for the targets that need files; removed at exit.
class ScratchFolder
{
  public:
    ScratchFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("tira-fuzz-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(std::string_view name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

    void write(std::string_view name, std::string_view bytes) const
    {
        std::ofstream out(m_path / name, std::ios::binary);
        FUZZ_CHECK(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
    }

  private:
    std::filesystem::path m_path;
};

} // namespace tira::fuzz
