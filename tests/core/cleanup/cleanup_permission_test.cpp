// Runs without root's file-mode bypass (see tests/support/without-dac.sh):
// the Trash must refuse to take a file out of a folder the user cannot write.
#include "cleanuprun.h"

#include "fileattributes.h"
#include "scanrecorder.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

TEST(CleanupPermissions, readOnlyFolderRefusalsAreListedAndTheOthersMove) {
    const std::string content(4096, 'r');
    TempDir dir;
    writeFile(dir / "keep.bin", content);
    writeFile(dir / "loose.bin", content);
    writeFile(dir / "locked/first.bin", content);
    writeFile(dir / "locked/second.bin", content);
    ScanRecorder recorder;
    recorder.run(dir.path(), 1);
    const auto &result = recorder.result();
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0555), 0);
    ASSERT_NE(::access((dir / "locked").c_str(), W_OK), 0)
        << "folder is still writable; run without DAC capabilities";
    const auto nothingProtected = [](const std::string &) { return false; };

    auto outcome = CleanupRun::run(
        result, filesAt(result, {dir / "locked/first.bin", dir / "loose.bin"}), nothingProtected);
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    const auto &report = std::get<CleanupReport>(outcome);
    EXPECT_EQ(report.movedPaths, std::vector<std::string>{dir / "loose.bin"});
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].path, dir / "locked/first.bin");
    EXPECT_EQ(report.failures[0].reason, CleanupFailureReason::trash);
    EXPECT_EQ(report.failures[0].trash, (Trash::Failure{Trash::Problem::refused, EACCES}));
    EXPECT_EQ(readFile(dir / "locked/first.bin"), content);
    EXPECT_FALSE(FileAttributes::read(dir / "loose.bin"));

    // A run where every move is refused still reports, with 0 moved.
    outcome = CleanupRun::run(
        result, filesAt(result, {dir / "locked/first.bin", dir / "locked/second.bin"}),
        nothingProtected);
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    const auto &none = std::get<CleanupReport>(outcome);
    EXPECT_TRUE(none.movedPaths.empty());
    EXPECT_EQ(none.movedBytes, 0u);
    ASSERT_EQ(none.failures.size(), 2u);
    EXPECT_EQ(none.failures[0].path, dir / "locked/first.bin");
    EXPECT_EQ(none.failures[1].path, dir / "locked/second.bin");
    EXPECT_EQ(readFile(dir / "locked/second.bin"), content);
    EXPECT_EQ(readFile(dir / "keep.bin"), content);
}
