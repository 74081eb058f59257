#include "duplicatescanner.h"
#include "hashworkers.h"
#include "pathorder.h"
#include "platform/paths.h"
#include "scanrecorder.h"
#include "sha256hasher.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

using Phase = DuplicateScanPhase;

} // namespace

// Whatever the tree: a start report, one per 25 counted files, the end of
// the walk (again, even on a multiple of 25), the start of hashing, then one
// report per hashed file.
void expectReportCadence(const ScanRecorder &scan) {
    ASSERT_TRUE(scan.succeeded());
    const auto &r = scan.result();
    const auto &reps = scan.reports;
    const int counted = r.filesScanned + r.ignoredSmallFiles;
    const std::size_t walkEnd = 1 + static_cast<std::size_t>(counted / 25);
    ASSERT_EQ(reps.size(), walkEnd + 2 + static_cast<std::size_t>(r.filesHashed));
    EXPECT_EQ(reps[0], (DuplicateScanProgress{Phase::enumerating, 0, 0, 0, 0}));
    for (std::size_t k = 1; k < walkEnd; ++k) {
        EXPECT_EQ(reps[k].phase, Phase::enumerating);
        EXPECT_EQ(reps[k].filesScanned + reps[k].ignoredSmallFiles, 25 * static_cast<int>(k));
        EXPECT_EQ(reps[k].candidateFiles, 0);
    }
    EXPECT_EQ(reps[walkEnd], (DuplicateScanProgress{Phase::enumerating, r.filesScanned, 0, 0,
                                                    r.ignoredSmallFiles}));
    for (int h = 0; h <= r.filesHashed; ++h)
        EXPECT_EQ(reps[walkEnd + 1 + static_cast<std::size_t>(h)],
                  (DuplicateScanProgress{Phase::hashing, r.filesScanned, h, r.filesHashed,
                                         r.ignoredSmallFiles}));
}

TEST(ScanReports, cadenceHoldsForAnEmptyFolderAndAFullOneAndTheMinimumIsInclusive) {
    TempDir dir;
    ScanRecorder scan;
    scan.run(dir.path());
    expectReportCadence(scan);
    EXPECT_TRUE(scan.result().scannedFiles.empty());

    // 42 eligible files of distinct sizes but for three pairs of identical
    // size, two of them of identical content; below the minimum of 1024, ten
    // small files, a pair of 1023 bytes and a pair of empty files.
    for (int i = 0; i < 36; ++i)
        writePattern(dir / ("e" + std::to_string(i)), 2000 + static_cast<std::uint64_t>(i), i);
    const std::pair<const char *, std::string> pairs[] = {{"pair1", std::string(5000, 'a')},
                                                          {"exact", std::string(1024, 'x')},
                                                          {"short", std::string(1023, 'x')},
                                                          {"empty", ""}};
    for (const auto &[name, content] : pairs)
        for (const char *copy : {"-a", "-b"})
            writeFile(dir / (name + std::string(copy)), content);
    writeFile(dir / "pair2a", std::string(6000, 'b'));
    writeFile(dir / "pair2b", std::string(6000, 'c'));
    for (std::size_t i = 0; i < 10; ++i)
        writeFile(dir / ("small" + std::to_string(i)), std::string(10 + i, 's'));
    scan.run(dir.path(), 1024);
    expectReportCadence(scan);
    const auto &r = scan.result();
    EXPECT_EQ(r.filesScanned, 42);
    EXPECT_EQ(r.ignoredSmallFiles, 14);
    EXPECT_EQ(r.filesHashed, 6);
    ASSERT_EQ(r.groups.size(), 2u);
    EXPECT_EQ(namesBelow(r.groups[1].files, dir.path()),
              (std::vector<std::string>{"exact-a", "exact-b"}));

    // With a minimum of zero, empty files are eligible and group like any other.
    scan.run(dir.path(), 0);
    expectReportCadence(scan);
    EXPECT_EQ(scan.result().filesScanned, 56);
    EXPECT_EQ(scan.result().groups.size(), 4u);
}

