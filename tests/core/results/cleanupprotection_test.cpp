#include "cleanupprotection.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;
using namespace std::string_literals;

namespace {

class Protection : public ::testing::Test {
protected:
    void SetUp() override {
        makeDirs(home());
        ::setenv("HOME", home().c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
    }
    void TearDown() override {
        ::setenv("HOME", m_oldHome.c_str(), 1);
        if (m_oldDataHome)
            ::setenv("XDG_DATA_HOME", m_oldDataHome->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    static std::optional<std::string> env(const char *name) {
        const char *value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }

    std::string home() const { return m_dir / "home"; }

    TempDir m_dir;
    std::string m_oldHome = env("HOME").value_or("");
    std::optional<std::string> m_oldDataHome = env("XDG_DATA_HOME");
};

} // namespace

// Roots of every kind (of the system, of the home, managed by a packager,
// the Trash) match whole components only, with case, after "..".
TEST_F(Protection, rootsMatchWholeComponentsOnlyAndCaseMatters) {
    const std::string dataHome = m_dir / "data";
    for (const std::string &path :
         {home() + "/Library/Caches/photo.jpg", home() + "/Library", "/usr"s, "/usr/lib/x"s,
          "/media/../etc/hosts"s, "/sys"s, "/nix/store/x"s, home() + "/snap/app/x",
          home() + "/.var/app/org.example/x", home() + "/.local/share/Trash/files/x"})
        EXPECT_TRUE(CleanupProtection::isProtected(path)) << path;
    for (const std::string &path :
         {home() + "/LibraryBackup/photo.jpg", home() + "/library/photo.jpg",
          home() + "/Documents/Library/x", "/"s, "/usrdata/x"s, "/USR/lib/x"s,
          "/media/usb/Library/x"s, home() + "/.var/cache/x", home() + "/.local/share/Trashcan/x",
          dataHome + "/Trash/files/x"})
        EXPECT_FALSE(CleanupProtection::isProtected(path)) << path;

    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    EXPECT_TRUE(CleanupProtection::isProtected(dataHome + "/Trash"));
    // A home of "/" gets no exemption from the system's roots.
    ::setenv("HOME", "/", 1);
    EXPECT_TRUE(CleanupProtection::isProtected("/usr/x"));
    EXPECT_TRUE(CleanupProtection::isProtected("/snap/x"));
    EXPECT_FALSE(CleanupProtection::isProtected("/Pictures/x"));
}

TEST_F(Protection, linksAreResolvedOnEveryQuestion) {
    const std::string homeLink = m_dir / "home-link";
    ASSERT_EQ(::symlink(home().c_str(), homeLink.c_str()), 0);
    makeDirs(home() + "/Library/Mail");
    ::setenv("HOME", homeLink.c_str(), 1);
    EXPECT_TRUE(CleanupProtection::isProtected(home() + "/Library/Mail/a.eml"));
    EXPECT_TRUE(CleanupProtection::isProtected(homeLink + "/Library/Mail/a.eml"));

    const std::string link = m_dir / "stuff/share";
    makeDirs(m_dir / "stuff");
    ASSERT_EQ(::symlink("/usr/share", link.c_str()), 0);
    const std::string viaLink = link + "/doc/readme";
    EXPECT_TRUE(CleanupProtection::isProtected(viaLink));

    // Point the link somewhere harmless: the classifier sees it at once.
    ASSERT_EQ(::unlink(link.c_str()), 0);
    makeDirs(m_dir / "plain");
    ASSERT_EQ(::symlink((m_dir / "plain").c_str(), link.c_str()), 0);
    EXPECT_FALSE(CleanupProtection::isProtected(viaLink));
}

// Not only the data home's Trash: every mount's Trash folder, for any user,
// holds what someone put away.
TEST_F(Protection, everyTrashFolderIsProtected) {
    for (const std::string &path :
         {"/media/usb/.Trash-1000/files/x"s, "/media/usb/.Trash-0/info/x.trashinfo"s,
          "/media/usb/.Trash/1000/files/x"s, "/.Trash-1000/files/x"s,
          home() + "/.local/share/Trash/info/x.trashinfo"})
        EXPECT_TRUE(CleanupProtection::isProtected(path)) << path;
    for (const std::string &path :
         {"/media/usb/.Trash/readme/x"s, "/media/usb/Trash-1000/x"s, "/media/usb/.Trash-all/x"s})
        EXPECT_FALSE(CleanupProtection::isProtected(path)) << path;
}

// HOME is anyone's to set. It excuses a home from a system root only when
// the user database names the same home for the account, the home lies two
// or more folders inside the root, and the root is /var, /opt or /private.
TEST_F(Protection, onlyTheAccountsOwnHomeDeepInsideVarOptOrPrivateIsExcused) {
    using CleanupProtection::isProtected;
    using CleanupProtection::isProtectedForAccount;
    // A HOME of a system folder protects what it protected before, even if
    // the account's home were that folder.
    ::setenv("HOME", "/etc", 1);
    EXPECT_TRUE(isProtected("/etc/passwd"));
    EXPECT_TRUE(isProtectedForAccount("/etc/passwd", "/etc"));
    ::setenv("HOME", "/usr", 1);
    EXPECT_TRUE(isProtected("/usr/lib/x"));
    EXPECT_TRUE(isProtectedForAccount("/usr/lib/x", "/usr"));
    for (const char *home : {"/var", "/var/u", "/opt/u", "/private/u"}) {
        ::setenv("HOME", home, 1);
        EXPECT_TRUE(isProtectedForAccount(std::string(home) + "/Pictures/x", home)) << home;
    }
    ::setenv("HOME", "/usr/home/u", 1);
    EXPECT_TRUE(isProtectedForAccount("/usr/home/u/Pictures/x", "/usr/home/u"));

    for (const std::string root : {"/var", "/opt", "/private"}) {
        const std::string home = root + "/home/u";
        ::setenv("HOME", home.c_str(), 1);
        EXPECT_FALSE(isProtectedForAccount(home + "/Pictures/x", home)) << home;
        EXPECT_TRUE(isProtectedForAccount(home + "/snap/x", home)) << home;
        EXPECT_TRUE(isProtectedForAccount(root + "/lib/x", home)) << home;
        EXPECT_TRUE(isProtectedForAccount(root + "/home/other/x", home)) << home;
        // The account's home is elsewhere, or this one only by HOME.
        EXPECT_TRUE(isProtectedForAccount(home + "/Pictures/x", "/home/u")) << home;
        EXPECT_TRUE(isProtectedForAccount(home + "/Pictures/x", "")) << home;
    }
    // The user database of the machine running the tests names no such home.
    const passwd *pw = ::getpwuid(::getuid());
    ASSERT_TRUE(pw == nullptr || pw->pw_dir == nullptr || pw->pw_dir != "/var/home/u"s);
    ::setenv("HOME", "/var/home/u", 1);
    EXPECT_TRUE(isProtected("/var/home/u/Pictures/x"));
}

// Image-based systems keep homes below /var. Such a home is made here on a
// tmpfs over /var/tmp, and HOME names it through a link as /home does on
// those systems.
TEST_F(Protection, aHomeBelowASystemRootStaysUsableWhileTheRootStaysProtected) {
    ScopedMount var("/var/tmp");
    if (!var.error().empty())
        GTEST_SKIP() << "cannot mount a tmpfs on /var/tmp: " << var.error();
    const std::string varHome = "/var/tmp/home/u";
    makeDirs(varHome + "/Pictures");
    makeDirs(varHome + "/snap");
    const std::string link = m_dir / "home-u";
    ASSERT_EQ(::symlink(varHome.c_str(), link.c_str()), 0);
    ::setenv("HOME", link.c_str(), 1);

    // The user database names the home through the link, as HOME does.
    for (const std::string &home : {varHome, link}) {
        EXPECT_FALSE(CleanupProtection::isProtectedForAccount(home + "/Pictures/x", link)) << home;
        EXPECT_TRUE(CleanupProtection::isProtectedForAccount(home + "/snap/x", link)) << home;
        EXPECT_TRUE(CleanupProtection::isProtectedForAccount(home + "/Library/x", link)) << home;
        EXPECT_TRUE(
            CleanupProtection::isProtectedForAccount(home + "/.local/share/Trash/files/x", link))
            << home;
    }
    EXPECT_TRUE(CleanupProtection::isProtectedForAccount("/var/lib/x", link));
    EXPECT_TRUE(CleanupProtection::isProtectedForAccount("/var/tmp/home/other/x", link));
    EXPECT_TRUE(CleanupProtection::isProtectedForAccount("/var/tmp/home/u2/x", link));
}
