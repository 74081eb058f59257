// Same-size files are first told apart by their first and last bytes; only
// files that share them are read whole. What callers observe stays as it
// was: the same sets, the same counts and the same reports.
#include "digestmemory.h"
#include "duplicatescanner.h"
#include "hashworkers.h"
#include "scanrecorder.h"
#include "sha256hasher.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

// From duplicatescanner_test.cpp: the report sequence every scan follows.
void expectReportCadence(const ScanRecorder &scan);

namespace {

using Phase = DuplicateScanPhase;

// Content of size bytes from seed, with the byte at offset set to mark.
std::string patterned(std::size_t size, std::uint32_t seed, std::size_t offset = 0, char mark = 0) {
    std::string bytes(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto &c : bytes) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    if (mark)
        bytes[offset] = mark;
    return bytes;
}

// A pair of files of one size: equal but for the byte at offset, or equal
// when offset is npos.
void writePair(const TempDir &dir, const std::string &name, std::size_t size, std::size_t offset) {
    std::string bytes = patterned(size, static_cast<std::uint32_t>(std::hash<std::string>()(name)));
    writeFile(dir / (name + "-1"), bytes);
    if (offset != std::string::npos)
        bytes[offset] = static_cast<char>(bytes[offset] ^ 0x5a);
    writeFile(dir / (name + "-2"), bytes);
}

struct Counted {
    std::uint64_t opened = 0;
    std::uint64_t readWhole = 0;
};

Counted countReads(const std::function<void()> &scan) {
    const auto opened = HashWorkers::filesOpened();
    const auto whole = HashWorkers::filesReadWhole();
    scan();
    return {HashWorkers::filesOpened() - opened, HashWorkers::filesReadWhole() - whole};
}

// Restores the checks at the end of a test that turned them off.
struct ChecksOff {
    ChecksOff() { HashWorkers::setChecksEdges(false); }
    ~ChecksOff() { HashWorkers::setChecksEdges(true); }
};

} // namespace

TEST(EdgeCheck, filesDifferingOnlyInTheFirstOrLastByteAreNeverReadWhole) {
    const HashingOptions ways[] = {{}, {1, false}, {0, true}};
    for (const auto &way : ways) {
        TempDir dir;
        constexpr std::size_t size = 3 * 1048576 + 11;
        writePair(dir, "first", size, 0);
        writePair(dir, "last", size + 1, size);
        writePair(dir, "middle", size + 2, size / 2);
        writePair(dir, "equal", size + 3, std::string::npos);
        ScanRecorder scan;
        const auto counted = countReads([&] { scan.runRemembering(dir.path(), nullptr, way); });
        expectReportCadence(scan);
        const auto &r = scan.result();
        EXPECT_EQ(r.filesHashed, 8);
        EXPECT_EQ(scan.reports.back().candidateFiles, 8);
        EXPECT_EQ(r.skippedFiles, 0);
        // Only the pairs that share their ends are read whole; every file is
        // opened once for its check and once more if it is read whole.
        EXPECT_EQ(counted.readWhole, 4u);
        EXPECT_EQ(counted.opened, 12u);
        ASSERT_EQ(r.groups.size(), 1u);
        EXPECT_EQ(namesBelow(r.groups[0].files, dir.path()),
                  (std::vector<std::string>{"equal-1", "equal-2"}));
        EXPECT_EQ(r.groups[0].hash, Sha256Hasher().hashFile(dir / "equal-1").digest);
        EXPECT_EQ(r.scannedFiles.size(), 8u);
    }
}

// A small file is read once, whole, never checked first; one byte more and
// it is checked.
TEST(EdgeCheck, smallFilesAreReadOnce) {
    TempDir dir;
    const auto edges = static_cast<std::size_t>(HashWorkers::readWholeUpTo);
    writePair(dir, "small", edges, 0);
    writePair(dir, "equal", edges, std::string::npos);
    writePair(dir, "bigger", edges + 1, 0);
    ScanRecorder scan;
    const auto counted = countReads([&] { scan.runRemembering(dir.path(), nullptr); });
    expectReportCadence(scan);
    EXPECT_EQ(scan.result().filesHashed, 6);
    EXPECT_EQ(counted.opened, 6u);
    EXPECT_EQ(counted.readWhole, 4u);
    ASSERT_EQ(scan.result().groups.size(), 1u);
    EXPECT_EQ(namesBelow(scan.result().groups[0].files, dir.path()),
              (std::vector<std::string>{"equal-1", "equal-2"}));
}

