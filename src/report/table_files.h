#pragma once

// Which table files a kind's section reads, shared by the report and `tira --check`.

#include "settings/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tira {

// One table file a section reads, and the month forced on its rules (0 = none).
struct KindFile
{
    std::string path;
    std::uint16_t forcedMonth = 0;
};

// A monthly file pattern with its first "%m" (or else its first "%M") replaced by the
// month in two digits; nullopt when the pattern holds neither.
std::optional<std::string> monthlyFilePath(std::string_view pattern, std::uint16_t month);

// The monthly file of `kind` for `month`, whether its monthly files are switched on or not;
// nullopt for a kind without monthly files or a pattern without a month.
std::optional<KindFile> monthlyFile(const Settings& settings, Kind kind, std::uint16_t month);

// The files the report of a day in `reportMonth` reads for `kind`, in reading order: the
// listed files and, when switched on, the monthly files of the report month (and of the
// next month, for a kind that reads it) before or after them. Paths as the settings hold
// them.
std::vector<KindFile> kindFiles(const Settings& settings, Kind kind, std::uint16_t reportMonth);

} // namespace tira
