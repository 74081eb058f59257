#pragma once

#include <string>
#include <vector>

// Places that belong to the system, to installed applications or to data the
// system manages for the user. Files there are shown but never moved.
namespace twinsift::CleanupProtection {

// Whether path, after standardising and resolving its symbolic links, is one
// of the roots or lies below one (whole components, case-sensitive). Every
// Trash folder is one of them. A path inside the home is not held against
// /var, /opt or /private when the home lies at least two folders below that
// root, and is the account's home in the user database, which $HOME names
// too: so a home kept in /var/home stays usable, while a HOME set to /etc or
// /var protects no less than before. Keeps no state; safe on any thread.
// Consults the disk on every call.
bool isProtected(const std::string &path);

// The same with the account's home as given, where the other asks the user
// database.
bool isProtectedForAccount(const std::string &path, const std::string &accountHome);

// The same test for many paths: the user database and the home are asked
// once, when it is made, and each path when it is tested. A pass over a
// large result would otherwise read the user database once per file.
class Places {
public:
    // With the account's home from the user database.
    Places();
    explicit Places(const std::string &accountHome);

    bool cover(const std::string &path) const;

private:
    struct Root {
        std::string path;
        // The system roots that may hold the user's home on some systems
        // (/var/home/u on image-based ones); the home's own roots lie
        // inside it and never excuse it.
        bool mayHoldHome;
    };
    // home: the resolved home folder.
    static std::vector<Root> roots(const std::string &home);

    std::string m_home; // resolved
    bool m_inHomeTrusted = false;
    std::vector<Root> m_roots;
};

} // namespace twinsift::CleanupProtection
