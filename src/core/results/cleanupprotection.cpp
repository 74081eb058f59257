#include "cleanupprotection.h"

#include "paths.h"
#include "trash.h"

#include <pwd.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace twinsift::CleanupProtection {

namespace {

bool liesBelow(std::string_view path, std::string_view root) {
    if (path.size() < root.size() || path.substr(0, root.size()) != root)
        return false;
    // Whole components only: /usr covers /usr/lib but not /usrdata.
    return path.size() == root.size() || path[root.size()] == '/';
}

// Whether home lies at least two folders below root: a home right in /var
// would excuse a whole folder of the system's, such as /var/lib.
bool deepBelow(std::string_view home, std::string_view root) {
    if (!liesBelow(home, root) || home.size() == root.size())
        return false;
    return home.find('/', root.size() + 1) != std::string_view::npos;
}

std::string accountHomeFromUserDatabase() {
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return pw->pw_dir;
    return {};
}

} // namespace

bool isProtected(const std::string &path) {
    return Places().cover(path);
}

bool isProtectedForAccount(const std::string &path, const std::string &accountHome) {
    return Places(accountHome).cover(path);
}

// home: the resolved home folder.
std::vector<Places::Root> Places::roots(const std::string &home) {
    std::vector<Root> list{
        {paths::appending(home, "Library"), false},
        {paths::appending(home, "Applications"), false},
    };
    for (const char *system :
         {"/System", "/Library", "/Applications", "/usr",  "/bin",  "/sbin", "/private", "/etc",
          "/var",    "/opt",     "/Network",      "/boot", "/efi",  "/dev",  "/lib",     "/lib32",
          "/lib64",  "/libx32",  "/proc",         "/run",  "/snap", "/sys",  "/nix",     "/gnu"}) {
        const std::string_view root(system);
        list.push_back({system, root == "/var" || root == "/opt" || root == "/private"});
    }
    for (const char *managed : {"snap", ".var/app", ".local/share/flatpak"})
        list.push_back({paths::appending(home, managed), false});
    return list;
}

Places::Places() : Places(accountHomeFromUserDatabase()) {}

Places::Places(const std::string &accountHome)
    : m_home(paths::resolvingSymlinks(paths::homeDirectory())), m_roots(roots(m_home)) {
    // $HOME alone is anyone's to set: only the account's own home, named by
    // both, is the user's where the system keeps it.
    m_inHomeTrusted = !accountHome.empty() && paths::resolvingSymlinks(accountHome) == m_home;
}

bool Places::cover(const std::string &path) const {
    const std::string resolved = paths::resolvingSymlinks(path);
    // The data home's Trash and every mount's, for every user.
    if (Trash::isInsideTrash(resolved))
        return true;
    const bool inHome = m_inHomeTrusted && liesBelow(resolved, m_home);
    for (const auto &root : m_roots) {
        if (!liesBelow(resolved, root.path))
            continue;
        if (root.mayHoldHome && inHome && deepBelow(m_home, root.path))
            continue;
        return true;
    }
    return false;
}

} // namespace twinsift::CleanupProtection
