#include "cli/run_command_line.h"

#include <string_view>
#include <vector>

#ifdef TIRA_QT_MODULE
#include "shell/qt_loader.h"
#else
#include "shell/window_app.h"
#endif

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    // Only the window needs Qt; on Linux it is loaded then, so other jobs start at once.
    return tira::runCommandLine(args, [argc, argv](const std::string& home) {
#ifdef TIRA_QT_MODULE
        return tira::runQtModule(argc, argv, home);
#else
        return tira::runWindow(argc, argv, home);
#endif
    });
}
