#include "digestmemory.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <tuple>
#include <utility>

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

// The class comment promises this size per remembered file.
static_assert(sizeof(DigestMemory::Entry) == 80);

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

std::optional<std::vector<std::uint32_t>>
DigestMemory::takePathOrder(const Sha256Digest &fingerprint) {
    std::lock_guard lock(m_mutex);
    std::vector<std::uint32_t> kept = std::exchange(m_order, {});
    if (kept.empty() || fingerprint != m_orderFingerprint)
        return std::nullopt;
    return kept;
}

void DigestMemory::keepPathOrder(const Sha256Digest &fingerprint,
                                 std::vector<std::uint32_t> order) {
    if (m_capacity == 0)
        return;
    std::lock_guard lock(m_mutex);
    m_orderFingerprint = fingerprint;
    m_order = std::move(order);
}

void DigestMemory::remember(Entries added, std::int64_t computedAt) {
    std::erase_if(added, [computedAt](const Entry &e) {
        return e.key.identity.changedNanoseconds > computedAt - settleNanoseconds;
    });
    if (added.empty() || m_capacity == 0)
        return;

    std::lock_guard lock(m_mutex);
    const std::uint32_t age = ++m_age;
    for (auto &entry : added)
        entry.age = age;
    // Sorted in place: a stable sort would borrow a buffer as large again.
    // Two entries of one inode from one scan (a file changed between the
    // listing of two of its names) are equally fresh; either may stay.
    std::sort(added.begin(), added.end(), byInode);
    // One entry per inode, the newest: an older key of a changed file can
    // never match again.
    const auto sameInode = [](const Entry &a, const Entry &b) { return !byInode(a, b); };
    added.erase(std::unique(added.begin(), added.end(), sameInode), added.end());
    if (m_entries.empty()) {
        // The first scan's entries become the memory as they are, never
        // copied: a copy would double the memory's peak.
        m_entries = std::move(added);
    } else {
        Entries merged;
        std::merge(added.begin(), added.end(), m_entries.begin(), m_entries.end(),
                   std::back_inserter(merged), byInode);
        Entries().swap(added);
        Entries().swap(m_entries);
        // std::merge takes from the first range first among equals: the
        // new entry of an inode stays, the old one goes.
        merged.erase(std::unique(merged.begin(), merged.end(), sameInode), merged.end());
        m_entries = std::move(merged);
    }
    if (m_entries.size() > m_capacity) {
        std::nth_element(
            m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(m_capacity),
            m_entries.end(), [](const Entry &a, const Entry &b) { return a.age > b.age; });
        m_entries.resize(m_capacity);
        std::sort(m_entries.begin(), m_entries.end(), byInode);
    }
}

} // namespace twinsift