TEST(EdgeCheck, threeEqualFilesAndTwoOthersOfTheirSize) {
    TempDir dir;
    constexpr std::size_t size = 200'000;
    const std::string bytes = patterned(size, 7);
    for (const char *name : {"a1", "a2", "a3"})
        writeFile(dir / name, bytes);
    std::string other = bytes;
    other.front() = static_cast<char>(other.front() ^ 1);
    writeFile(dir / "d-first", other);
    other = bytes;
    other.back() = static_cast<char>(other.back() ^ 1);
    writeFile(dir / "d-last", other);
    ScanRecorder scan;
    const auto counted = countReads([&] { scan.runRemembering(dir.path(), nullptr); });
    expectReportCadence(scan);
    const auto &r = scan.result();
    EXPECT_EQ(r.filesHashed, 5);
    EXPECT_EQ(counted.readWhole, 3u);
    ASSERT_EQ(r.groups.size(), 1u);
    EXPECT_EQ(namesBelow(r.groups[0].files, dir.path()),
              (std::vector<std::string>{"a1", "a2", "a3"}));
}

// Hard links of one inode form a set of their own: their check is not
// enough, however unlike the other files of their size they are.
TEST(EdgeCheck, hardLinksAreReadWholeEvenWhenTheirEndsAreTheirOwn) {
    TempDir dir;
    constexpr std::size_t size = 100'000;
    writeFile(dir / "linked", patterned(size, 1));
    ASSERT_EQ(::link((dir / "linked").c_str(), (dir / "linked-too").c_str()), 0);
    writeFile(dir / "other", patterned(size, 2));
    ScanRecorder scan;
    const auto counted = countReads([&] { scan.runRemembering(dir.path(), nullptr); });
    expectReportCadence(scan);
    EXPECT_EQ(scan.result().filesHashed, 3);
    EXPECT_EQ(counted.readWhole, 1u);
    ASSERT_EQ(scan.result().groups.size(), 1u);
    EXPECT_EQ(namesBelow(scan.result().groups[0].files, dir.path()),
              (std::vector<std::string>{"linked", "linked-too"}));
}

