#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;

// What differs between Windows and POSIX desktops: the single-instance object, the top-most
// layer and the system's request to end the program.
namespace tira::platform {

// Held for as long as this copy is the one that runs.
class InstanceLock
{
  public:
    virtual ~InstanceLock() = default;
};

// Takes the per-user single-instance object called `name`. nullptr when another copy holds
// it. A lock left behind by a copy that crashed does not count.
std::unique_ptr<InstanceLock> acquireInstanceLock(const QString& name);

// Puts `window` into the top-most layer without moving, resizing or activating it.
void keepTopMost(QWidget& window);
// Takes `window` out of the top-most layer again (nothing when it is not there).
void releaseTopMost(QWidget& window);

// Starts playing the WAV file `file` and returns at once. True when the system's own player
// took it (Windows: PlaySound with SND_ASYNC, as sndPlaySound did); false leaves the playing
// to the caller.
bool playWavAsync(const QString& file);

// Defers the system's requests to end (POSIX: SIGTERM, SIGHUP, SIGINT) until
// onTerminationRequest installs the handler, so a request during start-up is not lost.
void holdTerminationRequests();

// Calls `handler` on the user-interface thread when the system asks the program to end
// (POSIX: SIGTERM, SIGHUP, SIGINT). Installed once per process.
void onTerminationRequest(std::function<void()> handler);

} // namespace tira::platform
