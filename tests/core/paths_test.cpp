#include "platform/paths.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace twinsift;

TEST(Paths, lexicalHelpersKeepTheirEdges) {
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

    // At the root and with a trailing slash, as the byte-level helpers meet them.
    EXPECT_EQ(paths::lastComponent("/a/b/"), "b");
    EXPECT_EQ(paths::parent("/a"), "/");
    EXPECT_EQ(paths::appending("/", "b"), "/b");
    EXPECT_EQ(paths::displayText("/x/caf\xc3\xa9/bad\xff"), "/x/caf\xc3\xa9/bad\xef\xbf\xbd");
}
