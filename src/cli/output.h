#pragma once

// Standard output for every job. Each write is checked and the first failure kept, so a
// job whose output did not arrive (a full disk, a closed stdout) says so and exits 1
// instead of ending as if all was well.

#include <cstdio>
#include <string>
#include <string_view>

namespace tira {

class Output
{
  public:
    // `what` names the stream in the message, e.g. "standard output".
    explicit Output(std::FILE* file, std::string_view what = "standard output");

    // Writes `bytes`; after a failure nothing more is written.
    void write(std::string_view bytes);

    // Flushes; true when every byte was written. Otherwise writes "tira: <what>: <reason>"
    // to stderr once.
    bool finish();

    // `exitCode`, or 1 when finish() fails: how a job that wrote here ends.
    int finish(int exitCode) { return finish() ? exitCode : 1; }

  private:
    void fail(int error);

    std::FILE* m_file;
    std::string m_what;
    int m_error = 0; // errno of the first failure; -1 when the system gave none
    bool m_reported = false;
};

// Standard output on POSIX that the caller closed (`tira --print >&-`) becomes a descriptor
// that refuses writes, so the first file the program opens cannot take its number and
// receive the output meant for stdout; the writes then fail and are reported.
void guardClosedStandardStreams() noexcept;

} // namespace tira
