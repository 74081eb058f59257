#include "trashhome.h"

#include "tempdir.h"

#include <glib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>

namespace twinsift::testing {
namespace {

std::string &homePath() {
    static std::string path;
    return path;
}

std::string &mountsUnavailable() {
    static std::string reason = "the private mount namespace was never set up";
    return reason;
}

} // namespace

void TrashHome::SetUp() {
    homePath() = makeScratchHome();
    // Cleanup runs lock against each other in here, never in the host's.
    const std::string runtime = homePath() + "/run";
    makeDirs(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

void TrashHome::TearDown() {
    removeTree(homePath());
}

std::string TrashHome::trashFiles() {
    return homePath() + "/.local/share/Trash/files";
}

void TrashHome::emptyTrash() {
    removeTree(homePath() + "/.local/share/Trash");
}

std::optional<std::string> TrashHome::originalPathOf(const std::string &name) {
    std::string info;
    try {
        info = readFile(homePath() + "/.local/share/Trash/info/" + name + ".trashinfo");
    } catch (const std::runtime_error &) {
        return std::nullopt;
    }
    static constexpr std::string_view key = "\nPath=";
    const auto at = info.find(key);
    if (info.rfind("[Trash Info]\n", 0) != 0 || at == std::string::npos)
        return std::nullopt;
    const auto start = at + key.size();
    const std::string escaped = info.substr(start, info.find('\n', start) - start);
    char *raw = g_uri_unescape_string(escaped.c_str(), nullptr);
    if (!raw)
        return std::nullopt;
    std::string path(raw);
    g_free(raw);
    return path;
}

void enterPrivateMountNamespace() {
    if (::unshare(CLONE_NEWNS) != 0) {
        mountsUnavailable() = std::string("unshare(CLONE_NEWNS) failed: ") + std::strerror(errno);
        return;
    }
    // Without this, mounts made here would propagate back to the host.
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        mountsUnavailable() = std::string("making / private failed: ") + std::strerror(errno);
        return;
    }
    mountsUnavailable().clear();
}

ScopedMount::ScopedMount(const std::string &target, const std::string &source) {
    if (!mountsUnavailable().empty()) {
        m_error = "no private mount namespace: " + mountsUnavailable();
        return;
    }
    makeDirs(target);
    const int rc = source.empty()
                       ? ::mount("tmpfs", target.c_str(), "tmpfs", 0, "size=16m")
                       : ::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr);
    if (rc != 0)
        m_error = std::string("mount failed: ") + std::strerror(errno);
    else
        m_target = target;
}

ScopedMount::~ScopedMount() {
    if (!m_target.empty())
        ::umount2(m_target.c_str(), MNT_DETACH);
}

} // namespace twinsift::testing
