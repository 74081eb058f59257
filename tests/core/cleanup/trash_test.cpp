// Our freedesktop Trash against real files: what a file manager reads back
// from it, what it never replaces, and putting entries back.
#include "trash.h"

#include "fileattributes.h"
#include "folderdescriptors.h"
#include "tempdir.h"
#include "trashhome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

#include <fcntl.h>
#include <regex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace twinsift::Trash {
// Readable failures in assertion output.
std::ostream &operator<<(std::ostream &os, const Failure &f) {
    return os << "{problem " << static_cast<int>(f.problem) << ", " << std::strerror(f.error)
              << "}";
}
} // namespace twinsift::Trash

using namespace twinsift;
using namespace twinsift::testing;

namespace {

bool exists(const std::string &path) {
    return FileAttributes::read(path).ok();
}

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override { TrashHome::emptyTrash(); }

    static std::string info(const Trash::Entry &entry) {
        return readFile(entry.folder + "/info/" + entry.name + ".trashinfo");
    }

    TempDir dir;
};

TEST_F(TrashTest, theInfoFileHoldsTheWholePathByteForByteAndPutBackRestoresIt) {
    const std::string name = "caf\xe9 100%\n#?\xff.txt";
    const std::string path = dir / ("sub dir/" + name);
    writeFile(path, "exact bytes\0here");
    const auto before = FileAttributes::read(path);

    const auto entry = Trash::move(path);
    ASSERT_TRUE(entry) << entry.error();
    EXPECT_EQ(entry->folder, std::string(std::getenv("XDG_DATA_HOME")) + "/Trash");
    EXPECT_EQ(entry->name, name);
    EXPECT_EQ(entry->originalPath, path);
    EXPECT_EQ(entry->inode, before->inode);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(readFile(entry->folder + "/files/" + name), "exact bytes\0here");
    const std::regex shape("\\[Trash Info\\]\nPath=([^\n]*)\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT"
                           "\\d\\d:\\d\\d:\\d\\d\n");
    std::smatch match;
    const std::string text = info(*entry);
    ASSERT_TRUE(std::regex_match(text, match, shape)) << text;
    EXPECT_EQ(match[1].str(),
              Trash::percentEncoded(dir.path()) + "/sub%20dir/caf%E9%20100%25%0A%23%3F%FF.txt");

    ASSERT_TRUE(Trash::putBack(*entry));
    EXPECT_EQ(readFile(path), "exact bytes\0here");
    EXPECT_EQ(FileAttributes::read(path)->inode, before->inode);
    EXPECT_FALSE(exists(entry->folder + "/files/" + name));
    EXPECT_FALSE(exists(entry->folder + "/info/" + name + ".trashinfo"));
}

// Names already taken in files/ (an orphan without info) or in info/ (an
// info without its file) are left alone; ours takes the next free name.
TEST_F(TrashTest, takenNamesAreNeverReplaced) {
    const std::string trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
    writeFile(trash + "/files/photo.jpg", "orphan");
    writeFile(trash + "/info/photo.2.jpg.trashinfo", "stray info");
    std::set<std::string> names;
    for (const char *folder : {"a", "b", "c"}) {
        writeFile(dir / (std::string(folder) + "/photo.jpg"), folder);
        const auto entry = Trash::move(dir / (std::string(folder) + "/photo.jpg"));
        ASSERT_TRUE(entry) << entry.error();
        EXPECT_EQ(readFile(trash + "/files/" + entry->name), folder);
        names.insert(entry->name);
    }
    EXPECT_EQ(names, (std::set<std::string>{"photo.3.jpg", "photo.4.jpg", "photo.5.jpg"}));
    EXPECT_EQ(readFile(trash + "/files/photo.jpg"), "orphan");
    EXPECT_EQ(readFile(trash + "/info/photo.2.jpg.trashinfo"), "stray info");
}

