#pragma once

#include "sha256hasher.h"
#include "sizecandidates.h"
#include "walkedfiles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace twinsift {

// For every candidate, the first candidate (in walk order) that the walk saw
// as the same inode in the same state: hard links hold the same bytes, so
// that one is read for all of them. Only files the walk saw with several
// links (linked, per walked file) are looked at; every other one is its own
// first.
std::vector<std::uint32_t> firstOfEachInode(const std::vector<Candidate> &candidates,
                                            const WalkedFiles &files,
                                            const std::vector<bool> &linked);

// The checked files of one size.
struct CheckedSize {
    std::vector<std::uint32_t> members; // in walk order
    std::size_t pending = 0;            // checks not back yet
    // Some file of the size has a remembered digest, whose first and last
    // bytes are not known: every member is read whole.
    bool remembered = false;
};

// What happens to the candidates not started during the walk.
struct HashPlan {
    // (name read, other name of its inode), sorted: the other is not read.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> links;
    // Per walked file: read for other names of its inode as well.
    std::vector<bool> leads;
    // Digests found in a memory, with their file.
    std::vector<std::pair<std::uint32_t, Sha256Digest>> remembered;
    // The files to read, in walk order.
    std::vector<std::uint32_t> toRead;
    // The sizes whose files are checked by their ends first, and each
    // checked file's size among them.
    std::vector<CheckedSize> sets;
    std::unordered_map<std::uint32_t, std::uint32_t> setOf;
};

// Sorts the candidates not handled yet (per walked file) into other names
// of a read inode, remembered digests (recall finds them) and files to read.
void planReads(const std::vector<Candidate> &candidates, const WalkedFiles &files,
               const std::vector<bool> &handled, const std::vector<bool> &linked,
               const std::function<std::optional<Sha256Digest>(std::uint32_t)> &recall,
               HashPlan &plan);

// What decides which files of a size are checked by their ends.
struct CheckRules {
    // Whether a file of this size is worth checking at all.
    std::function<bool(std::uint64_t size)> worthChecking;
    // Per walked file: checked during the walk, or its ends remembered.
    const std::vector<bool> *checkedEarly = nullptr;
    // Whether a check of the file is back already.
    std::function<bool(std::uint32_t index)> checkBack;
};

// Gathers by size the files checked during the walk and those of
// plan.toRead worth checking, where another file of the size is checked
// too, into plan.sets. A size with a remembered digest of a file whose ends
// are unknown is read whole.
void gatherChecks(const std::vector<Candidate> &candidates, const WalkedFiles &files,
                  const CheckRules &rules, HashPlan &plan);

// The files of plan.toRead in the order the workers take them: files read
// whole without a check (their size has a remembered digest, or no other
// file of it is read) go first when they are of chunk bytes or more,
// largest first, so that no large file is left to finish alone at the end;
// the rest keep walk order, which keeps a folder's files together.
std::vector<std::uint32_t> parallelOrder(std::vector<std::uint32_t> files,
                                         const WalkedFiles &walked, const HashPlan &plan,
                                         std::uint64_t chunk);

} // namespace twinsift
