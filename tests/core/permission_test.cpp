// Runs without root's file-mode bypass (see tests/support/without-dac.sh).
// Each test first proves that the permission really bites, so none can pass
// by accident on a machine where it does not.
#include "duplicatescanner.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

bool canList(const std::string &path) {
    DIR *d = ::opendir(path.c_str());
    if (d)
        ::closedir(d);
    return d != nullptr;
}

bool canRead(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

} // namespace

TEST(Permissions, unreadableSubfolderIsSkippedAndTheWalkGoesOn) {
    TempDir dir;
    writeFile(dir / "a/one.bin", std::string(3000, 'k'));
    writeFile(dir / "locked/inside.bin", std::string(3000, 'k'));
    writeFile(dir / "z/two.bin", std::string(3000, 'k'));
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0), 0);
    ASSERT_FALSE(canList(dir / "locked"))
        << "folder is still readable; run without DAC capabilities";

    ScanRecorder scan;
    scan.run(dir.path());
    ASSERT_TRUE(scan.succeeded());
    const auto &r = scan.result();
    EXPECT_EQ(r.skippedFiles, 1);
    EXPECT_EQ(r.filesScanned, 2);
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(r.groups[0].files.size(), 2u);
}

TEST(Permissions, unreadableCandidateIsSkippedWhileTheOthersGroup) {
    TempDir dir;
    for (const char *n : {"c1", "c2", "c3"})
        writeFile(dir / n, std::string(4000, 'u'));
    ASSERT_EQ(::chmod((dir / "c2").c_str(), 0), 0);
    ASSERT_FALSE(canRead(dir / "c2")) << "file is still readable; run without DAC capabilities";

    ScanRecorder scan;
    scan.run(dir.path());
    const auto &r = scan.result();
    EXPECT_EQ(r.skippedFiles, 1);
    EXPECT_EQ(r.filesHashed, 2);
    EXPECT_EQ(r.filesScanned, 3); // it stays listed, only ungrouped
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(r.groups[0].files.size(), 2u);
    EXPECT_EQ(scan.reports.back().filesHashed, 2);
    EXPECT_EQ(scan.reports.size(), 3u + 2) << "a file that fails sends no report";
}

TEST(Permissions, filesOfUniqueSizeAreNeverOpened) {
    TempDir dir;
    for (int i = 0; i < 4; ++i) {
        const std::string f = dir / ("u" + std::to_string(i));
        writeFile(f, std::string(2000 + static_cast<std::size_t>(i), 'v'));
        ASSERT_EQ(::chmod(f.c_str(), 0), 0);
    }
    ASSERT_FALSE(canRead(dir / "u0"));
    ScanRecorder scan;
    scan.run(dir.path());
    EXPECT_EQ(scan.result().skippedFiles, 0);
    EXPECT_EQ(scan.result().filesScanned, 4);
}

TEST(Permissions, unreadableChosenFolderIsUnavailable) {
    TempDir dir;
    makeDirs(dir / "closed");
    ASSERT_EQ(::chmod((dir / "closed").c_str(), 0), 0);
    ASSERT_FALSE(canList(dir / "closed"));
    ScanRecorder scan;
    scan.run(dir / "closed");
    ASSERT_TRUE(std::holds_alternative<DuplicateScanError>(scan.outcome));
    EXPECT_EQ(scan.reports.size(), 1u);
}
