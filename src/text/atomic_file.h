#pragma once

#include <string>
#include <string_view>

namespace tira {

struct AtomicWriteResult
{
    bool ok = false;
    std::string reason; // the OS reason when not ok, e.g. "Permission denied"
};

// Replaces the file at `path` (a link is followed: the file it leads to is replaced or
// created) with `bytes`: a temporary file beside it, written, flushed and synced, with the
// old file's permissions, renamed over it, and the folder synced. A file the user may not
// write (no write permission for this user, or none for anyone: a file made read-only) is
// not replaced. On failure the old file is intact, the temporary file gone, and the result
// says why (the OS reason).
AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// The temporary file writeFileAtomically writes for `path`: beside the file its links
// lead to.
std::string atomicTempPath(const std::string& path);

} // namespace tira
