#pragma once

#include "result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

namespace twinsift {

// The attributes the scan and the cleanup read of one entry, taken from
// lstat so that a symbolic link describes itself and never its target.
struct FileAttributes {
    bool isRegularFile = false;
    bool isSymbolicLink = false;
    bool isDirectory = false;
    std::optional<std::uint64_t> fileSize; // regular files only
    dev_t device = 0;
    ino_t inode = 0;
    nlink_t linkCount = 1; // names the inode has, here and elsewhere
    // Last change of content or metadata (st_ctim); no caller can set it back.
    std::int64_t changeSeconds = 0;
    long changeNanoseconds = 0;
    // Last change of content (st_mtim); callers can set it back.
    std::int64_t modificationSeconds = 0;
    long modificationNanoseconds = 0;

    // Reads the attributes of path without following a final symbolic link.
    static Result<FileAttributes> read(const std::string &path);
    // The same for name inside the directory open as dirFd.
    static Result<FileAttributes> readAt(int dirFd, const char *name);
    // Follows every symbolic link, as a file chooser does: what the user
    // picked through a link is the entry the link leads to.
    static Result<FileAttributes> readFollowingLinks(const std::string &path);
};

} // namespace twinsift