TEST(ScanSelection, hiddenEntriesPackagesLinksAndFifosAreInNoCount) {
    TempDir dir;
    const std::string content = std::string(4096, 'p');
    writeFile(dir / "photo.jpg", content);
    writeFile(dir / std::string(255, 'L'), content); // the longest name Linux allows
    writeFile(dir / "whatsapp/copy.jpg", content);   // no package, only a name ending in "app"
    writeFile(dir / ".hidden.jpg", content);
    writeFile(dir / ".cache/inside.jpg", content);
    writeFile(dir / "Movie.app/Contents/copy.jpg", content);
    writeFile(dir / "Notes.RTFD/copy.jpg", content);
    writeFile(dir / "Library.photoslibrary/copy.jpg", content);
    writeFile(dir / "outside/elsewhere.jpg", content);
    // Links, to a file and to a folder, are never followed.
    ASSERT_EQ(::symlink((dir / "photo.jpg").c_str(), (dir / "link.jpg").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "outside").c_str(), (dir / "linked-folder").c_str()), 0);
    // Nor is anything that is no regular file, such as a FIFO.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    // Small files among them, enough that the folder is listed in several
    // batches whose attributes two threads read.
    for (int i = 0; i < 600; ++i)
        writeFile(dir / ("small" + std::to_string(i)), "s");

    ScanRecorder scan;
    scan.run(dir.path());
    const auto &r = scan.result();
    EXPECT_EQ(namesBelow(r.scannedFiles, dir.path()),
              (std::vector<std::string>{std::string(255, 'L'), "outside/elsewhere.jpg", "photo.jpg",
                                        "whatsapp/copy.jpg"}));
    EXPECT_EQ(r.ignoredSmallFiles, 600);
    EXPECT_EQ(r.skippedFiles, 0);
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(r.groups[0].files.size(), 4u);
}

