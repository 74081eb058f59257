#pragma once

#include "fileidentity.h"
#include "sha256hasher.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace twinsift {

// Digests computed by earlier scans of this process, so that a rescan of an
// unchanged tree reads no content. A digest is found again only for the
// very same inode at the very same path, with the very same size,
// modification time and change time, and only if that change time lay at
// least settleTime before the digest was computed: a write in the same
// clock tick as the last one leaves the change time where it was, on
// filesystems with coarse timestamps too, but never one that comes
// settleTime later. The memory itself writes nothing to disk; DigestCache
// keeps a scan's entries for later runs.
//
// The path counts because an inode number alone names a file only where the
// filesystem keeps it: FAT hands its numbers out afresh at every mount, so
// after a stick is plugged in again another file may hold a remembered
// inode with the same size and times. Filesystems without inode numbers of
// their own (FAT, exFAT, NTFS, and every FUSE filesystem, whose numbers are
// whatever its server says) are not remembered at all: see
// trustsFilesystem.
//
// Each remembered file costs one Entry (80 bytes; about 84 with the blocks
// that hold them) in one sorted deque, so the default capacity bounds the
// memory at some 84 MB; beyond the capacity the entries remembered longest
// ago are dropped. An entry holds the path, size and times as one SHA-256
// of them: a wrong match would take a collision of SHA-256, which every
// set of duplicates already relies on never meeting, where keeping the
// path itself would cost its length again. Entries are gathered in a deque too: it grows a block at
// a time, where a vector would at moments hold three times its entries
// while it doubles. A first scan's entries become the memory without a
// copy; later scans merge theirs in.
//
// Beside the digests of whole files it keeps, in a second table under the
// same keys, the digests of the first and last bytes of the files whose
// ends were checked: a rescan judges those files by them without opening
// them, since most of them were told apart from every other file of their
// size by their ends alone, and never read whole.
//
// It also keeps the last scan's order by path, 4 bytes per file, under a
// fingerprint of everything that order follows from, so that a rescan whose
// walk meets the very same paths does not collate them again.
//
// Scans on several threads may share one memory.
class DigestMemory {
public:
    static constexpr std::size_t defaultCapacity = 1'000'000;
    static constexpr std::int64_t settleNanoseconds = 2'000'000'000;
    // Wall-clock time in nanoseconds since the epoch, the clock of st_ctim.
    using Clock = std::function<std::int64_t()>;

    // What the walk saw of one file.
    struct Key {
        FileIdentity identity;
        std::uint64_t size = 0;
        std::string_view path;
    };

    explicit DigestMemory(std::size_t capacity = defaultCapacity, Clock clock = {});
    DigestMemory(const DigestMemory &) = delete;
    DigestMemory &operator=(const DigestMemory &) = delete;

    // The one memory that every scan of this process shares.
    static DigestMemory &process();

    std::int64_t now() const;

    // Whether digests of files on a filesystem of this statfs type may be
    // remembered: only where inode numbers stay with their files.
    static bool trustsFilesystem(std::uint32_t filesystemType);

    std::optional<Sha256Digest> find(const Key &key) const;

    struct Entry {
        std::uint32_t device;  // as the kernel numbers devices: 32 bits
        std::uint32_t age = 0; // set by remember; higher is more recent
        ino_t inode;
        Sha256Digest state; // of the path, size and times
        Sha256Digest digest;
    };
    using Entries = std::deque<Entry>;

    // Puts entries in the order the memory keeps them, by device and inode;
    // a list in that order already costs one pass.
    static void sortByInode(Entries &entries);
    // The same, keeping one entry per inode: which of two from one scan
    // stays is left open, as both are equally fresh.
    static void sortOnePerInode(Entries &entries);
    // Where key's entry lies in entries, sorted as the memory keeps them, if
    // it is there: for a caller's own list, which no other thread changes.
    static std::optional<std::size_t> indexOf(const Entries &entries, const Key &key);
    // The entry find would take its digest from.
    std::optional<Entry> findEntry(const Key &key) const;
    // The same for the digest of the file's first and last bytes.
    std::optional<Entry> findEnds(const Key &key) const;

    // Adds to fresh the digest of the file key describes, read no earlier
    // than computedAt (a value of now()). A file changed less than
    // settleTime before that is left out.
    static void note(Entries &fresh, const Key &key, const Sha256Digest &digest,
                     std::int64_t computedAt);

    // Keeps the noted digests, of whole files and of their ends. A file's
    // new digest replaces its old one.
    void remember(Entries fresh, Entries freshEnds = {});

    // Whole files remembered, and files whose ends are.
    std::size_t size() const;
    std::size_t endsSize() const;

    // The order kept under fingerprint, if that is the one kept. Either way
    // none is left behind: a scan whose paths differ does not hold the old
    // order while it makes its own.
    std::optional<std::vector<std::uint32_t>> takePathOrder(const Sha256Digest &fingerprint);
    void keepPathOrder(const Sha256Digest &fingerprint, std::vector<std::uint32_t> order);

private:
    std::optional<Entry> find(const Entries &entries, const Key &key) const;

    const std::size_t m_capacity;
    const Clock m_clock;
    mutable std::mutex m_mutex;
    Entries m_entries; // sorted by (device, inode), one entry each
    Entries m_ends;    // the same, of the ends' digests
    std::uint32_t m_age = 0;
    Sha256Digest m_orderFingerprint{};
    std::vector<std::uint32_t> m_order;
};

} // namespace twinsift
