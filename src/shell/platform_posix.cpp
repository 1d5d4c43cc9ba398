#ifndef _WIN32

#include "shell/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tira::platform {

namespace {

class PosixInstanceLock : public InstanceLock
{
  public:
    explicit PosixInstanceLock(const QString& path) : m_file(path)
    {
        // A lock held by a live copy never expires; only a dead owner makes it stale.
        m_file.setStaleLockTime(0);
    }
    bool tryLock() { return m_file.tryLock(0); }

  private:
    QLockFile m_file;
};

// True when `path` is a folder that only this user can reach: owned by the user, and
// neither group nor others may do anything in it.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat status
    {
    };
    return !path.isEmpty() && ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

// Where the lock lives: only in a folder of the user's own, never in a shared one such as
// /tmp, where any local user could put something in its place and keep the program from
// starting. The runtime folder when it is private, else the user's cache folder
// ($XDG_CACHE_HOME/tira or ~/.cache/tira, made private when it is created). Empty when
// there is none.
QByteArray lockFolder()
{
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime)) return runtime;
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) return {};
        cache = home + "/.cache";
    }
    ::mkdir(cache.constData(), 0700);
    const QByteArray folder = cache + "/tira";
    ::mkdir(folder.constData(), 0700);
    return isPrivateFolder(folder) ? folder : QByteArray();
}

// A signal handler reaches only globals.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
int g_signalPipe[2] = {-1, -1};

extern "C" void forwardSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    // write() is async-signal-safe; a full pipe already carries a pending request
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

std::unique_ptr<InstanceLock> acquireInstanceLock(const QString& name)
{
    const QByteArray folder = lockFolder();
    // without a private folder a lock could only be one that others can take away: the
    // program runs without it rather than not at all
    if (folder.isEmpty()) return std::make_unique<InstanceLock>();
    const QString path = QDir(QString::fromLocal8Bit(folder))
                             .filePath(name + QStringLiteral("-") + QString::number(::getuid()) +
                                       QStringLiteral(".lock"));
    auto lock = std::make_unique<PosixInstanceLock>(path);
    if (!lock->tryLock()) return nullptr;
    return lock;
}

void keepTopMost(QWidget& window)
{
    setStaysOnTop(window, true);
    window.raise();
}

void releaseTopMost(QWidget& window)
{
    setStaysOnTop(window, false);
}

bool playWavAsync(const QString& /*file*/)
{
    return false; // Qt's sound effect plays it
}

namespace {

sigset_t terminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        sigaddset(&set, signalNumber);
    return set;
}

} // namespace

void catchTerminationRequests()
{
    if (g_signalPipe[0] != -1) return;
    // without the pipe the default action stays: the request ends the program at once
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
    ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action
    {
    };
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signalNumber, &action, nullptr);
    // a mask inherited from the parent would keep them from arriving at all
    const sigset_t set = terminationSignals();
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

void endOnTerminationRequest()
{
    catchTerminationRequests();
    if (g_signalPipe[0] == -1) return;
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(g_signalPipe[0], &byte, 1);
        // every event loop ends, a message's or a dialog's too: nothing waits for an answer
        QCoreApplication::exit(0);
    });
}

} // namespace tira::platform

#endif // _WIN32
