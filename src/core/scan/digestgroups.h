#pragma once

#include "sha256hasher.h"
#include "walkedfiles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace twinsift {

// A file read whole, or known by a remembered digest.
struct Hashed {
    Sha256Digest digest;
    std::uint64_t size;
    std::uint32_t index; // into the walked files
};

// One proven set, before the order by path is applied.
struct DigestGroup {
    std::vector<std::uint32_t> indices; // into the walked files, ascending
    Sha256Digest digest;
    std::size_t sharedInodeFiles = 0; // files that are hard links of another
};

// Every (size, digest) that two or more files share, in the order of
// (size, digest), each group's files in walk order.
std::vector<DigestGroup> groupByDigest(const std::vector<Hashed> &hashed, const WalkedFiles &files);

} // namespace twinsift
