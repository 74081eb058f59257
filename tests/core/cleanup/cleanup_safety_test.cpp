// The cleanup run against hostile disks and hostile timing: orphans in the
// Trash, full disks, overlong names, other runs, views of the same file,
// coarse clocks, links in and under the root. Whatever happens, every set
// keeps a copy outside the Trash, and every moved file can be restored.
#include "cleanuprun.h"

#include "fileattributes.h"
#include "paths.h"
#include "scanrecorder.h"
#include "sha256hasher.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;
using Paths = std::vector<std::string>;

namespace {

const std::string song(3000, 's');

bool exists(const std::string &path) {
    return FileAttributes::read(path).ok();
}

std::vector<std::string> namesIn(const std::string &folder) {
    std::vector<std::string> names;
    if (DIR *d = ::opendir(folder.c_str())) {
        while (const dirent *e = ::readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.emplace_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

std::string percentDecoded(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// What a file manager would restore from a Trash folder: each entry of
// files/ with the original path its info file gives (relative ones taken
// against top). An entry without a readable Path= maps to "".
std::map<std::string, std::string> restorable(const std::string &trash,
                                              const std::string &top = {}) {
    std::map<std::string, std::string> out;
    for (const auto &name : namesIn(trash + "/files")) {
        std::string path;
        const std::string infoFile = trash + "/info/" + name + ".trashinfo";
        std::istringstream info(exists(infoFile) ? readFile(infoFile) : std::string());
        for (std::string line; std::getline(info, line);)
            if (line.starts_with("Path="))
                path = percentDecoded(line.substr(5));
        if (!path.empty() && path.front() != '/')
            path = top + "/" + path;
        out[name] = path;
    }
    return out;
}

class CleanupSafetyTest : public ::testing::Test {
protected:
    void SetUp() override { TrashHome::emptyTrash(); }

    static DuplicateScanResult scan(const std::string &root) {
        ScanRecorder recorder;
        recorder.run(root, 1);
        EXPECT_TRUE(recorder.succeeded());
        return recorder.succeeded() ? recorder.result() : DuplicateScanResult{};
    }

    static CleanupOutcome runFor(
        const DuplicateScanResult &result, const std::set<std::string> &paths,
        const std::function<bool(const std::string &)> &hook = [](const std::string &) {
            return false;
        }) {
        std::vector<DuplicateFile> selected;
        for (const auto &f : result.scannedFiles)
            if (paths.contains(f.url))
                selected.push_back(f);
        EXPECT_EQ(selected.size(), paths.size());
        return CleanupRun::run(result, selected, hook);
    }

    TempDir dir;
};

// A file left in Trash/files without its info (a crash, another tool) is
// somebody's file: a marked file of the same name must not replace it.
TEST_F(CleanupSafetyTest, anOrphanInTheTrashIsNeverReplaced) {
    const std::string orphan = TrashHome::trashFiles() + "/dup.bin";
    writeFile(orphan, "the only copy of something else");
    writeFile(dir / "keep.bin", song);
    writeFile(dir / "dup.bin", song);

    const auto outcome = runFor(scan(dir.path()), {dir / "dup.bin"});
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "dup.bin"});
    EXPECT_EQ(readFile(orphan), "the only copy of something else");
    const auto entries = restorable(paths::parent(TrashHome::trashFiles()));
    const auto ours = std::find_if(entries.begin(), entries.end(),
                                   [&](const auto &e) { return e.second == dir / "dup.bin"; });
    ASSERT_NE(ours, entries.end());
    EXPECT_EQ(readFile(TrashHome::trashFiles() + "/" + ours->first), song);
}

// "Moved" must mean "restorable": a moved file always has an info file that
// names its full path. Names near the limit and a full disk used to leave
// an empty info file behind a file reported moved.
TEST_F(CleanupSafetyTest, everyMovedFileCanBeRestoredToItsFullPath) {
    std::set<std::string> marked;
    writeFile(dir / "keep.bin", song);
    for (std::size_t length = 236; length <= 255; ++length) {
        std::string name(length - 4, 'n');
        name += ".bin";
        name[0] = static_cast<char>('a' + length % 26);
        writeFile(dir / name, song);
        marked.insert(dir / name);
    }
    const auto outcome = runFor(scan(dir.path()), marked);
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(std::set<std::string>(report->movedPaths.begin(), report->movedPaths.end()), marked);
    const auto entries = restorable(paths::parent(TrashHome::trashFiles()));
    std::set<std::string> restorablePaths;
    for (const auto &[name, path] : entries) {
        EXPECT_EQ(readFile(TrashHome::trashFiles() + "/" + name), song) << name;
        EXPECT_LE(name.size() + 10, 255u);
        restorablePaths.insert(path);
    }
    EXPECT_EQ(restorablePaths, marked);
}

TEST_F(CleanupSafetyTest, aFullDiskLeavesTheFileInPlaceAndSaysWhy) {
    const std::string disk = dir / "disk";
    ScopedMount mounted(disk, {}, "size=256k");
    if (!mounted.error().empty())
        GTEST_SKIP() << "cannot mount tmpfs: " << mounted.error();
    writeFile(disk + "/keep.bin", song);
    writeFile(disk + "/marked.bin", song);
    const auto result = scan(disk);
    // The disk's Trash is there already; only its info file needs room.
    const std::string trash = disk + "/.Trash-" + std::to_string(::getuid());
    makeDirs(trash + "/files");
    makeDirs(trash + "/info");
    ::chmod(trash.c_str(), 0700);
    {
        const int fd = ::open((disk + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }

    const auto outcome = runFor(result, {disk + "/marked.bin"});
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    for (const auto &[name, path] : restorable(trash, disk))
        EXPECT_EQ(path, disk + "/marked.bin") << "an entry nothing can restore: " << name;
    if (report->movedPaths.empty()) {
        ASSERT_EQ(report->failures.size(), 1u);
        ASSERT_TRUE(report->failures[0].trash);
        EXPECT_EQ(report->failures[0].trash->error, ENOSPC);
        EXPECT_EQ(readFile(disk + "/marked.bin"), song);
        EXPECT_TRUE(namesIn(trash + "/info").empty());
    }
}

// Two runs in two processes with opposite marks, on 100 sets. They share
// no lock folder: one has its own runtime folder, the other another one or
// none. They meet right before their first moves. Every set keeps a copy.
TEST_F(CleanupSafetyTest, twoRunsInDifferentEnvironmentsNeverEmptyASet) {
    // The system's runtime folder would be a lock both share.
    std::optional<ScopedMount> hideRuntime;
    if (exists("/run/user")) {
        hideRuntime.emplace("/run/user");
        if (!hideRuntime->error().empty())
            GTEST_SKIP() << "cannot hide /run/user: " << hideRuntime->error();
    }
    const std::string ownA = dir / "runtime-a", ownB = dir / "runtime-b";
    makeDirs(ownA);
    makeDirs(ownB);
    for (const auto &[round, envB] : {std::pair{"other", "XDG_RUNTIME_DIR='" + ownB + "' "},
                                      {"none", std::string("-u XDG_RUNTIME_DIR ")}}) {
        SCOPED_TRACE(round);
        const std::string root = dir / round;
        std::set<std::string> marks[2];
        std::vector<Paths> sets;
        for (int i = 0; i < 100; ++i) {
            const std::string content = std::string(100 + i, 'c') + std::to_string(i);
            const std::string x = root + "/" + std::to_string(i) + "/x.bin";
            const std::string y = root + "/" + std::to_string(i) + "/y.bin";
            writeFile(x, content);
            writeFile(y, content);
            marks[0].insert(x);
            marks[1].insert(y);
            sets.push_back({x, y});
        }
        TempDir sync;
        const auto start = [&](const std::string &env, const char *self, const char *partner,
                               const std::set<std::string> &marked) {
            std::string command = "env " + env + CLEANUP_RUN_HELPER + std::string(" '") + root +
                                  "' '" + sync.path() + "' " + self + " " + partner;
            for (const auto &path : marked)
                command += " '" + path + "'";
            return ::popen(command.c_str(), "r");
        };
        FILE *pipes[2] = {start("XDG_RUNTIME_DIR='" + ownA + "' ", "a", "b", marks[0]),
                          start(envB, "b", "a", marks[1])};
        for (FILE *pipe : pipes) {
            ASSERT_TRUE(pipe);
            const auto [status, output] = finish(pipe);
            EXPECT_EQ(status, 0) << output;
        }
        int emptied = 0;
        for (const auto &set : sets)
            emptied += !exists(set[0]) && !exists(set[1]);
        EXPECT_EQ(emptied, 0) << "sets that lost every copy";
    }
}

// A FUSE view of a folder inside the scan shows each file a second time,
// as another device and inode. Through the view or around it, one file is
// never its own surviving copy.
TEST_F(CleanupSafetyTest, aFuseViewOfTheSameFileIsNeverItsOwnSurvivingCopy) {
    writeFile(dir / "real/x.bin", song);
    auto view = ScopedMount::byCommand(dir / "view",
                                       "bindfs '" + dir / "real" + "' '" + dir / "view" + "'");
    if (!view.error().empty())
        GTEST_SKIP() << "no FUSE view: " << view.error();
    const auto result = scan(dir.path());
    ASSERT_EQ(result.groups.size(), 1u);
    ASSERT_EQ(result.groups[0].files.size(), 2u);

    for (const char *marked : {"view/x.bin", "real/x.bin"}) {
        SCOPED_TRACE(marked);
        const auto outcome = runFor(result, {dir / marked});
        EXPECT_EQ(readFile(dir / "real/x.bin"), song) << "the only real copy went";
        if (const auto *report = std::get_if<CleanupReport>(&outcome)) {
            EXPECT_TRUE(report->movedPaths.empty());
        }
    }
}

// The same with an overlay: the lower file shows through the overlay as
// another device and inode.
TEST_F(CleanupSafetyTest, anOverlayOfTheSameFileIsNeverItsOwnSurvivingCopy) {
    writeFile(dir / "lower/x.bin", song);
    TempDir layers;
    makeDirs(layers / "upper");
    makeDirs(layers / "work");
    auto overlay = ScopedMount::byCommand(dir / "over",
                                          "mount -t overlay overlay -o lowerdir='" + dir / "lower" +
                                              "',upperdir='" + layers / "upper" + "',workdir='" +
                                              layers / "work" + "' '" + dir / "over" + "'");
    if (!overlay.error().empty())
        GTEST_SKIP() << "no overlay: " << overlay.error();
    const auto result = scan(dir.path());
    ASSERT_EQ(result.groups.size(), 1u);
    ASSERT_EQ(result.groups[0].files.size(), 2u);

    const auto outcome = runFor(result, {dir / "lower/x.bin"});
    EXPECT_EQ(readFile(dir / "lower/x.bin"), song) << "the only real copy went";
}

// A Trash folder that was scanned holds copies on their way out; one of
// them never lets the last real copy go.
TEST_F(CleanupSafetyTest, aCopyInTheTrashIsNeverASurvivingCopy) {
    const std::string data = std::getenv("XDG_DATA_HOME");
    const std::string trashed = TrashHome::trashFiles() + "/x.bin";
    writeFile(trashed, song);
    writeFile(data + "/Pictures/x.bin", song);
    Sha256Hasher hasher;
    DuplicateScanResult result;
    result.rootURL = data;
    DuplicateGroup group;
    group.hash = hasher.hashFile(trashed).digest;
    group.size = song.size();
    group.files = {{data + "/Pictures/x.bin", song.size()}, {trashed, song.size()}};
    result.groups.push_back(group);
    const std::vector<DuplicateFile> selected{group.files[0]};

    const auto outcome =
        CleanupRun::run(result, selected, [](const std::string &) { return false; });
    ASSERT_TRUE(std::holds_alternative<CleanupStop>(outcome));
    EXPECT_EQ(std::get<CleanupStop>(outcome).reason, CleanupStopReason::noUnchangedKeepCopy);
    EXPECT_EQ(readFile(data + "/Pictures/x.bin"), song);
}

// Whole-second change times (ext4 with 128-byte inodes, FAT) hide a rewrite
// of the kept copy right before the move; reading it again afterwards does
// not.
TEST_F(CleanupSafetyTest, aKeptCopyRewrittenUnderACoarseClockKeepsTheMarkedCopy) {
    TempDir images;
    const std::string disk = dir / "disk";
    auto mounted = ScopedMount::byCommand(disk, "truncate -s 8M '" + images / "ext4.img" +
                                                    "' && mkfs.ext4 -q -I 128 '" +
                                                    images / "ext4.img" + "' && mount -o loop '" +
                                                    images / "ext4.img" + "' '" + disk + "'");
    if (!mounted.error().empty())
        GTEST_SKIP() << "no loop ext4: " << mounted.error();
    writeFile(disk + "/keep.bin", song);
    writeFile(disk + "/marked.bin", song);
    const auto result = scan(disk);

    const auto rewriteKept = [&](const std::string &) {
        const int fd = ::open((disk + "/keep.bin").c_str(), O_WRONLY | O_CLOEXEC);
        const std::string other(song.size(), 'X');
        EXPECT_EQ(::pwrite(fd, other.data(), other.size(), 0), ssize_t(other.size()));
        ::close(fd);
        return false;
    };
    const auto outcome = runFor(result, {disk + "/marked.bin"}, rewriteKept);
    ASSERT_TRUE(std::holds_alternative<CleanupReport>(outcome));
    EXPECT_TRUE(std::get<CleanupReport>(outcome).movedPaths.empty());
    EXPECT_EQ(readFile(disk + "/marked.bin"), song);
}

// A root given as "link/.." means what the kernel says: the folder above the
// link's target. The scan, the checks and the move must all agree on it,
// and an unrelated file at the path the text suggests stays untouched.
TEST_F(CleanupSafetyTest, aRootWithDotDotAfterALinkMovesTheFileTheScanSaw) {
    writeFile(dir / "real/a/keep.bin", song);
    writeFile(dir / "real/a/marked.bin", song);
    makeDirs(dir / "real/sub");
    ASSERT_EQ(::symlink((dir / "real/sub").c_str(), (dir / "link").c_str()), 0);
    writeFile(dir / "a/marked.bin", "an unrelated file that was never scanned");

    const auto result = scan(dir / "link/..");
    ASSERT_EQ(result.groups.size(), 1u);
    const auto outcome = runFor(result, {dir / "link/../a/marked.bin"});
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "link/../a/marked.bin"});
    EXPECT_EQ(readFile(dir / "a/marked.bin"), "an unrelated file that was never scanned");
    EXPECT_FALSE(exists(dir / "real/a/marked.bin"));
    EXPECT_EQ(readFile(dir / "real/a/keep.bin"), song);
    const auto entries = restorable(paths::parent(TrashHome::trashFiles()));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.begin()->second, dir / "real/a/marked.bin");
}

// A folder of a marked file keeps being swapped for a link to an outside
// folder that holds a file of the same name and content while runs go on.
// Files outside the scanned tree never move.
TEST_F(CleanupSafetyTest, aFolderSwappedForALinkMidRunMovesNothingOutside) {
    TempDir outside;
    writeFile(outside / "sub/m.bin", song);
    writeFile(dir / "t/keep.bin", song);
    writeFile(dir / "t/sub/m.bin", song);
    const auto result = scan(dir / "t");
    ASSERT_EQ(result.groups.size(), 1u);

    int outsideMoved = 0;
    for (int round = 0; round < 150 && outsideMoved == 0; ++round) {
        if (!exists(dir / "t/sub/m.bin"))
            writeFile(dir / "t/sub/m.bin", song);
        std::atomic<bool> stop = false;
        std::thread swapper([&] {
            const std::string sub = dir / "t/sub", aside = dir / "t/sub.real";
            while (!stop) {
                if (::rename(sub.c_str(), aside.c_str()) != 0)
                    continue;
                ::symlink((outside / "sub").c_str(), sub.c_str());
                std::this_thread::yield();
                ::unlink(sub.c_str());
                ::rename(aside.c_str(), sub.c_str());
            }
        });
        (void)runFor(result, {dir / "t/sub/m.bin"});
        stop = true;
        swapper.join();
        outsideMoved += !exists(outside / "sub/m.bin");
    }
    EXPECT_EQ(outsideMoved, 0);
    EXPECT_EQ(readFile(outside / "sub/m.bin"), song);
}

// A run that fails half-way must still say which files it moved.
TEST_F(CleanupSafetyTest, aRunThatFailsHalfWayReportsWhatMoved) {
    std::set<std::string> marked;
    writeFile(dir / "keep.bin", song);
    for (const char *name : {"m1.bin", "m2.bin", "m3.bin"}) {
        writeFile(dir / name, song);
        marked.insert(dir / name);
    }
    const auto result = scan(dir.path());
    const auto failOnSecond = [&](const std::string &path) -> bool {
        if (path == dir / "m2.bin")
            throw std::runtime_error("out of memory, say");
        return false;
    };
    CleanupOutcome outcome;
    ASSERT_NO_THROW(outcome = runFor(result, marked, failOnSecond));
    const auto *report = std::get_if<CleanupReport>(&outcome);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->movedPaths, Paths{dir / "m1.bin"});
    EXPECT_EQ(report->movedBytes, song.size());
    ASSERT_EQ(report->failures.size(), 2u);
    EXPECT_EQ(report->failures[0].path, dir / "m2.bin");
    EXPECT_EQ(report->failures[1].path, dir / "m3.bin");
    EXPECT_FALSE(exists(dir / "m1.bin"));
    EXPECT_EQ(readFile(dir / "m2.bin"), song);
    EXPECT_EQ(readFile(dir / "m3.bin"), song);
}

} // namespace
