#pragma once

#include <string>

namespace tira {

// Starts the window on the home folder `home` (single instance) and runs the event loop;
// returns the exit code. Without a display: one line on stderr and 1.
int runWindow(int argc, char** argv, const std::string& home);

} // namespace tira
