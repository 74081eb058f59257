#include "cleanupprotection.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;
using namespace std::string_literals;

namespace {

class Protection : public ::testing::Test {
protected:
    void SetUp() override {
        const char *old = std::getenv("HOME");
        m_oldHome = old ? old : "";
        const char *oldData = std::getenv("XDG_DATA_HOME");
        m_oldDataHome = oldData ? std::optional<std::string>(oldData) : std::nullopt;
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

    std::string home() const { return m_dir / "home"; }

    TempDir m_dir;
    std::string m_oldHome;
    std::optional<std::string> m_oldDataHome;
};

} // namespace

TEST_F(Protection, everyRootMatchesWholeComponentsOnlyAndCaseMatters) {
    // One path below each of the thirteen roots, and the root itself where
    // the boundary is the point.
    for (const std::string &path :
         {home() + "/Library/Caches/photo.jpg", home() + "/Library",
          home() + "/Applications/Tool.app/x", "/System"s, "/Library/x"s, "/Applications/x"s,
          "/usr"s, "/usr/lib/x"s, "/bin/sh"s, "/sbin/x"s, "/private/x"s, "/etc/hosts"s, "/var/x"s,
          "/opt/x"s, "/Network/x"s,
          // Standardised first: a detour through ".." still lands in /etc.
          "/media/../etc/hosts"s})
        EXPECT_TRUE(CleanupProtection::isProtected(path)) << path;
    for (const std::string &path : {home() + "/LibraryBackup/photo.jpg",
                                    home() + "/library/photo.jpg", home() + "/Documents/Library/x",
                                    "/"s, "/usrdata/x"s, "/USR/lib/x"s, "/media/usb/Library/x"s})
        EXPECT_FALSE(CleanupProtection::isProtected(path)) << path;
}

TEST_F(Protection, linksAreResolvedOnEveryQuestion) {
    const std::string homeLink = m_dir / "home-link";
    ASSERT_EQ(::symlink(home().c_str(), homeLink.c_str()), 0);
    makeDirs(home() + "/Library/Mail");
    ::setenv("HOME", homeLink.c_str(), 1);
    EXPECT_TRUE(CleanupProtection::isProtected(home() + "/Library/Mail/a.eml"));
    EXPECT_TRUE(CleanupProtection::isProtected(homeLink + "/Library/Mail/a.eml"));

    const std::string folder = m_dir / "stuff";
    const std::string link = m_dir / "stuff/share";
    makeDirs(folder);
    ASSERT_EQ(::symlink("/usr/share", link.c_str()), 0);
    const std::string viaLink = link + "/doc/readme";
    EXPECT_TRUE(CleanupProtection::isProtected(viaLink));

    // Point the link somewhere harmless: the classifier sees it at once.
    ASSERT_EQ(::unlink(link.c_str()), 0);
    makeDirs(m_dir / "plain");
    ASSERT_EQ(::symlink((m_dir / "plain").c_str(), link.c_str()), 0);
    EXPECT_FALSE(CleanupProtection::isProtected(viaLink));
}

TEST_F(Protection, systemFoldersOfLinuxAndManagedFoldersOfTheHomeAreProtected) {
    const std::string dataHome = m_dir / "data";
    for (const std::string &path :
         {"/boot/vmlinuz"s, "/efi/EFI/x"s, "/dev/sda"s, "/lib/x"s, "/lib32/x"s, "/lib64/x"s,
          "/libx32/x"s, "/proc/1/environ"s, "/run/x"s, "/snap/core/x"s, "/sys/kernel/x"s,
          "/nix/store/x"s, "/gnu/store/x"s, "/sys"s, home() + "/snap/app/x",
          home() + "/.var/app/org.example/x", home() + "/.local/share/flatpak/x",
          // Without XDG_DATA_HOME the Trash is below the home.
          home() + "/.local/share/Trash/files/x"})
        EXPECT_TRUE(CleanupProtection::isProtected(path)) << path;
    for (const std::string &path :
         {"/bootstrap/x"s, "/device/x"s, "/library/x"s, "/runner/x"s, "/system/x"s,
          home() + "/snapshots/x", home() + "/.var/cache/x", home() + "/.local/share/photos/x",
          home() + "/.local/share/Trashcan/x", dataHome + "/Trash/files/x"})
        EXPECT_FALSE(CleanupProtection::isProtected(path)) << path;

    ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    EXPECT_TRUE(CleanupProtection::isProtected(dataHome + "/Trash/files/x"));
    EXPECT_TRUE(CleanupProtection::isProtected(dataHome + "/Trash"));
}

TEST_F(Protection, aHomeOfSlashGetsNoExemption) {
    ::setenv("HOME", "/", 1);
    EXPECT_TRUE(CleanupProtection::isProtected("/usr/x"));
    EXPECT_TRUE(CleanupProtection::isProtected("/Library/x"));
    EXPECT_TRUE(CleanupProtection::isProtected("/snap/x"));
    EXPECT_FALSE(CleanupProtection::isProtected("/Pictures/x"));
}

// Image-based systems keep homes below /var. Such a home is made here on a
// tmpfs over /var/tmp, in a mount namespace of this process's own, and HOME
// names it through a link as /home does on those systems.
TEST_F(Protection, aHomeBelowASystemRootStaysUsableWhileTheRootStaysProtected) {
    if (::unshare(CLONE_NEWNS) != 0)
        GTEST_SKIP() << "cannot leave the host's mount namespace: " << std::strerror(errno);
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "cannot make / private: " << std::strerror(errno);
    if (::mount("tmpfs", "/var/tmp", "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs on /var/tmp: " << std::strerror(errno);
    struct Unmount {
        ~Unmount() { ::umount2("/var/tmp", MNT_DETACH); }
    } unmount;
    const std::string varHome = "/var/tmp/home/u";
    makeDirs(varHome + "/Pictures");
    makeDirs(varHome + "/snap");
    const std::string link = m_dir / "home-u";
    ASSERT_EQ(::symlink(varHome.c_str(), link.c_str()), 0);
    ::setenv("HOME", link.c_str(), 1);

    for (const std::string &home : {varHome, link}) {
        EXPECT_FALSE(CleanupProtection::isProtected(home + "/Pictures/x")) << home;
        EXPECT_FALSE(CleanupProtection::isProtected(home + "/Documents/y")) << home;
        EXPECT_TRUE(CleanupProtection::isProtected(home + "/snap/x")) << home;
        EXPECT_TRUE(CleanupProtection::isProtected(home + "/Library/x")) << home;
        EXPECT_TRUE(CleanupProtection::isProtected(home + "/.local/share/Trash/files/x")) << home;
    }
    EXPECT_TRUE(CleanupProtection::isProtected("/var/lib/x"));
    EXPECT_TRUE(CleanupProtection::isProtected("/var/tmp/home/other/x"));
    EXPECT_TRUE(CleanupProtection::isProtected("/var/tmp/home/u2/x"));
    EXPECT_TRUE(CleanupProtection::isProtected("/usr/x"));
}
