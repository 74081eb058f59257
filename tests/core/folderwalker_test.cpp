#include "platform/folderwalker.h"

#include <gtest/gtest.h>

using namespace twinsift;

TEST(FolderWalker, packageNamesIgnoreCaseAndNeedAStem) {
    EXPECT_TRUE(FolderWalker::isPackageName("Photos Library.photoslibrary"));
    EXPECT_TRUE(FolderWalker::isPackageName("Report.PAGES"));
    EXPECT_TRUE(FolderWalker::isPackageName("disk.sparsebundle"));
    EXPECT_FALSE(FolderWalker::isPackageName("app"));
    EXPECT_FALSE(FolderWalker::isPackageName("mapp"));
    EXPECT_FALSE(FolderWalker::isPackageName("keys"));
}
