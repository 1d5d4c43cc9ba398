#include "shell/qt_loader.h"

#include "cli/home_folder.h"
#include "text/paths.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <system_error>

namespace tira {

namespace {

constexpr const char* kModuleName = "tira-qt.so";

} // namespace

int runQtModule(int argc, char** argv, const std::string& home)
{
    const std::filesystem::path folder = toFsPath(programFolder());
    const std::filesystem::path installed =
        (folder / TIRA_QT_MODULE_FROM_BIN / kModuleName).lexically_normal();
    const std::filesystem::path beside = folder / kModuleName;
    std::error_code error;
    const std::filesystem::path& path =
        std::filesystem::exists(installed, error) ? installed : beside;
    // loaded for good: Qt's own objects live until the program ends
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "tira: cannot load %s\n", dlerror());
        return 1;
    }
    using Entry = int (*)(int, char**, const char*);
    // a function pointer from dlsym is the platform's way
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    const auto entry = reinterpret_cast<Entry>(dlsym(module, "tira_qt_main"));
    if (entry == nullptr) {
        std::fprintf(stderr, "tira: %s holds no entry\n", path.c_str());
        return 1;
    }
    return entry(argc, argv, home.c_str());
}

} // namespace tira
