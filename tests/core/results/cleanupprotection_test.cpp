#include "cleanupprotection.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// Every test gets a home of its own in a temporary folder.
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

TEST_F(Protection, rootsAreTheHomeFoldersFirstThenTheSystemOnesInOrder) {
    const std::vector<std::string> expected{home() + "/Library",
                                            home() + "/Applications",
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
                                            "/Network"};
    EXPECT_EQ(CleanupProtection::protectedRoots(), expected);
}

TEST_F(Protection, rootsMatchWholeComponentsOnlyAndCaseMatters) {
    using CleanupProtection::isProtected;
    EXPECT_TRUE(isProtected(home() + "/Library/Caches/photo.jpg"));
    EXPECT_TRUE(isProtected(home() + "/Library"));
    EXPECT_FALSE(isProtected(home() + "/LibraryBackup/photo.jpg"));
    EXPECT_FALSE(isProtected(home() + "/library/photo.jpg"));
    EXPECT_TRUE(isProtected(home() + "/Applications/Tool.app/x"));
    EXPECT_FALSE(isProtected(home() + "/Documents/Library/x"));

    EXPECT_TRUE(isProtected("/System"));
    EXPECT_FALSE(isProtected("/"));
    EXPECT_TRUE(isProtected("/Applications/x"));
    EXPECT_TRUE(isProtected("/usr"));
    EXPECT_TRUE(isProtected("/usr/lib/x"));
    EXPECT_FALSE(isProtected("/usrdata/x"));
    EXPECT_FALSE(isProtected("/USR/lib/x"));
    EXPECT_FALSE(isProtected("/media/usb/Library/x"));
    // Standardised first: a detour through ".." still lands in /etc.
    EXPECT_TRUE(isProtected(m_dir / "../../etc/hosts"));
}

TEST_F(Protection, aHomeReachedThroughALinkIsStillRecognised) {
    const std::string link = m_dir / "home-link";
    ASSERT_EQ(::symlink(home().c_str(), link.c_str()), 0);
    ::setenv("HOME", link.c_str(), 1);
    makeDirs(home() + "/Library/Mail");
    EXPECT_TRUE(CleanupProtection::isProtected(home() + "/Library/Mail/a.eml"));
    EXPECT_TRUE(CleanupProtection::isProtected(link + "/Library/Mail/a.eml"));
}

TEST_F(Protection, aLinkIntoUsrIsProtectedAndTheDisplayCacheRemembersTheUnresolvedPath) {
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
