#pragma once

namespace tira {

// Starts the window (single instance) and runs the event loop; returns the exit code.
int runWindow(int argc, char** argv);

} // namespace tira
