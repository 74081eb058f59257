// The cleanup run against real files and a real freedesktop Trash in a
// temporary home. Every stop must leave every file where it was.
#include "cleanuprun.h"

#include "fileattributes.h"
#include "paths.h"
#include "scanrecorder.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace twinsift {
// Readable failures in assertion output.
void PrintTo(const CleanupFailure &f, std::ostream *os) {
    *os << "{" << f.path << ", reason " << static_cast<int>(f.reason) << "}";
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
        const auto selected = filesAt(result, paths);
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

    static bool exists(const std::string &path) { return FileAttributes::read(path).ok(); }

    TempDir dir;

private:
    std::map<std::string, std::string> m_written;
};

const std::string photo(5000, 'p');
const std::string song(3000, 's');

} // namespace

TEST_F(CleanupRunTest, movesMarkedFilesSetBySetAndTheTrashKeepsTheirPathBytes) {
    const Paths names = {"with space.bin", "100% done.bin", "line\nbreak.bin", "caf\xe9\xff.bin"};
    put("keep.bin", photo);
    std::set<std::string> marked;
    for (const auto &name : names) {
        put(name, photo);
        marked.insert(dir / name);
    }
    // The song's set passes on its first unchanged kept copy that is
    // another file: not the rewritten one, nor a link of the marked one.
    put("a/changed.mp3", song);
    put("b/song.mp3", song);
    put("c/song 2.mp3", song);
    ASSERT_EQ(::link((dir / "c/song 2.mp3").c_str(), (dir / "a/link.mp3").c_str()), 0);
    marked.insert(dir / "c/song 2.mp3");
    const auto result = scan();
    writeFile(dir / "a/changed.mp3", "X" + std::string(2999, 's'));

    const auto outcome = runFor(result, marked);
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    // One set after the other, the larger first, each in path order.
    EXPECT_EQ(report->movedPaths,
              (Paths{dir / "100% done.bin", dir / "caf\xe9\xff.bin", dir / "line\nbreak.bin",
                     dir / "with space.bin", dir / "c/song 2.mp3"}));
    EXPECT_EQ(report->movedBytes, 4 * 5000u + 3000u);
    EXPECT_TRUE(report->failures.empty());

    for (const auto &name : names) {
        EXPECT_FALSE(exists(dir / name));
        EXPECT_EQ(readFile(TrashHome::trashFiles() + "/" + name), photo);
    }
    EXPECT_EQ(readFile(dir / "keep.bin"), photo);
    EXPECT_EQ(readFile(dir / "b/song.mp3"), song);
    EXPECT_EQ(readFile(dir / "a/link.mp3"), song);
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
        CleanupStopReason reason;
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
        {"edited", {"touched"}, rewrite, CleanupStopReason::changedAfterScan},
        {"deleted", {"touched"}, remove, CleanupStopReason::notRevalidated},
        {"linked", {"touched"}, replaceBy(::symlink, "other"), CleanupStopReason::changedAfterScan},
        {"keep-edited", {"other"}, rewrite, CleanupStopReason::noUnchangedKeepCopy},
        {"keep-gone", {"other"}, remove, CleanupStopReason::noUnchangedKeepCopy},
        // Moving a hard link frees nothing: the other name is no second copy.
        {"hard-link",
         {"other"},
         replaceBy(::link, "other"),
         CleanupStopReason::noUnchangedKeepCopy},
        {"all-marked", {"touched", "other"}, nullptr, CleanupStopReason::noKeepCopy},
        // Only a set's own files are ever checked against a surviving copy.
        {"lonely", {"lonely.bin"}, nullptr, CleanupStopReason::notRevalidated},
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
        EXPECT_EQ(stop->reason, c.reason);
        expectAllInPlace(changed);
    }
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
    EXPECT_EQ(std::get<CleanupStop>(outcome).reason, CleanupStopReason::noUnchangedKeepCopy);
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
              (std::vector<CleanupFailure>{
                  {dir / "m2.bin", CleanupFailureReason::changedAfterScan, {}},
                  {dir / "m3.bin", CleanupFailureReason::changedAfterScan, {}},
                  {dir / "m4.bin", CleanupFailureReason::protectedLocation, {}}}));
    EXPECT_EQ(readFile(dir / "m2.bin"), song);
    EXPECT_TRUE(FileAttributes::read(dir / "m3.bin")->isSymbolicLink);
    EXPECT_EQ(readFile(dir / "m4.bin"), song);
}

