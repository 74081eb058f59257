#pragma once

#include "platform/fileattributes.h"

#include <cstdint>
#include <sys/types.h>

namespace twinsift {

// What the walk saw of one eligible file besides its path and size: which
// inode it is, and when its content and its metadata last changed.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedNanoseconds = 0;

    static FileIdentity of(const FileAttributes &a) {
        constexpr std::int64_t billion = 1'000'000'000;
        return {a.device, a.inode, a.modificationSeconds * billion + a.modificationNanoseconds,
                a.changeSeconds * billion + a.changeNanoseconds};
    }

    bool sameInode(const FileIdentity &other) const {
        return device == other.device && inode == other.inode;
    }

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

} // namespace twinsift
