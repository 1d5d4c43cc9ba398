#include "report/table_files.h"

#include "calendar/tira0.h"

namespace tira {

std::optional<std::string> monthlyFilePath(std::string_view pattern, std::uint16_t month)
{
    auto at = pattern.find("%m");
    if (at == std::string_view::npos) at = pattern.find("%M");
    if (at == std::string_view::npos) return std::nullopt;
    std::string path(pattern.substr(0, at));
    path += twoDigits(month);
    path += pattern.substr(at + 2);
    return path;
}

std::optional<KindFile> monthlyFile(const Settings& settings, Kind kind, std::uint16_t month)
{
    const KindDescription& description = describe(kind);
    if (description.monthlyPattern == nullptr) return std::nullopt;
    auto path = monthlyFilePath(settings.*description.monthlyPattern, month);
    if (!path) return std::nullopt;
    return KindFile{std::move(*path), description.nextMonthToo ? month : std::uint16_t{0}};
}

std::vector<KindFile> kindFiles(const Settings& settings, Kind kind, std::uint16_t reportMonth)
{
    const KindDescription& description = describe(kind);
    std::vector<KindFile> files;
    const auto addListed = [&] {
        for (const std::string& path : settings.filesOf(kind))
            files.push_back({path, 0});
    };
    const bool monthly = description.monthlyOn != nullptr && settings.*description.monthlyOn != 0;
    const bool monthlyFirst = monthly && settings.*description.monthlyFirst != 0;
    if (!monthlyFirst) addListed();
    if (monthly) {
        const auto next = static_cast<std::uint16_t>(reportMonth >= 12 ? 1 : reportMonth + 1);
        for (const std::uint16_t month : {reportMonth, next}) {
            if (month == next && !description.nextMonthToo) break;
            if (auto file = monthlyFile(settings, kind, month)) files.push_back(std::move(*file));
        }
    }
    if (monthlyFirst) addListed();
    return files;
}

} // namespace tira
