#pragma once

#include "result.h"
#include "uniquefd.h"

#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/types.h>

// Finding the Trash folder a file goes to, and opening it without following
// links: the home Trash, or the one at the top of the file's own mount.
namespace twinsift::Trash::detail {

constexpr int folderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// One Trash folder, open, with its two halves.
struct Can {
    std::string path;
    std::string top; // the folder Path= is relative to; empty for the home Trash
    UniqueFd folder, files, info;
};

bool onDevice(int fd, dev_t device);

// The home Trash, when it is on device (nothing otherwise). Its folders are
// made only then. When it is there but cannot be used, the file has no other
// Trash: the error says why.
Result<std::optional<Can>> homeCan(dev_t device);

// $topdir/.Trash/$uid below a real sticky .Trash, else $topdir/.Trash-$uid.
Result<Can> topCan(int folder, dev_t device);

} // namespace twinsift::Trash::detail
