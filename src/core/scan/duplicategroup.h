#pragma once

#include "duplicatefile.h"

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

    const std::string &id() const { return hash; }

    // Bytes freed by keeping one copy and removing the others.
    std::uint64_t reclaimableBytes() const {
        return files.size() < 2 ? 0 : size * static_cast<std::uint64_t>(files.size() - 1);
    }
};

} // namespace twinsift
