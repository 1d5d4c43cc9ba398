#ifndef _WIN32

#include "shell/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
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

QString lockFolder()
{
    // The runtime folder is private to the user; the shared temporary folder is not, which
    // is why the user id is part of the name.
    QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return runtime;
    return QDir::tempPath();
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
    const QString path = QDir(lockFolder())
                             .filePath(name + QStringLiteral("-") + QString::number(::getuid()) +
                                       QStringLiteral(".lock"));
    auto lock = std::make_unique<PosixInstanceLock>(path);
    if (!lock->tryLock()) return nullptr;
    return lock;
}

void keepTopMost(QWidget& window)
{
    if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        window.raise();
        return;
    }
    // Changing the flag recreates the native window, which then has to be shown again.
    const bool visible = window.isVisible();
    const QRect geometry = window.geometry();
    const bool quiet = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window.setGeometry(geometry);
    if (visible) window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, quiet);
}

void releaseTopMost(QWidget& window)
{
    if (!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
    const bool visible = window.isVisible();
    const QRect geometry = window.geometry();
    const bool quiet = window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    window.setGeometry(geometry);
    if (visible) window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, quiet);
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

void holdTerminationRequests()
{
    const sigset_t set = terminationSignals();
    ::sigprocmask(SIG_BLOCK, &set, nullptr);
}

void onTerminationRequest(std::function<void()> handler)
{
    if (g_signalPipe[0] != -1) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) {
        const sigset_t set = terminationSignals();
        ::sigprocmask(SIG_UNBLOCK, &set, nullptr); // no handler: the default action again
        return;
    }
    ::fcntl(g_signalPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [handler = std::move(handler)] {
                         char byte = 0;
                         [[maybe_unused]] const auto got = ::read(g_signalPipe[0], &byte, 1);
                         handler();
                     });
    struct sigaction action
    {
    };
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signalNumber, &action, nullptr);
    // a request held since start-up arrives now and closes the window from the event loop
    const sigset_t set = terminationSignals();
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

} // namespace tira::platform

#endif // _WIN32
