#include "digestmemory.h"

#include <algorithm>
#include <ctime>
#include <tuple>

namespace twinsift {
namespace {

auto inodeOf(const DigestMemory::Key &key) {
    return std::tie(key.identity.device, key.identity.inode);
}

bool byInode(const DigestMemory::Entry &a, const DigestMemory::Entry &b) {
    return inodeOf(a.key) < inodeOf(b.key);
}

std::int64_t wallClock() {
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

DigestMemory::DigestMemory(std::size_t capacity, Clock clock)
    : m_capacity(capacity), m_clock(clock ? std::move(clock) : Clock(&wallClock)) {}

DigestMemory &DigestMemory::process() {
    static DigestMemory memory;
    return memory;
}

std::int64_t DigestMemory::now() const {
    return m_clock();
}

std::size_t DigestMemory::size() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

std::optional<Sha256Digest> DigestMemory::find(const Key &key) const {
    std::lock_guard lock(m_mutex);
    const Entry probe{key, {}, 0};
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), probe, byInode);
    if (it == m_entries.end() || !(it->key == key))
        return std::nullopt;
    return it->digest;
}

void DigestMemory::remember(std::vector<Entry> added, std::int64_t computedAt) {
    std::erase_if(added, [computedAt](const Entry &e) {
        return e.key.identity.changedNanoseconds > computedAt - settleNanoseconds;
    });
    if (added.empty() || m_capacity == 0)
        return;

    std::lock_guard lock(m_mutex);
    const std::uint32_t age = ++m_age;
    for (auto &entry : added)
        entry.age = age;
    // One entry per inode, the newest: an older key of a changed file can
    // never match again.
    std::vector<Entry> merged = std::move(added);
    merged.reserve(merged.size() + m_entries.size());
    merged.insert(merged.end(), m_entries.begin(), m_entries.end());
    std::vector<Entry>().swap(m_entries);
    std::stable_sort(merged.begin(), merged.end(), byInode);
    merged.erase(std::unique(merged.begin(), merged.end(),
                             [](const Entry &a, const Entry &b) { return !byInode(a, b); }),
                 merged.end());
    if (merged.size() > m_capacity) {
        std::nth_element(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(m_capacity),
                         merged.end(),
                         [](const Entry &a, const Entry &b) { return a.age > b.age; });
        merged.resize(m_capacity);
        std::sort(merged.begin(), merged.end(), byInode);
    }
    merged.shrink_to_fit();
    m_entries = std::move(merged);
}

} // namespace twinsift
