#include "scanrecorder.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// Points XDG_DATA_HOME somewhere for one test, and puts it back after.
class ScopedDataHome {
public:
    explicit ScopedDataHome(const std::string &path) {
        if (const char *was = std::getenv("XDG_DATA_HOME"))
            m_was = was;
        ::setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~ScopedDataHome() {
        if (m_was)
            ::setenv("XDG_DATA_HOME", m_was->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    ScopedDataHome(const ScopedDataHome &) = delete;
    ScopedDataHome &operator=(const ScopedDataHome &) = delete;

private:
    std::optional<std::string> m_was;
};

std::vector<std::string> scannedBelow(const std::string &root) {
    ScanRecorder scan;
    scan.run(root, 1);
    EXPECT_TRUE(scan.succeeded()) << root;
    if (!scan.succeeded())
        return {};
    EXPECT_EQ(scan.result().skippedFiles, 0) << root;
    return namesBelow(scan.result().scannedFiles, root);
}

using Names = std::vector<std::string>;

} // namespace

// Scanning the data home never reaches the Trash in it, even where the
// environment names the data home through a link, so that only the folder's
// identity can tell; a second name for the Trash inside the tree is passed
// over as well.
TEST(TrashFolders, theWalkNeverEntersTheHomeTrash) {
    TempDir dir;
    const std::string share = dir / "share";
    writeFile(share + "/Photos/a.jpg", "photo");
    writeFile(share + "/Trash/files/a.jpg", "photo");
    writeFile(share + "/Trash/info/a.jpg.trashinfo", "[Trash Info]\n");
    ASSERT_EQ(::symlink(share.c_str(), (dir / "share-link").c_str()), 0);
    const ScopedDataHome data(dir / "share-link");

    EXPECT_EQ(scannedBelow(share), (Names{"Photos/a.jpg"}));
    EXPECT_EQ(scannedBelow(dir.path()), (Names{"share/Photos/a.jpg"}));
    // A root inside the Trash, by its own name or another, has nothing to walk.
    EXPECT_EQ(scannedBelow(share + "/Trash/files"), Names{});
    EXPECT_EQ(scannedBelow(dir / "share-link/Trash"), Names{});

    ScopedMount alias(dir / "mirror/files", share + "/Trash/files");
    if (!alias.error().empty())
        GTEST_SKIP() << "cannot bind-mount the Trash elsewhere: " << alias.error();
    EXPECT_EQ(scannedBelow(dir / "mirror"), Names{});
    EXPECT_EQ(scannedBelow(dir.path()), (Names{"share/Photos/a.jpg"}));
}

// A mount's Trash folders are hidden, so only a root at or inside them
// could reach them: such a walk never enters a user's Trash either.
TEST(TrashFolders, theWalkNeverEntersAMountsTrashFolders) {
    TempDir dir;
    const ScopedDataHome data(dir / "data");
    const std::string usb = dir / "usb";
    writeFile(usb + "/a.jpg", "photo");
    writeFile(usb + "/.Trash-1000/files/a.jpg", "photo");
    writeFile(usb + "/.Trash/1000/files/a.jpg", "photo");
    writeFile(usb + "/.Trash/0/files/b.jpg", "photo");
    writeFile(usb + "/.Trash/readme/c.jpg", "photo");

    EXPECT_EQ(scannedBelow(usb), (Names{"a.jpg"}));
    EXPECT_EQ(scannedBelow(usb + "/.Trash-1000"), Names{});
    EXPECT_EQ(scannedBelow(usb + "/.Trash-1000/files"), Names{});
    EXPECT_EQ(scannedBelow(usb + "/.Trash/1000"), Names{});
    EXPECT_EQ(scannedBelow(usb + "/.Trash"), (Names{"readme/c.jpg"}));
}
