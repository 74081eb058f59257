#pragma once

#include "duplicatefile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace twinsift {

// One set of files whose size and SHA-256 digest both match. Groups are
// formed per (size, digest), so the digest alone identifies a group within
// one result.
struct DuplicateGroup {
    std::string hash; // 64 lower-case hex characters
    std::uint64_t size = 0;
    std::vector<DuplicateFile> files; // at least two, in path order
    // How many of files are hard links of another file of the group (the
    // same device and inode). They are listed, but removing one frees nothing.
    std::size_t sharedInodeFiles = 0;

    const std::string &id() const { return hash; }

    // Bytes freed by keeping one copy and removing the others: each inode's
    // bytes count once.
    std::uint64_t reclaimableBytes() const {
        const std::size_t distinct = files.size() - std::min(files.size(), sharedInodeFiles);
        return distinct < 2 ? 0 : size * static_cast<std::uint64_t>(distinct - 1);
    }

    friend bool operator==(const DuplicateGroup &, const DuplicateGroup &) = default;
};

} // namespace twinsift
