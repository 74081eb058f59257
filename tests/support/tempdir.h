#pragma once

// Temporary folders and files for tests that work on real disks.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace twinsift::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    // path() + "/" + relative, as raw bytes.
    std::string operator/(std::string_view relative) const;

private:
    std::string m_path;
};

// Writes bytes to path, creating parent folders.
void writeFile(const std::string &path, std::string_view bytes);
// A file of size bytes whose content is determined by seed.
void writePattern(const std::string &path, std::uint64_t size, std::uint32_t seed);
void makeDirs(const std::string &path);
std::string readFile(const std::string &path);

// Reads all a popen()ed command prints and closes it: its exit status and
// its output.
struct Finished {
    int status = -1;
    std::string output;
};
Finished finish(FILE *pipe);

// Removes a tree even where a test took permissions away.
void removeTree(const std::string &path);

// Makes a throw-away home folder and points HOME, XDG_DATA_HOME and TMPDIR
// into it, once per process, before anything asks. Temporary folders made
// after it sit on the home's filesystem, so the home's Trash takes their
// files.
std::string makeScratchHome();

// Leaves the host's mount namespace, once per process, so that mounts made
// by tests can never reach the host. Empty when done, else why not. Call it
// before any thread starts that should share the namespace.
const std::string &enterPrivateMountNamespace();

// A mount that lives until the end of the scope, inside that namespace.
class ScopedMount {
public:
    // tmpfs at target when source is empty, otherwise a bind mount of source.
    ScopedMount(const std::string &target, const std::string &source = {},
                const std::string &tmpfsOptions = "size=16m");
    // Whatever command mounts at target (a loop image, an overlay, a FUSE
    // view); it runs in the same private namespace.
    static ScopedMount byCommand(const std::string &target, const std::string &command);
    ~ScopedMount();
    ScopedMount(const ScopedMount &) = delete;
    ScopedMount &operator=(const ScopedMount &) = delete;
    ScopedMount(ScopedMount &&other) noexcept;

    // Empty when mounted, else why not: the tests that need it skip then.
    const std::string &error() const { return m_error; }

private:
    ScopedMount() = default;

    std::string m_target;
    std::string m_error;
};

} // namespace twinsift::testing
