#include "sizecandidates.h"

#include <algorithm>

namespace twinsift {

SizesSeen::SizesSeen(const WalkedFiles &files)
    : m_table(BySize{&files}, SameSize{&files}, 512, maxSlots) {}

std::uint32_t SizesSeen::note(std::uint32_t index) {
    m_shared.resize(std::max<std::size_t>(m_shared.size(), index + 1));
    const std::uint32_t first = m_table.findOrAdd(index);
    if (first == noIndex)
        return fresh;
    m_shared[index] = true;
    if (m_shared[first])
        return again;
    m_shared[first] = true;
    return first;
}

std::vector<bool> sharedSizes(const WalkedFiles &files) {
    std::vector<Candidate> bySize;
    bySize.reserve(files.size());
    for (std::uint32_t i = 0; i < files.size(); ++i)
        bySize.push_back({files.fileSize(i), i});
    std::sort(bySize.begin(), bySize.end(),
              [](const Candidate &a, const Candidate &b) { return a.size < b.size; });
    std::vector<bool> shared(files.size());
    for (std::size_t i = 0; i < bySize.size();) {
        std::size_t j = i;
        while (j < bySize.size() && bySize[j].size == bySize[i].size)
            ++j;
        if (j - i >= 2)
            for (std::size_t k = i; k < j; ++k)
                shared[bySize[k].index] = true;
        i = j;
    }
    return shared;
}

std::vector<Candidate> candidatesAmong(const WalkedFiles &files, const std::vector<bool> &shared) {
    std::vector<Candidate> candidates;
    candidates.reserve(static_cast<std::size_t>(std::count(shared.begin(), shared.end(), true)));
    for (std::uint32_t i = 0; i < files.size(); ++i)
        if (i < shared.size() && shared[i])
            candidates.push_back({files.fileSize(i), i});
    return candidates;
}

} // namespace twinsift