// Equal size is never enough: x1 differs from its peers in every byte, b.bin
// from a.bin and c.bin only in its last byte, past several read chunks.
TEST(ScanGrouping, onlyEqualContentGroupsDownToTheLastByte) {
    TempDir dir;
    writeFile(dir / "x1", std::string(2048, '1'));
    for (const char *name : {"x2", "x3", "x4"})
        writeFile(dir / name, std::string(2048, '2'));
    std::string a(3 * 1048576 + 7, 'z');
    writeFile(dir / "a.bin", a);
    writeFile(dir / "c.bin", a);
    a.back() = 'y';
    writeFile(dir / "b.bin", a);
    // Reading a file to compare it leaves its access time alone, even one
    // old enough that the kernel would otherwise renew it.
    const timespec old[2] = {{1'000'000'000, 0}, {0, UTIME_OMIT}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "c.bin").c_str(), old, 0), 0);
    ScanRecorder scan;
    scan.run(dir.path());
    const auto &r = scan.result();
    struct stat st {};
    ASSERT_EQ(::stat((dir / "c.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'000);
    EXPECT_EQ(r.filesHashed, 7);
    ASSERT_EQ(r.groups.size(), 2u);
    EXPECT_EQ(namesBelow(r.groups[0].files, dir.path()),
              (std::vector<std::string>{"a.bin", "c.bin"}));
    EXPECT_EQ(namesBelow(r.groups[1].files, dir.path()),
              (std::vector<std::string>{"x2", "x3", "x4"}));
    EXPECT_EQ(r.groups[1].hash, Sha256Hasher().hashFile(dir / "x2").digest);
    EXPECT_EQ(r.duplicateFileCount(), 5);
    EXPECT_EQ(r.reclaimableBytes(), a.size() + 4096u);
    // Every eligible file stays listed, grouped or not.
    EXPECT_EQ(r.scannedFiles.size(), 7u);
}

// Hard links share their bytes: every link is listed and reports as hashed,
// but each inode is read once and counts once towards what a cleanup can
// free, and the group order follows that.
TEST(ScanGrouping, hardLinksAreListedButTheirBytesCountOnce) {
    TempDir dir;
    const auto link = [&](const char *target, const char *name) {
        ASSERT_EQ(::link((dir / target).c_str(), (dir / name).c_str()), 0);
    };
    // Two distinct copies and a link of one: frees 3000, not 6000.
    writeFile(dir / "a", std::string(3000, 'a'));
    writeFile(dir / "b", std::string(3000, 'a'));
    link("a", "a-link");
    // Four names of one inode and one copy: frees 5000, not 20000.
    writeFile(dir / "p", std::string(5000, 'p'));
    for (const char *name : {"p1", "p2", "p3"})
        link("p", name);
    writeFile(dir / "q", std::string(5000, 'p'));
    writeFile(dir / "r1", std::string(4000, 'r'));
    writeFile(dir / "r2", std::string(4000, 'r'));
    // Only links of one inode: nothing to free.
    writeFile(dir / "s", std::string(6000, 's'));
    link("s", "s-link");

    ScanRecorder scan;
    const auto opened = HashWorkers::filesOpened();
    scan.run(dir.path());
    EXPECT_EQ(HashWorkers::filesOpened() - opened, 7u);
    expectReportCadence(scan);
    const auto &r = scan.result();
    EXPECT_EQ(r.filesHashed, 12);
    const auto &g = r.groups;
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(namesBelow(g[0].files, dir.path()),
              (std::vector<std::string>{"p", "p1", "p2", "p3", "q"}));
    EXPECT_EQ(g[0].reclaimableBytes(), 5000u);
    EXPECT_EQ(namesBelow(g[1].files, dir.path()), (std::vector<std::string>{"r1", "r2"}));
    EXPECT_EQ(g[1].reclaimableBytes(), 4000u);
    EXPECT_EQ(namesBelow(g[2].files, dir.path()), (std::vector<std::string>{"a", "a-link", "b"}));
    EXPECT_EQ(g[2].reclaimableBytes(), 3000u);
    EXPECT_EQ(namesBelow(g[3].files, dir.path()), (std::vector<std::string>{"s", "s-link"}));
    EXPECT_EQ(g[3].reclaimableBytes(), 0u);
    EXPECT_EQ(r.reclaimableBytes(), 12000u);
    EXPECT_EQ(r.duplicateFileCount(), 12);
}

TEST(ScanOrdering, groupsByReclaimableThenFileCountAndEveryListInPathOrder) {
    TempDir dir;
    // Sixty names scrambled across folders, in four sets of fifteen copies.
    // Folders that differ only in case interleave their files, and so do a
    // folder's own files with those of its subfolders.
    for (int i = 0; i < 60; ++i) {
        const int k = (i * 7919) % 60;
        const std::string folder = "F" + std::to_string(k % 9) +
                                   (k % 3 == 0 ? (k % 2 ? "/a " : "/z ")
                                    : k % 2    ? "/Sub/"
                                               : "/sub/");
        writeFile(
            dir / (folder + "item " + std::to_string(k) + ".dat"),
            std::string(1100 + static_cast<std::size_t>(k % 4), static_cast<char>('a' + k % 4)));
    }
    // 3 x 1500 (3000 reclaimable) beats 2 x 2500 (2500).
    for (const char *n : {"t1", "t2", "t3"})
        writeFile(dir / n, std::string(1500, 't'));
    for (const char *n : {"w1", "w2"})
        writeFile(dir / n, std::string(2500, 'w'));
    // Tie at 4000 reclaimable: five of 1000 before two of 4000.
    for (const char *n : {"f1", "f2", "f3", "f4", "f5"})
        writeFile(dir / n, std::string(1000, 'f'));
    for (const char *n : {"g1", "g2"})
        writeFile(dir / n, std::string(4000, 'g'));
    // Natural order: a2 before a10, and case does not split A from a.
    writeFile(dir / "a10", std::string(1200, 'n'));
    writeFile(dir / "a2", std::string(1200, 'n'));
    writeFile(dir / "B3", std::string(1200, 'n'));
    writeFile(dir / "b20", std::string(1200, 'n'));

    ScanRecorder scan;
    scan.run(dir.path(), 1000);
    const auto &g = scan.result().groups;
    ASSERT_EQ(g.size(), 9u);
    EXPECT_EQ(g[0].size, 1103u);      // 15 x 1103
    EXPECT_EQ(g[3].size, 1100u);      // 15 x 1100
    EXPECT_EQ(g[4].files.size(), 5u); // 4000, five files
    EXPECT_EQ(g[5].size, 4000u);      // 4000, two files
    EXPECT_EQ(g[6].files.size(), 4u); // 3600
    EXPECT_EQ(g[7].size, 1500u);      // 3000
    EXPECT_EQ(g[8].size, 2500u);      // 2500
    EXPECT_EQ(namesBelow(g[6].files, dir.path()),
              (std::vector<std::string>{"a2", "a10", "B3", "b20"}));
    PathOrder order;
    const auto inPathOrder = [&](const auto &files) {
        std::vector<std::string> owned;
        for (const auto &f : files)
            owned.push_back(f.url);
        const auto permutation = order.order({owned.begin(), owned.end()});
        return std::is_sorted(permutation.begin(), permutation.end());
    };
    EXPECT_TRUE(inPathOrder(scan.result().scannedFiles));
    std::size_t grouped = 0;
    for (const auto &group : g) {
        EXPECT_TRUE(inPathOrder(group.files)) << group.size;
        for (const auto &f : group.files)
            EXPECT_EQ(f.size, group.size);
        grouped += group.files.size();
    }
    EXPECT_EQ(grouped, scan.result().scannedFiles.size());
}

// Enough files that several threads sort the runs, some of one file:
// folders whose files follow one another, and folders whose files
// interleave with a sibling's (same name but for case or accents).
TEST(ScanOrdering, runsOfFolderFilesGiveTheOrderOfWholePaths) {
    for (const bool interleaved : {false, true}) {
        std::vector<std::string> paths;
        std::vector<std::uint32_t> runStarts;
        for (int f = 0; f < 120; ++f) {
            std::string folder = "/r/d" + std::to_string(f % 60) + "/";
            if (interleaved)
                folder = (f % 3 == 0 ? "/r/Résumé " : "/r/resume ") + std::to_string(f / 3) +
                         (f % 3 == 2 ? "/s/" : "/");
            else if (f >= 60)
                folder += "e/";
            runStarts.push_back(static_cast<std::uint32_t>(paths.size()));
            for (int i = 0; i < (f % 10 ? 45 : 1); ++i)
                paths.push_back(folder + (i % 2 ? "F" : "f") + std::to_string((i * 37 + f) % 90));
        }
        PathOrder order;
        const auto byRuns = order.orderRuns(
            paths.size(), runStarts, [&](std::size_t i, std::string &out) { out = paths[i]; });
        EXPECT_EQ(byRuns, order.order({paths.begin(), paths.end()})) << interleaved;
    }
}

TEST(ScanFolder, missingFolderOrRegularFileFailsAfterTheFirstReport) {
    TempDir dir;
    writeFile(dir / "file.txt", "x");
    for (const std::string &target : {dir / "missing", dir / "file.txt", std::string()}) {
        ScanRecorder scan;
        scan.run(target);
        ASSERT_TRUE(std::holds_alternative<DuplicateScanError>(scan.outcome)) << target;
        EXPECT_EQ(std::get<DuplicateScanError>(scan.outcome),
                  DuplicateScanError::folderUnavailable);
        EXPECT_EQ(scan.reports, (std::vector<DuplicateScanProgress>{{}}));
    }
}

TEST(ScanFolder, relativeAndLinkedRootsGiveAbsolutePaths) {
    TempDir dir;
    writeFile(dir / "real/a", std::string(2000, 'r'));
    writeFile(dir / "real/b", std::string(2000, 'r'));
    ASSERT_EQ(::symlink((dir / "real").c_str(), (dir / "via-link").c_str()), 0);

    ScanRecorder scan;
    scan.run(dir / "via-link/");
    ASSERT_TRUE(scan.succeeded());
    EXPECT_EQ(scan.result().rootURL, dir / "via-link/");
    EXPECT_EQ(scan.result().groups.at(0).files.at(0).url, dir / "via-link/a");

    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    ScanRecorder throughLink;
    scan.run("real");
    // ".." after a link leads to the link target's parent, as the kernel
    // resolves it, never back to the folder holding the link.
    makeDirs(dir / "elsewhere/inner");
    writeFile(dir / "elsewhere/x", std::string(2000, 'e'));
    ASSERT_EQ(::symlink((dir / "elsewhere/inner").c_str(), (dir / "real/in").c_str()), 0);
    throughLink.run("real/in/..");
    ASSERT_EQ(::chdir(cwd), 0);
    ASSERT_TRUE(scan.succeeded());
    EXPECT_EQ(scan.result().rootURL, "real");
    EXPECT_EQ(scan.result().scannedFiles.at(0).url.front(), '/');
    ASSERT_TRUE(throughLink.succeeded());
    ASSERT_EQ(throughLink.result().scannedFiles.size(), 1u);
    EXPECT_EQ(paths::lastComponent(throughLink.result().scannedFiles[0].url), "x");
}

TEST(ScanCancel, stopBeforeStartAndDuringTheWalk) {
    TempDir dir;
    for (int i = 0; i < 60; ++i)
        writeFile(dir / ("f" + std::to_string(i)), std::string(2000, 'c'));

    std::stop_source before;
    before.request_stop();
    ScanRecorder scan;
    EXPECT_TRUE(
        std::holds_alternative<ScanCancelled>(scan.run(dir.path(), 1024, before.get_token())));
    EXPECT_TRUE(scan.reports.empty());

    // Stop at the first walk report after the start: no further report,
    // and the end-of-walk report never comes.
    std::stop_source walking;
    scan.onReport = [&](const DuplicateScanProgress &) {
        if (scan.reports.size() == 2)
            walking.request_stop();
    };
    EXPECT_TRUE(
        std::holds_alternative<ScanCancelled>(scan.run(dir.path(), 1024, walking.get_token())));
    ASSERT_EQ(scan.reports.size(), 2u);
    EXPECT_EQ(scan.reports[1].filesScanned, 25);
}

TEST(ScanCancel, stopWhileHashingALargeFileEndsWithinAChunk) {
    TempDir dir;
    // Sparse 4 GiB files of one size, one for each of four workers: hashing
    // them takes seconds, reading costs nothing. The stop comes once hashing
    // has begun, and the scan returns only once every worker has ended.
    for (const char *name : {"huge-1.bin", "huge-2.bin", "huge-3.bin", "huge-4.bin"}) {
        const int fd = ::open((dir / name).c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 4LL << 30), 0);
        ::close(fd);
    }
    std::stop_source source;
    std::promise<void> hashingStarted;
    ScanRecorder scan;
    scan.onReport = [&](const DuplicateScanProgress &p) {
        if (p.phase == Phase::hashing && p.filesHashed == 0)
            hashingStarted.set_value();
    };
    std::thread worker([&] {
        scan.runRemembering(dir.path(), nullptr, {4, false}, 1024, source.get_token());
    });
    hashingStarted.get_future().wait();
    const auto stopAt = std::chrono::steady_clock::now();
    source.request_stop();
    worker.join();
    const auto lag = std::chrono::steady_clock::now() - stopAt;
    EXPECT_TRUE(std::holds_alternative<ScanCancelled>(scan.outcome));
    EXPECT_LT(lag, std::chrono::milliseconds(500));
    EXPECT_EQ(scan.reports.back().phase, Phase::hashing);
    EXPECT_EQ(scan.reports.back().filesHashed, 0);
}

// Files that change between the walk and their hashing: one grows, two
// shrink to equal content, as files of /sys read shorter than they claim,
// and both names of a hard link now lead to new files with a's bytes, of an
// inode the walk never saw. None of them may join a group, and none is
// counted as hashed.
TEST(ScanGrouping, aFileChangedBetweenTheWalkAndItsReadIsSkipped) {
    TempDir dir;
    for (const char *name : {"a", "b", "c"})
        writeFile(dir / name, std::string(3000, 'x'));
    writeFile(dir / "d", std::string(4096, 'y'));
    writeFile(dir / "e", std::string(4096, 'z'));
    writeFile(dir / "l", std::string(3000, 'l'));
    ASSERT_EQ(::link((dir / "l").c_str(), (dir / "l-link").c_str()), 0);
    ScanRecorder scan;
    // Read one at a time once the walk is over, so that no file is read yet
    // at the start-of-hashing report.
    scan.onReport = [&](const DuplicateScanProgress &p) {
        if (p.phase != Phase::hashing || p.filesHashed != 0)
            return;
        const int fd = ::open((dir / "b").c_str(), O_WRONLY | O_APPEND);
        EXPECT_EQ(::write(fd, "more", 4), 4);
        ::close(fd);
        writeFile(dir / "d", "1\n");
        writeFile(dir / "e", "1\n");
        for (const char *name : {"l", "l-link"}) {
            EXPECT_EQ(::unlink((dir / name).c_str()), 0);
            writeFile(dir / name, std::string(3000, 'x'));
        }
    };
    scan.runRemembering(dir.path(), nullptr, {0, true}, 1);
    ASSERT_TRUE(scan.succeeded());
    const auto &result = scan.result();
    ASSERT_EQ(result.groups.size(), 1u);
    EXPECT_EQ(namesBelow(result.groups[0].files, dir.path()), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(result.filesHashed, 2);
    EXPECT_EQ(result.skippedFiles, 5);
    EXPECT_EQ(result.scannedFiles.size(), 7u);
    EXPECT_EQ(scan.reports.back().filesHashed, 2);
}

// Mounts of pseudo-filesystems inside the scanned tree are passed over, each
// counted once as skipped; a real filesystem mounted there is walked.
TEST(ScanFolder, pseudoFilesystemsInsideTheTreeAreNeverEntered) {
    TempDir dir;
    ScopedMount disk(dir / "disk");
    if (!disk.error().empty())
        GTEST_SKIP() << "cannot mount a tmpfs: " << disk.error();
    const ScopedMount proc(dir / "disk/proc", "/proc"), sys(dir / "sys", "/sys"),
        dev(dir / "deep/dev", "/dev");
    for (const auto *bind : {&proc, &sys, &dev})
        if (!bind->error().empty())
            GTEST_SKIP() << "cannot bind-mount: " << bind->error();
    writeFile(dir / "disk/one.bin", std::string(2000, 't'));
    writeFile(dir / "disk/two.bin", std::string(2000, 't'));
    writeFile(dir / "deep/three.bin", std::string(2000, 't'));

    ScanRecorder scan;
    scan.run(dir.path(), 1);
    ASSERT_TRUE(scan.succeeded());
    const auto &result = scan.result();
    EXPECT_EQ(namesBelow(result.scannedFiles, dir.path()),
              (std::vector<std::string>{"deep/three.bin", "disk/one.bin", "disk/two.bin"}));
    ASSERT_EQ(result.groups.size(), 1u);
    EXPECT_EQ(result.skippedFiles, 3);

    // A scan that starts inside one is over at once.
    scan.run(dir / "sys/kernel/mm", 1);
    ASSERT_TRUE(scan.succeeded());
    EXPECT_TRUE(scan.result().scannedFiles.empty());
    EXPECT_EQ(scan.result().skippedFiles, 1);
}
