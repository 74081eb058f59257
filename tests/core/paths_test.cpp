#include "platform/paths.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace twinsift;
using twinsift::testing::TempDir;

TEST(Paths, standardizedIsLexicalAbsoluteAndTrimmed) {
    EXPECT_EQ(paths::standardized("/"), "/");
    EXPECT_EQ(paths::standardized("/a/b/"), "/a/b");
    EXPECT_EQ(paths::standardized("/a/./b/../c"), "/a/c");
    EXPECT_EQ(paths::standardized("/.."), "/");
    EXPECT_EQ(paths::standardized("//a//b"), "/a/b");
    // Never touches the disk: a missing path standardises all the same.
    EXPECT_EQ(paths::standardized("/no/such/../thing"), "/no/thing");
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(paths::standardized("rel/x"), std::string(cwd) + "/rel/x");
}

TEST(Paths, resolvingSymlinksSeesThroughParentsOfMissingPaths) {
    TempDir dir;
    twinsift::testing::makeDirs(dir / "real/sub");
    ASSERT_EQ(::symlink((dir / "real").c_str(), (dir / "link").c_str()), 0);
    const std::string real = paths::resolvingSymlinks(dir / "real");
    EXPECT_EQ(paths::resolvingSymlinks(dir / "link/sub"), real + "/sub");
    EXPECT_EQ(paths::resolvingSymlinks(dir / "link/missing/file"), real + "/missing/file");
}

TEST(Paths, componentsAndDisplayText) {
    EXPECT_EQ(paths::lastComponent("/a/b.txt"), "b.txt");
    EXPECT_EQ(paths::lastComponent("/a/b/"), "b");
    EXPECT_EQ(paths::parent("/a/b.txt"), "/a");
    EXPECT_EQ(paths::parent("/a"), "/");
    EXPECT_EQ(paths::appending("/a", "b"), "/a/b");
    EXPECT_EQ(paths::appending("/", "b"), "/b");
    EXPECT_EQ(paths::displayText("/x/caf\xc3\xa9"), "/x/caf\xc3\xa9");
    EXPECT_EQ(paths::displayText("/x/bad\xff"), "/x/bad\xef\xbf\xbd");
}
