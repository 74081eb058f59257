// The cleanup run against real files and a real freedesktop Trash in a
// temporary home. Every stop must leave every file where it was.
#include "cleanuprun.h"

#include "fileattributes.h"
#include "scanrecorder.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <set>
#include <unistd.h>

namespace twinsift {
// Readable failures in assertion output.
void PrintTo(const CleanupFailure &f, std::ostream *os) {
    *os << "{" << f.path << ", " << f.message << "}";
}
} // namespace twinsift

using namespace twinsift;
using namespace twinsift::testing;

namespace {

const auto nothingProtected = [](const std::string &) { return false; };

class CleanupRunTest : public ::testing::Test {
protected:
    void SetUp() override { TrashHome::emptyTrash(); }

    // Writes each file and remembers its content, so a test can prove later
    // that nothing on disk changed.
    void put(const std::string &relative, const std::string &content) {
        writeFile(dir / relative, content);
        m_written[dir / relative] = content;
    }

    DuplicateScanResult scan() {
        ScanRecorder recorder;
        recorder.run(dir.path(), 1);
        EXPECT_TRUE(recorder.succeeded());
        return recorder.result();
    }

    // The marked files in path order, as the selection hands them over.
    static std::vector<DuplicateFile> marked(const DuplicateScanResult &result,
                                             const std::set<std::string> &paths) {
        std::vector<DuplicateFile> out;
        for (const auto &f : result.scannedFiles)
            if (paths.contains(f.url))
                out.push_back(f);
        EXPECT_EQ(out.size(), paths.size());
        return out;
    }

    CleanupOutcome runFor(const DuplicateScanResult &result, const std::set<std::string> &paths) {
        return CleanupRun::run(result, marked(result, paths), nothingProtected);
    }

    void expectStop(const CleanupOutcome &outcome, const char *message) {
        ASSERT_TRUE(std::holds_alternative<CleanupStop>(outcome));
        EXPECT_EQ(std::get<CleanupStop>(outcome).message, message);
    }

    // Every file written by put() is still there with its content, except
    // those the test changed itself.
    void expectAllInPlace(const std::set<std::string> &changedByTest = {}) {
        for (const auto &[path, content] : m_written) {
            if (changedByTest.contains(path))
                continue;
            const auto a = FileAttributes::read(path);
            ASSERT_TRUE(a && a->isRegularFile) << path;
            EXPECT_EQ(readFile(path), content) << path;
        }
    }

    static bool exists(const std::string &path) { return FileAttributes::read(path).has_value(); }

    TempDir dir;

private:
    std::map<std::string, std::string> m_written;
};

const std::string photo(5000, 'p');
const std::string song(3000, 's');

} // namespace

