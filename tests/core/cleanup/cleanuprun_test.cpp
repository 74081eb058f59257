// The cleanup run against real files and a real freedesktop Trash in a
// temporary home. Every stop must leave every file where it was.
#include "cleanuprun.h"

#include "fileattributes.h"
#include "scanrecorder.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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
using Paths = std::vector<std::string>;

namespace {

using Protection = std::function<bool(const std::string &)>;

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
    CleanupOutcome runFor(
        const DuplicateScanResult &result, const std::set<std::string> &paths,
        const Protection &isProtected = [](const std::string &) { return false; }) {
        std::vector<DuplicateFile> selected;
        for (const auto &f : result.scannedFiles)
            if (paths.contains(f.url))
                selected.push_back(f);
        EXPECT_EQ(selected.size(), paths.size());
        return CleanupRun::run(result, selected, isProtected);
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

TEST_F(CleanupRunTest, movesMarkedFilesInOrderAndTheTrashKeepsTheirPathBytes) {
    const Paths names = {"with space.bin", "100% done.bin", "line\nbreak.bin", "caf\xe9\xff.bin"};
    put("keep.bin", photo);
    std::set<std::string> marked;
    for (const auto &name : names) {
        put(name, photo);
        marked.insert(dir / name);
    }
    put("b/song.mp3", song);
    put("c/song 2.mp3", song);
    marked.insert(dir / "c/song 2.mp3");

    const auto outcome = runFor(scan(), marked);
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths,
              (Paths{dir / "100% done.bin", dir / "c/song 2.mp3", dir / "caf\xe9\xff.bin",
                     dir / "line\nbreak.bin", dir / "with space.bin"}));
    EXPECT_EQ(report->movedBytes, 4 * 5000u + 3000u);
    EXPECT_TRUE(report->failures.empty());

    for (const auto &name : names) {
        EXPECT_FALSE(exists(dir / name));
        EXPECT_EQ(readFile(TrashHome::trashFiles() + "/" + name), photo);
        EXPECT_EQ(TrashHome::originalPathOf(name), dir / name);
    }
    EXPECT_EQ(readFile(dir / "keep.bin"), photo);
    EXPECT_EQ(readFile(dir / "b/song.mp3"), song);
}

// Each case marks the file of a set that passes (validated first: its set is
// the largest) and one file of a set that stops the run. Nothing moves, not
// even the file of the set that passed.
TEST_F(CleanupRunTest, everyStopLeavesEveryFileInPlace) {
    put("pass/keep.bin", std::string(9000, 'P'));
    put("pass/marked.bin", std::string(9000, 'P'));
    struct Case {
        std::string folder;
        Paths marked;
        // Works on the file named "touched" in the folder; none for some.
        std::function<void(const std::string &folder)> change;
        const char *message;
    };
    const auto rewrite = [](const std::string &folder) {
        writeFile(folder + "/touched", std::string(2999, 's') + "X");
    };
    const auto remove = [](const std::string &folder) {
        EXPECT_EQ(::unlink((folder + "/touched").c_str()), 0);
    };
    const auto replaceBy = [](auto makeLink, const char *target) {
        return [makeLink, target](const std::string &folder) {
            EXPECT_EQ(::unlink((folder + "/touched").c_str()), 0);
            EXPECT_EQ(makeLink((folder + "/" + target).c_str(), (folder + "/touched").c_str()), 0);
        };
    };
    const std::vector<Case> cases{
        {"edited", {"touched"}, rewrite, CleanupRun::changedMessage},
        {"deleted", {"touched"}, remove, CleanupRun::notRevalidatedMessage},
        {"linked", {"touched"}, replaceBy(::symlink, "other"), CleanupRun::changedMessage},
        {"keep-edited", {"other"}, rewrite, CleanupRun::noUnchangedKeepCopyMessage},
        {"keep-gone", {"other"}, remove, CleanupRun::noUnchangedKeepCopyMessage},
        // Moving a hard link frees nothing: the other name is no second copy.
        {"hard-link",
         {"other"},
         replaceBy(::link, "other"),
         CleanupRun::noUnchangedKeepCopyMessage},
        {"all-marked", {"touched", "other"}, nullptr, CleanupRun::noKeepCopyMessage},
        // Only a set's own files are ever checked against a surviving copy.
        {"lonely", {"lonely.bin"}, nullptr, CleanupRun::notRevalidatedMessage},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        // Content of its own per case, so that no two cases share a set.
        const std::string content(3000, static_cast<char>('a' + i));
        put(cases[i].folder + "/touched", content);
        put(cases[i].folder + "/other", content);
    }
    put("lonely/lonely.bin", std::string(4000, 'L'));
    const auto result = scan();

    std::set<std::string> changed;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder);
        if (c.change) {
            c.change(dir / c.folder);
            changed.insert(dir / (c.folder + "/touched"));
        }
        std::set<std::string> marked{dir / "pass/marked.bin"};
        for (const auto &name : c.marked)
            marked.insert(dir / (c.folder + "/" + name));
        const auto outcome = runFor(result, marked);
        const auto *stop = std::get_if<CleanupStop>(&outcome);
        ASSERT_TRUE(stop);
        EXPECT_EQ(stop->message, c.message);
        expectAllInPlace(changed);
    }
    EXPECT_TRUE(FileAttributes::read(dir / "linked/touched")->isSymbolicLink);
    EXPECT_EQ(readFile(dir / "edited/touched").size(), 3000u);
}