// x is told apart by its first byte and reported first. While it is, b is
// rewritten in place and c replaced by a new file with a's bytes: neither is
// the file its check saw any more, so both are skipped, and a, alone, forms
// no set.
TEST(EdgeCheck, aFileChangedBetweenItsCheckAndItsReadIsSkipped) {
    TempDir dir;
    constexpr std::size_t size = 50'000;
    const std::string bytes = patterned(size, 3);
    for (const char *name : {"a", "b", "c"})
        writeFile(dir / name, bytes);
    std::string other = bytes;
    other.front() = static_cast<char>(other.front() ^ 1);
    writeFile(dir / "x", other);
    ScanRecorder scan;
    scan.onReport = [&](const DuplicateScanProgress &p) {
        if (p.phase != Phase::hashing || p.filesHashed != 1)
            return;
        const int fd = ::open((dir / "b").c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::pwrite(fd, "!", 1, size / 2), 1);
        // A clock as coarse as some filesystems' could leave the times
        // where they were; an old modification time is surely different.
        const timespec old[2] = {{0, UTIME_OMIT}, {1'000'000'000, 0}};
        EXPECT_EQ(::futimens(fd, old), 0);
        ::close(fd);
        EXPECT_EQ(::unlink((dir / "c").c_str()), 0);
        writeFile(dir / "c", bytes);
    };
    // One file at a time, in walk order, after the walk: every check is
    // back before the first file is read whole.
    scan.runRemembering(dir.path(), nullptr, {0, true});
    ASSERT_TRUE(scan.succeeded());
    const auto &r = scan.result();
    EXPECT_TRUE(r.groups.empty());
    EXPECT_EQ(r.filesHashed, 2);
    EXPECT_EQ(r.skippedFiles, 2);
    EXPECT_EQ(scan.reports.back().filesHashed, 2);
}

TEST(EdgeCheck, aStopDuringTheChecksEndsTheScan) {
    TempDir dir;
    for (std::size_t i = 0; i < 40; ++i)
        writePair(dir, "p" + std::to_string(i), 40'000 + i, 0);
    for (const HashingOptions way : {HashingOptions{}, HashingOptions{0, true}}) {
        std::stop_source stop;
        ScanRecorder scan;
        scan.onReport = [&](const DuplicateScanProgress &p) {
            if (p.phase == Phase::hashing && p.filesHashed == 1)
                stop.request_stop();
        };
        scan.runRemembering(dir.path(), nullptr, way, 1024, stop.get_token());
        EXPECT_TRUE(std::holds_alternative<ScanCancelled>(scan.outcome));
        EXPECT_EQ(scan.reports.back().filesHashed, 1);
    }
}

// Trees full of awkward cases give the very same reports, sets and counts
// with the checks as without them, with any number of workers, with and
// without remembered digests.
TEST(EdgeCheck, reportsAndSetsAreThoseOfAScanWithoutChecks) {
    TempDir dir;
    const auto edge = static_cast<std::size_t>(HashWorkers::edgeBytes);
    const auto whole = static_cast<std::size_t>(HashWorkers::readWholeUpTo);
    const std::size_t sizes[] = {
        0,     1,         edge - 1,  edge,    edge + 1,    2 * edge,       2 * edge + 1,
        whole, whole + 1, 3 * whole, 1048576, 1048576 + 1, 2 * 1048576 + 5};
    std::uint32_t seed = 1;
    for (const auto size : sizes) {
        const std::string folder = "s" + std::to_string(size) + "/";
        const std::string base = patterned(size, seed++);
        // Three equal, one different at each end and in the middle, one
        // alike at both ends but not inside, and one of its own.
        for (const char *name : {"eq1", "eq2", "eq3"})
            writeFile(dir / (folder + name), base);
        if (size > 0) {
            for (const std::size_t at : {std::size_t{0}, size - 1, size / 2}) {
                std::string other = base;
                other[at] = static_cast<char>(other[at] ^ 0x21);
                writeFile(dir / (folder + "at" + std::to_string(at)), other);
            }
            writeFile(dir / (folder + "own"), patterned(size, seed++));
        }
        if (size > 2) {
            std::string inside = base;
            inside[size / 2] = static_cast<char>(inside[size / 2] ^ 0x42);
            writeFile(dir / (folder + "inside-1"), inside);
            writeFile(dir / (folder + "inside-2"), inside);
        }
        // A hard link of one of them, and of a file alone in its ends.
        ASSERT_EQ(::link((dir / (folder + "eq1")).c_str(), (dir / (folder + "eq1-link")).c_str()),
                  0);
        if (size > 0) {
            ASSERT_EQ(
                ::link((dir / (folder + "own")).c_str(), (dir / (folder + "own-link")).c_str()), 0);
        }
    }
    // A size of one file alone but for its links.
    writeFile(dir / "alone/x", patterned(30'000, 99));
    ASSERT_EQ(::link((dir / "alone/x").c_str(), (dir / "alone/y").c_str()), 0);
    ASSERT_EQ(::link((dir / "alone/x").c_str(), (dir / "alone/z").c_str()), 0);

    const auto scanAll = [&](const HashingOptions &way, DigestMemory *memory) {
        ScanRecorder scan;
        scan.runRemembering(dir.path(), memory, way, 0);
        expectReportCadence(scan);
        return scan;
    };
    const auto same = [&](const ScanRecorder &with, const ScanRecorder &without) {
        EXPECT_EQ(with.reports, without.reports);
        const auto &a = with.result();
        const auto &b = without.result();
        EXPECT_EQ(a.filesHashed, b.filesHashed);
        EXPECT_EQ(a.skippedFiles, b.skippedFiles);
        EXPECT_EQ(a.groups, b.groups);
        EXPECT_EQ(a.scannedFiles, b.scannedFiles);
    };
    const HashingOptions ways[] = {{}, {1, false}, {3, false}, {0, true}};
    const std::string changed = dir / ("s" + std::to_string(3 * whole) + "/eq2");
    const std::string original = readFile(changed);
    for (const auto &way : ways) {
        const auto withoutChecks = [&] {
            ChecksOff off;
            return scanAll(way, nullptr);
        };
        same(scanAll(way, nullptr), withoutChecks());
        // A memory that holds the digests of the files read whole, but of
        // none ruled out by their ends: sizes with some remembered digest
        // are read whole. One file changed since is read again.
        DigestMemory memory(DigestMemory::defaultCapacity, [] { return std::int64_t{1} << 62; });
        scanAll(way, &memory);
        writeFile(changed, patterned(3 * whole, 5000));
        same(scanAll(way, &memory), withoutChecks());
        writeFile(changed, original);
    }
}
