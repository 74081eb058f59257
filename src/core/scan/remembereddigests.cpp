#include "remembereddigests.h"

#include "platform/filesystemtype.h"

#include <sys/stat.h>
#include <sys/statfs.h>

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
    auto kept = m_cache->load(m_cacheKey);
    m_loaded = kept.entries.size();
    m_loadedEnds = kept.ends.size();
    if (!kept.order.empty())
        m_loadedOrder = kept.orderFingerprint;
    if (!kept.entries.empty() || !kept.ends.empty()) {
        m_disk = std::make_unique<DigestMemory>();
        m_disk->remember(std::move(kept.entries), std::move(kept.ends));
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
    if (!m_memory || ((ends ? m_memory->endsSize() : m_memory->size()) == 0 && !m_disk) ||
        !trusted(index))
        return std::nullopt;
    const auto key = keyOf(index);
    // The disk first: whether all it holds is used tells whether it needs
    // writing again. A key names one state of a file, so either place
    // holds the same digest for it.
    std::optional<DigestMemory::Entry> entry;
    if (m_disk && (entry = ends ? m_disk->findEnds(key) : m_disk->findEntry(key)))
        ++(ends ? m_fromDiskEnds : m_fromDisk);
    if (!entry && (entry = ends ? m_memory->findEnds(key) : m_memory->findEntry(key)))
        m_fromMemoryOnly = true;
    if (!entry)
        return std::nullopt;
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
    m_computedSome = !m_computed.empty() || !m_computedEnds.empty();
    if (!m_cacheKey.empty()) {
        m_kept.insert(m_kept.end(), m_computed.begin(), m_computed.end());
        m_keptEnds.insert(m_keptEnds.end(), m_computedEnds.begin(), m_computedEnds.end());
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
    return !m_fromMemoryOnly && !m_computedSome && m_fromDisk == m_loaded &&
           m_fromDiskEnds == m_loadedEnds && m_loaded + m_loadedEnds > 0;
}

} // namespace twinsift