// NAME.trashinfo must fit in a name: a long name gets a shorter trash name,
// its extension kept and its UTF-8 whole, while Path= keeps every byte.
TEST_F(TrashTest, longNamesGetShortTrashNamesAndKeepTheirFullPath) {
    std::string stem;
    while (stem.size() < 246)
        stem += "\xc3\xa9"; // é, two bytes
    std::set<std::string> names;
    for (const char *folder : {"a", "b"}) {
        const std::string path = dir / (std::string(folder) + "/" + stem + ".jpeg");
        writeFile(path, folder);
        const auto entry = Trash::move(path);
        ASSERT_TRUE(entry) << entry.error();
        EXPECT_LE(entry->name.size() + 10, 255u) << entry->name;
        EXPECT_TRUE(entry->name.ends_with(".jpeg")) << entry->name;
        const std::string shown = entry->name.substr(0, entry->name.find('.'));
        EXPECT_EQ(shown.size() % 2, 0u) << "a cut UTF-8 sequence";
        EXPECT_NE(info(*entry).find("Path=" + Trash::percentEncoded(path) + "\n"),
                  std::string::npos);
        names.insert(entry->name);
        ASSERT_TRUE(Trash::putBack(*entry));
        EXPECT_EQ(readFile(path), folder);
        ASSERT_TRUE(Trash::move(path));
    }
    EXPECT_EQ(names.size(), 2u);
}

TEST_F(TrashTest, putBackNeverReplacesAndNeverRestoresAnotherFile) {
    writeFile(dir / "taken.txt", "first");
    const auto taken = Trash::move(dir / "taken.txt");
    ASSERT_TRUE(taken);
    writeFile(dir / "taken.txt", "a new file of that name");
    const auto refused = Trash::putBack(*taken);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().problem, Trash::Problem::nameTaken);
    EXPECT_EQ(readFile(dir / "taken.txt"), "a new file of that name");
    EXPECT_EQ(readFile(taken->folder + "/files/" + taken->name), "first");

    writeFile(dir / "swapped.txt", "second");
    const auto swapped = Trash::move(dir / "swapped.txt");
    ASSERT_TRUE(swapped);
    const std::string inTrash = swapped->folder + "/files/" + swapped->name;
    ASSERT_EQ(::rename(inTrash.c_str(), (dir / "emptied").c_str()), 0);
    EXPECT_EQ(Trash::putBack(*swapped).error().problem, Trash::Problem::goneFromTrash);
    writeFile(inTrash, "another file under its name");
    EXPECT_EQ(Trash::putBack(*swapped).error().problem, Trash::Problem::changedInTrash);
    EXPECT_FALSE(exists(dir / "swapped.txt"));
}

// The file checked is the file moved: if another took its name in between,
// that one goes straight back and the move fails.
TEST_F(TrashTest, aMoveOfAnotherInodeThanExpectedIsUndone) {
    writeFile(dir / "m.bin", "checked");
    const auto checked = FileAttributes::read(dir / "m.bin");
    ASSERT_EQ(::rename((dir / "m.bin").c_str(), (dir / "aside").c_str()), 0);
    writeFile(dir / "m.bin", "swapped in");
    const auto folder = folders::openAbsolute(dir.path());
    ASSERT_TRUE(folder);
    const auto moved =
        Trash::moveAt(folder->get(), "m.bin", Trash::Expected{checked->device, checked->inode});
    ASSERT_FALSE(moved);
    EXPECT_EQ(moved.error().problem, Trash::Problem::changed);
    EXPECT_EQ(readFile(dir / "m.bin"), "swapped in");
}

// On another disk: below a real, sticky .Trash the user's own folder in it;
// a .Trash that is not sticky is nobody's to use.
TEST_F(TrashTest, anotherDisksSharedTrashIsUsedOnlyWhenSticky) {
    const std::string uid = std::to_string(::getuid());
    for (const bool sticky : {true, false}) {
        SCOPED_TRACE(sticky);
        const std::string disk = dir / (sticky ? "sticky" : "plain");
        ScopedMount mounted(disk);
        if (!mounted.error().empty())
            GTEST_SKIP() << "cannot mount tmpfs: " << mounted.error();
        makeDirs(disk + "/.Trash");
        ASSERT_EQ(::chmod((disk + "/.Trash").c_str(), sticky ? 01777 : 0777), 0);
        writeFile(disk + "/f.txt", "on another disk");
        const auto entry = Trash::move(disk + "/f.txt");
        ASSERT_TRUE(entry) << entry.error();
        EXPECT_EQ(entry->folder, sticky ? disk + "/.Trash/" + uid : disk + "/.Trash-" + uid);
        EXPECT_NE(info(*entry).find("\nPath=f.txt\n"), std::string::npos);
        ASSERT_TRUE(Trash::putBack(*entry));
        EXPECT_EQ(readFile(disk + "/f.txt"), "on another disk");
    }
}

