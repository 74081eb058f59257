#include "digestcache.h"
#include "digestmemory.h"
#include "duplicatescanner.h"
#include "hashworkers.h"
#include "pathorder.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// One scan with its reports, and how many files it opened for reading.
struct ScanRun : ScanRecorder {
    std::uint64_t filesRead = 0;
    std::vector<std::vector<std::string>> groupNames(const std::string &root) const {
        return groupNamesBelow(result(), root);
    }
};

ScanRun scanWith(const std::string &folder, DigestMemory *memory) {
    ScanRun run;
    const auto before = HashWorkers::filesOpened();
    run.runRemembering(folder, memory);
    run.filesRead = HashWorkers::filesOpened() - before;
    EXPECT_TRUE(run.succeeded());
    return run;
}

std::int64_t wallClock() {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// A memory whose clock shows what the test sets, so that files written a
// moment ago can count as settled or not.
struct SetClockMemory {
    std::atomic<std::int64_t> now = 0;
    DigestMemory memory{DigestMemory::defaultCapacity, [this] { return now.load(); }};
};

Sha256Digest digestOf(unsigned char c) {
    Sha256Digest d{};
    d.fill(c);
    return d;
}

struct stat statOf(const std::string &path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st;
}

std::int64_t changedAt(const std::string &path) {
    const auto st = statOf(path);
    return static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
}

} // namespace

// A rescan of files that have not changed since well before their digests
// were computed reads nothing and gives the same result and reports. A
// file rewritten in place at the same size, with its modification time set
// back, is read again, because its change time moved.
TEST(ScanRemembered, unchangedFilesAreNotReadAgainButRewrittenOnesAre) {
    TempDir dir;
    writeFile(dir / "a", std::string(4000, 'x'));
    writeFile(dir / "b", std::string(4000, 'x'));
    writeFile(dir / "c", std::string(4000, 'x'));
    writeFile(dir / "d", std::string(4000, 'd'));
    writeFile(dir / "unique", std::string(7000, 'u'));
    SetClockMemory shifted;
    shifted.now = wallClock() + 3'000'000'000;

    const ScanRun first = scanWith(dir.path(), &shifted.memory);
    EXPECT_EQ(first.filesRead, 4u);
    EXPECT_EQ(shifted.memory.size(), 4u);

    const ScanRun again = scanWith(dir.path(), &shifted.memory);
    EXPECT_EQ(again.filesRead, 0u);
    EXPECT_EQ(again.reports, first.reports);
    EXPECT_EQ(again.result().filesHashed, 4);
    EXPECT_EQ(again.groupNames(dir.path()), first.groupNames(dir.path()));
    EXPECT_EQ(again.result().groups.at(0).hash, first.result().groups.at(0).hash);

    // A stop between remembered digests, all at hand at once, ends the
    // reports there.
    std::stop_source stop;
    ScanRun stopped;
    stopped.onReport = [&](const DuplicateScanProgress &p) {
        if (p.filesHashed == 2)
            stop.request_stop();
    };
    stopped.runRemembering(dir.path(), &shifted.memory, {}, 1024, stop.get_token());
    EXPECT_TRUE(std::holds_alternative<ScanCancelled>(stopped.outcome));
    EXPECT_EQ(stopped.reports.back().filesHashed, 2);

    // Let a coarse clock tick, so that the rewrite moves the change time.
    const auto before = statOf(dir / "a");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    writeFile(dir / "a", std::string(4000, 'd'));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "a").c_str(), times, 0), 0);
    const auto after = statOf(dir / "a");
    ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    ASSERT_NE(changedAt(dir / "a"),
              before.st_ctim.tv_nsec + before.st_ctim.tv_sec * 1'000'000'000LL);

    const ScanRun rewritten = scanWith(dir.path(), &shifted.memory);
    EXPECT_EQ(rewritten.filesRead, 1u);
    EXPECT_EQ(rewritten.result().filesHashed, 4);
    // Both groups free 4000 bytes with two files; their order is not defined.
    auto groups = rewritten.groupNames(dir.path());
    std::sort(groups.begin(), groups.end());
    EXPECT_EQ(groups, (std::vector<std::vector<std::string>>{{"a", "d"}, {"b", "c"}}));
    // The memory keeps one entry per file: the new digest replaced the old.
    EXPECT_EQ(shifted.memory.size(), 4u);
}

