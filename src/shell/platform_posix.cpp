#ifndef _WIN32

#include "shell/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tira::platform {

namespace {

// The lock is a file in the private lock folder that the running copy holds an flock on.
// The kernel drops an flock with its process, so a lock file whose flock can be taken
// belongs to no live copy, whatever it holds: it is simply taken over.
class PosixInstanceLock : public InstanceLock
{
  public:
    PosixInstanceLock(QByteArray path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    ~PosixInstanceLock() override
    {
        ::unlink(m_path.constData()); // before the close: the file never lies there unheld
        ::close(m_fd);
    }
    PosixInstanceLock(const PosixInstanceLock&) = delete;
    PosixInstanceLock& operator=(const PosixInstanceLock&) = delete;
    PosixInstanceLock(PosixInstanceLock&&) = delete;
    PosixInstanceLock& operator=(PosixInstanceLock&&) = delete;

  private:
    QByteArray m_path;
    int m_fd;
};

QString systemError(int error)
{
    return qt_error_string(error);
}

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

// Makes the folder `path` (which the program owns) private: created when missing, its
// modes set to 0700 (open to others or closed to the user alike) when the user owns it. Empty when
// it is private, else why not.
QString makePrivateFolder(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QString::fromLocal8Bit(path) + QStringLiteral(": ") + systemError(errno);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return QString::fromLocal8Bit(path) + QStringLiteral(": ") + systemError(errno);
    struct stat status
    {
    };
    QString problem;
    const bool known = ::fstat(fd, &status) == 0;
    if (known && status.st_uid != ::getuid())
        problem = QStringLiteral("owned by another user");
    else if (!known || ((status.st_mode & 0777) != 0700 && ::fchmod(fd, 0700) != 0))
        problem = systemError(errno); // of fstat or of fchmod, whichever failed
    ::close(fd);
    return problem.isEmpty() ? problem
                             : QString::fromLocal8Bit(path) + QStringLiteral(": ") + problem;
}

// Where the lock lives: only in a folder of the user's own, never in a shared one such as
// /tmp, where any local user could put something in its place and keep the program from
// starting. The runtime folder when it is private, else the user's cache folder
// ($XDG_CACHE_HOME/tira or ~/.cache/tira, made private). Empty when there is none, and
// `problem` then says why.
QByteArray lockFolder(QString& problem)
{
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime)) return runtime;
    QByteArray cache = qgetenv("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        const QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            problem = QStringLiteral("no private runtime folder and no home folder");
            return {};
        }
        cache = home + "/.cache";
    }
    ::mkdir(cache.constData(), 0700);
    const QByteArray folder = cache + "/tira";
    problem = makePrivateFolder(folder);
    return problem.isEmpty() ? folder : QByteArray();
}

// Takes away whatever lies at `path` in the private lock folder and is not a lock file of
// a live copy: a folder, a link, a file of another owner.
bool clearLockPlace(const QByteArray& path)
{
    if (::unlink(path.constData()) == 0 || errno == ENOENT) return true;
    return QDir(QString::fromLocal8Bit(path)).removeRecursively();
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

std::unique_ptr<InstanceLock> acquireInstanceLock(const QString& name, QString* problem)
{
    QString why;
    const auto withoutLock = [&] {
        if (problem != nullptr) *problem = why;
        return std::make_unique<InstanceLock>();
    };
    const QByteArray folder = lockFolder(why);
    // without a private folder a lock could only be one that others can take away: the
    // program runs without it rather than not at all
    if (folder.isEmpty()) return withoutLock();
    const QByteArray path =
        folder + '/' + QFile::encodeName(name) + '-' + QByteArray::number(::getuid()) + ".lock";
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd =
            ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0) {
            const int error = errno;
            if ((error == EISDIR || error == ELOOP) && clearLockPlace(path)) continue;
            why = QString::fromLocal8Bit(path) + QStringLiteral(": ") + systemError(error);
            return withoutLock();
        }
        struct stat held
        {
        };
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || held.st_uid != ::getuid()) {
            ::close(fd);
            if (!clearLockPlace(path)) break;
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK) return nullptr; // a live copy holds it
            why = QString::fromLocal8Bit(path) + QStringLiteral(": ") + systemError(error);
            return withoutLock();
        }
        // The copy that held it may have removed the file between the open and the flock:
        // only the file still at the path counts.
        struct stat now
        {
        };
        if (::stat(path.constData(), &now) != 0 || now.st_ino != held.st_ino ||
            now.st_dev != held.st_dev) {
            ::close(fd);
            continue;
        }
        // Whatever an earlier holder left goes; the process number says who holds it now.
        const QByteArray owner = QByteArray::number(::getpid()) + "\ntira\n";
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const auto written =
                ::pwrite(fd, owner.constData(), static_cast<size_t>(owner.size()), 0);
        }
        return std::make_unique<PosixInstanceLock>(path, fd);
    }
    why = QString::fromLocal8Bit(path) + QStringLiteral(": cannot be taken over");
    return withoutLock();
}

QString showRequestName(const QString& name)
{
    QString problem;
    const QByteArray folder = lockFolder(problem);
    if (folder.isEmpty()) return {};
    return QFile::decodeName(folder + '/' + QFile::encodeName(name) + '-' +
                             QByteArray::number(::getuid()) + ".socket");
}

void allowAnotherCopyToComeForward() {}

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
