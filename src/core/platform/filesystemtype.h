#pragma once

#include <sys/types.h>

namespace twinsift {

// Whether the folder open as fd is on one of the kernel's pseudo-filesystems
// (proc, sysfs, devtmpfs and the like), which hold no user files. device is
// the folder's own.
bool isPseudoFilesystem(int fd, dev_t device);

// Whether it is on a filesystem that shows files of other filesystems under
// identities of its own (FUSE, overlay).
bool isViewFilesystem(int fd);

} // namespace twinsift
