#include "text/atomic_file.h"

#include "text/paths.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tira {

namespace fs = std::filesystem;

namespace {

std::string reasonOf(int error)
{
    return std::generic_category().message(error);
}

// The file a write replaces: `path` itself, or the file its links lead to (which need not
// exist yet), so that a file kept elsewhere through a link stays linked.
fs::path followLinks(const std::string& path, std::string& reason)
{
    fs::path target = toFsPath(path);
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(target, error); ++hops) {
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            reason = error.message();
            return {};
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    if (fs::is_symlink(target, error)) { // a loop
        reason = reasonOf(ELOOP);
        return {};
    }
    return target;
}

fs::path tempPathFor(const fs::path& target)
{
    return fs::path(target).concat(".tmp");
}

#ifdef _WIN32
AtomicWriteResult writeTarget(const fs::path& target, std::string_view bytes)
{
    std::error_code error;
    const auto status = fs::status(target, error);
    const bool existed = fs::exists(status);
    // the read-only attribute shows as no write permission
    if (existed && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return {false, reasonOf(EACCES)};
    const fs::path temp = tempPathFor(target);
    std::FILE* file = _wfsopen(temp.c_str(), L"wb", _SH_DENYNO);
    if (file == nullptr) return {false, reasonOf(errno)};
    int failure = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) failure = errno;
    if (std::fflush(file) != 0 && failure == 0) failure = errno;
    if (_commit(_fileno(file)) != 0 && failure == 0) failure = errno;
    if (std::fclose(file) != 0 && failure == 0) failure = errno;
    std::string reason = failure != 0 ? reasonOf(failure) : std::string();
    if (reason.empty()) {
        if (existed) fs::permissions(temp, status.permissions(), error);
        fs::rename(temp, target, error); // MoveFileEx: replaces the old file in one step
        if (error) reason = error.message();
    }
    if (reason.empty()) return {true, {}};
    fs::remove(temp, error);
    return {false, reason};
}
#else
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) return errno;
        if (done == 0) return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return 0;
}

AtomicWriteResult writeTarget(const fs::path& target, std::string_view bytes)
{
    struct stat old
    {
    };
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed) {
        // A rename would replace a file the user could not have written: the permission is
        // asked for as a write in place would. A file without any write bit was made
        // read-only on purpose and is kept even for a user (root) whom the bits do not stop.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return {false, reasonOf(errno)};
        if ((old.st_mode & 0222) == 0) return {false, reasonOf(EACCES)};
    }
    const fs::path temp = tempPathFor(target);
    // the temporary file has the old file's permissions from its first moment, so a private
    // file is never readable by others, not even for the time of the write
    const mode_t mode = existed ? (old.st_mode & 07777) : 0666;
    ::unlink(temp.c_str()); // one left by a crash keeps its own permissions
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return {false, reasonOf(errno)};
    int failure = writeAll(fd, bytes);
    if (existed && ::fchmod(fd, mode) != 0 && failure == 0) failure = errno; // the umask's part
    if (::fsync(fd) != 0 && failure == 0) failure = errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(temp.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(temp.c_str());
        return {false, reasonOf(failure)};
    }
    // the new name is durable only once the folder itself is on disk
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir); // the file is replaced already: a folder that cannot sync changes nothing
        ::close(dir);
    }
    return {true, {}};
}
#endif

} // namespace

AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes)
{
    std::string reason;
    const fs::path target = followLinks(path, reason);
    if (target.empty()) return {false, reason};
    return writeTarget(target, bytes);
}

std::string atomicTempPath(const std::string& path)
{
    std::string reason;
    const fs::path target = followLinks(path, reason);
    return fromFsPath(tempPathFor(target.empty() ? toFsPath(path) : target));
}

} // namespace tira
