// The TIRA.ini loader on any bytes, and the save that follows it at close. The first saves
// may still settle the layout (a comment at the top of the file is set apart by an empty
// line); from the second on, a load and save changes nothing, so no close grows the file.
#include "fuzz_support.h"
#include "settings/settings.h"

#include <fstream>
#include <iterator>

using namespace tira;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFolder home;
    home.write("TIRA.ini", fuzz::asView(data, size));
    const std::string ini = home.file("TIRA.ini");

    const Settings first = loadSettings(ini, home.path().string());
    for (const auto& files : first.files)
        FUZZ_CHECK(files.size() <= kMaxFilesPerKind);
    saveSettings(first, ini);
    FUZZ_CHECK(!std::filesystem::exists(settingsTempPath(ini)));
    saveSettings(loadSettings(ini, home.path().string()), ini);
    const std::string settled = readAll(ini);

    saveSettings(loadSettings(ini, home.path().string()), ini);
    FUZZ_CHECK(readAll(ini) == settled);
    return 0;
}
