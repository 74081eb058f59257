#include "remembereddigests.h"

#include "platform/filesystemtype.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <system_error>
#include <tuple>

namespace twinsift {

RememberedDigests::RememberedDigests(const WalkedFiles &files, DigestMemory *memory,
                                     const DigestCache *cache)
    : m_files(files), m_memory(memory), m_cache(memory ? cache : nullptr),
      m_computedAt(memory ? memory->now() : 0) {}

void RememberedDigests::rooted(std::string_view root, int rootFd) {
    struct stat st;
    struct statfs fs;
    if (!m_memory || ::fstat(rootFd, &st) != 0 || ::fstatfs(rootFd, &fs) != 0)
        return;
    const bool trusted = DigestMemory::trustsFilesystem(static_cast<std::uint32_t>(fs.f_type));
    m_filesystems.emplace_back(st.st_dev, trusted);
    // The digests kept on disk for this folder, where its filesystem keeps
    // inode numbers with their files.
    if (!m_cache || !trusted || isViewFilesystem(rootFd))
        return;
    m_cacheKey = root.empty() ? std::string("/") : std::string(root);
    // Reading and checking the file of a large folder takes a while, which
    // the walk spends finding files.
    try {
        m_load =
            std::async(std::launch::async, [cache = m_cache, key = m_cacheKey, done = &m_loadDone] {
                auto kept = cache->load(key);
                done->store(true, std::memory_order_release);
                return kept;
            });
    } catch (const std::system_error &) {
        // No thread to spare.
        install(m_cache->load(m_cacheKey));
    }
}

bool RememberedDigests::loading() const {
    return m_load.valid() && !m_loadDone.load(std::memory_order_acquire);
}

void RememberedDigests::awaitLoad() {
    if (m_load.valid())
        install(m_load.get());
}

void RememberedDigests::install(DigestCache::Kept kept) {
    m_loaded = kept.entries.size();
    m_loadedEnds = kept.ends.size();
    if (!kept.order.empty())
        m_loadedOrder = kept.orderFingerprint;
    for (auto [loaded, entries] : {std::pair{&m_disk, &kept.entries}, {&m_diskEnds, &kept.ends}}) {
        loaded->used.assign(entries->size(), false);
        loaded->entries = std::move(*entries);
    }
    // The order by path of the last scan of this folder, from whatever
    // process: taken only if this scan meets the same paths.
    if (!kept.order.empty())
        m_memory->keepPathOrder(kept.orderFingerprint, std::move(kept.order));
}

std::optional<Sha256Digest> RememberedDigests::recall(std::uint32_t index) {
    return recallFrom(index, false);
}

std::optional<Sha256Digest> RememberedDigests::recallEnds(std::uint32_t index) {
    return recallFrom(index, true);
}

std::optional<Sha256Digest> RememberedDigests::recallFrom(std::uint32_t index, bool ends) {
    awaitLoad();
    Loaded &disk = ends ? m_diskEnds : m_disk;
    if (!m_memory ||
        ((ends ? m_memory->endsSize() : m_memory->size()) == 0 && disk.entries.empty()) ||
        !trusted(index))
        return std::nullopt;
    const auto key = keyOf(index);
    // The disk first: whether all it holds is used tells whether it needs
    // writing again. A key names one state of a file, so either place
    // holds the same digest for it.
    if (const auto at = DigestMemory::indexOf(disk.entries, key)) {
        if (!disk.used[*at]) {
            disk.used[*at] = true;
            ++disk.usedCount;
        }
        return disk.entries[*at].digest;
    }
    const auto entry = ends ? m_memory->findEnds(key) : m_memory->findEntry(key);
    if (!entry)
        return std::nullopt;
    m_fromMemoryOnly = true;
    if (!m_cacheKey.empty())
        (ends ? m_keptEnds : m_kept).push_back(*entry);
    return entry->digest;
}

void RememberedDigests::computed(std::uint32_t index, const Sha256Digest &digest) {
    if (m_memory && isSettled(index) && trusted(index))
        DigestMemory::note(m_computed, keyOf(index), digest, m_computedAt);
}

void RememberedDigests::computedEnds(std::uint32_t index, const FileIdentity &identity,
                                     const Sha256Digest &digest) {
    // Ends read of a file changed since the walk are not the walked file's.
    if (m_memory && identity == m_files.identity(index) && isSettled(index) && trusted(index))
        DigestMemory::note(m_computedEnds, keyOf(index), digest, m_computedAt);
}

void RememberedDigests::finish() {
    awaitLoad();
    m_computedSome = !m_computed.empty() || !m_computedEnds.empty();
    // In the memory's order before they are copied for the disk: the
    // memory and the disk's writer, which keep them in that order too, then
    // find them sorted, and the writer does not spend its time sorting a
    // million entries while the window draws the result.
    DigestMemory::sortByInode(m_computed);
    DigestMemory::sortByInode(m_computedEnds);
    for (auto [disk, kept, computed] :
         {std::tuple{&m_disk, &m_kept, &m_computed}, {&m_diskEnds, &m_keptEnds, &m_computedEnds}}) {
        // The disk's digests found again move over one by one, so their
        // blocks are freed as the kept list grows.
        for (std::size_t i = 0; !m_cacheKey.empty() && !disk->entries.empty(); ++i) {
            if (disk->used[i])
                kept->push_back(disk->entries.front());
            disk->entries.pop_front();
        }
        DigestMemory::Entries().swap(disk->entries);
        std::vector<bool>().swap(disk->used);
        if (!m_cacheKey.empty())
            kept->insert(kept->end(), computed->begin(), computed->end());
    }
    if (m_memory)
        m_memory->remember(std::move(m_computed), std::move(m_computedEnds));
}

DigestMemory::Key RememberedDigests::keyOf(std::uint32_t index) {
    m_files.path(index, m_path);
    return {m_files.identity(index), m_files.fileSize(index), m_path};
}

bool RememberedDigests::trusted(std::uint32_t index) {
    // Of the root's device, the walk's own folder was asked; of any other,
    // the file's path.
    const dev_t device = m_files.identity(index).device;
    for (const auto &[known, trusted] : m_filesystems)
        if (known == device)
            return trusted;
    m_files.path(index, m_path);
    struct statfs fs;
    const bool trusted = ::statfs(m_path.c_str(), &fs) == 0 &&
                         DigestMemory::trustsFilesystem(static_cast<std::uint32_t>(fs.f_type));
    return m_filesystems.emplace_back(device, trusted).second;
}

bool RememberedDigests::isSettled(std::uint32_t index) const {
    return m_files.identity(index).changedNanoseconds <=
           m_computedAt - DigestMemory::settleNanoseconds;
}

bool RememberedDigests::keepsLoadedDigests() const {
    return !m_fromMemoryOnly && !m_computedSome && m_disk.usedCount == m_loaded &&
           m_diskEnds.usedCount == m_loadedEnds && m_loaded + m_loadedEnds > 0;
}

} // namespace twinsift
