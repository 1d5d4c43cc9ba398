#include "cli/direct_print.h"

#ifdef TIRA_QT_MODULE
#include "shell/qt_loader.h"
#else
#include "shell/qt_main.h"
#endif

int main(int argc, char** argv)
{
    // the print mode for a named home folder needs no Qt; all else does
    if (const auto code = tira::printDirectly(argc, argv)) return *code;
#ifdef TIRA_QT_MODULE
    return tira::runQtModule(argc, argv);
#else
    return tira::runWithQt(argc, argv);
#endif
}
