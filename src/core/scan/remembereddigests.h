#pragma once

#include "digestcache.h"
#include "digestmemory.h"
#include "walkedfiles.h"

#include <atomic>
#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace twinsift {

// The digests a scan may take instead of reading a file: those of the
// process's memory and, for a folder on a filesystem that keeps its inode
// numbers, those kept on disk by earlier runs. It also gathers what this
// scan computed, for the memory and for the disk.
class RememberedDigests {
public:
    // Without a memory nothing is remembered, nor recalled.
    RememberedDigests(const WalkedFiles &files, DigestMemory *memory, const DigestCache *cache);

    // The walk's root, open as rootFd: its filesystem is asked once, and
    // the digests kept on disk for it are loaded, on a thread of their own
    // while the walk goes on.
    void rooted(std::string_view root, int rootFd);
    // Whether those digests are still on their way. Until they are in, a
    // caller that may ask again later does not wait; recall waits.
    bool loading() const;

    // A remembered digest of the walked file at index, if any may serve.
    std::optional<Sha256Digest> recall(std::uint32_t index);
    // The same for the digest of its first and last bytes.
    std::optional<Sha256Digest> recallEnds(std::uint32_t index);
    // The file at index was read whole, and is what digest says.
    void computed(std::uint32_t index, const Sha256Digest &digest);
    // The ends of the file at index were read, from the very file the walk
    // saw (identity), and are what digest says.
    void computedEnds(std::uint32_t index, const FileIdentity &identity,
                      const Sha256Digest &digest);
    // Hands what was computed to the memory; after this, takeKept holds
    // every digest of this scan for the disk.
    void finish();

    // Where this scan's digests go on disk, and what they are: nothing,
    // without a disk cache.
    const DigestCache *cache() const { return m_cacheKey.empty() ? nullptr : m_cache; }
    std::string takeCacheKey() { return std::move(m_cacheKey); }
    // After finish: whether the digests that go to the disk now are
    // exactly those loaded from it: every one kept came from there, every
    // one there was used, and nothing was computed.
    bool keepsLoadedDigests() const;
    // The fingerprint of the order by path loaded from the disk, if any.
    const std::optional<Sha256Digest> &loadedOrder() const { return m_loadedOrder; }
    DigestMemory::Entries takeKept() { return std::move(m_kept); }
    DigestMemory::Entries takeKeptEnds() { return std::move(m_keptEnds); }

private:
    void install(DigestCache::Kept kept);
    void awaitLoad();
    DigestMemory::Key keyOf(std::uint32_t index);
    std::optional<Sha256Digest> recallFrom(std::uint32_t index, bool ends);
    // Whether the file's filesystem keeps inode numbers with their files,
    // asked once per device.
    bool trusted(std::uint32_t index);
    bool isSettled(std::uint32_t index) const;

    const WalkedFiles &m_files;
    DigestMemory *const m_memory;
    const DigestCache *const m_cache;
    // Taken before the first read, so every read begins after it.
    const std::int64_t m_computedAt;
    std::vector<std::pair<dev_t, bool>> m_filesystems;
    std::string m_path; // of the last keyOf
    // What the disk kept for this folder, of whole files and of ends, and
    // which of it this scan found again: those go back to the disk as they
    // are, rather than as copies gathered beside them. The counts outlive
    // the lists.
    struct Loaded {
        DigestMemory::Entries entries;
        std::vector<bool> used;
        std::size_t usedCount = 0;
    };
    Loaded m_disk, m_diskEnds;
    std::string m_cacheKey;
    DigestMemory::Entries m_computed, m_kept, m_computedEnds, m_keptEnds;
    // How many digests the disk held.
    std::size_t m_loaded = 0, m_loadedEnds = 0;
    std::optional<Sha256Digest> m_loadedOrder;
    bool m_fromMemoryOnly = false, m_computedSome = false;
    // The load, and whether it is over; the flag outlives the load, whose
    // end is waited for when it goes.
    std::atomic<bool> m_loadDone = false;
    std::future<DigestCache::Kept> m_load;
};

} // namespace twinsift
