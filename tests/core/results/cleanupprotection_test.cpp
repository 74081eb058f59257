#include "cleanupprotection.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
        makeDirs(home());
        ::setenv("HOME", home().c_str(), 1);
    }
    void TearDown() override { ::setenv("HOME", m_oldHome.c_str(), 1); }

    std::string home() const { return m_dir / "home"; }

    TempDir m_dir;
    std::string m_oldHome;
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
          m_dir / "../../etc/hosts"})
        EXPECT_TRUE(CleanupProtection::isProtected(path)) << path;
    for (const std::string &path : {home() + "/LibraryBackup/photo.jpg",
                                    home() + "/library/photo.jpg", home() + "/Documents/Library/x",
                                    "/"s, "/usrdata/x"s, "/USR/lib/x"s, "/media/usb/Library/x"s})
        EXPECT_FALSE(CleanupProtection::isProtected(path)) << path;
}

TEST_F(Protection, linksAreResolvedAndTheDisplayCacheRemembersTheUnresolvedPath) {
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
    EXPECT_TRUE(CleanupProtection::isProtectedForDisplay(viaLink));

    // Point the link somewhere harmless: the classifier sees it at once, the
    // display answer comes from memory and does not look again.
    ASSERT_EQ(::unlink(link.c_str()), 0);
    makeDirs(m_dir / "plain");
    ASSERT_EQ(::symlink((m_dir / "plain").c_str(), link.c_str()), 0);
    EXPECT_FALSE(CleanupProtection::isProtected(viaLink));
    EXPECT_TRUE(CleanupProtection::isProtectedForDisplay(viaLink));
    // The key is the standardised path, so a spelling with "." shares it.
    EXPECT_TRUE(CleanupProtection::isProtectedForDisplay(folder + "/./share/doc/readme"));
    EXPECT_FALSE(CleanupProtection::isProtectedForDisplay(m_dir / "plain/doc/readme"));
}
