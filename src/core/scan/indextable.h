#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace twinsift {

// No index: an empty slot, or no index found.
inline constexpr std::uint32_t noIndex = std::numeric_limits<std::uint32_t>::max();

// A set of indices into the caller's own array, found by what they index:
// open addressing over 4 bytes a slot. The engine keys a million files by
// size or by digest with it: finding the repeats among a million digests
// took 0.1 s and 8 MiB this way, and 0.7 s and 36 MiB with a node-based
// std::unordered_map, an allocation per file. Hash and Equal take indices;
// the hash of an index must not change while it is in the table.
//
// The table grows until maxSlots, then refuses new keys: a caller that
// cannot afford more memory learns that a key went untracked.
template <typename Hash, typename Equal> class IndexTable {
public:
    static constexpr std::uint32_t none = noIndex;

    IndexTable(Hash hash, Equal equal, std::size_t expected = 0,
               std::size_t maxSlots = std::numeric_limits<std::size_t>::max())
        : m_hash(hash), m_equal(equal), m_maxSlots(maxSlots) {
        std::size_t count = 16;
        while (count < 2 * expected && count < m_maxSlots)
            count *= 2;
        m_slots.assign(count, none);
    }

    // The index already in the table with index's key; none when index
    // was added as the first of its key, or refused (see full()).
    std::uint32_t findOrAdd(std::uint32_t index) {
        if (2 * (m_used + 1) > m_slots.size() && 2 * m_slots.size() <= m_maxSlots)
            grow();
        for (std::size_t at = slotOf(index);; at = (at + 1) & (m_slots.size() - 1)) {
            const std::uint32_t held = m_slots[at];
            if (held == none) {
                if (2 * (m_used + 1) > m_slots.size()) {
                    m_refused = true;
                    return none;
                }
                m_slots[at] = index;
                ++m_used;
                return none;
            }
            if (m_equal(held, index))
                return held;
        }
    }

    // Whether some key was refused for want of room.
    bool refusedAny() const { return m_refused; }
    std::size_t size() const { return m_used; }

private:
    std::size_t slotOf(std::uint32_t index) const {
        // Fibonacci hashing spreads sizes that differ in few low bits.
        return static_cast<std::size_t>((m_hash(index) * 0x9E3779B97F4A7C15ull) >> 20) &
               (m_slots.size() - 1);
    }

    void grow() {
        std::vector<std::uint32_t> old(m_slots.size() * 2, none);
        old.swap(m_slots);
        for (const std::uint32_t index : old) {
            if (index == none)
                continue;
            std::size_t at = slotOf(index);
            while (m_slots[at] != none)
                at = (at + 1) & (m_slots.size() - 1);
            m_slots[at] = index;
        }
    }

    Hash m_hash;
    Equal m_equal;
    std::size_t m_maxSlots;
    std::vector<std::uint32_t> m_slots;
    std::size_t m_used = 0;
    bool m_refused = false;
};

} // namespace twinsift
