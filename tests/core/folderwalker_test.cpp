#include "platform/folderwalker.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <map>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// Every entry the walk yields, relative to the root, with what it is.
std::map<std::string, char> walkAll(const std::string &root, int *errors = nullptr) {
    std::map<std::string, char> seen;
    FolderWalker walker(root, [errors](const std::string &, int) {
        if (errors)
            ++*errors;
    });
    EXPECT_TRUE(walker.start());
    while (walker.next()) {
        const auto a = walker.attributes();
        char kind = '?';
        if (a)
            kind = a->isDirectory ? 'd' : a->isSymbolicLink ? 'l' : a->isRegularFile ? 'f' : 'o';
        seen[walker.path().substr(root.size() + 1)] = kind;
    }
    return seen;
}

} // namespace

TEST(FolderWalker, yieldsFoldersPackagesAndLinksButEntersOnlyPlainFolders) {
    TempDir dir;
    writeFile(dir / "top.txt", "t");
    writeFile(dir / "sub/inner.txt", "i");
    writeFile(dir / "Thing.bundle/Contents/x", "x");
    writeFile(dir / ".git/config", "c");
    ASSERT_EQ(::symlink((dir / "sub").c_str(), (dir / "sub-link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);

    const auto seen = walkAll(dir.path());
    const std::map<std::string, char> expected{
        {"top.txt", 'f'},      {"sub", 'd'},      {"sub/inner.txt", 'f'},
        {"Thing.bundle", 'd'}, {"sub-link", 'l'}, {"pipe", 'o'},
    };
    EXPECT_EQ(seen, expected);
}

TEST(FolderWalker, packageNamesIgnoreCaseAndNeedAStem) {
    EXPECT_TRUE(FolderWalker::isPackageName("Photos Library.photoslibrary"));
    EXPECT_TRUE(FolderWalker::isPackageName("Report.PAGES"));
    EXPECT_TRUE(FolderWalker::isPackageName("disk.sparsebundle"));
    EXPECT_FALSE(FolderWalker::isPackageName("app"));
    EXPECT_FALSE(FolderWalker::isPackageName("mapp"));
    EXPECT_FALSE(FolderWalker::isPackageName("keys"));
}
