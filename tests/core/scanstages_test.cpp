// The stages of the scan on their own, fed synthetic walks: no disk unless
// the stage reads files.
#include "digestgroups.h"
#include "edgeverdicts.h"
#include "filedigest.h"
#include "hashplan.h"
#include "platform/filereader.h"
#include "platform/folderwalker.h"
#include "sha256hasher.h"
#include "sizecandidates.h"
#include "tempdir.h"
#include "walkedfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <random>
#include <set>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// A walk of files in folder "/t", each given by size and identity.
struct Walk {
    WalkedFiles files;
    std::vector<bool> linked;

    Walk() { files.enterFolder("/t"); }
    std::uint32_t add(std::uint64_t size, FileIdentity id = {}, bool isLinked = false) {
        const auto index = static_cast<std::uint32_t>(files.size());
        if (id.inode == 0)
            id.inode = 1000 + index;
        files.add("f" + std::to_string(index), size, id);
        linked.push_back(isLinked);
        return index;
    }
};

std::vector<std::uint32_t> indicesOf(const std::vector<Candidate> &candidates) {
    std::vector<std::uint32_t> out;
    for (const auto &c : candidates)
        out.push_back(c.index);
    return out;
}

Sha256Digest digestOf(std::uint8_t first, std::uint8_t last = 0) {
    Sha256Digest d{};
    d[0] = first;
    d[31] = last;
    return d;
}

} // namespace

// Sizes noted during the walk name the first file of a size at its second,
// and none after; the candidates they mark are those a sort after the walk
// finds, also when the table ran out of room and the sort has to decide.
TEST(SizeCandidates, theWalkAndTheSortAfterItFindTheSameCandidates) {
    Walk walk;
    for (const std::uint64_t size : {10, 20, 10, 30, 10, 20, 40})
        walk.add(size);
    SizesSeen seen(walk.files);
    std::vector<std::uint32_t> answers;
    for (std::uint32_t i = 0; i < walk.files.size(); ++i)
        answers.push_back(seen.note(i));
    EXPECT_EQ(answers,
              (std::vector<std::uint32_t>{SizesSeen::fresh, SizesSeen::fresh, 0, SizesSeen::fresh,
                                          SizesSeen::again, 1, SizesSeen::fresh}));
    ASSERT_TRUE(seen.complete());
    const auto expected = std::vector<std::uint32_t>{0, 1, 2, 4, 5};
    EXPECT_EQ(indicesOf(candidatesAmong(walk.files, seen.shared())), expected);
    EXPECT_EQ(indicesOf(candidatesAmong(walk.files, sharedSizes(walk.files))), expected);

    // Many distinct sizes, a few met again.
    Walk many;
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i)
        many.add(random() % 50000);
    SizesSeen all(many.files);
    for (std::uint32_t i = 0; i < many.files.size(); ++i)
        all.note(i);
    ASSERT_TRUE(all.complete());
    EXPECT_EQ(indicesOf(candidatesAmong(many.files, all.shared())),
              indicesOf(candidatesAmong(many.files, sharedSizes(many.files))));
}

TEST(SizeCandidates, aFullTableRefusesNewKeysButStillFindsOldOnes) {
    Walk walk;
    for (std::uint64_t size = 1; size <= 40; ++size)
        walk.add(size);
    const auto bySize = [&](std::uint32_t i) { return walk.files.fileSize(i); };
    const auto same = [&](std::uint32_t a, std::uint32_t b) { return bySize(a) == bySize(b); };
    IndexTable table(bySize, same, 0, 32);
    for (std::uint32_t i = 0; i < 40; ++i)
        EXPECT_EQ(table.findOrAdd(i), noIndex);
    EXPECT_TRUE(table.refusedAny());
    EXPECT_EQ(table.size(), 16u); // never more than half full
    const auto again = walk.add(3);
    EXPECT_EQ(table.findOrAdd(again), 2u);
}