// A file on another disk goes to that disk's own Trash, never across. Where
// that Trash is not ours (a link planted in its place), the file is listed
// and stays, and the run goes on.
TEST_F(CleanupRunTest, aFileOnAnotherDiskGoesToThatDisksTrashAndARefusalIsListed) {
    ScopedMount other(dir / "other");
    ScopedMount planted(dir / "planted");
    if (!other.error().empty() || !planted.error().empty())
        GTEST_SKIP() << "cannot mount tmpfs: " << other.error() << planted.error();
    const std::string own = ".Trash-" + std::to_string(::getuid());
    TempDir elsewhere;
    ASSERT_EQ(::symlink(elsewhere.path().c_str(), (dir / ("planted/" + own)).c_str()), 0);
    put("keep.bin", song);
    put("near.bin", song);
    put("other/sub/far.bin", song);
    put("planted/stuck.bin", song);

    const auto outcome =
        runFor(scan(), {dir / "near.bin", dir / "other/sub/far.bin", dir / "planted/stuck.bin"});
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, (Paths{dir / "near.bin", dir / "other/sub/far.bin"}));
    EXPECT_EQ(report->movedBytes, 6000u);
    ASSERT_EQ(report->failures.size(), 1u);
    EXPECT_EQ(report->failures[0].path, dir / "planted/stuck.bin");
    EXPECT_EQ(report->failures[0].reason, CleanupFailureReason::trash);
    EXPECT_TRUE(report->failures[0].trash);

    // The disk's Trash is private, and its info names the file relative to
    // the top of the disk, so the disk can be mounted elsewhere.
    const std::string trash = dir / ("other/" + own);
    struct stat st;
    ASSERT_EQ(::lstat(trash.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(readFile(trash + "/files/far.bin"), song);
    EXPECT_NE(readFile(trash + "/info/far.bin.trashinfo").find("\nPath=sub/far.bin\n"),
              std::string::npos);
    EXPECT_EQ(readFile(dir / "planted/stuck.bin"), song);
    EXPECT_FALSE(exists(elsewhere / "files"));
}

// The kept copy that let a set pass is checked again right before each move
// of its set: deleted, rewritten at the same size or swapped for a link after
// validation, it no longer counts, and the marked copy stays.
TEST_F(CleanupRunTest, aKeptCopyChangedAfterValidationKeepsTheMarkedCopyInPlace) {
    const std::vector<std::string> sets{"deleted", "intact", "linked", "rewritten"};
    std::set<std::string> marked;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const std::string content(4000 + i, static_cast<char>('k' + i));
        put(sets[i] + "/keep.bin", content);
        put(sets[i] + "/marked.bin", content);
        marked.insert(dir / (sets[i] + "/marked.bin"));
    }
    const auto result = scan();

    const auto changeKeptCopy = [&](const std::string &path) {
        const std::string keep = paths::parent(path) + "/keep.bin";
        if (path == dir / "deleted/marked.bin") {
            EXPECT_EQ(::unlink(keep.c_str()), 0);
        } else if (path == dir / "rewritten/marked.bin") {
            // Change times tick with the kernel's coarse clock: let it move on.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const int fd = ::open(keep.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            const std::string other(4003, 'X');
            EXPECT_EQ(::write(fd, other.data(), other.size()), ssize_t(other.size()));
            ::close(fd);
        } else if (path == dir / "linked/marked.bin") {
            // A link to the very file about to move: worse than no copy.
            EXPECT_EQ(::unlink(keep.c_str()), 0);
            EXPECT_EQ(::symlink(path.c_str(), keep.c_str()), 0);
        }
        return false;
    };
    const auto outcome = runFor(result, marked, changeKeptCopy);
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "intact/marked.bin"});
    EXPECT_EQ(report->movedBytes, 4001u);
    const CleanupFailureReason keptGone = CleanupFailureReason::keptCopyGone;
    // Sets go largest first.
    EXPECT_EQ(report->failures,
              (std::vector<CleanupFailure>{{dir / "rewritten/marked.bin", keptGone, {}},
                                           {dir / "linked/marked.bin", keptGone, {}},
                                           {dir / "deleted/marked.bin", keptGone, {}}}));
    for (const char *set : {"deleted", "linked", "rewritten"})
        EXPECT_TRUE(FileAttributes::read(dir / (std::string(set) + "/marked.bin"))->isRegularFile)
            << set;
    EXPECT_FALSE(exists(dir / "intact/marked.bin"));
    EXPECT_TRUE(exists(dir / "intact/keep.bin"));
}

