#include "cleanupprotection.h"

#include "paths.h"

#include <cstdlib>
#include <string_view>
#include <vector>

namespace twinsift::CleanupProtection {

namespace {

bool liesBelow(std::string_view path, std::string_view root) {
    if (path.size() < root.size() || path.substr(0, root.size()) != root)
        return false;
    // Whole components only: /usr covers /usr/lib but not /usrdata.
    return path.size() == root.size() || path[root.size()] == '/';
}

struct Root {
    std::string path;
    // System roots may contain the user's home (/var/home/u on image-based
    // systems); the home's own roots lie inside it and never excuse it.
    bool isSystemRoot;
};

// home: the resolved home folder.
std::vector<Root> roots(const std::string &home) {
    // The Trash lives in the data home; a relative XDG_DATA_HOME is ignored,
    // as every freedesktop reader does.
    const char *xdgData = std::getenv("XDG_DATA_HOME");
    const std::string dataHome = xdgData && xdgData[0] == '/'
                                     ? paths::resolvingSymlinks(xdgData)
                                     : paths::appending(home, ".local/share");
    std::vector<Root> list{
        {paths::appending(home, "Library"), false},
        {paths::appending(home, "Applications"), false},
    };
    for (const char *system :
         {"/System", "/Library", "/Applications", "/usr",  "/bin",  "/sbin", "/private", "/etc",
          "/var",    "/opt",     "/Network",      "/boot", "/efi",  "/dev",  "/lib",     "/lib32",
          "/lib64",  "/libx32",  "/proc",         "/run",  "/snap", "/sys",  "/nix",     "/gnu"})
        list.push_back({system, true});
    for (const char *managed : {"snap", ".var/app", ".local/share/flatpak"})
        list.push_back({paths::appending(home, managed), false});
    list.push_back({paths::appending(dataHome, "Trash"), false});
    return list;
}

} // namespace

bool isProtected(const std::string &path) {
    const std::string resolved = paths::resolvingSymlinks(path);
    const std::string home = paths::resolvingSymlinks(paths::homeDirectory());
    const bool inHome = liesBelow(resolved, home);
    for (const auto &root : roots(home)) {
        if (!liesBelow(resolved, root.path))
            continue;
        // The home is the user's own even where the system keeps it.
        if (root.isSystemRoot && inHome && liesBelow(home, root.path))
            continue;
        return true;
    }
    return false;
}

} // namespace twinsift::CleanupProtection
