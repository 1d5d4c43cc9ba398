#ifdef _WIN32

#include "shell/platform.h"

#include <QDir>
#include <QWidget>
#include <string>
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

namespace tira::platform {

namespace {

class MutexInstanceLock : public InstanceLock
{
  public:
    explicit MutexInstanceLock(HANDLE mutex) : m_mutex(mutex) {}
    ~MutexInstanceLock() override { ::CloseHandle(m_mutex); }
    MutexInstanceLock(const MutexInstanceLock&) = delete;
    MutexInstanceLock& operator=(const MutexInstanceLock&) = delete;

  private:
    HANDLE m_mutex;
};

void setTopMostLayer(QWidget& window, HWND layer)
{
    const auto hwnd = reinterpret_cast<HWND>(window.winId());
    ::SetWindowPos(hwnd, layer, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

std::unique_ptr<InstanceLock> acquireInstanceLock(const QString& name, QString* problem)
{
    // The kernel drops a named mutex with its last handle, so a crashed copy leaves nothing.
    const std::wstring wide = name.toStdWString();
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, wide.c_str());
    if (mutex != nullptr) {
        ::CloseHandle(mutex);
        return nullptr;
    }
    mutex = ::CreateMutexW(nullptr, FALSE, wide.c_str());
    if (mutex == nullptr) { // the program runs without it rather than not at all
        if (problem != nullptr)
            *problem = QString::fromWCharArray(wide.c_str()) + QStringLiteral(": ") +
                       qt_error_string(static_cast<int>(::GetLastError()));
        return std::make_unique<InstanceLock>();
    }
    if (::GetLastError() == ERROR_ALREADY_EXISTS) { // created by another copy in between
        ::CloseHandle(mutex);
        return nullptr;
    }
    return std::make_unique<MutexInstanceLock>(mutex);
}

QString showRequestName(const QString& name)
{
    // A pipe name is seen by every session: the session and the user make it this user's.
    DWORD session = 0;
    ::ProcessIdToSessionId(::GetCurrentProcessId(), &session);
    return name + QStringLiteral("-") + QString::number(session) + QStringLiteral("-") +
           qEnvironmentVariable("USERNAME");
}

void allowAnotherCopyToComeForward()
{
    ::AllowSetForegroundWindow(ASFW_ANY);
}

void keepTopMost(QWidget& window)
{
    setTopMostLayer(window, HWND_TOPMOST);
}

void releaseTopMost(QWidget& window)
{
    setTopMostLayer(window, HWND_NOTOPMOST);
}

bool playWavAsync(const QString& file)
{
    // a new sound stops the one still playing; a missing or broken file stays silent
    const std::wstring path = QDir::toNativeSeparators(file).toStdWString();
    return ::PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

// The end of a session reaches the main window as an ordinary close.
void catchTerminationRequests() {}

void endOnTerminationRequest() {}

} // namespace tira::platform

#endif // _WIN32