// Two runs, each in a process of its own, hold opposite marks on two sets:
// together they would leave neither set a copy. They meet right before their
// first move, as they would if nothing kept them apart, and the first to get
// there waits a little for the other. They share one lock folder, whether
// the runtime folder or the history folder. Whatever the order, every set keeps a
// copy: one run moved its files, and the other, validating after it, found
// its kept copies gone and stopped.
TEST_F(CleanupRunTest, twoRunsWithOppositeMarksNeverTakeEveryCopy) {
    for (const auto &[round, env] :
         {std::pair{"runtime", ""}, {"data", "env -u XDG_RUNTIME_DIR "}}) {
        SCOPED_TRACE(round);
        std::vector<Paths> sets;
        std::set<std::string> marks[2];
        for (const char *set : {"one", "two"}) {
            const std::string content(3000 + sets.size(), set[0]);
            const std::string x = dir / (round + std::string("/") + set + "/x.bin");
            const std::string y = dir / (round + std::string("/") + set + "/y.bin");
            writeFile(x, content);
            writeFile(y, content);
            marks[sets.size()].insert(x);
            marks[1 - sets.size()].insert(y);
            sets.push_back({x, y});
        }
        TempDir sync;
        const auto start = [&](const char *self, const char *partner,
                               const std::set<std::string> &marked) {
            std::string command = env + std::string(CLEANUP_RUN_HELPER) + " '" + dir / round +
                                  "' '" + sync.path() + "' " + self + " " + partner;
            for (const auto &path : marked)
                command += " '" + path + "'";
            return ::popen(command.c_str(), "r");
        };
        FILE *pipes[2] = {start("a", "b", marks[0]), start("b", "a", marks[1])};
        std::vector<Paths> moved;
        std::vector<std::string> stops;
        for (FILE *pipe : pipes) {
            ASSERT_TRUE(pipe);
            const auto [status, output] = finish(pipe);
            EXPECT_EQ(status, 0) << output;
            std::istringstream lines(output);
            Paths movedHere;
            for (std::string line; std::getline(lines, line);) {
                const auto tab = line.find('\t');
                const std::string kind = line.substr(0, tab), rest = line.substr(tab + 1);
                if (kind == "stop")
                    stops.push_back(rest);
                else if (kind == "moved")
                    movedHere.push_back(rest);
                else
                    ADD_FAILURE() << line;
            }
            if (!movedHere.empty())
                moved.push_back(movedHere);
        }
        for (const auto &set : sets)
            EXPECT_TRUE(exists(set[0]) || exists(set[1])) << "no copy left of " << set[0];
        ASSERT_EQ(moved.size(), 1u);
        EXPECT_EQ(stops, std::vector<std::string>{std::to_string(
                             static_cast<int>(CleanupStopReason::noUnchangedKeepCopy))});
        EXPECT_TRUE(std::set<std::string>(moved[0].begin(), moved[0].end()) == marks[0] ||
                    std::set<std::string>(moved[0].begin(), moved[0].end()) == marks[1]);
        for (const auto &path : moved[0])
            EXPECT_FALSE(exists(path)) << path;
    }
}
