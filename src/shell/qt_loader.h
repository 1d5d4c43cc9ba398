#pragma once

#include <string>

namespace tira {

// Loads the Qt module (beside the program, or where an installation puts it) and opens the
// window on `home` with it; returns its exit code, or 1 with a message on stderr when it
// cannot be loaded.
int runQtModule(int argc, char** argv, const std::string& home);

} // namespace tira