TEST_F(CleanupRunTest, aSetPassesOnItsFirstUnchangedKeptCopyThatIsAnotherFile) {
    put("a-keep.bin", song);
    put("c-keep.bin", song);
    put("d-marked.bin", song);
    ASSERT_EQ(::link((dir / "d-marked.bin").c_str(), (dir / "b-link.bin").c_str()), 0);
    const auto result = scan();
    ASSERT_EQ(result.groups.at(0).files.size(), 4u);
    writeFile(dir / "a-keep.bin", "X" + std::string(2999, 's'));

    const auto outcome = runFor(result, {dir / "d-marked.bin"});
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "d-marked.bin"});
    EXPECT_FALSE(exists(dir / "d-marked.bin"));
    EXPECT_EQ(readFile(dir / "b-link.bin"), song);
    EXPECT_EQ(readFile(dir / "c-keep.bin"), song);
}

TEST_F(CleanupRunTest, bindMountAliasOfTheMarkedFileIsNotASurvivingCopy) {
    put("real/marked.bin", song);
    ScopedMount alias(dir / "alias", dir / "real");
    if (!alias.error().empty())
        GTEST_SKIP() << "cannot bind-mount: " << alias.error();

    const auto result = scan();
    ASSERT_EQ(result.groups.size(), 1u);
    ASSERT_EQ(result.groups[0].files.size(), 2u) << "the scan sees the file through both paths";
    const auto outcome = runFor(result, {dir / "real/marked.bin"});
    ASSERT_TRUE(std::holds_alternative<CleanupStop>(outcome));
    EXPECT_EQ(std::get<CleanupStop>(outcome).message, CleanupRun::noUnchangedKeepCopyMessage);
    expectAllInPlace();
}

TEST_F(CleanupRunTest, aFileChangedOrProtectedAtItsTurnIsListedAndTheOthersMove) {
    for (const char *name : {"keep.bin", "m1.bin", "m2.bin", "m3.bin", "m4.bin"})
        put(name, song);
    const auto result = scan();

    // The protection test runs right before each move, after validation: the
    // last moment to swap m2 for a new file of the same content and m3 for a
    // symbolic link. m4 turns out to be protected.
    const auto swapLater = [&](const std::string &path) {
        if (path == dir / "m1.bin") {
            writeFile(dir / "m2.new", song);
            EXPECT_EQ(std::rename((dir / "m2.new").c_str(), (dir / "m2.bin").c_str()), 0);
            EXPECT_EQ(::unlink((dir / "m3.bin").c_str()), 0);
            EXPECT_EQ(::symlink((dir / "keep.bin").c_str(), (dir / "m3.bin").c_str()), 0);
        }
        return path == dir / "m4.bin";
    };
    const auto outcome =
        runFor(result, {dir / "m1.bin", dir / "m2.bin", dir / "m3.bin", dir / "m4.bin"}, swapLater);
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "m1.bin"});
    EXPECT_EQ(report->movedBytes, 3000u);
    EXPECT_EQ(report->failures,
              (std::vector<CleanupFailure>{{dir / "m2.bin", CleanupRun::changedMessage},
                                           {dir / "m3.bin", CleanupRun::changedMessage},
                                           {dir / "m4.bin", CleanupRun::protectedMessage}}));
    EXPECT_EQ(readFile(dir / "m2.bin"), song);
    EXPECT_TRUE(FileAttributes::read(dir / "m3.bin")->isSymbolicLink);
    EXPECT_EQ(readFile(dir / "m4.bin"), song);
}

TEST_F(CleanupRunTest, trashRefusalOnAnotherFilesystemIsListedAndTheRunGoesOn) {
    ScopedMount other(dir / "other");
    if (!other.error().empty())
        GTEST_SKIP() << "cannot mount tmpfs: " << other.error();
    put("keep.bin", song);
    put("near.bin", song);
    put("other/far.bin", song);

    const auto outcome = runFor(scan(), {dir / "near.bin", dir / "other/far.bin"});
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "near.bin"});
    EXPECT_EQ(report->movedBytes, 3000u);
    ASSERT_EQ(report->failures.size(), 1u);
    EXPECT_EQ(report->failures[0].path, dir / "other/far.bin");
    EXPECT_FALSE(report->failures[0].message.empty());
    // Refused, not copied: the file is where it was and the Trash holds
    // only the file that moved.
    EXPECT_EQ(readFile(dir / "other/far.bin"), song);
    EXPECT_FALSE(exists(TrashHome::trashFiles() + "/far.bin"));
}