// The home Trash is the only Trash for files on its disk: when it cannot be
// used, the move fails with the reason instead of going to another Trash.
TEST_F(TrashTest, anUnusableHomeTrashFailsTheMoveAndSaysWhy) {
    const std::string trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
    writeFile(trash + "/files", "not a folder");
    writeFile(dir / "m.bin", "stays");
    const auto moved = Trash::move(dir / "m.bin");
    ASSERT_FALSE(moved);
    EXPECT_EQ(moved.error(), (Trash::Failure{Trash::Problem::homeTrashUnusable, ENOTDIR}));
    EXPECT_EQ(readFile(dir / "m.bin"), "stays");
}

// A data home named through a link (a home under /var/home reached as
// /home): the entry names the real Trash, and putting back still works.
TEST_F(TrashTest, aDataHomeBehindALinkStillPutsBack) {
    const std::string real = std::getenv("XDG_DATA_HOME");
    ASSERT_EQ(::symlink(real.c_str(), (dir / "linked-data").c_str()), 0);
    ::setenv("XDG_DATA_HOME", (dir / "linked-data").c_str(), 1);
    writeFile(dir / "m.bin", "through a link");
    const auto entry = Trash::move(dir / "m.bin");
    const auto back = entry ? Trash::putBack(*entry) : Result<void, Trash::Failure>();
    ::setenv("XDG_DATA_HOME", real.c_str(), 1);
    ASSERT_TRUE(entry) << entry.error();
    EXPECT_EQ(entry->folder, real + "/Trash");
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ(readFile(dir / "m.bin"), "through a link");
}

// What the Trash refuses, it refuses with the reason, and the file stays.
TEST_F(TrashTest, readOnlyDisksAndSystemPlacesAreRefusedWithTheReason) {
    const std::string disk = dir / "disk";
    auto mounted = ScopedMount::byCommand(
        disk, "mount -t tmpfs -o size=1m tmpfs '" + disk + "' && echo kept > '" + disk +
                  "/f.txt' && mount -o remount,ro '" + disk + "'");
    if (!mounted.error().empty())
        GTEST_SKIP() << "no read-only tmpfs: " << mounted.error();
    const auto readOnly = Trash::move(disk + "/f.txt");
    ASSERT_FALSE(readOnly);
    EXPECT_EQ(readOnly.error().problem, Trash::Problem::readOnlyDisk);
    EXPECT_EQ(readFile(disk + "/f.txt"), "kept\n");

    const auto proc = Trash::move("/proc/self/status");
    ASSERT_FALSE(proc);
    EXPECT_EQ(proc.error().problem, Trash::Problem::systemLocation);
}

TEST(TrashFolders, trashFoldersAreToldByWholeComponents) {
    const std::string home = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
    EXPECT_TRUE(Trash::isInsideTrash(home + "/files/x"));
    EXPECT_TRUE(Trash::isInsideTrash("/media/usb/.Trash-1000/files/x"));
    EXPECT_TRUE(Trash::isInsideTrash("/media/usb/.Trash/1000/files/x"));
    EXPECT_FALSE(Trash::isInsideTrash(home + "Can/x"));
    EXPECT_FALSE(Trash::isInsideTrash("/media/usb/.Trash-me/x"));
    EXPECT_FALSE(Trash::isInsideTrash("/media/usb/.Trash/notes/x"));
    EXPECT_FALSE(Trash::isInsideTrash("/home/u/Trash/files/x"));
}

} // namespace
