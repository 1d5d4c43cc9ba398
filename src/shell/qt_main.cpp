#include "shell/qt_main.h"

#include "cli/cli_main.h"
#include "shell/window_app.h"

namespace tira {

int runWithQt(int argc, char** argv)
{
    if (isCommandLineMode(argc, argv)) return runCommandLine(argc, argv);
    return runWindow(argc, argv);
}

} // namespace tira
