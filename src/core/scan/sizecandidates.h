#pragma once

#include "indextable.h"
#include "walkedfiles.h"

#include <cstdint>
#include <vector>

namespace twinsift {

// A file whose size occurs at least twice: only such a file can have a
// duplicate.
struct Candidate {
    std::uint64_t size;
    std::uint32_t index; // into the walked files
};

// Sizes met so far in the walk, so that the second file of a size is known
// the moment it comes and its reading can start before the walk ends. The
// table stops growing at a million sizes; the files of sizes met after that
// are not tracked, and wait for the end of the walk like every other.
class SizesSeen {
public:
    static constexpr std::uint32_t fresh = noIndex;   // first of its size
    static constexpr std::uint32_t again = fresh - 1; // third of its size or later

    explicit SizesSeen(const WalkedFiles &files);

    // For the file at index, just walked: the index of the first file of
    // its size when this is the second one, else fresh (also when its size
    // went untracked) or again.
    std::uint32_t note(std::uint32_t index);

    // Whether every size noted so far is tracked, so that the files marked
    // are all the candidates.
    bool complete() const { return !m_table.refusedAny(); }
    // Per file noted: whether its size was met twice or more.
    const std::vector<bool> &shared() const { return m_shared; }

private:
    struct BySize {
        const WalkedFiles *files;
        std::uint64_t operator()(std::uint32_t i) const { return files->fileSize(i); }
    };
    struct SameSize {
        const WalkedFiles *files;
        bool operator()(std::uint32_t a, std::uint32_t b) const {
            return files->fileSize(a) == files->fileSize(b);
        }
    };
    static constexpr std::size_t maxSlots = std::size_t{1} << 20;

    IndexTable<BySize, SameSize> m_table;
    std::vector<bool> m_shared;
};

// Marks the files whose size is met at least twice, after the walk.
// Sorting (size, index) lines up each size's files, at far less memory than
// a map of lists.
std::vector<bool> sharedSizes(const WalkedFiles &files);

// The marked files, in walk order.
std::vector<Candidate> candidatesAmong(const WalkedFiles &files, const std::vector<bool> &shared);

} // namespace twinsift
