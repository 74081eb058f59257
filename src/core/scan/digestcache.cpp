#include "digestcache.h"

#include "platform/paths.h"
#include "sha256hasher.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace twinsift {
namespace {

constexpr std::array<char, 8> magic{'T', 'w', 'S', 'f', 'D', 'i', 'g', 0};
constexpr std::uint32_t version = 2;
constexpr std::uint32_t byteOrder = 0x01020304;
constexpr const char *suffix = ".digests";

// What opens every file, before its entries and the closing SHA-256.
struct Header {
    std::array<char, 8> magic;
    std::uint32_t version;
    std::uint32_t byteOrder;
    std::uint32_t entryBytes;
    std::uint32_t endsCount;  // entries of the ends' digests, after the others
    std::uint64_t count;      // entries
    std::uint64_t orderCount; // ranks of the order by path, 4 bytes each
    Sha256Digest root;        // of the folder's path
    Sha256Digest orderFingerprint;
};
static_assert(sizeof(Header) == 104);
static_assert(std::is_trivially_copyable_v<DigestMemory::Entry>);

Sha256Digest digestOf(const void *data, std::size_t size) {
    Sha256Hasher hasher;
    Sha256Digest digest{};
    if (hasher.begin()) {
        hasher.update(static_cast<const unsigned char *>(data), size);
        if (!hasher.finish(digest))
            digest.fill(0);
    }
    return digest;
}

bool readAll(int fd, unsigned char *data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Writes a file a block at a time and digests what it writes, so that a
// million digests never stand in memory a second time as one buffer.
class HashedWriter {
public:
    explicit HashedWriter(int fd) : m_fd(fd), m_ok(m_hasher.begin()) { m_block.reserve(blockSize); }

    void add(const void *data, std::size_t size) {
        const auto *bytes = static_cast<const unsigned char *>(data);
        m_block.insert(m_block.end(), bytes, bytes + size);
        m_size += size;
        if (m_block.size() >= blockSize)
            flush(true);
    }
    // Closes the file's content with the digest of all before it.
    bool finish() {
        flush(true);
        Sha256Digest sum;
        if (!m_ok || !m_hasher.finish(sum))
            return false;
        m_block.assign(sum.begin(), sum.end());
        m_size += sum.size();
        flush(false);
        return m_ok;
    }
    std::uint64_t size() const { return m_size; }

private:
    static constexpr std::size_t blockSize = 1 << 18;

    // Digested a block at a time: a digest update per entry would cost a
    // million calls into OpenSSL on a large tree.
    void flush(bool digested) {
        if (digested)
            m_hasher.update(m_block.data(), m_block.size());
        const unsigned char *at = m_block.data();
        for (std::size_t left = m_block.size(); m_ok && left > 0;) {
            const ssize_t n = ::write(m_fd, at, left);
            if (n < 0 && errno == EINTR)
                continue;
            m_ok = n > 0;
            at += n > 0 ? n : 0;
            left -= n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        m_block.clear();
    }

    const int m_fd;
    Sha256Hasher m_hasher;
    bool m_ok;
    std::vector<unsigned char> m_block;
    std::uint64_t m_size = 0;
};

// Reads a file a block at a time and digests what it reads, the mirror of
// HashedWriter.
class HashedReader {
public:
    explicit HashedReader(int fd) : m_fd(fd), m_ok(m_hasher.begin()) {}

    bool take(void *data, std::size_t size) {
        auto *out = static_cast<unsigned char *>(data);
        while (m_ok && size > 0) {
            if (m_at == m_block.size() && !refill())
                break;
            const std::size_t n = std::min(size, m_block.size() - m_at);
            std::memcpy(out, m_block.data() + m_at, n);
            m_at += n;
            out += n;
            size -= n;
        }
        return m_ok;
    }
    // Whether the next 32 bytes are the digest of all taken before them.
    bool closesWithItsDigest() {
        digestTaken();
        m_digesting = false;
        Sha256Digest sum, stored;
        return m_ok && m_hasher.finish(sum) && take(stored.data(), stored.size()) && sum == stored;
    }

private:
    static constexpr std::size_t blockSize = 1 << 18;

    // Digested a block at a time, as HashedWriter digests them.
    void digestTaken() {
        if (m_digesting)
            m_hasher.update(m_block.data() + m_digested, m_at - m_digested);
        m_digested = m_at;
    }

    bool refill() {
        digestTaken();
        m_block.resize(blockSize);
        ssize_t n;
        do
            n = ::read(m_fd, m_block.data(), m_block.size());
        while (n < 0 && errno == EINTR);
        m_ok = n > 0;
        m_block.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        m_at = m_digested = 0;
        return m_ok;
    }

    const int m_fd;
    Sha256Hasher m_hasher;
    bool m_ok;
    std::vector<unsigned char> m_block;
    std::size_t m_at = 0, m_digested = 0;
    bool m_digesting = true; // until the closing digest
};

// Whether the file at path holds exactly the size bytes written to fd.
bool sameContents(int fd, std::uint64_t size, const std::string &path) {
    const int other = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (other < 0)
        return false;
    struct stat st;
    bool same = ::fstat(other, &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<std::uint64_t>(st.st_size) == size && ::lseek(fd, 0, SEEK_SET) == 0;
    std::vector<unsigned char> ours(1 << 16), theirs(1 << 16);
    for (std::uint64_t at = 0; same && at < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(ours.size(), size - at));
        same = readAll(fd, ours.data(), n) && readAll(other, theirs.data(), n) &&
               std::memcmp(ours.data(), theirs.data(), n) == 0;
        at += n;
    }
    ::close(other);
    return same;
}

} // namespace

DigestCache::DigestCache(std::string folder, std::uint64_t budgetBytes)
    : m_folder(std::move(folder)), m_budget(budgetBytes) {}

std::string DigestCache::defaultFolder() {
    std::string home;
    if (const char *cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        home = cache;
    else
        home = paths::appending(paths::homeDirectory(), ".cache");
    return paths::appending(home, "Ambrivo/Twinsift/digests");
}

std::string DigestCache::fileOf(std::string_view root) const {
    return paths::appending(m_folder,
                            Sha256Hasher::hex(digestOf(root.data(), root.size())) + suffix);
}

DigestCache::Kept DigestCache::load(std::string_view root) const {
    Kept kept;
    const int fd = ::open(fileOf(root).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return kept;
    struct stat st {};
    Header header;
    HashedReader in(fd);
    constexpr std::size_t entryBytes = sizeof(DigestMemory::Entry);
    const std::uint64_t size = ::fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    const std::uint64_t body = size - sizeof header - 32;
    const bool fits =
        S_ISREG(st.st_mode) && size <= 2 * m_budget + sizeof header + 32 &&
        size >= sizeof header + 32 && in.take(&header, sizeof header) && header.magic == magic &&
        header.version == version && header.byteOrder == byteOrder &&
        header.entryBytes == entryBytes && header.count <= body / entryBytes &&
        header.endsCount <= body / entryBytes && header.orderCount <= body / 4 &&
        (header.count + header.endsCount) * entryBytes + header.orderCount * 4 == body &&
        header.root == digestOf(root.data(), root.size());
    // Read a block at a time, each entry as it comes, and trusted only once
    // the closing digest agrees.
    const auto take = [&](DigestMemory::Entries &entries, std::uint64_t count) {
        DigestMemory::Entry entry;
        for (std::uint64_t i = 0; i < count; ++i) {
            if (!in.take(&entry, entryBytes))
                return false;
            entries.push_back(entry);
        }
        return true;
    };
    kept.order.resize(fits ? static_cast<std::size_t>(header.orderCount) : 0);
    const bool whole =
        fits && take(kept.entries, header.count) && take(kept.ends, header.endsCount) &&
        in.take(kept.order.data(), kept.order.size() * 4) && in.closesWithItsDigest();
    ::close(fd);
    if (!whole)
        return {};
    for (auto *entries : {&kept.entries, &kept.ends})
        DigestMemory::sortByInode(*entries);
    kept.orderFingerprint = header.orderFingerprint;
    return kept;
}

bool DigestCache::save(std::string_view root, Kept kept) const {
    DigestMemory::Entries &entries = kept.entries;
    DigestMemory::Entries &ends = kept.ends;
    for (auto *list : {&entries, &ends})
        DigestMemory::sortOnePerInode(*list);
    constexpr std::size_t entryBytes = sizeof(DigestMemory::Entry);
    // Within the budget the digests of whole files go first: each spares a
    // whole read, the ends' only a check.
    const std::size_t most = static_cast<std::size_t>(m_budget / entryBytes);
    if (entries.size() > most)
        entries.resize(most);
    if (ends.size() > most - entries.size())
        ends.resize(most - entries.size());
    // The order is worth keeping only beside digests, and within the budget.
    if ((entries.empty() && ends.empty()) || kept.order.size() > m_budget / 4)
        kept.order.clear();

    Header header{};
    header.magic = magic;
    header.version = version;
    header.byteOrder = byteOrder;
    header.entryBytes = entryBytes;
    header.count = entries.size();
    header.endsCount = static_cast<std::uint32_t>(ends.size());
    header.orderCount = kept.order.size();
    header.root = digestOf(root.data(), root.size());
    header.orderFingerprint = kept.order.empty() ? Sha256Digest{} : kept.orderFingerprint;

    paths::makeFolders(m_folder, 0700);
    std::string temporary = paths::appending(m_folder, "write-XXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    HashedWriter out(fd);
    out.add(&header, sizeof header);
    for (auto *list : {&entries, &ends}) {
        // Each entry leaves its list once written out, so the list's blocks
        // are free again while the file is written, for the scan's thread.
        while (!list->empty()) {
            const auto &entry = list->front();
            DigestMemory::Entry plain{};
            plain.device = entry.device;
            plain.inode = entry.inode;
            plain.state = entry.state;
            plain.digest = entry.digest;
            out.add(&plain, entryBytes);
            list->pop_front();
        }
    }
    if (!kept.order.empty())
        out.add(kept.order.data(), kept.order.size() * 4);
    const std::string target = fileOf(root);
    bool written = out.finish();
    // A rescan that found every digest here and computed none writes the
    // very same bytes: the old file is only marked as used now, for the
    // budget's order, and the new one never reaches the disk.
    if (written && sameContents(fd, out.size(), target)) {
        ::close(fd);
        ::unlink(temporary.c_str());
        ::utimensat(AT_FDCWD, target.c_str(), nullptr, 0);
        trim(target);
        return true;
    }
    written = written && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (const int folder = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    trim(target);
    return true;
}

void DigestCache::markUsed(std::string_view root) const {
    const std::string target = fileOf(root);
    if (::utimensat(AT_FDCWD, target.c_str(), nullptr, 0) == 0)
        trim(target);
}

void DigestCache::trim(const std::string &kept) const {
    DIR *dir = ::opendir(m_folder.c_str());
    if (!dir)
        return;
    struct File {
        std::int64_t modified;
        std::uint64_t size;
        std::string path;
    };
    std::vector<File> files;
    std::uint64_t total = 0;
    const std::int64_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const bool ours = name.ends_with(suffix);
        const bool temporary = name.starts_with("write-");
        if (!ours && !temporary)
            continue;
        std::string path = paths::appending(m_folder, name);
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A temporary file left by a write that never ended.
        if (temporary) {
            if (now - st.st_mtim.tv_sec > 3600)
                ::unlink(path.c_str());
            continue;
        }
        total += static_cast<std::uint64_t>(st.st_size);
        if (path != kept)
            files.push_back(
                {st.st_mtim.tv_sec, static_cast<std::uint64_t>(st.st_size), std::move(path)});
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end(),
              [](const File &a, const File &b) { return a.modified < b.modified; });
    for (const auto &file : files) {
        if (total <= m_budget)
            break;
        if (::unlink(file.path.c_str()) == 0)
            total -= file.size;
    }
}

} // namespace twinsift
