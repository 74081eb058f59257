#include "hashplan.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace twinsift {

std::vector<std::uint32_t> firstOfEachInode(const std::vector<Candidate> &candidates,
                                            const WalkedFiles &files,
                                            const std::vector<bool> &linked) {
    const auto stateOf = [&](std::uint32_t k) {
        const FileIdentity &id = files.identity(candidates[k].index);
        return std::tie(id.device, id.inode, candidates[k].size, id.modifiedNanoseconds,
                        id.changedNanoseconds);
    };
    std::vector<std::uint32_t> first(candidates.size());
    std::iota(first.begin(), first.end(), 0u);
    std::vector<std::uint32_t> order;
    for (std::uint32_t k = 0; k < candidates.size(); ++k)
        if (linked[candidates[k].index])
            order.push_back(k);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const auto sa = stateOf(a), sb = stateOf(b);
        return sa != sb ? sa < sb : a < b;
    });
    for (std::size_t i = 0; i < order.size(); ++i)
        first[order[i]] =
            i > 0 && stateOf(order[i]) == stateOf(order[i - 1]) ? first[order[i - 1]] : order[i];
    return first;
}

void planReads(const std::vector<Candidate> &candidates, const WalkedFiles &files,
               const std::vector<bool> &handled, const std::vector<bool> &linked,
               const std::function<std::optional<Sha256Digest>(std::uint32_t)> &recall,
               HashPlan &plan) {
    const auto first = firstOfEachInode(candidates, files, linked);
    plan.leads.assign(files.size(), false);
    for (std::uint32_t k = 0; k < candidates.size(); ++k) {
        const std::uint32_t index = candidates[k].index;
        if (handled[index])
            continue;
        if (first[k] != k) {
            plan.links.emplace_back(candidates[first[k]].index, index);
            plan.leads[candidates[first[k]].index] = true;
        } else if (auto digest = recall(index)) {
            plan.remembered.emplace_back(index, *digest);
        } else {
            plan.toRead.push_back(index);
        }
    }
    std::sort(plan.links.begin(), plan.links.end());
}

void gatherChecks(const std::vector<Candidate> &candidates, const WalkedFiles &files,
                  const CheckRules &rules, HashPlan &plan) {
    const std::vector<bool> &early = *rules.checkedEarly;
    std::vector<std::uint64_t> remembered;
    for (const auto &[index, digest] : plan.remembered)
        if (!early[index])
            remembered.push_back(files.fileSize(index));
    std::sort(remembered.begin(), remembered.end());
    const auto isRemembered = [&](std::uint64_t size) {
        return std::binary_search(remembered.begin(), remembered.end(), size);
    };
    const auto mayCheck = [&](std::uint32_t index) {
        const auto size = files.fileSize(index);
        return rules.worthChecking(size) && !isRemembered(size);
    };
    // How many files of each size would be checked.
    std::unordered_map<std::uint64_t, std::uint32_t> count;
    for (const auto index : plan.toRead)
        if (mayCheck(index))
            ++count[files.fileSize(index)];
    for (const auto &candidate : candidates)
        if (early[candidate.index])
            ++count[candidate.size];
    std::unordered_map<std::uint64_t, std::uint32_t> setOfSize;
    const auto join = [&](std::uint32_t index) {
        const auto size = files.fileSize(index);
        const auto [at, fresh] =
            setOfSize.try_emplace(size, static_cast<std::uint32_t>(plan.sets.size()));
        if (fresh)
            plan.sets.emplace_back().remembered = isRemembered(size);
        CheckedSize &set = plan.sets[at->second];
        set.members.push_back(index);
        if (!rules.checkBack(index))
            ++set.pending;
        plan.setOf.emplace(index, at->second);
    };
    std::size_t next = 0; // into toRead, which is in walk order too
    for (const auto &candidate : candidates) {
        const auto index = candidate.index;
        if (early[index]) {
            join(index);
        } else if (next < plan.toRead.size() && plan.toRead[next] == index) {
            ++next;
            if (mayCheck(index) && count[candidate.size] >= 2)
                join(index);
        }
    }
}

std::vector<std::uint32_t> parallelOrder(std::vector<std::uint32_t> files,
                                         const WalkedFiles &walked, const HashPlan &plan,
                                         std::uint64_t chunk) {
    const auto weight = [&](std::uint32_t index) {
        const auto size = walked.fileSize(index);
        return size >= chunk && !plan.setOf.contains(index) ? size : 0;
    };
    std::stable_sort(files.begin(), files.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return weight(a) > weight(b); });
    return files;
}

} // namespace twinsift
