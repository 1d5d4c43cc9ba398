#include "cli/output.h"

#include <cerrno>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tira {

Output::Output(std::FILE* file, std::string_view what) : m_file(file), m_what(what) {}

void Output::fail(int error)
{
    if (m_error == 0) m_error = error != 0 ? error : -1;
}

void Output::write(std::string_view bytes)
{
    if (m_error != 0 || bytes.empty()) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) fail(errno);
}

bool Output::finish()
{
    if (m_error == 0) {
        errno = 0;
        if (std::fflush(m_file) != 0 || std::ferror(m_file) != 0) fail(errno);
    }
    if (m_error == 0) return true;
    if (!m_reported) {
        m_reported = true;
        const std::string reason =
            m_error > 0 ? std::generic_category().message(m_error) : std::string("write failed");
        std::fprintf(stderr, "tira: %s: %s\n", m_what.c_str(), reason.c_str());
    }
    return false;
}

void guardClosedStandardStreams() noexcept
{
#ifndef _WIN32
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // read-only: a write to it fails with EBADF, as it would on the closed descriptor
        const int opened = ::open("/dev/null", O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
#endif
}

} // namespace tira
