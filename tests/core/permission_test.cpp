// Runs without root's file-mode bypass (see tests/support/without-dac.sh).
// Each test first proves that the permission really bites, so none can pass
// by accident on a machine where it does not.
#include "duplicatescanner.h"
#include "platform/folderwalker.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

// A folder and a candidate the user cannot read are skipped while the rest
// groups; files of a unique size, unreadable too, are never opened at all.
TEST(Permissions, unreadableEntriesAreSkippedAndTheScanGoesOn) {
    TempDir dir;
    writeFile(dir / "a/one.bin", std::string(3000, 'k'));
    writeFile(dir / "locked/inside.bin", std::string(3000, 'k'));
    writeFile(dir / "z/two.bin", std::string(3000, 'k'));
    for (const char *n : {"c1", "c2", "c3"})
        writeFile(dir / n, std::string(4000, 'u'));
    for (int i = 0; i < 4; ++i)
        writeFile(dir / ("u" + std::to_string(i)), std::string(2000 + std::size_t(i), 'v'));
    for (const char *locked : {"locked", "c2", "u0", "u1", "u2", "u3"})
        ASSERT_EQ(::chmod((dir / locked).c_str(), 0), 0);
    ASSERT_NE(::access((dir / "locked").c_str(), R_OK), 0)
        << "folder is still readable; run without DAC capabilities";

    ScanRecorder scan;
    scan.run(dir.path());
    ASSERT_TRUE(scan.succeeded());
    const auto &r = scan.result();
    EXPECT_EQ(r.skippedFiles, 2);
    EXPECT_EQ(r.filesScanned, 9); // c2 stays listed, only ungrouped
    EXPECT_EQ(r.filesHashed, 4);
    ASSERT_EQ(r.groups.size(), 2u);
    EXPECT_EQ(r.groups[0].files.size(), 2u);
    EXPECT_EQ(r.groups[1].files.size(), 2u);
    EXPECT_EQ(scan.reports.back().filesHashed, 4);
    EXPECT_EQ(scan.reports.size(), 3u + 4) << "a file that fails sends no report";

    // Chosen itself, the unreadable folder is unavailable.
    scan.run(dir / "locked");
    ASSERT_TRUE(std::holds_alternative<DuplicateScanError>(scan.outcome));
    EXPECT_EQ(scan.reports.size(), 1u);
}

// Many folders, so that both of the walk's threads list some, with unreadable
// ones among them at several depths. Each entry is handed on once, under its
// own folder with its own attributes, each folder's entries together; each
// unreadable folder is reported once, after its own entry.
TEST(Permissions, walkListsManyFoldersOnceEachWhoeverListsThem) {
    TempDir dir;
    std::map<std::string, std::uint64_t> sizes; // every file the walk must hand on
    std::set<std::string> folders, locked;
    for (int f = 0; f < 40; ++f) {
        const std::string name = "f" + std::to_string(f);
        folders.insert(name);
        for (int k = 0; k < 3 + f % 4; ++k) {
            const std::string file = name + "/file" + std::to_string(k);
            sizes[file] = 100 + std::uint64_t(f) * 10 + std::uint64_t(k);
            writeFile(dir / file, std::string(sizes[file], 'w'));
        }
        if (f % 3 == 0) {
            folders.insert(name + "/sub");
            sizes[name + "/sub/deep"] = 7 + std::uint64_t(f);
            writeFile(dir / (name + "/sub/deep"), std::string(sizes[name + "/sub/deep"], 'd'));
        }
        if (f % 5 == 0)
            makeDirs(dir / (name + "/empty")), folders.insert(name + "/empty");
        // Folders of folders, so that the walk goes deeper while folders it
        // reaches later are listed already.
        for (int i = 0; f % 10 == 1 && i < 6; ++i) {
            folders.insert(name + "/n" + std::to_string(i));
            for (int j = 0; j < 6; ++j) {
                const std::string inner =
                    name + "/n" + std::to_string(i) + "/m" + std::to_string(j);
                folders.insert(inner);
                sizes[inner + "/leaf"] = 1 + std::uint64_t(i * 6 + j);
                writeFile(dir / (inner + "/leaf"), std::string(sizes[inner + "/leaf"], 'n'));
            }
        }
    }
    for (const char *name :
         {"f4", "f9", "f13", "f18/sub", "f30/sub", "f39", "f21/n3/m2", "f31/n5"}) {
        locked.insert(name);
        ASSERT_EQ(::chmod((dir / name).c_str(), 0), 0);
    }
    ASSERT_NE(::access((dir / "f4").c_str(), R_OK), 0)
        << "folder is still readable; run without DAC capabilities";

    std::vector<std::string> order; // entries, and "!" + path for errors
    FolderWalker walker(dir.path(), [&](const std::string &path, const WalkError &error) {
        EXPECT_EQ(error, WalkError::system(EACCES)) << path;
        order.push_back("!" + path.substr(dir.path().size() + 1));
    });
    ASSERT_TRUE(walker.start());
    std::map<std::string, std::uint64_t> seenSizes;
    std::set<std::string> seenFolders;
    std::uint64_t entered = walker.foldersEntered();
    std::string listing = ""; // the folder whose entries are being handed on
    std::set<std::string> finished;
    while (walker.next()) {
        const std::string path = walker.path().substr(dir.path().size() + 1);
        const std::string folder =
            path.find('/') == std::string::npos ? "" : path.substr(0, path.rfind('/'));
        ASSERT_EQ(walker.folder(), folder.empty() ? dir.path() : dir / folder);
        if (walker.foldersEntered() != entered) {
            entered = walker.foldersEntered();
            finished.insert(listing);
            listing = folder;
        }
        EXPECT_EQ(folder, listing) << path << ": entries of one folder come together";
        EXPECT_FALSE(finished.contains(folder)) << path;
        order.push_back(path);
        const auto attributes = walker.attributes();
        ASSERT_TRUE(attributes) << path;
        if (attributes->isDirectory)
            EXPECT_TRUE(seenFolders.insert(path).second) << path;
        else
            EXPECT_TRUE(seenSizes.emplace(path, attributes->fileSize.value_or(0)).second) << path;
    }

    std::erase_if(sizes, [&](const auto &file) {
        return std::any_of(locked.begin(), locked.end(),
                           [&](const std::string &l) { return file.first.starts_with(l + "/"); });
    });
    std::erase_if(folders, [&](const std::string &f) {
        return std::any_of(locked.begin(), locked.end(),
                           [&](const std::string &l) { return f.starts_with(l + "/"); });
    });
    EXPECT_EQ(seenSizes, sizes);
    EXPECT_EQ(seenFolders, folders);
    for (const std::string &name : locked) {
        const auto error = std::find(order.begin(), order.end(), "!" + name);
        ASSERT_NE(error, order.end()) << name;
        EXPECT_EQ(std::count(order.begin(), order.end(), "!" + name), 1) << name;
        EXPECT_LT(std::find(order.begin(), order.end(), name), error) << name;
    }
    EXPECT_EQ(order.size(), sizes.size() + folders.size() + locked.size());
}