TEST_F(CleanupRunTest, cleanupSHA256MatchesTheScanAndFailsWhenUnreadable) {
    writeFile(dir / "abc", "abc");
    EXPECT_EQ(cleanupSHA256(dir / "abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Larger than one read block, so the digest spans several chunks.
    writePattern(dir / "big/one.bin", 3 * 1024 * 1024 + 17, 7);
    writePattern(dir / "big/two.bin", 3 * 1024 * 1024 + 17, 7);
    ScanRecorder recorder;
    recorder.run(dir / "big", 1);
    ASSERT_EQ(recorder.result().groups.size(), 1u);
    EXPECT_EQ(cleanupSHA256(dir / "big/one.bin"), recorder.result().groups[0].hash);

    EXPECT_FALSE(cleanupSHA256(dir / "missing"));
    EXPECT_FALSE(cleanupSHA256(dir / "big"));
}

TEST_F(CleanupRunTest, movesMarkedFilesInSelectionOrderAndLeavesKeptCopies) {
    put("a/photo.jpg", photo);
    put("b/photo copy.jpg", photo);
    put("a/song.mp3", song);
    put("b/song.mp3", song);
    put("c/song 2.mp3", song);
    const auto result = scan();
    ASSERT_EQ(result.groups.size(), 2u);

    const auto outcome =
        runFor(result, {dir / "b/photo copy.jpg", dir / "a/song.mp3", dir / "c/song 2.mp3"});
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    const auto &report = std::get<CleanupReport>(outcome);
    EXPECT_EQ(report.movedPaths,
              (std::vector<std::string>{dir / "a/song.mp3", dir / "b/photo copy.jpg",
                                        dir / "c/song 2.mp3"}));
    EXPECT_EQ(report.movedBytes, 5000u + 3000u + 3000u);
    EXPECT_TRUE(report.failures.empty());

    for (const auto &moved : report.movedPaths)
        EXPECT_FALSE(exists(moved)) << moved;
    EXPECT_EQ(readFile(TrashHome::trashFiles() + "/photo copy.jpg"), photo);
    EXPECT_EQ(readFile(TrashHome::trashFiles() + "/song 2.mp3"), song);
    EXPECT_EQ(readFile(dir / "a/photo.jpg"), photo);
    EXPECT_EQ(readFile(dir / "b/song.mp3"), song);
}

TEST_F(CleanupRunTest, trashInfoRecordsTheOriginalPathBytes) {
    const std::vector<std::string> names = {"with space.bin", "100% done.bin", "line\nbreak.bin",
                                            "caf\xe9\xff.bin"};
    put("keep.bin", photo);
    std::set<std::string> paths;
    for (const auto &name : names) {
        put(name, photo);
        paths.insert(dir / name);
    }
    const auto outcome = runFor(scan(), paths);
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    EXPECT_EQ(std::get<CleanupReport>(outcome).movedPaths.size(), names.size());
    EXPECT_TRUE(std::get<CleanupReport>(outcome).failures.empty());

    for (const auto &name : names) {
        EXPECT_FALSE(exists(dir / name));
        EXPECT_EQ(readFile(TrashHome::trashFiles() + "/" + name), photo);
        EXPECT_EQ(TrashHome::originalPathOf(name), dir / name);
    }
    EXPECT_TRUE(exists(dir / "keep.bin"));
}

TEST_F(CleanupRunTest, markedFileEditedWithTheSameSizeStopsBeforeAnySetMoves) {
    // The larger set comes first and passes; the edit in the second set must
    // still keep the first set's marked file where it is.
    put("big/a.bin", std::string(9000, 'b'));
    put("big/b.bin", std::string(9000, 'b'));
    put("small/a.bin", song);
    put("small/b.bin", song);
    const auto result = scan();
    ASSERT_EQ(result.groups[0].size, 9000u);

    writeFile(dir / "small/b.bin", std::string(2999, 's') + "X");
    expectStop(runFor(result, {dir / "big/b.bin", dir / "small/b.bin"}),
               CleanupRun::changedMessage);
    expectAllInPlace({dir / "small/b.bin"});
    EXPECT_EQ(readFile(dir / "small/b.bin").size(), 3000u);
}

TEST_F(CleanupRunTest, markedFileDeletedOrReplacedBySymlinkStops) {
    put("deleted/keep.bin", song);
    put("deleted/marked.bin", song);
    put("linked/keep.bin", photo);
    put("linked/marked.bin", photo);
    const auto result = scan();
    ASSERT_EQ(::unlink((dir / "deleted/marked.bin").c_str()), 0);
    ASSERT_EQ(::unlink((dir / "linked/marked.bin").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "linked/keep.bin").c_str(), (dir / "linked/marked.bin").c_str()), 0);

    expectStop(runFor(result, {dir / "deleted/marked.bin"}), CleanupRun::notRevalidatedMessage);
    expectStop(runFor(result, {dir / "linked/marked.bin"}), CleanupRun::changedMessage);
    EXPECT_TRUE(FileAttributes::read(dir / "linked/marked.bin")->isSymbolicLink);
    expectAllInPlace({dir / "deleted/marked.bin", dir / "linked/marked.bin"});
}

TEST_F(CleanupRunTest, onlyKeptCopyChangedOrDeletedStops) {
    put("edited/keep.bin", song);
    put("edited/marked.bin", song);
    put("gone/keep.bin", photo);
    put("gone/marked.bin", photo);
    const auto result = scan();
    writeFile(dir / "edited/keep.bin", "X" + std::string(2999, 's'));
    ASSERT_EQ(::unlink((dir / "gone/keep.bin").c_str()), 0);

    expectStop(runFor(result, {dir / "edited/marked.bin"}), CleanupRun::noUnchangedKeepCopyMessage);
    expectStop(runFor(result, {dir / "gone/marked.bin"}), CleanupRun::noUnchangedKeepCopyMessage);
    expectAllInPlace({dir / "edited/keep.bin", dir / "gone/keep.bin"});
}

TEST_F(CleanupRunTest, oneOfTwoKeptCopiesChangedAndTheSetStillPasses) {
    put("a-keep.bin", song);
    put("b-keep.bin", song);
    put("c-marked.bin", song);
    const auto result = scan();
    writeFile(dir / "a-keep.bin", "X" + std::string(2999, 's'));

    const auto outcome = runFor(result, {dir / "c-marked.bin"});
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    EXPECT_EQ(std::get<CleanupReport>(outcome).movedPaths,
              std::vector<std::string>{dir / "c-marked.bin"});
    EXPECT_FALSE(exists(dir / "c-marked.bin"));
    EXPECT_EQ(readFile(dir / "b-keep.bin"), song);
}

TEST_F(CleanupRunTest, everyCopyOfASetMarkedStopsWithNoKeepCopy) {
    put("one.bin", song);
    put("two.bin", song);
    expectStop(runFor(scan(), {dir / "one.bin", dir / "two.bin"}), CleanupRun::noKeepCopyMessage);
    expectAllInPlace();
}

TEST_F(CleanupRunTest, selectedFileOutsideEverySetIsNeverMoved) {
    put("a.bin", song);
    put("b.bin", song);
    put("lonely.bin", photo);
    const auto result = scan();
    std::vector<DuplicateFile> selected = marked(result, {dir / "a.bin", dir / "lonely.bin"});
    expectStop(CleanupRun::run(result, selected, nothingProtected),
               CleanupRun::notRevalidatedMessage);
    expectAllInPlace();
}

TEST_F(CleanupRunTest, hardLinkOfTheMarkedFileIsNotASurvivingCopy) {
    put("marked.bin", song);
    ASSERT_EQ(::link((dir / "marked.bin").c_str(), (dir / "link.bin").c_str()), 0);
    auto result = scan();
    ASSERT_EQ(result.groups.size(), 1u);
    ASSERT_EQ(result.groups[0].files.size(), 2u);
    expectStop(runFor(result, {dir / "marked.bin"}), CleanupRun::noUnchangedKeepCopyMessage);
    expectAllInPlace();

    // With a real second copy the set passes, and the link stays behind.
    put("z-copy.bin", song);
    result = scan();
    const auto outcome = runFor(result, {dir / "marked.bin"});
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    EXPECT_EQ(std::get<CleanupReport>(outcome).movedPaths,
              std::vector<std::string>{dir / "marked.bin"});
    EXPECT_EQ(readFile(dir / "link.bin"), song);
    EXPECT_EQ(readFile(dir / "z-copy.bin"), song);
}

TEST_F(CleanupRunTest, bindMountAliasOfTheMarkedFileIsNotASurvivingCopy) {
    if (!privateMountsUnavailableReason().empty())
        GTEST_SKIP() << "no private mount namespace: " << privateMountsUnavailableReason();
    put("real/marked.bin", song);
    ScopedMount alias(dir / "alias", dir / "real");
    if (!alias.error().empty())
        GTEST_SKIP() << "cannot bind-mount: " << alias.error();

    const auto result = scan();
    ASSERT_EQ(result.groups.size(), 1u);
    ASSERT_EQ(result.groups[0].files.size(), 2u)
        << "the scan should see the file through both paths";
    expectStop(runFor(result, {dir / "real/marked.bin"}), CleanupRun::noUnchangedKeepCopyMessage);
    expectAllInPlace();
}

TEST_F(CleanupRunTest, fileWhoseIdentityChangesRightBeforeItsMoveIsListedAndLeftAlone) {
    put("keep.bin", song);
    put("m1.bin", song);
    put("m2.bin", song);
    put("m3.bin", song);
    const auto result = scan();
    const auto selected = marked(result, {dir / "m1.bin", dir / "m2.bin", dir / "m3.bin"});

    // The protection check runs right before each move, after validation: the
    // last moment to swap m2 for a new file of the same content and m3 for a
    // symbolic link.
    const auto swapLater = [&](const std::string &path) {
        if (path == dir / "m1.bin") {
            writeFile(dir / "m2.new", song);
            EXPECT_EQ(std::rename((dir / "m2.new").c_str(), (dir / "m2.bin").c_str()), 0);
            EXPECT_EQ(::unlink((dir / "m3.bin").c_str()), 0);
            EXPECT_EQ(::symlink((dir / "keep.bin").c_str(), (dir / "m3.bin").c_str()), 0);
        }
        return false;
    };
    const auto outcome = CleanupRun::run(result, selected, swapLater);
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    const auto &report = std::get<CleanupReport>(outcome);
    EXPECT_EQ(report.movedPaths, std::vector<std::string>{dir / "m1.bin"});
    EXPECT_EQ(report.movedBytes, 3000u);
    EXPECT_EQ(report.failures, (std::vector<CleanupFailure>{
                                   {dir / "m2.bin", CleanupRun::changedBeforeMoveMessage},
                                   {dir / "m3.bin", CleanupRun::changedBeforeMoveMessage}}));
    EXPECT_EQ(readFile(dir / "m2.bin"), song);
    EXPECT_TRUE(FileAttributes::read(dir / "m3.bin")->isSymbolicLink);
}

TEST_F(CleanupRunTest, protectedFileAtItsTurnIsListedAndTheOthersMove) {
    put("keep.bin", song);
    put("m1.bin", song);
    put("m2.bin", song);
    const auto result = scan();
    const auto outcome = CleanupRun::run(result, marked(result, {dir / "m1.bin", dir / "m2.bin"}),
                                         [&](const std::string &p) { return p == dir / "m1.bin"; });
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    const auto &report = std::get<CleanupReport>(outcome);
    EXPECT_EQ(report.movedPaths, std::vector<std::string>{dir / "m2.bin"});
    EXPECT_EQ(report.failures,
              (std::vector<CleanupFailure>{{dir / "m1.bin", CleanupRun::protectedMessage}}));
    EXPECT_EQ(readFile(dir / "m1.bin"), song);
}

TEST_F(CleanupRunTest, trashRefusalOnAnotherFilesystemIsListedAndTheRunGoesOn) {
    if (!privateMountsUnavailableReason().empty())
        GTEST_SKIP() << "no private mount namespace: " << privateMountsUnavailableReason();
    ScopedMount other(dir / "other");
    if (!other.error().empty())
        GTEST_SKIP() << "cannot mount tmpfs: " << other.error();
    put("keep.bin", song);
    put("near.bin", song);
    put("other/far.bin", song);
    const auto result = scan();

    auto outcome = runFor(result, {dir / "near.bin", dir / "other/far.bin"});
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    const auto &report = std::get<CleanupReport>(outcome);
    EXPECT_EQ(report.movedPaths, std::vector<std::string>{dir / "near.bin"});
    EXPECT_EQ(report.movedBytes, 3000u);
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].path, dir / "other/far.bin");
    EXPECT_FALSE(report.failures[0].message.empty());
    EXPECT_EQ(readFile(dir / "other/far.bin"), song);

    // Every move refused: still a report, with nothing moved.
    outcome = runFor(scan(), {dir / "other/far.bin"});
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    EXPECT_TRUE(std::get<CleanupReport>(outcome).movedPaths.empty());
    EXPECT_EQ(std::get<CleanupReport>(outcome).movedBytes, 0u);
    EXPECT_EQ(std::get<CleanupReport>(outcome).failures.size(), 1u);
    EXPECT_EQ(readFile(dir / "other/far.bin"), song);
}
