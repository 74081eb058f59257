#include "digestmemory.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <iterator>
#include <limits>
#include <tuple>
#include <utility>

namespace twinsift {
namespace {

bool byInode(const DigestMemory::Entry &a, const DigestMemory::Entry &b) {
    return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
}

// Where the entry of the inode lies in entries, sorted by inode; none when
// it has none.
std::optional<std::size_t> lookUp(const DigestMemory::Entries &entries, std::uint32_t device,
                                  ino_t inode) {
    const DigestMemory::Entry probe{device, 0, inode, {}, {}};
    const auto it = std::lower_bound(entries.begin(), entries.end(), probe, byInode);
    if (it == entries.end() || it->device != device || it->inode != inode)
        return std::nullopt;
    return static_cast<std::size_t>(it - entries.begin());
}

// Keeps capacity entries at most, the most recent.
void merge(DigestMemory::Entries &entries, DigestMemory::Entries added, std::uint32_t age,
           std::size_t capacity) {
    using Entry = DigestMemory::Entry;
    if (added.empty())
        return;
    for (auto &entry : added)
        entry.age = age;
    // Sorted in place: a stable sort would borrow a buffer as large again.
    // Two entries of one inode from one scan (a file changed between the
    // listing of two of its names) are equally fresh; either may stay.
    DigestMemory::sortOnePerInode(added);
    if (entries.empty()) {
        // The first scan's entries become the memory as they are, never
        // copied: a copy would double the memory's peak.
        entries = std::move(added);
    } else {
        DigestMemory::Entries merged;
        std::merge(added.begin(), added.end(), entries.begin(), entries.end(),
                   std::back_inserter(merged), byInode);
        DigestMemory::Entries().swap(added);
        DigestMemory::Entries().swap(entries);
        // std::merge takes from the first range first among equals: the
        // new entry of an inode stays, the old one goes. One entry per
        // inode, the newest: an older key of a changed file can never
        // match again.
        const auto sameInode = [](const Entry &a, const Entry &b) { return !byInode(a, b); };
        merged.erase(std::unique(merged.begin(), merged.end(), sameInode), merged.end());
        entries = std::move(merged);
    }
    if (entries.size() > capacity) {
        std::nth_element(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(capacity),
                         entries.end(),
                         [](const Entry &a, const Entry &b) { return a.age > b.age; });
        entries.resize(capacity);
        std::sort(entries.begin(), entries.end(), byInode);
    }
}

// statfs types whose inode numbers are made up at mount time or by a
// server: vfat and msdos, exFAT, NTFS (ntfs3 and the old driver), FUSE.
constexpr std::array<std::uint32_t, 5> untrustedFilesystems{0x4d44, 0x2011bab0, 0x7366746e,
                                                            0x5346544e, 0x65735546};

std::optional<std::uint32_t> deviceOf(const DigestMemory::Key &key) {
    // The kernel's device numbers have 32 bits; one that does not fit is
    // not remembered rather than mistaken for another.
    if (key.identity.device > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(key.identity.device);
}

Sha256Digest stateOf(const DigestMemory::Key &key) {
    thread_local Sha256Hasher hasher;
    // Fixed-width fields first, so no two keys feed the same bytes.
    const std::array<std::int64_t, 3> fields{static_cast<std::int64_t>(key.size),
                                             key.identity.modifiedNanoseconds,
                                             key.identity.changedNanoseconds};
    Sha256Digest state{};
    if (!hasher.begin())
        return state;
    hasher.update(reinterpret_cast<const unsigned char *>(fields.data()), sizeof fields);
    hasher.update(reinterpret_cast<const unsigned char *>(key.path.data()), key.path.size());
    if (!hasher.finish(state))
        state.fill(0);
    return state;
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

std::size_t DigestMemory::endsSize() const {
    std::lock_guard lock(m_mutex);
    return m_ends.size();
}

bool DigestMemory::trustsFilesystem(std::uint32_t filesystemType) {
    return std::find(untrustedFilesystems.begin(), untrustedFilesystems.end(), filesystemType) ==
           untrustedFilesystems.end();
}

std::optional<Sha256Digest> DigestMemory::find(const Key &key) const {
    if (const auto entry = findEntry(key))
        return entry->digest;
    return std::nullopt;
}

void DigestMemory::sortByInode(Entries &entries) {
    if (!std::is_sorted(entries.begin(), entries.end(), byInode))
        std::sort(entries.begin(), entries.end(), byInode);
}

void DigestMemory::sortOnePerInode(Entries &entries) {
    sortByInode(entries);
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const Entry &a, const Entry &b) { return !byInode(a, b); }),
                  entries.end());
}

std::optional<std::size_t> DigestMemory::indexOf(const Entries &entries, const Key &key) {
    const auto device = deviceOf(key);
    const auto at = device ? lookUp(entries, *device, key.identity.inode) : std::nullopt;
    if (!at || entries[*at].state != stateOf(key))
        return std::nullopt;
    return at;
}

std::optional<DigestMemory::Entry> DigestMemory::findEntry(const Key &key) const {
    return find(m_entries, key);
}

std::optional<DigestMemory::Entry> DigestMemory::findEnds(const Key &key) const {
    return find(m_ends, key);
}

std::optional<DigestMemory::Entry> DigestMemory::find(const Entries &entries,
                                                      const Key &key) const {
    const auto device = deviceOf(key);
    if (!device)
        return std::nullopt;
    std::optional<Entry> found;
    {
        std::lock_guard lock(m_mutex);
        if (const auto at = lookUp(entries, *device, key.identity.inode))
            found = entries[*at];
    }
    // Only an inode met before costs a digest of its path.
    if (!found || found->state != stateOf(key))
        return std::nullopt;
    return found;
}

void DigestMemory::note(Entries &fresh, const Key &key, const Sha256Digest &digest,
                        std::int64_t computedAt) {
    const auto device = deviceOf(key);
    if (!device || key.identity.changedNanoseconds > computedAt - settleNanoseconds)
        return;
    fresh.push_back({*device, 0, key.identity.inode, stateOf(key), digest});
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

void DigestMemory::remember(Entries added, Entries addedEnds) {
    if ((added.empty() && addedEnds.empty()) || m_capacity == 0)
        return;
    std::lock_guard lock(m_mutex);
    const std::uint32_t age = ++m_age;
    merge(m_entries, std::move(added), age, m_capacity);
    merge(m_ends, std::move(addedEnds), age, m_capacity);
}

} // namespace twinsift
