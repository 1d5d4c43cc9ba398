#include "support/temp_home.h"
#include "text/atomic_file.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace tira {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
// Whatever stops a write leaves the old bytes and no temporary file, and says why.
TEST(AtomicFile, FailuresKeepTheOldFileAndSayWhy)
{
    struct Case
    {
        const char* name;
        void (*make)(const test::TempHome& dir); // around "f", which holds "old"
        const char* reason;                      // empty: written
    };
    const Case cases[] = {
        {"plain replace", [](const test::TempHome&) {}, ""},
        {"read-only",
         [](const test::TempHome& d) { fs::permissions(d.file("f"), fs::perms(0444)); },
         "Permission denied"},
        {"temporary name taken by a folder",
         [](const test::TempHome& d) { fs::create_directories(d.file("f.tmp/x")); }, "File exists"},
        {"link loop",
         [](const test::TempHome& d) {
             fs::remove(d.file("f"));
             fs::create_symlink("g", d.file("f"));
             fs::create_symlink("f", d.file("g"));
         },
         "Too many levels of symbolic links"},
    };
    for (const Case& c : cases) {
        const test::TempHome dir;
        dir.writeBytes("f", "old");
        c.make(dir);
        const std::string before =
            fs::is_regular_file(fs::symlink_status(dir.file("f"))) ? "old" : "";
        const AtomicWriteResult r = writeFileAtomically(dir.file("f"), "new");
        EXPECT_EQ(r.ok, *c.reason == '\0') << c.name;
        EXPECT_EQ(r.reason, c.reason) << c.name;
        if (!before.empty()) {
            EXPECT_EQ(dir.readBytes("f"), r.ok ? "new" : before) << c.name;
        }
        EXPECT_FALSE(fs::is_regular_file(atomicTempPath(dir.file("f")))) << c.name;
    }
    EXPECT_EQ(writeFileAtomically("/nonexistent-folder/f", "x").reason,
              "No such file or directory");
}
#endif

} // namespace
} // namespace tira
