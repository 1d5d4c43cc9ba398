// The entry of the module that holds everything built on Qt, loaded by the program when
// it has more to do than print a report.
#include "shell/qt_main.h"

extern "C" __attribute__((visibility("default"))) int tira_qt_main(int argc, char** argv)
{
    return tira::runWithQt(argc, argv);
}
