#pragma once

#include "hashworkers.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace twinsift {

// What the checks of the first and last bytes of one size's files tell.
struct EdgeVerdicts {
    std::vector<std::uint32_t> failed; // checks that failed, in the order given
    // Files whose ends no other file of the size shares: no duplicate, and
    // verified without being read whole.
    std::size_t ruledOut = 0;
    // The others, read whole next, ordered by their ends' digest.
    std::vector<const HashWorkers::Done *> readWhole;
};

// Judges the checks of every file of one size. With remembered, some file
// of the size has a digest whose ends are unknown, so every file is read
// whole; so is every file whose digest serves other names of its inode
// (leads, per walked file), whose sets are told by digests only. A file
// whose whole digest is known already (known, per walked file) lends its
// ends to the verdict on the others, and is neither ruled out nor read.
EdgeVerdicts judgeEdges(const std::vector<const HashWorkers::Done *> &checks, bool remembered,
                        const std::vector<bool> &leads, const std::vector<bool> &known);

} // namespace twinsift
