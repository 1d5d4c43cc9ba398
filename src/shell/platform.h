#pragma once

#include <QString>
#include <QWidget>
#include <QWindow>
#include <memory>

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
// it; a lock left behind by a copy that is gone does not count, whatever it holds. Where no
// safe lock can be had, an object that holds nothing, and `problem` (when given) says why.
std::unique_ptr<InstanceLock> acquireInstanceLock(const QString& name, QString* problem = nullptr);

// The local socket on which the copy holding the lock `name` listens for later starts that
// ask it to show its window: private to the user. Empty when there is no private place.
QString showRequestName(const QString& name);

// In a second copy, before it asks the running one to show itself: lets that copy take the
// foreground, which the system grants only to the program the user just started.
void allowAnotherCopyToComeForward();

// Sets or clears the stay-on-top flag of `window` in place. QWidget::setWindowFlags would
// hide the window and show it again (under Wayland as a new toplevel): the widget only
// records the flag, and the native window, when there is one, changes its layer.
inline void setStaysOnTop(QWidget& window, bool on)
{
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window.windowFlags()) return;
    window.overrideWindowFlags(flags);
    if (QWindow* native = window.windowHandle()) native->setFlags(flags);
}

// Puts `window` into the top-most layer without moving, resizing or activating it.
void keepTopMost(QWidget& window);
// Takes `window` out of the top-most layer again (nothing when it is not there).
void releaseTopMost(QWidget& window);

// Starts playing the WAV file `file` and returns at once. True when the system's own player
// took it (Windows: PlaySound with SND_ASYNC, as sndPlaySound did); false leaves the playing
// to the caller.
bool playWavAsync(const QString& file);

// Catches the system's requests to end (POSIX: SIGTERM, SIGHUP, SIGINT) from here on; one
// that comes before the event loop runs is kept for it. Called before any file is touched.
void catchTerminationRequests();

// Once the event loop runs, a request to end ends every event loop, a message's or a
// dialog's too, so the program ends without waiting for an answer; the settings are then
// saved as at the end of a session (a failed save leaves the old file). Installed once.
void endOnTerminationRequest();

} // namespace tira::platform
