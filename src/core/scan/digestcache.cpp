#include "digestcache.h"

#include "platform/paths.h"
#include "sha256hasher.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <memory>
#include <mutex>
#include <openssl/crypto.h>
#include <span>
#include <sys/stat.h>
#include <thread>
#include <tuple>
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

bool byInode(const DigestMemory::Entry &a, const DigestMemory::Entry &b) {
    return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
}

bool writeAll(int fd, const unsigned char *data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Whether the file at path holds exactly bytes.
bool sameBytes(const std::string &path, const std::vector<unsigned char> &bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st;
    bool same = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                static_cast<std::uint64_t>(st.st_size) == bytes.size();
    std::vector<unsigned char> chunk(1 << 16);
    for (std::size_t at = 0; same && at < bytes.size();) {
        const ssize_t n = ::read(fd, chunk.data(), std::min(chunk.size(), bytes.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        same =
            n > 0 && std::memcmp(chunk.data(), bytes.data() + at, static_cast<std::size_t>(n)) == 0;
        at += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    ::close(fd);
    return same;
}

// The one thread that writes the files handed over by saveLater. Its
// destructor, at the end of the process, waits for the last of them.
class Writer {
public:
    static Writer &instance() {
        static Writer writer;
        return writer;
    }

    // OpenSSL starts, configuration and all, before the thread: begun on
    // the thread, its start kept state that nothing freed at exit.
    Writer() { OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG, nullptr); }

    void add(const DigestCache &cache, std::string root, DigestCache::Kept kept) {
        {
            std::lock_guard lock(m_mutex);
            m_saves.push_back({cache, std::move(root), std::move(kept)});
            ++m_handedOver;
            if (!m_thread.joinable())
                m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_all();
    }

    void wait() {
        std::unique_lock lock(m_mutex);
        const auto until = m_handedOver;
        m_wake.wait(lock, [&] { return m_done >= until; });
    }

    ~Writer() {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    struct Save {
        DigestCache cache;
        std::string root;
        DigestCache::Kept kept;
    };

    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || !m_saves.empty(); });
            if (m_saves.empty())
                return; // quitting, with nothing left to write
            Save save = std::move(m_saves.front());
            m_saves.pop_front();
            lock.unlock();
            save.cache.save(save.root, std::move(save.kept));
            // The digests just freed sat in the arena of the scan that handed
            // them over: give their pages back rather than keep them resident.
            ::malloc_trim(0);
            lock.lock();
            ++m_done;
            m_wake.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Save> m_saves;
    std::uint64_t m_handedOver = 0, m_done = 0;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace

void DigestCache::saveLater(std::string root, Kept kept) const {
    Writer::instance().add(*this, std::move(root), std::move(kept));
}

void DigestCache::waitForSaves() {
    Writer::instance().wait();
}

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
    struct stat st;
    // Left uninitialised: the read fills it, and zeroing it first would
    // be one more pass over megabytes.
    std::unique_ptr<unsigned char[]> data;
    std::size_t size = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uint64_t>(st.st_size) <= 2 * m_budget + sizeof(Header) + 32 &&
        static_cast<std::uint64_t>(st.st_size) >= sizeof(Header) + 32) {
        size = static_cast<std::size_t>(st.st_size);
        data.reset(new unsigned char[size]);
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fd, data.get() + got, size - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (got != size)
            size = 0;
    }
    ::close(fd);
    if (size == 0)
        return kept;
    const std::span<const unsigned char> bytes(data.get(), size);
    Header header;
    std::memcpy(&header, bytes.data(), sizeof header);
    constexpr std::size_t entryBytes = sizeof(DigestMemory::Entry);
    const std::size_t body = bytes.size() - sizeof header - 32;
    if (header.magic != magic || header.version != version || header.byteOrder != byteOrder ||
        header.entryBytes != entryBytes || header.count > body / entryBytes ||
        header.endsCount > body / entryBytes || header.orderCount > body / 4 ||
        (header.count + header.endsCount) * entryBytes + header.orderCount * 4 != body ||
        header.root != digestOf(root.data(), root.size()))
        return kept;
    Sha256Digest sum;
    std::memcpy(sum.data(), bytes.data() + bytes.size() - 32, 32);
    if (sum != digestOf(bytes.data(), bytes.size() - 32))
        return kept;
    const unsigned char *at = bytes.data() + sizeof header;
    const auto take = [&](DigestMemory::Entries &entries, std::uint64_t count) {
        for (std::uint64_t i = 0; i < count; ++i, at += entryBytes) {
            DigestMemory::Entry entry;
            std::memcpy(&entry, at, entryBytes);
            entries.push_back(entry);
        }
        if (!std::is_sorted(entries.begin(), entries.end(), byInode))
            std::sort(entries.begin(), entries.end(), byInode);
    };
    take(kept.entries, header.count);
    take(kept.ends, header.endsCount);
    kept.order.resize(static_cast<std::size_t>(header.orderCount));
    // An empty vector's data() may be null, which memcpy must never see.
    if (!kept.order.empty())
        std::memcpy(kept.order.data(), at, kept.order.size() * 4);
    kept.orderFingerprint = header.orderFingerprint;
    return kept;
}

bool DigestCache::save(std::string_view root, Kept kept) const {
    DigestMemory::Entries &entries = kept.entries;
    DigestMemory::Entries &ends = kept.ends;
    for (auto *list : {&entries, &ends}) {
        std::sort(list->begin(), list->end(), byInode);
        list->erase(std::unique(list->begin(), list->end(),
                                [](const auto &a, const auto &b) { return !byInode(a, b); }),
                    list->end());
    }
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
    std::vector<unsigned char> bytes(sizeof header + (entries.size() + ends.size()) * entryBytes +
                                     kept.order.size() * 4 + 32);
    std::memcpy(bytes.data(), &header, sizeof header);
    unsigned char *at = bytes.data() + sizeof header;
    for (auto *list : {&entries, &ends}) {
        // Each entry leaves its list once written out, so the list's blocks
        // are free again while the file is built, for the scan's thread.
        while (!list->empty()) {
            const auto &entry = list->front();
            DigestMemory::Entry plain{};
            plain.device = entry.device;
            plain.inode = entry.inode;
            plain.state = entry.state;
            plain.digest = entry.digest;
            std::memcpy(at, &plain, entryBytes);
            at += entryBytes;
            list->pop_front();
        }
    }
    if (!kept.order.empty())
        std::memcpy(at, kept.order.data(), kept.order.size() * 4);
    at += kept.order.size() * 4;
    const Sha256Digest sum = digestOf(bytes.data(), bytes.size() - 32);
    std::memcpy(at, sum.data(), 32);

    // A rescan that found every digest here and computed none would write
    // the very same bytes: the file is only marked as used now, for the
    // budget's order, and the disk is spared a write and a flush.
    const std::string target = fileOf(root);
    if (sameBytes(target, bytes)) {
        ::utimensat(AT_FDCWD, target.c_str(), nullptr, 0);
        trim(target);
        return true;
    }
    paths::makeFolders(m_folder, 0700);
    std::string temporary = paths::appending(m_folder, "write-XXXXXX");
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
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
