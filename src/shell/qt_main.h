#pragma once

namespace tira {

// Everything the program does with Qt: the command line under QCoreApplication, or the
// window. Returns the exit code.
int runWithQt(int argc, char** argv);

} // namespace tira
