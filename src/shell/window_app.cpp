#include "shell/window_app.h"

#include <cstdio>

namespace tira {

// Not built yet: the window arrives with the shell.
int runWindow(int /*argc*/, char** /*argv*/)
{
    std::fputs("tira: the window is not available yet; use --print\n", stderr);
    return 1;
}

} // namespace tira
