// Putting a cleanup's files back, against real files and a real Trash.
#include "cleanuprestore.h"
#include "cleanuprun.h"

#include "fileattributes.h"
#include "scanrecorder.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <unistd.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

bool exists(const std::string &path) {
    return FileAttributes::read(path).ok();
}

class CleanupRestoreTest : public ::testing::Test {
protected:
    void SetUp() override { TrashHome::emptyTrash(); }

    // Cleans up every file named marked*.bin and returns where they went.
    std::vector<Trash::Entry> cleanUp() {
        ScanRecorder recorder;
        recorder.run(dir.path(), 1);
        const auto &result = recorder.result();
        std::vector<DuplicateFile> selected;
        for (const auto &f : result.scannedFiles)
            if (f.url.find("/marked") != std::string::npos)
                selected.push_back(f);
        const auto outcome =
            CleanupRun::run(result, selected, [](const std::string &) { return false; });
        const auto &report = std::get<CleanupReport>(outcome);
        EXPECT_EQ(report.movedPaths.size(), selected.size());
        return report.trashed;
    }

    TempDir dir;
};

TEST_F(CleanupRestoreTest, everyFileGoesBackWithItsBytesAndNoInfoIsLeft) {
    for (int i = 0; i < 3; ++i) {
        const std::string content(1000 + i, static_cast<char>('a' + i));
        writeFile(dir / ("keep" + std::to_string(i) + ".bin"), content);
        writeFile(dir / ("sub/marked" + std::to_string(i) + ".bin"), content);
    }
    const auto entries = cleanUp();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(CleanupRestore::stillInTrash(entries).size(), 3u);

    const RestoreReport report = CleanupRestore::run(entries);
    EXPECT_EQ(report.restored, entries);
    EXPECT_EQ(report.restoredBytes, 1000u + 1001u + 1002u);
    EXPECT_TRUE(report.failures.empty());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(readFile(dir / ("sub/marked" + std::to_string(i) + ".bin")),
                  std::string(1000 + i, static_cast<char>('a' + i)));
    for (const auto &entry : entries) {
        EXPECT_FALSE(exists(entry.folder + "/files/" + entry.name));
        EXPECT_FALSE(exists(entry.folder + "/info/" + entry.name + ".trashinfo"));
    }
    EXPECT_TRUE(CleanupRestore::stillInTrash(entries).empty());
}

// Each file that cannot go back stays in the Trash, with its reason, and the
// others go back.
TEST_F(CleanupRestoreTest, whatCannotGoBackStaysInTheTrashWithItsReason) {
    for (const char *name : {"taken", "emptied", "replaced", "gone-folder/deep", "fine"}) {
        const std::string content = std::string(2000, 'x') + name;
        writeFile(dir / ("keep/" + std::string(name) + ".bin"), content);
        writeFile(dir / (std::string(name) + "/marked.bin"), content);
    }
    const auto entries = cleanUp();
    ASSERT_EQ(entries.size(), 5u);
    const auto entryFor = [&](const std::string &folder) {
        for (const auto &e : entries)
            if (e.originalPath == dir / (folder + "/marked.bin"))
                return e;
        ADD_FAILURE() << folder;
        return Trash::Entry{};
    };
    writeFile(dir / "taken/marked.bin", "a new file where it was");
    const Trash::Entry emptied = entryFor("emptied");
    ASSERT_EQ(::rename((emptied.folder + "/files/" + emptied.name).c_str(),
                       (dir / "emptied-elsewhere").c_str()),
              0);
    const Trash::Entry replaced = entryFor("replaced");
    ASSERT_EQ(::rename((replaced.folder + "/files/" + replaced.name).c_str(),
                       (dir / "replaced-elsewhere").c_str()),
              0);
    writeFile(replaced.folder + "/files/" + replaced.name, "another file of that name");
    removeTree(dir / "gone-folder");

    const RestoreReport report = CleanupRestore::run(entries);
    std::set<std::string> back;
    for (const auto &e : report.restored)
        back.insert(e.originalPath);
    EXPECT_EQ(back, (std::set<std::string>{dir / "gone-folder/deep/marked.bin",
                                           dir / "fine/marked.bin"}));
    ASSERT_EQ(report.failures.size(), 3u);
    std::map<std::string, Trash::Problem> reasons;
    for (const auto &f : report.failures)
        reasons[f.entry.originalPath] = f.failure.problem;
    EXPECT_EQ(reasons[dir / "taken/marked.bin"], Trash::Problem::nameTaken);
    EXPECT_EQ(reasons[dir / "emptied/marked.bin"], Trash::Problem::goneFromTrash);
    EXPECT_EQ(reasons[dir / "replaced/marked.bin"], Trash::Problem::changedInTrash);
    EXPECT_EQ(readFile(dir / "taken/marked.bin"), "a new file where it was");
    EXPECT_EQ(readFile(replaced.folder + "/files/" + replaced.name), "another file of that name");
    EXPECT_FALSE(exists(dir / "replaced/marked.bin"));
    EXPECT_EQ(readFile(dir / "gone-folder/deep/marked.bin"),
              std::string(2000, 'x') + "gone-folder/deep");
    EXPECT_EQ(CleanupRestore::stillInTrash(entries).size(), 1u) << "the taken one waits";
}

TEST_F(CleanupRestoreTest, fiveThousandFilesComeBackCountedExactly) {
    std::uint64_t bytes = 0;
    for (int i = 0; i < 5000; ++i) {
        const std::string content = std::to_string(i) + std::string(100 + i % 7, 'c');
        writeFile(dir / ("k/" + std::to_string(i / 100) + "/" + std::to_string(i)), content);
        writeFile(dir / ("marked/" + std::to_string(i / 100) + "/" + std::to_string(i)), content);
        bytes += content.size();
    }
    const auto entries = cleanUp();
    ASSERT_EQ(entries.size(), 5000u);
    const RestoreReport report = CleanupRestore::run(entries);
    EXPECT_EQ(report.restored.size(), 5000u);
    EXPECT_EQ(report.restoredBytes, bytes);
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(readFile(dir / "marked/49/4999"), "4999" + std::string(100 + 4999 % 7, 'c'));
}

} // namespace
