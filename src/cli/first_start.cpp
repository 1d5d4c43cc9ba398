#include "cli/first_start.h"

#include "text/paths.h"

#include <algorithm>
#include <filesystem>

namespace tira {

std::string installedExamplesFolder(std::string_view program)
{
    std::error_code error;
    const std::filesystem::path folder =
        (toFsPath(program) / TIRA_EXAMPLES_FROM_BIN).lexically_normal();
    if (!std::filesystem::is_directory(folder, error)) return {};
    return fromFsPath(folder);
}

std::vector<std::string> firstStartHint(const Settings& settings, std::string_view home,
                                        std::string_view program)
{
    const bool listed =
        std::ranges::any_of(settings.files, [](const auto& list) { return !list.empty(); });
    if (listed || settings.IncME != 0 || settings.IncMH != 0) return {};
    std::vector<std::string> lines{
        "表ファイルがまだ設定されていません。",
        "ホームフォルダ: " + std::string(home),
        "表ファイルの追加: ｵﾌﾟｼｮﾝ → ﾌｧｲﾙの設定",
    };
    if (const std::string samples = installedExamplesFolder(program); !samples.empty())
        lines.push_back("見本の表: " + samples);
    lines.emplace_back("連絡先・カレンダー: tira --import ファイル");
    return lines;
}

} // namespace tira
