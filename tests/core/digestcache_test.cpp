// Digests kept on disk between runs: a scan in a fresh process, played here
// by a fresh memory and a fresh cache object that load from disk, reads no
// unchanged file again; a damaged or foreign file is never trusted.
#include "digestcache.h"
#include "digestmemory.h"
#include "duplicatescanner.h"
#include "hashworkers.h"
#include "scanrecorder.h"
#include "sha256hasher.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// A memory whose clock is far ahead, so every file written by the test has
// settled, as if the scan ran minutes later.
struct LaterMemory {
    DigestMemory memory{DigestMemory::defaultCapacity, [] { return std::int64_t{1} << 62; }};
};

struct Scanned {
    ScanRecorder scan;
    std::uint64_t opened = 0;
};

// A scan as a fresh process makes it: an empty memory, and a cache object
// of its own on folder.
Scanned freshScan(const std::string &tree, const std::string &folder) {
    LaterMemory fresh;
    const DigestCache cache(folder);
    HashingOptions options;
    options.digestCache = &cache;
    Scanned out;
    const auto before = HashWorkers::filesOpened();
    out.scan.runRemembering(tree, &fresh.memory, options);
    out.opened = HashWorkers::filesOpened() - before;
    EXPECT_TRUE(out.scan.succeeded());
    // The next process starts once this one has ended, its saves done.
    DigestCache::waitForSaves();
    return out;
}

void writeTree(const TempDir &dir) {
    // Small pairs read whole, large pairs whose ends match, and large files
    // told apart by their ends, which keep no digest.
    for (int i = 0; i < 5; ++i) {
        const std::string content(2000 + static_cast<std::size_t>(i), static_cast<char>('a' + i));
        writeFile(dir / ("tree/small" + std::to_string(i) + "-1"), content);
        writeFile(dir / ("tree/small" + std::to_string(i) + "-2"), content);
    }
    std::string big(300'000, 'B');
    writeFile(dir / "tree/big-1", big);
    writeFile(dir / "tree/big-2", big);
    big.front() = 'x';
    writeFile(dir / "tree/big-other", big);
}

// count entries of inodes 0 to count - 1 on one device, all of one state.
DigestMemory::Entries entriesOf(std::size_t count, unsigned char fill) {
    DigestMemory::Entries entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries[i].device = 1;
        entries[i].inode = i;
        entries[i].state.fill(fill);
        entries[i].digest.fill(static_cast<unsigned char>(fill + i));
    }
    return entries;
}

} // namespace

TEST(DigestCache, aFreshScanReusesDigestsOfUnchangedFilesAndRereadsAFileChangedInPlace) {
    TempDir dir;
    writeTree(dir);
    const std::string cacheFolder = dir / "cache/Ambrivo/Twinsift/digests";
    const Scanned first = freshScan(dir / "tree", cacheFolder);
    // 10 small files, 3 large ones checked, 2 of them read whole.
    EXPECT_EQ(first.opened, 15u);
    EXPECT_EQ(first.scan.result().groups.size(), 6u);
    struct stat st;
    ASSERT_EQ(::stat(DigestCache(cacheFolder).fileOf(dir / "tree").c_str(), &st), 0);
    EXPECT_EQ((st.st_mode & 0777) & 0077, 0u);

    // Nothing read at all: the large file without a digest is told apart
    // by its remembered ends, as the first scan told it apart by its read
    // ones, and the others' digests are remembered.
    const std::string kept = DigestCache(cacheFolder).fileOf(dir / "tree");
    const std::string keptBytes = readFile(kept);
    const Scanned again = freshScan(dir / "tree", cacheFolder);
    EXPECT_EQ(again.opened, 0u);
    // Nothing new to keep: the file is left as it was, not written again.
    struct stat keptAfter;
    ASSERT_EQ(::stat(kept.c_str(), &keptAfter), 0);
    EXPECT_EQ(keptAfter.st_ino, st.st_ino);
    EXPECT_EQ(readFile(kept), keptBytes);
    EXPECT_EQ(again.scan.reports, first.scan.reports);
    EXPECT_EQ(again.scan.result().groups, first.scan.result().groups);
    EXPECT_EQ(again.scan.result().filesHashed, first.scan.result().filesHashed);
    // The disk's digests load while the walk goes on: whichever ends first,
    // no file they hold is read.
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(freshScan(dir / "tree", cacheFolder).opened, 0u);

    // small0-2 rewritten in place, same size, same inode: read again, and it
    // leaves its set.
    const auto rewrite = [&](const char *name, char byte, off_t at) {
        const int fd = ::open((dir / name).c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, &byte, 1, at), 1);
        ::close(fd);
    };
    rewrite("tree/small0-2", 'z', 7);
    const Scanned changed = freshScan(dir / "tree", cacheFolder);
    EXPECT_EQ(changed.opened, 1u);
    EXPECT_EQ(changed.scan.result().groups.size(), 5u);
    // Its new digest is kept: the file is replaced.
    EXPECT_NE(readFile(kept), keptBytes);

    // big-other rewritten to equal the other two: its remembered ends are
    // not its ends any more. It is checked, then read whole, and joins
    // their set, whose digests are remembered.
    rewrite("tree/big-other", 'B', 0);
    const Scanned joined = freshScan(dir / "tree", cacheFolder);
    EXPECT_EQ(joined.opened, 2u);
    ASSERT_EQ(joined.scan.result().groups.size(), 5u);
    EXPECT_EQ(joined.scan.result().groups.front().files.size(), 3u);

    // Deleting the cache changes nothing but what is read.
    removeTree(dir / "cache");
    const Scanned forgotten = freshScan(dir / "tree", cacheFolder);
    EXPECT_EQ(forgotten.opened, 10u + 3 + 3);
    EXPECT_EQ(forgotten.scan.result().groups, joined.scan.result().groups);
    EXPECT_EQ(forgotten.scan.reports, joined.scan.reports);
}

