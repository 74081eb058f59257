// Runs without root's file-mode bypass (see tests/support/without-dac.sh).
// Each test first proves that the permission really bites, so none can pass
// by accident on a machine where it does not.
#include "duplicatescanner.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <gtest/gtest.h>

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