// Digests of files changed less than two seconds before they were computed
// are not trusted later: the same clock tick may hide a second write.
TEST(ScanRemembered, filesChangedWithinTheSettleTimeAreReadAgain) {
    TempDir dir;
    writeFile(dir / "a", std::string(2000, 'x'));
    writeFile(dir / "b", std::string(2000, 'x'));
    // The two writes may fall in different clock ticks.
    const std::int64_t firstChange = std::min(changedAt(dir / "a"), changedAt(dir / "b"));
    const std::int64_t changed = std::max(changedAt(dir / "a"), changedAt(dir / "b"));
    SetClockMemory shifted;

    // Computed at once, and just under two seconds after the first change:
    // read on every scan.
    for (const std::int64_t at : {wallClock(), firstChange + 1'999'999'999}) {
        shifted.now = at;
        const ScanRun first = scanWith(dir.path(), &shifted.memory);
        const ScanRun again = scanWith(dir.path(), &shifted.memory);
        EXPECT_EQ(first.filesRead, 2u) << at;
        EXPECT_EQ(again.filesRead, 2u) << at;
        EXPECT_EQ(again.result().filesHashed, 2);
        EXPECT_EQ(shifted.memory.size(), 0u);
    }
    shifted.now = changed + 2'000'000'000;
    scanWith(dir.path(), &shifted.memory);
    EXPECT_EQ(shifted.memory.size(), 2u);
    EXPECT_EQ(scanWith(dir.path(), &shifted.memory).filesRead, 0u);

    // Without a memory nothing is remembered, whatever the times.
    const ScanRun plain = scanWith(dir.path(), nullptr);
    EXPECT_EQ(plain.filesRead, 2u);
    EXPECT_EQ(scanWith(dir.path(), nullptr).filesRead, 2u);
}

// The memory is bounded: beyond its capacity the entries remembered longest
// ago go first.
TEST(ScanRemembered, theOldestDigestsAreDroppedBeyondTheCapacity) {
    DigestMemory memory(2, [] { return std::int64_t{10'000'000'000}; });
    const auto key = [](ino_t inode, std::int64_t changed) {
        return DigestMemory::Key{{1, inode, changed, changed}, 100, "/media/usb/a"};
    };
    for (ino_t inode : {11, 12, 13}) {
        DigestMemory::Entries fresh;
        DigestMemory::note(fresh, key(inode, 1), digestOf(static_cast<unsigned char>(inode)),
                           memory.now());
        memory.remember(std::move(fresh));
    }
    EXPECT_EQ(memory.size(), 2u);
    EXPECT_FALSE(memory.find(key(11, 1)));
    EXPECT_EQ(memory.find(key(12, 1)), digestOf(12));
    EXPECT_EQ(memory.find(key(13, 1)), digestOf(13));
}

// Where a filesystem hands its inode numbers out afresh (a FAT stick
// plugged in again), another file may come back with a remembered inode,
// size and times. Its path tells it apart; so does every other part of
// the key.
TEST(ScanRemembered, aDigestIsFoundOnlyForTheSamePathInodeSizeAndTimes) {
    DigestMemory memory(DigestMemory::defaultCapacity, [] { return std::int64_t{10'000'000'000}; });
    const DigestMemory::Key seen{{7, 42, 1000, 2000}, 4096, "/media/usb/DCIM/a.jpg"};
    DigestMemory::Entries fresh;
    DigestMemory::note(fresh, seen, digestOf('a'), memory.now());
    memory.remember(std::move(fresh));
    ASSERT_EQ(memory.find(seen), digestOf('a'));

    auto other = seen;
    other.path = "/media/usb/DCIM/b.jpg";
    EXPECT_FALSE(memory.find(other));
    other.path = "/media/usb/DCIM/a.jp";
    EXPECT_FALSE(memory.find(other));
    for (auto changed : {DigestMemory::Key{{8, 42, 1000, 2000}, 4096, seen.path},
                         DigestMemory::Key{{7, 43, 1000, 2000}, 4096, seen.path},
                         DigestMemory::Key{{7, 42, 1001, 2000}, 4096, seen.path},
                         DigestMemory::Key{{7, 42, 1000, 2001}, 4096, seen.path},
                         DigestMemory::Key{{7, 42, 1000, 2000}, 4097, seen.path}})
        EXPECT_FALSE(memory.find(changed));

    // The new file's digest replaces the old one: one entry per inode.
    fresh.clear();
    const DigestMemory::Key moved{{7, 42, 1000, 2000}, 4096, "/media/usb/DCIM/b.jpg"};
    DigestMemory::note(fresh, moved, digestOf('b'), memory.now());
    memory.remember(std::move(fresh));
    EXPECT_EQ(memory.size(), 1u);
    EXPECT_EQ(memory.find(moved), digestOf('b'));
    EXPECT_FALSE(memory.find(seen));
}

// The same files met at another path, here through a bind mount with the
// very same device, inodes, sizes and times, are read again.
TEST(ScanRemembered, theSameInodesAtAnotherPathAreReadAgain) {
    TempDir dir;
    for (const char *name : {"a", "b", "c"})
        writeFile(dir / (std::string("photos/") + name), std::string(4000, 'x'));
    SetClockMemory shifted;
    shifted.now = wallClock() + 3'000'000'000;
    EXPECT_EQ(scanWith(dir / "photos", &shifted.memory).filesRead, 3u);
    EXPECT_EQ(scanWith(dir / "photos", &shifted.memory).filesRead, 0u);

    ScopedMount alias(dir / "again", dir / "photos");
    if (!alias.error().empty())
        GTEST_SKIP() << "cannot bind-mount: " << alias.error();
    ASSERT_EQ(statOf(dir / "again/a").st_ino, statOf(dir / "photos/a").st_ino);
    const ScanRun run = scanWith(dir / "again", &shifted.memory);
    EXPECT_EQ(run.filesRead, 3u);
    EXPECT_EQ(run.groupNames(dir / "again"),
              (std::vector<std::vector<std::string>>{{"a", "b", "c"}}));
}

// Only filesystems that keep an inode number with its file are served from
// memory; the type is what statfs says.
TEST(ScanRemembered, filesystemsWithoutStableInodeNumbersAreNeverTrusted) {
    for (const std::uint32_t type : {0x4d44u, 0x2011bab0u, 0x7366746eu, 0x5346544eu, 0x65735546u})
        EXPECT_FALSE(DigestMemory::trustsFilesystem(type)) << std::hex << type;
    for (const std::uint32_t type : {0xef53u, 0x01021994u, 0x9123683eu, 0x58465342u, 0x6969u})
        EXPECT_TRUE(DigestMemory::trustsFilesystem(type)) << std::hex << type;
}

// Real mounts of such filesystems, where the kernel and the tools allow:
// their files are read on every scan and never remembered.
TEST(ScanRemembered, filesOnFuseAndFatFilesystemsAreReadOnEveryScan) {
    if (!enterPrivateMountNamespace().empty())
        GTEST_SKIP() << enterPrivateMountNamespace();
    TempDir dir;
    const std::string content(4000, 'f');
    for (const char *name : {"a", "b"})
        writeFile(dir / (std::string("plain/") + name), content);
    const auto quoted = [](const std::string &path) { return "'" + path + "'"; };
    const std::pair<std::string, std::string> kinds[] = {
        {dir / "fuse", "bindfs " + quoted(dir / "plain") + " " + quoted(dir / "fuse")},
        {dir / "fat", "truncate -s 8M " + quoted(dir / "fat.img") + " && mkfs.vfat " +
                          quoted(dir / "fat.img") + " && mount -o loop " + quoted(dir / "fat.img") +
                          " " + quoted(dir / "fat")}};
    std::string unavailable;
    for (const auto &[mountPoint, command] : kinds) {
        makeDirs(mountPoint);
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
            unavailable += "cannot run: " + command + "; ";
            continue;
        }
        struct Unmount {
            std::string path;
            ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
        } unmount{mountPoint};
        for (const char *name : {"a", "b"})
            writeFile(mountPoint + "/" + name, content);
        SetClockMemory shifted;
        shifted.now = wallClock() + 3'000'000'000;
        EXPECT_EQ(scanWith(mountPoint, &shifted.memory).filesRead, 2u) << mountPoint;
        EXPECT_EQ(scanWith(mountPoint, &shifted.memory).filesRead, 2u) << mountPoint;
        EXPECT_EQ(shifted.memory.size(), 0u) << mountPoint;
        // Nor are they kept on disk.
        const DigestCache cache(dir / "cache");
        HashingOptions options;
        options.digestCache = &cache;
        ScanRecorder kept;
        kept.runRemembering(mountPoint, &shifted.memory, options);
        EXPECT_TRUE(kept.succeeded());
        DigestCache::waitForSaves();
        EXPECT_NE(::access(cache.fileOf(mountPoint).c_str(), F_OK), 0) << mountPoint;
    }
    if (unavailable.size() > 0 && unavailable.find("bindfs") != std::string::npos &&
        unavailable.find("vfat") != std::string::npos)
        GTEST_SKIP() << unavailable;
    if (!unavailable.empty())
        std::cout << "not tried: " << unavailable << "\n";
}

// A rescan that meets the very same paths in the same order takes the last
// scan's order by path instead of collating again; a renamed file or another
// collation locale makes it collate anew, and the order is always the one a
// scan without any memory gives.
TEST(ScanRemembered, theOrderByPathIsReusedOnlyForTheSamePathsAndLocale) {
    const char *was = std::getenv("LC_ALL");
    const std::string saved = was ? was : "";
    struct Restore {
        bool had;
        std::string value;
        ~Restore() { had ? ::setenv("LC_ALL", value.c_str(), 1) : ::unsetenv("LC_ALL"); }
    } restore{was != nullptr, saved};
    ::setenv("LC_ALL", "C", 1);

    TempDir dir;
    writeFile(dir / "a10", std::string(4000, 'p'));
    writeFile(dir / "a2", std::string(4000, 'p'));
    writeFile(dir / "b", std::string(3000, 'q'));
    writeFile(dir / "c", std::string(3000, 'r'));
    writeFile(dir / "sub/a1", std::string(4000, 'p'));
    DigestMemory memory;
    const auto rescan = [&](std::uint64_t collated) {
        const auto before = PathOrder::pathsOrdered();
        ScanRun run = scanWith(dir.path(), &memory);
        EXPECT_EQ(PathOrder::pathsOrdered() - before, collated);
        const ScanRun plain = scanWith(dir.path(), nullptr);
        EXPECT_EQ(namesBelow(run.result().scannedFiles, dir.path()),
                  namesBelow(plain.result().scannedFiles, dir.path()));
        EXPECT_EQ(run.groupNames(dir.path()), plain.groupNames(dir.path()));
        return namesBelow(run.result().scannedFiles, dir.path());
    };

    using Names = std::vector<std::string>;
    EXPECT_EQ(rescan(5), (Names{"a2", "a10", "b", "c", "sub/a1"}));
    EXPECT_EQ(rescan(0), (Names{"a2", "a10", "b", "c", "sub/a1"}));

    // Same sizes, same folders, one name different but as long.
    ASSERT_EQ(::rename((dir / "b").c_str(), (dir / "z").c_str()), 0);
    EXPECT_EQ(rescan(5), (Names{"a2", "a10", "c", "sub/a1", "z"}));
    const std::string umlaut = "\u00e4a";
    ASSERT_EQ(::rename((dir / "c").c_str(), (dir / umlaut).c_str()), 0);
    EXPECT_EQ(rescan(5), (Names{"a2", "a10", umlaut, "sub/a1", "z"}));
    EXPECT_EQ(rescan(0), (Names{"a2", "a10", umlaut, "sub/a1", "z"}));

    // In Swedish, ä follows z.
    ::setenv("LC_ALL", "sv_SE.UTF-8", 1);
    EXPECT_EQ(rescan(5), (Names{"a2", "a10", "sub/a1", "z", umlaut}));
    EXPECT_EQ(rescan(0), (Names{"a2", "a10", "sub/a1", "z", umlaut}));
}
