#include "digestgroups.h"

#include "indextable.h"

#include <algorithm>
#include <cstring>
#include <sys/types.h>
#include <tuple>
#include <utility>

namespace twinsift {
namespace {

// How many of the files are hard links of another of them.
std::size_t sharedInodes(const std::vector<std::uint32_t> &indices, const WalkedFiles &files) {
    std::vector<std::pair<dev_t, ino_t>> inodes;
    inodes.reserve(indices.size());
    for (auto index : indices)
        inodes.emplace_back(files.identity(index).device, files.identity(index).inode);
    std::sort(inodes.begin(), inodes.end());
    return static_cast<std::size_t>(inodes.end() - std::unique(inodes.begin(), inodes.end()));
}

} // namespace

std::vector<DigestGroup> groupByDigest(const std::vector<Hashed> &hashed,
                                       const WalkedFiles &files) {
    // Each file joins the chain of the first file with its size and digest:
    // one pass, where sorting every file cost a comparison per file and
    // level. The digest's bytes are as good as random, so its first eight
    // are hash enough.
    const auto head = [&hashed](std::uint32_t k) {
        std::uint64_t word;
        std::memcpy(&word, hashed[k].digest.data(), sizeof word);
        return word ^ hashed[k].size;
    };
    const auto same = [&hashed](std::uint32_t a, std::uint32_t b) {
        return hashed[a].size == hashed[b].size && hashed[a].digest == hashed[b].digest;
    };
    std::vector<std::uint32_t> shared; // first files of chains of two or more
    std::vector<std::uint32_t> next(hashed.size(), noIndex);
    {
        IndexTable firsts(head, same, hashed.size());
        std::vector<std::uint32_t> last(hashed.size(), noIndex);
        for (std::uint32_t k = 0; k < hashed.size(); ++k) {
            const std::uint32_t first = firsts.findOrAdd(k);
            if (first == noIndex) {
                last[k] = k;
                continue;
            }
            if (next[first] == noIndex)
                shared.push_back(first);
            next[last[first]] = k;
            last[first] = k;
        }
    }
    std::sort(shared.begin(), shared.end(), [&hashed](std::uint32_t a, std::uint32_t b) {
        return std::tie(hashed[a].size, hashed[a].digest) <
               std::tie(hashed[b].size, hashed[b].digest);
    });
    std::vector<DigestGroup> groups;
    groups.reserve(shared.size());
    for (const std::uint32_t first : shared) {
        DigestGroup &group = groups.emplace_back();
        group.digest = hashed[first].digest;
        for (std::uint32_t k = first; k != noIndex; k = next[k])
            group.indices.push_back(hashed[k].index);
        std::sort(group.indices.begin(), group.indices.end());
        group.sharedInodeFiles = sharedInodes(group.indices, files);
    }
    return groups;
}

} // namespace twinsift
