#pragma once

namespace tira {

// True when the arguments ask for a command-line job (--print, --help, --version, or
// anything unknown), which needs no window.
bool isCommandLineMode(int argc, char** argv);

// Runs a command-line job under a QCoreApplication; returns the exit code.
int runCommandLine(int argc, char** argv);

} // namespace tira
