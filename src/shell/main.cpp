#include "cli/cli_main.h"
#include "shell/window_app.h"

int main(int argc, char** argv)
{
    if (tira::isCommandLineMode(argc, argv)) return tira::runCommandLine(argc, argv);
    return tira::runWindow(argc, argv);
}