// Hard links of one inode in one state are read once, for all their names;
// a name whose times differ is the inode written in between, read on its
// own. Remembered digests and files handled during the walk are not read.
TEST(HashPlan, linksRememberedAndHandledFilesAreNotRead) {
    Walk walk;
    const FileIdentity shared{1, 77, 5, 6};
    const auto a = walk.add(100, shared, true);
    const auto b = walk.add(100, shared, true);
    const auto c = walk.add(100, {1, 77, 9, 9}, true); // the same inode, later
    const auto d = walk.add(100);
    const auto e = walk.add(100);
    const auto f = walk.add(100);
    const auto candidates = candidatesAmong(walk.files, sharedSizes(walk.files));
    std::vector<bool> handled(walk.files.size());
    handled[f] = true;
    HashPlan plan;
    planReads(
        candidates, walk.files, handled, walk.linked,
        [&](std::uint32_t index) { return index == d ? std::optional(digestOf(4)) : std::nullopt; },
        plan);
    EXPECT_EQ(plan.links, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{a, b}}));
    EXPECT_TRUE(plan.leads[a]);
    EXPECT_FALSE(plan.leads[c]);
    ASSERT_EQ(plan.remembered.size(), 1u);
    EXPECT_EQ(plan.remembered[0].first, d);
    EXPECT_EQ(plan.toRead, (std::vector<std::uint32_t>{a, c, e}));
}

// Only sizes with two or more files to check are checked; a size with a
// remembered digest is checked but read whole after; files checked during
// the walk join their size, and count as pending until their check is back.
TEST(HashPlan, checksGatherBySizeAndLargeUncheckedFilesGoFirst) {
    Walk walk;
    const std::uint64_t big = 1 << 20;
    const auto early = walk.add(50000);
    const auto late = walk.add(50000);
    const auto lone = walk.add(60000);
    const auto small1 = walk.add(1000);
    const auto small2 = walk.add(1000);
    const auto bigFile = walk.add(3 * big);
    const auto withMemory = walk.add(70000);
    const auto remembered = walk.add(70000);
    const auto other = walk.add(70000);
    const auto huge = walk.add(5 * big);
    const auto candidates = candidatesAmong(walk.files, std::vector<bool>(walk.files.size(), 1));
    std::vector<bool> checkedEarly(walk.files.size());
    checkedEarly[early] = true;
    std::vector<bool> handled = checkedEarly;
    HashPlan plan;
    planReads(
        candidates, walk.files, handled, walk.linked,
        [&](std::uint32_t index) {
            return index == remembered ? std::optional(digestOf(1)) : std::nullopt;
        },
        plan);
    const CheckRules rules{[](std::uint64_t size) { return size > 32768; }, &checkedEarly,
                           [&](std::uint32_t index) { return index == early; }};
    gatherChecks(candidates, walk.files, rules, plan);

    std::map<std::uint64_t, std::vector<std::uint32_t>> bySize;
    for (const auto &set : plan.sets)
        bySize[walk.files.fileSize(set.members.front())] = set.members;
    EXPECT_EQ(bySize,
              (std::map<std::uint64_t, std::vector<std::uint32_t>>{{50000, {early, late}}}));
    EXPECT_EQ(plan.sets[0].pending, 1u); // early's check is back
    EXPECT_FALSE(plan.setOf.contains(lone));
    EXPECT_FALSE(plan.setOf.contains(withMemory)) << "its size has a remembered digest";

    const auto order = parallelOrder(plan.toRead, walk.files, plan, big);
    EXPECT_EQ(order, (std::vector<std::uint32_t>{huge, bigFile, late, lone, small1, small2,
                                                 withMemory, other}));
}

