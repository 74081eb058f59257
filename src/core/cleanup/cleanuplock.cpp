#include "cleanuplock.h"

#include "paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace twinsift {

namespace {

std::mutex &processMutex() {
    static std::mutex mutex;
    return mutex;
}

// The user's runtime folder as the system made it, whatever this process's
// environment says, then the environment's, then the data home.
std::vector<std::string> lockFiles() {
    constexpr const char *name = "ambrivo-twinsift-cleanup.lock";
    std::vector<std::string> out;
    const std::string system = "/run/user/" + std::to_string(::getuid());
    struct stat st;
    if (::lstat(system.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
        out.push_back(paths::appending(system, name));
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/')
        out.push_back(paths::appending(runtime, name));
    const std::string data = paths::appDataHome();
    paths::makeFolders(data, 0755);
    out.push_back(paths::appending(data, "cleanup.lock"));
    return out;
}

} // namespace

CleanupLock::CleanupLock() : m_inProcess(processMutex()) {
    for (const std::string &file : lockFiles()) {
        m_fd.reset(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (m_fd.valid())
            break;
    }
    if (m_fd.valid())
        while (::flock(m_fd.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
}

} // namespace twinsift
