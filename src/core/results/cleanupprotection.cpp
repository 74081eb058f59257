#include "cleanupprotection.h"

#include "paths.h"

#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace twinsift::CleanupProtection {

namespace {

bool liesBelow(std::string_view path, std::string_view root) {
    if (path.size() < root.size() || path.substr(0, root.size()) != root)
        return false;
    // Whole components only: /usr covers /usr/lib but not /usrdata.
    return path.size() == root.size() || path[root.size()] == '/';
}

class DisplayCache {
public:
    std::optional<bool> find(const std::string &key) {
        std::lock_guard lock(m_mutex);
        const auto it = m_flags.find(key);
        if (it == m_flags.end())
            return std::nullopt;
        return it->second;
    }
    void store(const std::string &key, bool flag) {
        std::lock_guard lock(m_mutex);
        m_flags.insert_or_assign(key, flag);
    }

private:
    std::mutex m_mutex;
    std::unordered_map<std::string, bool> m_flags;
};

DisplayCache &displayCache() {
    static DisplayCache cache;
    return cache;
}

} // namespace

std::vector<std::string> protectedRoots() {
    const std::string home = paths::resolvingSymlinks(paths::homeDirectory());
    return {
        paths::appending(home, "Library"),
        paths::appending(home, "Applications"),
        "/System",
        "/Library",
        "/Applications",
        "/usr",
        "/bin",
        "/sbin",
        "/private",
        "/etc",
        "/var",
        "/opt",
        "/Network",
    };
}

bool isProtected(const std::string &path) {
    const std::string resolved = paths::resolvingSymlinks(path);
    for (const auto &root : protectedRoots())
        if (liesBelow(resolved, root))
            return true;
    return false;
}

bool isProtectedForDisplay(const std::string &path) {
    const std::string key = paths::standardized(path);
    if (const auto cached = displayCache().find(key))
        return *cached;
    const bool flag = isProtected(path);
    displayCache().store(key, flag);
    return flag;
}

} // namespace twinsift::CleanupProtection