// A file whose ends no other file of its size shares is ruled out; the
// others are read whole, and so is every file when some digest of the size
// is remembered or the file is read for its other names too.
TEST(EdgeVerdicts, onlyFilesWithEndsOfTheirOwnAreRuledOut) {
    std::vector<HashWorkers::Done> done(6);
    const Sha256Digest ends[] = {digestOf(1), digestOf(2), digestOf(1),
                                 digestOf(3), digestOf(1), digestOf(4)};
    for (std::uint32_t i = 0; i < done.size(); ++i) {
        done[i].id = 10 + i;
        done[i].check = true;
        done[i].status = HashStatus::digested;
        done[i].digest = ends[i];
    }
    done[5].status = HashStatus::readFailed;
    std::vector<const HashWorkers::Done *> checks;
    for (const auto &d : done)
        checks.push_back(&d);
    std::vector<bool> leads(20), known(20);

    const auto ids = [](const EdgeVerdicts &v) {
        std::set<std::uint32_t> out;
        for (const auto *d : v.readWhole)
            out.insert(d->id);
        return out;
    };
    const auto plain = judgeEdges(checks, false, leads, known);
    EXPECT_EQ(plain.failed, (std::vector<std::uint32_t>{15}));
    EXPECT_EQ(plain.ruledOut, 2u);
    EXPECT_EQ(ids(plain), (std::set<std::uint32_t>{10, 12, 14}));

    leads[13] = true;
    const auto led = judgeEdges(checks, false, leads, known);
    EXPECT_EQ(led.ruledOut, 1u);
    EXPECT_EQ(ids(led), (std::set<std::uint32_t>{10, 12, 13, 14}));

    const auto remembered = judgeEdges(checks, true, leads, known);
    EXPECT_EQ(remembered.ruledOut, 0u);
    EXPECT_EQ(remembered.readWhole.size(), 5u);

    // Files whose whole digest is known lend their ends to the others'
    // verdict, and are neither ruled out nor read.
    std::vector<bool> noLeads(20);
    known[10] = known[11] = true;
    const auto withKnown = judgeEdges(checks, false, noLeads, known);
    EXPECT_EQ(withKnown.ruledOut, 1u); // 13; 11 is known
    EXPECT_EQ(ids(withKnown), (std::set<std::uint32_t>{12, 14}));
}

// Files group by size and digest together: the same digest at another size,
// or digests that share their first eight bytes, are other groups. Groups
// come in (size, digest) order, their files in walk order; a brute-force
// map agrees on thousands of files.
TEST(DigestGroups, groupsAreExactlyTheSharedSizeAndDigestPairs) {
    Walk walk;
    for (int i = 0; i < 8; ++i)
        walk.add(i < 4 ? 100 : 200, {1, i < 2 ? 5u : 10u + i, 0, 0});
    Sha256Digest prefixTwin = digestOf(1);
    prefixTwin[20] = 9; // the same first eight bytes as digestOf(1)
    const std::vector<Hashed> hashed = {
        {digestOf(1), 100, 3}, {prefixTwin, 100, 2}, {digestOf(1), 100, 0}, {digestOf(1), 100, 1},
        {digestOf(1), 200, 4}, {prefixTwin, 200, 6}, {prefixTwin, 200, 5},  {digestOf(7), 200, 7}};
    const auto groups = groupByDigest(hashed, walk.files);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].indices, (std::vector<std::uint32_t>{0, 1, 3}));
    EXPECT_EQ(groups[0].digest, digestOf(1));
    EXPECT_EQ(groups[0].sharedInodeFiles, 1u); // 0 and 1 are one inode
    EXPECT_EQ(groups[1].indices, (std::vector<std::uint32_t>{5, 6}));
    EXPECT_EQ(groups[1].sharedInodeFiles, 0u);

    Walk many;
    std::vector<Hashed> random;
    std::mt19937 draw(11);
    for (std::uint32_t i = 0; i < 5000; ++i) {
        many.add(1 + draw() % 7);
        random.push_back({digestOf(static_cast<std::uint8_t>(draw() % 40),
                                   static_cast<std::uint8_t>(draw() % 3)),
                          many.files.fileSize(i), i});
    }
    std::map<std::pair<std::uint64_t, Sha256Digest>, std::vector<std::uint32_t>> expected;
    for (const auto &h : random)
        expected[{h.size, h.digest}].push_back(h.index);
    std::erase_if(expected, [](const auto &e) { return e.second.size() < 2; });
    const auto found = groupByDigest(random, many.files);
    ASSERT_EQ(found.size(), expected.size());
    auto at = expected.begin();
    for (const auto &group : found) {
        EXPECT_EQ(group.digest, at->first.second);
        EXPECT_EQ(group.indices, at->second);
        ++at;
    }
}

