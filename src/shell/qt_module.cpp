// The entry of the module that holds everything built on Qt, loaded by the program when
// it opens the window.
#include "shell/window_app.h"

extern "C" __attribute__((visibility("default"))) int tira_qt_main(int argc, char** argv,
                                                                   const char* home)
{
    return tira::runWindow(argc, argv, home);
}
