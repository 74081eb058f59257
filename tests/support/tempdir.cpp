#include "tempdir.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sched.h>
#include <stdexcept>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace twinsift::testing {

namespace {

std::string madeTemporary(const char *pattern) {
    const char *base = std::getenv("TMPDIR");
    std::string path = std::string(base && *base ? base : "/tmp") + "/" + pattern;
    if (!::mkdtemp(path.data()))
        throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    return path;
}

// Scans through DuplicateScanner::scan keep digests on disk as the app does;
// a test process keeps them in a folder of the tests', never in the cache of
// the home it runs under.
[[maybe_unused]] const bool testsKeepDigestsApart = [] {
    const std::string folder = "/tmp/twinsift-test-cache-" + std::to_string(::getuid());
    ::setenv("XDG_CACHE_HOME", folder.c_str(), 1);
    return true;
}();

} // namespace

TempDir::TempDir() : m_path(madeTemporary("twinsift-test-XXXXXX")) {}

TempDir::~TempDir() {
    removeTree(m_path);
}

std::string TempDir::operator/(std::string_view relative) const {
    std::string out = m_path;
    out.push_back('/');
    out.append(relative);
    return out;
}

void makeDirs(const std::string &path) {
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string prefix = path.substr(0, i);
            if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
                throw std::runtime_error("mkdir " + prefix + ": " + std::strerror(errno));
        }
    }
}

void writeFile(const std::string &path, std::string_view bytes) {
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        makeDirs(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
        throw std::runtime_error("write " + path + ": " + std::strerror(errno));
}

void writePattern(const std::string &path, std::uint64_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto &c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xff);
    }
    writeFile(path, bytes);
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("open " + path + ": " + std::strerror(errno));
    return {std::istreambuf_iterator<char>(in), {}};
}

namespace {

// Removes name inside dirFd and everything below it, working relative to
// open folders so that trees deeper than PATH_MAX go too. Folders a test
// locked are opened up first.
void removeAt(int dirFd, const char *name) {
    if (::unlinkat(dirFd, name, 0) == 0 || (errno != EISDIR && errno != EPERM))
        return;
    ::fchmodat(dirFd, name, 0700, 0);
    const int fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        if (DIR *dir = ::fdopendir(fd)) {
            std::vector<std::string> children;
            while (const dirent *e = ::readdir(dir))
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    children.emplace_back(e->d_name);
            for (const auto &child : children)
                removeAt(::dirfd(dir), child.c_str());
            ::closedir(dir);
        } else {
            ::close(fd);
        }
    }
    ::unlinkat(dirFd, name, AT_REMOVEDIR);
}

} // namespace

Finished finish(FILE *pipe) {
    Finished finished;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        finished.output.append(buffer, n);
    finished.status = ::pclose(pipe);
    return finished;
}

void removeTree(const std::string &path) {
    if (!path.empty())
        removeAt(AT_FDCWD, path.c_str());
}

std::string makeScratchHome() {
    const std::string home = madeTemporary("twinsift-home-XXXXXX");
    makeDirs(home + "/.local/share");
    makeDirs(home + "/tmp");
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    ::setenv("TMPDIR", (home + "/tmp").c_str(), 1);
    return home;
}

const std::string &enterPrivateMountNamespace() {
    static const std::string error = []() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("unshare(CLONE_NEWNS) failed: ") + std::strerror(errno);
        // Without this, mounts made here would propagate back to the host.
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("making / private failed: ") + std::strerror(errno);
        return {};
    }();
    return error;
}

ScopedMount::ScopedMount(const std::string &target, const std::string &source,
                         const std::string &tmpfsOptions) {
    if (!enterPrivateMountNamespace().empty()) {
        m_error = "no private mount namespace: " + enterPrivateMountNamespace();
        return;
    }
    makeDirs(target);
    const int rc = source.empty()
                       ? ::mount("tmpfs", target.c_str(), "tmpfs", 0, tmpfsOptions.c_str())
                       : ::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr);
    if (rc != 0)
        m_error = std::string("mount failed: ") + std::strerror(errno);
    else
        m_target = target;
}

ScopedMount ScopedMount::byCommand(const std::string &target, const std::string &command) {
    ScopedMount mount;
    if (!enterPrivateMountNamespace().empty()) {
        mount.m_error = "no private mount namespace: " + enterPrivateMountNamespace();
        return mount;
    }
    makeDirs(target);
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    if (status != 0)
        mount.m_error = "'" + command + "' failed with status " + std::to_string(status);
    else
        mount.m_target = target;
    return mount;
}

ScopedMount::ScopedMount(ScopedMount &&other) noexcept
    : m_target(std::exchange(other.m_target, {})), m_error(std::move(other.m_error)) {}

ScopedMount::~ScopedMount() {
    if (!m_target.empty())
        ::umount2(m_target.c_str(), MNT_DETACH);
}

} // namespace twinsift::testing