// Reading a file: its digest when it still holds the walked bytes; its
// change as a value when it grew, shrank or broke; a stop ends it unposted.
TEST(FileDigest, aFileIsDigestedOnlyAsTheWalkSawIt) {
    TempDir dir;
    const std::uint64_t chunk = 64 * 1024;
    writePattern(dir / "f", 3 * chunk + 17, 3);
    writePattern(dir / "breaks", 3 * chunk, 4);
    ReadBuffer buffer(chunk);
    Sha256Hasher hasher;
    std::atomic<bool> stop = false;
    const auto whole = [&](const std::string &name, std::uint64_t size) {
        FileReader reader;
        EXPECT_TRUE(reader.open(dir / name));
        return digestWhole(reader, size, buffer.get(), chunk, hasher, true, stop);
    };
    const auto good = whole("f", 3 * chunk + 17);
    ASSERT_EQ(good.status, HashStatus::digested);
    EXPECT_EQ(Sha256Hasher::hex(good.digest), Sha256Hasher().hashFile(dir / "f").digest);
    EXPECT_EQ(whole("f", 3 * chunk + 16).status, HashStatus::sizeChanged);
    EXPECT_EQ(whole("f", 3 * chunk + 18).status, HashStatus::sizeChanged);
    FileReader::failReadsOf("breaks", chunk + 5, EIO);
    EXPECT_EQ(whole("breaks", 3 * chunk).status, HashStatus::readFailed);
    FileReader::failReadsOf("", 0, 0);
    stop = true;
    EXPECT_EQ(whole("f", 3 * chunk + 17).status, HashStatus::stopped);

    // The ends: 4 KiB at each, and only of a file still of its size.
    const auto edges = [&](std::uint64_t size) {
        FileReader reader;
        EXPECT_TRUE(reader.openAt(AT_FDCWD, (dir / "f").c_str(), true));
        return digestEdges(reader, size, 4096, buffer.get(), hasher, false);
    };
    const auto ends = edges(3 * chunk + 17);
    ASSERT_EQ(ends.status, HashStatus::digested);
    const std::string bytes = readFile(dir / "f");
    Sha256Digest expected;
    ASSERT_TRUE(hasher.begin());
    hasher.update(reinterpret_cast<const unsigned char *>(bytes.data()), 4096);
    hasher.update(reinterpret_cast<const unsigned char *>(bytes.data() + bytes.size() - 4096),
                  4096);
    ASSERT_TRUE(hasher.finish(expected));
    EXPECT_EQ(ends.digest, expected);
    EXPECT_EQ(edges(3 * chunk).status, HashStatus::sizeChanged);
}

// A walk that meets a pseudo-filesystem says so by the kind of its error,
// never by a number that could be an errno.
TEST(WalkErrors, aPseudoFilesystemRootIsAnErrorOfItsOwnKind) {
    std::vector<WalkError> errors;
    FolderWalker walker("/proc",
                        [&](const std::string &, const WalkError &e) { errors.push_back(e); });
    ASSERT_TRUE(walker.start());
    EXPECT_FALSE(walker.next());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].kind, WalkError::Kind::pseudoFilesystem);

    TempDir dir;
    FolderWalker missing(dir / "missing", [](const std::string &, const WalkError &) {});
    const auto started = missing.start();
    ASSERT_FALSE(started);
    EXPECT_EQ(started.error(), WalkError::system(ENOENT));
}