TEST(DigestCache, aDamagedOrForeignFileIsIgnoredAndReplaced) {
    TempDir dir;
    writeTree(dir);
    writeFile(dir / "other/x-1", std::string(5000, 'o'));
    writeFile(dir / "other/x-2", std::string(5000, 'o'));
    const std::string cacheFolder = dir / "cache";
    const DigestCache cache(cacheFolder);
    const std::string file = cache.fileOf(dir / "tree");
    const Scanned first = freshScan(dir / "tree", cacheFolder);
    const std::string good = readFile(file);
    ASSERT_GT(good.size(), 100u);

    const auto damaged = [&](std::string bytes) {
        writeFile(file, bytes);
        EXPECT_TRUE(cache.load(dir / "tree").entries.empty());
        const Scanned scan = freshScan(dir / "tree", cacheFolder);
        EXPECT_EQ(scan.opened, first.opened);
        EXPECT_EQ(scan.scan.result().groups, first.scan.result().groups);
        // Replaced by a good one.
        EXPECT_EQ(cache.load(dir / "tree").entries.size(), 12u);
    };
    // One bit of a digest flipped; cut short; grown; another version; empty.
    std::string bytes = good;
    bytes[good.size() / 2] = static_cast<char>(bytes[good.size() / 2] ^ 1);
    damaged(bytes);
    damaged(good.substr(0, good.size() - 1));
    damaged(good + "x");
    bytes = good;
    bytes[8] = static_cast<char>(bytes[8] + 1);
    damaged(bytes);
    damaged("");
    // Another folder's file under this folder's name: foreign.
    freshScan(dir / "other", cacheFolder);
    damaged(readFile(cache.fileOf(dir / "other")));
}

TEST(DigestCache, theFoldersScannedLongestAgoAreDroppedBeyondTheBudget) {
    TempDir dir;
    const auto entries = entriesOf(100, 1);
    // Room for two files of 100 entries, not three.
    const DigestCache cache(dir / "cache", 2 * (100 * sizeof(DigestMemory::Entry) + 144) + 50);
    for (const char *root : {"/a", "/b", "/c"}) {
        ASSERT_TRUE(cache.save(root, {entries, {}, {}, {}}));
        // Older first: a, then b, then c.
        const timespec when[2] = {{0, UTIME_OMIT}, {1'000'000'000 + root[1], 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, cache.fileOf(root).c_str(), when, 0), 0);
    }
    EXPECT_TRUE(cache.load("/a").entries.empty());
    ASSERT_EQ(cache.load("/b").entries.size(), 100u);
    EXPECT_EQ(cache.load("/c").entries.size(), 100u);
    const auto loaded = cache.load("/b").entries;
    EXPECT_EQ(loaded[42].inode, 42u);
    EXPECT_EQ(loaded[42].digest, entries[42].digest);
    EXPECT_EQ(loaded[42].state, entries[42].state);
}

// The same digests saved again leave the file as it was: not replaced, and
// no temporary file left beside it. Different ones replace it whole.
TEST(DigestCache, savingTheSameDigestsAgainLeavesTheFileAlone) {
    TempDir dir;
    // 6552 entries put the closing digest across a boundary of the blocks
    // the file is read in.
    auto entries = entriesOf(6552, 1);
    const DigestCache cache(dir / "cache");
    const std::string file = cache.fileOf("/r");
    const auto filesIn = [](const std::string &folder) {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder))
            ++count;
        return count;
    };
    const auto inodeOf = [](const std::string &path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    ASSERT_TRUE(cache.save("/r", {entries, {}, {}, {}}));
    const auto first = inodeOf(file);
    const std::string bytes = readFile(file);
    ASSERT_TRUE(cache.save("/r", {entries, {}, {}, {}}));
    EXPECT_EQ(inodeOf(file), first);
    EXPECT_EQ(readFile(file), bytes);
    EXPECT_EQ(filesIn(dir / "cache"), 1u);

    entries[6551].digest.fill(7);
    ASSERT_TRUE(cache.save("/r", {entries, {}, {}, {}}));
    EXPECT_NE(inodeOf(file), first);
    EXPECT_EQ(cache.load("/r").entries.at(6551).digest, entries[6551].digest);
    EXPECT_EQ(filesIn(dir / "cache"), 1u);
}

// Saves handed to the writer thread are done in the order given, the ends'
// digests kept apart from the whole files' ones, and waited for on demand.
TEST(DigestCache, savesHandedOverAreWrittenInOrderWithTheEndsApart) {
    TempDir dir;
    const DigestCache cache(dir / "cache");
    for (std::size_t round = 1; round <= 20; ++round)
        cache.saveLater("/r", {entriesOf(round, 1), entriesOf(2 * round, 2), {}, {}});
    DigestCache::waitForSaves();
    const auto kept = cache.load("/r");
    ASSERT_EQ(kept.entries.size(), 20u);
    ASSERT_EQ(kept.ends.size(), 40u);
    EXPECT_EQ(kept.entries[7].state, entriesOf(1, 1)[0].state);
    EXPECT_EQ(kept.ends[7].digest, entriesOf(8, 2)[7].digest);
}
