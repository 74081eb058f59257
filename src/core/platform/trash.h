#pragma once

#include "result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// The user's Trash, laid out as every freedesktop file manager reads it, so
// that any file manager can restore what we put there, and we can too.
//
// A file goes to the home Trash when it is on that Trash's filesystem, else
// to its own filesystem's $topdir/.Trash/$uid (only below a real, sticky
// .Trash) or $topdir/.Trash-$uid. Nothing is ever copied to another disk,
// replaced or deleted: the info file is written whole and synced first, the
// file then moves with one rename that refuses to replace anything, and any
// failure undoes the info file and leaves the file where it was. Failures
// come back as a Failure: what went wrong, and the system's error behind it.
namespace twinsift::Trash {

// Why a file did not go to the Trash, or did not come back from it.
enum class Problem : std::uint8_t {
    // Moving in; the file stays where it was.
    refused,            // the system refused; error says why
    systemLocation,     // it lies in /proc, /sys, /dev, /run or a pseudo filesystem
    alreadyInTrash,     // it is inside a Trash already
    readOnlyDisk,       // its filesystem is mounted read-only
    noTrashOnDisk,      // no Trash on its disk, and nothing is copied across disks
    homeTrashUnusable,  // the home Trash could not be opened or made; error says why
    diskTrashUnusable,  // its disk's Trash could not be opened or made; error says why
    infoNotWritten,     // its info file could not be written; error says why
    noFreeName,         // every name tried was taken
    changed,            // another file took its place while it moved; nothing moved
    changedAndReplaced, // as changed, but what took its place stayed in the Trash
    // Putting back; the file stays in the Trash.
    goneFromTrash,  // the Trash no longer holds it
    changedInTrash, // the Trash holds another file under its name
    nameTaken,      // its original name is taken
    notPutBack,     // the system refused; error says why
    folderGone,     // its folder could not be reached or made; error says why
};

struct Failure {
    Problem problem = Problem::refused;
    int error = 0; // the errno behind it, for the problems that say so; else 0

    friend bool operator==(const Failure &, const Failure &) = default;
};

// One file we put in a Trash.
struct Entry {
    std::string folder;       // the Trash folder, holding files/ and info/
    std::string name;         // its name in files/; info/NAME.trashinfo describes it
    std::string originalPath; // where it was, absolute path bytes
    // What the file was, to know it again: an inode number alone is soon
    // given to another file.
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modificationSeconds = 0;
    long modificationNanoseconds = 0;

    friend bool operator==(const Entry &, const Entry &) = default;
};

// What the file must still be when it moves: the move is undone, and fails,
// when the entry that moved turns out to be another inode.
struct Expected {
    dev_t device = 0;
    ino_t inode = 0;
};

// Moves name, inside the folder open as folder, to the Trash. The folder's
// own path is read from the kernel, so Path= names the real place even when
// the caller reached the folder through links or "..".
Result<Entry, Failure> moveAt(int folder, const std::string &name,
                              std::optional<Expected> expected = std::nullopt);

// The same for a whole path; only its last component is taken as it is.
Result<Entry, Failure> move(const std::string &path);

// Puts an entry back: the Trash still holds that very file under its name,
// its original name inside the folder open as folder is free, and the rename
// refuses to replace anything. Its info file goes once it is back.
Result<void, Failure> putBackAt(const Entry &entry, int folder, const std::string &name);

// The same into entry.originalPath, reached without following links. With
// makeMissingFolders, folders of that path that were removed since are made
// again.
Result<void, Failure> putBack(const Entry &entry, bool makeMissingFolders = false);

// Whether the Trash still holds that very file under its name.
bool holds(const Entry &entry);

// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash.
std::string homeFolder();

// Whether an absolute, resolved path lies inside a Trash folder: the home
// Trash, or a .Trash/UID or .Trash-UID folder of any user.
bool isInsideTrash(std::string_view resolvedPath);

// Path bytes as a Trash info file writes them: every byte but the unreserved
// ones and "/" as %XX.
std::string percentEncoded(std::string_view path);

} // namespace twinsift::Trash
