#include "duplicatescanner.h"

#include "digestcache.h"
#include "digestmemory.h"
#include "fileidentity.h"
#include "hashworkers.h"
#include "pathorder.h"
#include "platform/fileattributes.h"
#include "platform/filesystemtype.h"
#include "platform/folderwalker.h"
#include "platform/spinningdisk.h"
#include "sha256hasher.h"
#include "walkedfiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <numeric>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <unordered_map>

namespace twinsift::DuplicateScanner {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t walkReportInterval = 25;
constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

// What the walk hands on.
struct WalkOutput {
    WalkedFiles files; // the eligible files, in the order the walk met them
    std::int64_t skipped = 0;
    std::int64_t filesScanned = 0;
    std::int64_t ignoredSmallFiles = 0;
};

// A file whose size occurs at least twice.
struct Candidate {
    std::uint64_t size;
    std::uint32_t index; // into WalkOutput::files
};

struct Hashed {
    Sha256Digest digest;
    std::uint64_t size;
    std::uint32_t index;
};

// One verified set, before path order is applied.
struct Group {
    std::vector<std::uint32_t> indices; // into WalkOutput::files
    Sha256Digest digest;
    std::size_t sharedInodeFiles = 0;
};

DuplicateScanProgress walkReport(const WalkOutput &w) {
    return {DuplicateScanPhase::enumerating, w.filesScanned, 0, 0, w.ignoredSmallFiles};
}

// Returns nullopt when the walk finished; otherwise why it did not.
// onRoot hears of the root once it is open, with its descriptor (the walk's
// own, to copy); onEligible hears of each eligible file as soon as it is
// listed.
std::optional<ScanOutcome> walk(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                                const ProgressCallback &progress, const std::stop_token &stop,
                                const std::function<void(std::string_view, int)> &onRoot,
                                const std::function<void(std::uint32_t, nlink_t)> &onEligible,
                                WalkOutput &out) {
    // Security-scoped access has no counterpart here: access is the process's own.
    if (const auto chosen = FileAttributes::readFollowingLinks(folder);
        !chosen || !chosen->isDirectory)
        return DuplicateScanError::folderUnavailable;

    // Children are named below the absolute form of the folder, so every
    // DuplicateFile carries an absolute path even if the caller's was relative.
    // The kernel makes that form: dropping ".." by text would step back from
    // where a linked folder leads, and walk a different tree.
    std::string base = folder;
    if (base.empty() || base.front() != '/') {
        std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr),
                                                         &std::free);
        if (!real)
            return DuplicateScanError::folderUnavailable;
        base = real.get();
    }

    FolderWalker walker(base, [&out](const std::string &, int) { ++out.skipped; });
    if (!walker.start())
        return DuplicateScanError::folderUnavailable;
    onRoot(walker.root(), walker.rootFd());

    const auto counted = [&] {
        if ((out.filesScanned + out.ignoredSmallFiles) % walkReportInterval == 0)
            progress(walkReport(out));
    };

    std::uint64_t listing = 0;
    while (true) {
        if (stop.stop_requested())
            return ScanCancelled{};
        if (!walker.next())
            break;
        const auto attributes = walker.attributes();
        if (!attributes) {
            ++out.skipped;
            continue;
        }
        if (!attributes->isRegularFile || attributes->isSymbolicLink)
            continue;
        if (!attributes->fileSize) {
            ++out.skipped;
            continue;
        }
        const std::uint64_t size = *attributes->fileSize;
        if (size < minimumFileSizeBytes) {
            ++out.ignoredSmallFiles;
            counted();
            continue;
        }
        ++out.filesScanned;
        if (walker.foldersEntered() != listing) {
            listing = walker.foldersEntered();
            out.files.enterFolder(walker.folder());
        }
        out.files.add(walker.name(), size, FileIdentity::of(*attributes));
        onEligible(static_cast<std::uint32_t>(out.files.size() - 1), attributes->linkCount);
        counted();
    }
    if (stop.stop_requested())
        return ScanCancelled{};
    progress(walkReport(out));
    return std::nullopt;
}

// Marks the files whose size is met at least twice: only they can hold a
// duplicate. Sorting (size, walk index) lines up each size's files, at far
// less memory than a map of lists.
std::vector<bool> sharedSizes(const WalkedFiles &files) {
    std::vector<Candidate> bySize;
    bySize.reserve(files.size());
    for (std::uint32_t i = 0; i < files.size(); ++i)
        bySize.push_back({files.fileSize(i), i});
    std::sort(bySize.begin(), bySize.end(),
              [](const Candidate &a, const Candidate &b) { return a.size < b.size; });
    std::vector<bool> shared(files.size());
    for (std::size_t i = 0; i < bySize.size();) {
        std::size_t j = i;
        while (j < bySize.size() && bySize[j].size == bySize[i].size)
            ++j;
        if (j - i >= 2)
            for (std::size_t k = i; k < j; ++k)
                shared[bySize[k].index] = true;
        i = j;
    }
    return shared;
}

// The marked files, in walk order.
std::vector<Candidate> candidatesAmong(const WalkedFiles &files, const std::vector<bool> &shared) {
    std::vector<Candidate> candidates;
    candidates.reserve(static_cast<std::size_t>(std::count(shared.begin(), shared.end(), true)));
    for (std::uint32_t i = 0; i < files.size(); ++i)
        if (shared[i])
            candidates.push_back({files.fileSize(i), i});
    return candidates;
}

// For every candidate, the first candidate (in walk order) that the walk saw
// as the same inode in the same state: hard links hold the same bytes, so
// that one is read for all of them. Only files the walk saw with several
// links are looked at; every other one is its own first.
std::vector<std::uint32_t> firstOfEachInode(const std::vector<Candidate> &candidates,
                                            const WalkedFiles &files,
                                            const std::vector<bool> &linked) {
    const auto stateOf = [&](std::uint32_t k) {
        const FileIdentity &id = files.identity(candidates[k].index);
        return std::tie(id.device, id.inode, candidates[k].size, id.modifiedNanoseconds,
                        id.changedNanoseconds);
    };
    std::vector<std::uint32_t> first(candidates.size());
    std::iota(first.begin(), first.end(), 0u);
    std::vector<std::uint32_t> order;
    for (std::uint32_t k = 0; k < candidates.size(); ++k)
        if (linked[candidates[k].index])
            order.push_back(k);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const auto sa = stateOf(a), sb = stateOf(b);
        return sa != sb ? sa < sb : a < b;
    });
    for (std::size_t i = 0; i < order.size(); ++i)
        first[order[i]] =
            i > 0 && stateOf(order[i]) == stateOf(order[i - 1]) ? first[order[i - 1]] : order[i];
    return first;
}

// Sizes met so far in the walk, so that the second file of a size is known
// the moment it comes. Open addressing over a table that stops growing at
// maxSlots; sizes met after that are not tracked, and their files wait for
// the end of the walk like every other.
class SizesSeen {
public:
    static constexpr std::uint32_t fresh = none;     // first of its size, or untracked
    static constexpr std::uint32_t again = none - 1; // third of its size or later

    // Whether every size noted so far is tracked.
    bool complete() const { return m_complete; }

    // For the file at index: the index of the first file of its size when
    // this is the second one, else fresh or again.
    std::uint32_t note(std::uint64_t size, std::uint32_t index) {
        if (m_slots.empty())
            m_slots.resize(minSlots);
        if (2 * (m_used + 1) > m_slots.size() && m_slots.size() < maxSlots)
            grow();
        for (std::size_t at = slotOf(size);; at = (at + 1) & (m_slots.size() - 1)) {
            Slot &slot = m_slots[at];
            if (slot.count == 0) {
                if (2 * (m_used + 1) > m_slots.size()) {
                    m_complete = false;
                    return fresh;
                }
                slot = {size, index, 1};
                ++m_used;
                return fresh;
            }
            if (slot.size == size) {
                if (slot.count++ == 1)
                    return slot.first;
                slot.count = 2;
                return again;
            }
        }
    }

private:
    static constexpr std::size_t minSlots = 1024, maxSlots = std::size_t{1} << 20;
    struct Slot {
        std::uint64_t size;
        std::uint32_t first;
        std::uint32_t count; // 0: empty
    };

    std::size_t slotOf(std::uint64_t size) const {
        return static_cast<std::size_t>((size * 0x9E3779B97F4A7C15ull) >> 20) &
               (m_slots.size() - 1);
    }

    void grow() {
        std::vector<Slot> old(m_slots.size() * 2, Slot{});
        old.swap(m_slots);
        for (const Slot &slot : old) {
            if (slot.count == 0)
                continue;
            std::size_t at = slotOf(slot.size);
            while (m_slots[at].count != 0)
                at = (at + 1) & (m_slots.size() - 1);
            m_slots[at] = slot;
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    bool m_complete = true;
};

// The hash stage. It starts while the walk goes on: the moment a second
// file of some size is seen, both are certain candidates, and workers begin
// reading them; a file of more than two edge blocks only at its ends, to
// begin with. Once the walk is over, the other candidates follow: each
// inode is read once for all its names, a digest the memory still holds for
// an unchanged file is not read at all, and files of spinning disks are read
// one at a time. Once every checked file of a size is checked, a file whose
// first and last bytes no other file of its size shares cannot be a
// duplicate: it is verified without a digest. The others are read whole,
// and must still be the inode, size and times their check saw. The reports,
// one per verified file, all come from the scanning thread after the
// start-of-hashing report, in the order the files are verified.
class HashStage {
public:
    HashStage(const WalkOutput &w, DigestMemory *memory, const HashingOptions &options,
              const std::stop_token &stop)
        : m_w(w), m_memory(memory), m_options(options), m_stop(stop),
          m_computedAt(memory ? memory->now() : 0), m_checking(HashWorkers::checksEdges()),
          m_workers({options.workers, options.oneFileAtATime ? 1u : 8u}, stop) {}

    // Every file the walk finds is below root ("" for "/"), the folder open
    // as rootFd. The workers open files from a copy of it: the very folder
    // walked, even if its path has led elsewhere since.
    void rooted(std::string_view root, int rootFd) {
        if (const int fd = ::fcntl(rootFd, F_DUPFD_CLOEXEC, 0); fd >= 0)
            m_workers.openBelow(fd, std::string(root));
        struct stat st;
        struct statfs fs;
        if (!m_memory || ::fstat(rootFd, &st) != 0 || ::fstatfs(rootFd, &fs) != 0)
            return;
        const bool trusted = DigestMemory::trustsFilesystem(static_cast<std::uint32_t>(fs.f_type));
        m_filesystems.emplace_back(st.st_dev, trusted);
        // The digests kept on disk for this folder, where its filesystem
        // keeps inode numbers with their files.
        if (m_options.digestCache && trusted && !isViewFilesystem(rootFd)) {
            m_cacheKey = root.empty() ? std::string("/") : std::string(root);
            auto kept = m_options.digestCache->load(m_cacheKey);
            if (!kept.entries.empty()) {
                m_disk = std::make_unique<DigestMemory>();
                m_disk->remember(std::move(kept.entries));
            }
            // The order by path of the last scan of this folder, from
            // whatever process: taken only if this scan meets the same paths.
            if (!kept.order.empty())
                m_memory->keepPathOrder(kept.orderFingerprint, std::move(kept.order));
        }
    }

    // Where the digests of this scan's files go, and what they are:
    // nothing, without a disk cache.
    const DigestCache *cache() const {
        return m_cacheKey.empty() ? nullptr : m_options.digestCache;
    }
    std::string takeCacheKey() { return std::move(m_cacheKey); }
    DigestMemory::Entries takeKept() { return std::move(m_kept); }

    // The walk found the file at index, with links names.
    void seen(std::uint32_t index, nlink_t links) {
        m_handled.push_back(false);
        m_linked.push_back(links > 1);
        m_shared.push_back(false);
        m_checked.push_back(false);
        if (m_options.oneFileAtATime)
            return;
        const std::uint32_t first = m_sizes.note(m_w.files.fileSize(index), index);
        if (first == SizesSeen::fresh)
            return;
        m_shared[index] = true;
        if (first != SizesSeen::again) {
            m_shared[first] = true;
            startEarly(first);
        }
        startEarly(index);
    }

    // Every file whose size the walk met at least twice, in walk order.
    // The sizes noted during the walk tell, unless some went untracked.
    std::vector<Candidate> candidates() const {
        if (!m_options.oneFileAtATime && m_sizes.complete())
            return candidatesAmong(m_w.files, m_shared);
        return candidatesAmong(m_w.files, sharedSizes(m_w.files));
    }

    // Verifies every candidate not verified yet and reports each one
    // verified. Returns the digests, or nullopt when stopped.
    std::optional<std::vector<Hashed>> finish(const std::vector<Candidate> &candidates,
                                              const ProgressCallback &progress,
                                              DuplicateScanProgress &report,
                                              std::int64_t &skipped) {
        m_progress = &progress;
        m_report = &report;
        m_skipped = &skipped;
        m_workers.add(m_handOver);
        plan(candidates);
        // What finished during the walk is in m_hashed, not reported yet.
        m_out = std::move(m_hashed);
        m_out.reserve(candidates.size());
        for (std::size_t i = 0, early = m_out.size(); i < early; ++i) {
            const Hashed done = m_out[i];
            others(done.index, &done.digest);
        }
        skipped += static_cast<std::int64_t>(m_failed.size());
        for (const auto index : m_failed)
            others(index, nullptr);
        for (const auto &[index, digest] : m_remembered) {
            m_out.push_back({digest, m_w.files.fileSize(index), index});
            others(index, &digest);
        }
        if (!reportNew())
            return std::nullopt;
        // Sizes whose every file was checked during the walk.
        for (std::uint32_t set = 0; set < m_sets.size(); ++set)
            if (m_sets[set].pending == 0 && !resolve(set))
                return std::nullopt;
        if (m_unresolved == 0)
            m_workers.close();
        std::vector<HashWorkers::Done> batch;
        while (m_received < m_jobs) {
            batch.clear();
            if (!m_workers.take(batch, std::min(handOverBatch, m_jobs - m_received)))
                return std::nullopt;
            m_received += batch.size();
            for (const auto &done : batch) {
                if (done.check) {
                    if (!checked(done))
                        return std::nullopt;
                    continue;
                }
                keep(done, m_out);
                if (!done.ok)
                    ++skipped;
                others(done.id, done.ok ? &done.digest : nullptr);
                if (!reportNew())
                    return std::nullopt;
            }
        }
        if (!m_cacheKey.empty())
            m_kept.insert(m_kept.end(), m_computed.begin(), m_computed.end());
        if (m_memory)
            m_memory->remember(std::move(m_computed));
        return std::move(m_out);
    }

private:
    // Files started during the walk and not yet collected; each queued one
    // holds a copy of its path, so this bounds that memory.
    static constexpr std::size_t earlyInFlight = 4096;
    // Files handed to the workers at once, and collected from them at once.
    static constexpr std::size_t handOverBatch = 32;

    // The checked files of one size.
    struct CheckedSize {
        std::vector<std::uint32_t> members; // in walk order
        std::size_t pending = 0;            // checks not back yet
        // Some file of the size has a remembered digest, whose first and
        // last bytes are not known: every member is read whole.
        bool remembered = false;
    };

    // Reports every file verified and not reported yet. False when stopped.
    bool reportNew() {
        while (m_reported < m_out.size() || m_ruledOut > 0) {
            if (m_stop.stop_requested())
                return false;
            if (m_reported < m_out.size())
                ++m_reported;
            else
                --m_ruledOut;
            ++m_report->filesHashed;
            (*m_progress)(*m_report);
        }
        return !m_stop.stop_requested();
    }

    // The names of a read inode that were not read themselves.
    void others(std::uint32_t index, const Sha256Digest *digest) {
        auto link =
            std::lower_bound(m_links.begin(), m_links.end(), std::pair{index, std::uint32_t{0}});
        for (; link != m_links.end() && link->first == index; ++link) {
            if (digest)
                m_out.push_back({*digest, m_w.files.fileSize(link->second), link->second});
            else
                ++*m_skipped;
        }
    }

    // A check came back after the walk. False when stopped.
    bool checked(const HashWorkers::Done &done) {
        m_checks.emplace(done.id, done);
        const std::uint32_t set = m_setOf.at(done.id);
        return --m_sets[set].pending > 0 || resolve(set);
    }

    // Every member of set is checked: rules out those whose ends no other
    // member shares, and hands the others over to be read whole, once the
    // ruled-out ones are reported. False when stopped.
    bool resolve(std::uint32_t set) {
        CheckedSize &size = m_sets[set];
        std::vector<const HashWorkers::Done *> checks;
        checks.reserve(size.members.size());
        for (const auto index : size.members) {
            const auto &check = m_checks.at(index);
            if (check.ok) {
                checks.push_back(&check);
            } else {
                ++*m_skipped;
                others(index, nullptr);
            }
        }
        std::sort(checks.begin(), checks.end(),
                  [](const HashWorkers::Done *a, const HashWorkers::Done *b) {
                      return std::tie(a->digest, a->id) < std::tie(b->digest, b->id);
                  });
        std::vector<HashWorkers::Late> parallel, serial;
        for (std::size_t i = 0; i < checks.size(); ++i) {
            const HashWorkers::Done &check = *checks[i];
            const bool alone = (i == 0 || checks[i - 1]->digest != check.digest) &&
                               (i + 1 == checks.size() || checks[i + 1]->digest != check.digest);
            if (alone && !size.remembered && !m_leads[check.id]) {
                ++m_ruledOut;
                continue;
            }
            (spins(check.device) ? serial : parallel)
                .push_back({check.id, m_w.files.fileSize(check.id), check.device, check.inode,
                            check.modifiedNanoseconds, check.changedNanoseconds});
        }
        for (const auto index : size.members)
            m_checks.erase(index);
        std::vector<std::uint32_t>().swap(size.members);
        if (!reportNew())
            return false;
        m_jobs += parallel.size() + serial.size();
        m_workers.addLate(parallel, false);
        m_workers.addLate(serial, true);
        if (--m_unresolved == 0)
            m_workers.close();
        return true;
    }

    // The key of the file at index, whose path it holds in m_path until
    // the next call.
    DigestMemory::Key keyOf(std::uint32_t index) {
        m_w.files.path(index, m_path);
        return {m_w.files.identity(index), m_w.files.fileSize(index), m_path};
    }

    // A remembered digest of the file at index, if the memory or the disk
    // may serve it.
    std::optional<Sha256Digest> recalled(std::uint32_t index) {
        if (!m_memory || (m_memory->size() == 0 && !m_disk) || !remembers(index))
            return std::nullopt;
        const auto key = keyOf(index);
        auto entry = m_memory->findEntry(key);
        if (!entry && m_disk)
            entry = m_disk->findEntry(key);
        if (!entry)
            return std::nullopt;
        if (!m_cacheKey.empty())
            m_kept.push_back(*entry);
        return entry->digest;
    }

    // Whether the file's filesystem keeps inode numbers with their files,
    // asked once per device: of the root's, the walk's own folder; of any
    // other, the file's path.
    bool remembers(std::uint32_t index) {
        const dev_t device = m_w.files.identity(index).device;
        for (const auto &[known, trusted] : m_filesystems)
            if (known == device)
                return trusted;
        m_w.files.path(index, m_path);
        struct statfs fs;
        const bool trusted = ::statfs(m_path.c_str(), &fs) == 0 &&
                             DigestMemory::trustsFilesystem(static_cast<std::uint32_t>(fs.f_type));
        return m_filesystems.emplace_back(device, trusted).second;
    }

    bool isSettled(std::uint32_t index) const {
        return m_w.files.identity(index).changedNanoseconds <=
               m_computedAt - DigestMemory::settleNanoseconds;
    }

    bool spins(dev_t device) {
        if (m_options.oneFileAtATime)
            return true;
        for (const auto &[known, spinning] : m_devices)
            if (known == device)
                return spinning;
        return m_devices.emplace_back(device, isSpinningDisk(device)).second;
    }

    bool checks(std::uint64_t size) const { return m_checking && HashWorkers::worthChecking(size); }

    // What came back of a job started during the walk.
    void collectEarly(const HashWorkers::Done &done) {
        if (done.check) {
            m_checks.emplace(done.id, done);
            return;
        }
        keep(done, m_hashed);
        if (!done.ok)
            m_failed.push_back(done.id);
    }

    void startEarly(std::uint32_t index) {
        // Hard links wait for the end of the walk, where all names of an
        // inode are known and one read serves them all.
        if (m_handled[index] || m_linked[index] || spins(m_w.files.identity(index).device))
            return;
        // A digest the memory holds is taken now, so the end of the walk
        // does not look for it again.
        if (const auto digest = recalled(index)) {
            m_remembered.emplace_back(index, *digest);
            m_handled[index] = true;
            return;
        }
        if (m_jobs - m_received >= earlyInFlight) {
            std::vector<HashWorkers::Done> batch;
            m_workers.take(batch, 0);
            m_received += batch.size();
            for (const auto &done : batch)
                collectEarly(done);
            if (m_jobs - m_received >= earlyInFlight)
                return;
        }
        HashWorkers::Job &job = m_handOver.emplace_back();
        job.id = index;
        job.size = m_w.files.fileSize(index);
        job.check = checks(job.size);
        m_w.files.path(index, job.path);
        m_handled[index] = true;
        m_checked[index] = job.check;
        ++m_jobs;
        if (m_handOver.size() == handOverBatch)
            m_workers.add(m_handOver);
    }

    void keep(const HashWorkers::Done &done, std::vector<Hashed> &hashed) {
        if (!done.ok)
            return;
        hashed.push_back({done.digest, m_w.files.fileSize(done.id), done.id});
        if (m_memory && isSettled(done.id) && remembers(done.id))
            DigestMemory::note(m_computed, keyOf(done.id), done.digest, m_computedAt);
    }

    // Sorts the candidates not started yet into names of an inode read for
    // another name, remembered digests, files to check and files to read
    // whole, and gathers the checked files by size.
    void plan(const std::vector<Candidate> &candidates) {
        const auto first = firstOfEachInode(candidates, m_w.files, m_linked);
        m_leads.assign(m_w.files.size(), false);
        std::vector<std::uint32_t> toRead;
        for (std::uint32_t k = 0; k < candidates.size(); ++k) {
            const std::uint32_t index = candidates[k].index;
            if (m_handled[index])
                continue;
            if (first[k] != k) {
                m_links.emplace_back(candidates[first[k]].index, index);
                m_leads[candidates[first[k]].index] = true;
            } else if (auto digest = recalled(index)) {
                m_remembered.emplace_back(index, *digest);
            } else {
                toRead.push_back(index);
            }
        }
        std::sort(m_links.begin(), m_links.end());
        if (m_checking)
            gatherChecks(candidates, toRead);
        std::vector<std::uint32_t> parallel, serial;
        for (const auto index : toRead)
            (spins(m_w.files.identity(index).device) ? serial : parallel).push_back(index);
        // Files read whole without a check (their size has a remembered
        // digest, or no other file of it is read) go first when they are of
        // a chunk or more, largest first, so that no large file is left to
        // finish alone at the end; the rest keep walk order, which keeps a
        // folder's files together.
        const auto weight = [this](std::uint32_t index) {
            const auto size = m_w.files.fileSize(index);
            return size >= HashWorkers::chunkSize && !m_setOf.contains(index) ? size : 0;
        };
        std::stable_sort(parallel.begin(), parallel.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return weight(a) > weight(b); });
        m_jobs += parallel.size() + serial.size();
        m_workers.finish(
            std::move(parallel), std::move(serial),
            [this](std::uint32_t index, HashWorkers::Job &job) {
                job.size = m_w.files.fileSize(index);
                m_w.files.path(index, job.path);
                job.identify = m_leads[index];
                job.device = m_w.files.identity(index).device;
                job.inode = m_w.files.identity(index).inode;
                job.check = m_setOf.contains(index);
            },
            m_unresolved > 0);
    }

    // Gathers by size the files checked during the walk and those of toRead
    // worth checking, where another file of the size is checked too.
    void gatherChecks(const std::vector<Candidate> &candidates,
                      const std::vector<std::uint32_t> &toRead) {
        std::vector<std::uint64_t> remembered;
        for (const auto &[index, digest] : m_remembered)
            remembered.push_back(m_w.files.fileSize(index));
        std::sort(remembered.begin(), remembered.end());
        const auto isRemembered = [&](std::uint64_t size) {
            return std::binary_search(remembered.begin(), remembered.end(), size);
        };
        // How many files of each size would be checked.
        std::unordered_map<std::uint64_t, std::uint32_t> count;
        const auto mayCheck = [&](std::uint32_t index) {
            const auto size = m_w.files.fileSize(index);
            return checks(size) && !isRemembered(size);
        };
        for (const auto index : toRead)
            if (mayCheck(index))
                ++count[m_w.files.fileSize(index)];
        for (const auto &candidate : candidates)
            if (m_checked[candidate.index])
                ++count[candidate.size];
        std::unordered_map<std::uint64_t, std::uint32_t> setOfSize;
        const auto join = [&](std::uint32_t index) {
            const auto size = m_w.files.fileSize(index);
            const auto [at, fresh] =
                setOfSize.try_emplace(size, static_cast<std::uint32_t>(m_sets.size()));
            if (fresh) {
                m_sets.emplace_back().remembered = isRemembered(size);
                ++m_unresolved;
            }
            CheckedSize &set = m_sets[at->second];
            set.members.push_back(index);
            if (!m_checks.contains(index))
                ++set.pending;
            m_setOf.emplace(index, at->second);
        };
        std::size_t next = 0; // into toRead, which is in walk order too
        for (const auto &candidate : candidates) {
            const auto index = candidate.index;
            if (m_checked[index]) {
                join(index);
            } else if (next < toRead.size() && toRead[next] == index) {
                ++next;
                if (mayCheck(index) && count[candidate.size] >= 2)
                    join(index);
            }
        }
    }

    const WalkOutput &m_w;
    DigestMemory *const m_memory;
    const HashingOptions m_options;
    const std::stop_token m_stop;
    // Taken before the first read, so every read begins after it.
    const std::int64_t m_computedAt;
    const bool m_checking;

    SizesSeen m_sizes;
    // Per eligible file: started early or found in the memory; seen by the
    // walk with several links; read for other names of its inode; of a size
    // met twice or more (while every size is tracked); checked during the
    // walk.
    std::vector<bool> m_handled, m_linked, m_leads, m_shared, m_checked;
    std::vector<std::pair<dev_t, bool>> m_devices;
    std::vector<std::pair<dev_t, bool>> m_filesystems; // trusted by the memory
    std::string m_path;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_links; // (read name, other name)
    std::vector<std::pair<std::uint32_t, Sha256Digest>> m_remembered;
    std::vector<Hashed> m_hashed;        // read during the walk
    std::vector<std::uint32_t> m_failed; // failed during the walk
    // Checks back and not yet resolved, the checked sizes, and each
    // checked file's size.
    std::unordered_map<std::uint32_t, HashWorkers::Done> m_checks;
    std::vector<CheckedSize> m_sets;
    std::unordered_map<std::uint32_t, std::uint32_t> m_setOf;
    std::size_t m_unresolved = 0;
    DigestMemory::Entries m_computed;
    // The digests kept on disk for this folder, its key there, and what
    // this scan keeps there for the next.
    std::unique_ptr<DigestMemory> m_disk;
    std::string m_cacheKey;
    DigestMemory::Entries m_kept;
    std::vector<HashWorkers::Job> m_handOver; // started, not yet handed over
    std::size_t m_jobs = 0, m_received = 0;
    // While finishing: the digests, what was reported of them, files ruled
    // out by their checks and not reported yet, and where reports go.
    std::vector<Hashed> m_out;
    std::size_t m_reported = 0, m_ruledOut = 0;
    const ProgressCallback *m_progress = nullptr;
    DuplicateScanProgress *m_report = nullptr;
    std::int64_t *m_skipped = nullptr;
    HashWorkers m_workers; // last: its threads stop before the rest goes
};

// How many of the files are hard links of another of them.
std::size_t sharedInodes(const std::vector<std::uint32_t> &indices, const WalkedFiles &files) {
    std::vector<std::pair<dev_t, ino_t>> inodes;
    inodes.reserve(indices.size());
    for (auto index : indices)
        inodes.emplace_back(files.identity(index).device, files.identity(index).inode);
    std::sort(inodes.begin(), inodes.end());
    return static_cast<std::size_t>(inodes.end() - std::unique(inodes.begin(), inodes.end()));
}

// Every (size, digest) that two or more files share, in the order of
// (size, digest), each group's files in walk order.
std::vector<Group> groupByDigest(const std::vector<Hashed> &hashed, const WalkedFiles &files) {
    // Each file joins the chain of the first file with its size and digest,
    // found through a table keyed by the digest's first eight bytes: one
    // pass, where sorting every file cost a comparison per file and level.
    const auto head = [&hashed](std::uint32_t k) {
        std::uint64_t word;
        std::memcpy(&word, hashed[k].digest.data(), sizeof word);
        return word;
    };
    std::size_t slots = 16;
    while (slots < 2 * hashed.size())
        slots *= 2;
    std::vector<std::uint32_t> table(slots, none); // a chain's first file
    std::vector<std::uint32_t> next(hashed.size(), none), last(hashed.size(), none);
    std::vector<std::uint32_t> shared; // first files of chains of two or more
    for (std::uint32_t k = 0; k < hashed.size(); ++k) {
        // The digest's bytes are as good as random: no further mixing needed.
        for (std::size_t at = (head(k) ^ hashed[k].size) & (slots - 1);;
             at = (at + 1) & (slots - 1)) {
            const std::uint32_t first = table[at];
            if (first == none) {
                table[at] = k;
                last[k] = k;
                break;
            }
            if (hashed[first].size == hashed[k].size && hashed[first].digest == hashed[k].digest) {
                if (next[first] == none)
                    shared.push_back(first);
                next[last[first]] = k;
                last[first] = k;
                break;
            }
        }
    }
    std::vector<std::uint32_t>().swap(table);
    std::vector<std::uint32_t>().swap(last);
    std::sort(shared.begin(), shared.end(), [&hashed](std::uint32_t a, std::uint32_t b) {
        return std::tie(hashed[a].size, hashed[a].digest) <
               std::tie(hashed[b].size, hashed[b].digest);
    });
    std::vector<Group> groups;
    groups.reserve(shared.size());
    for (const std::uint32_t first : shared) {
        Group &group = groups.emplace_back();
        group.digest = hashed[first].digest;
        for (std::uint32_t k = first; k != none; k = next[k])
            group.indices.push_back(hashed[k].index);
        std::sort(group.indices.begin(), group.indices.end());
        group.sharedInodeFiles = sharedInodes(group.indices, files);
    }
    return groups;
}

// Everything the order by path of the walked files follows from: their
// paths in walk order and the collation locale.
std::optional<Sha256Digest> pathsFingerprint(const WalkedFiles &files) {
    Sha256Hasher hasher;
    if (!hasher.begin())
        return std::nullopt;
    const std::string locale = PathOrder::collationLocale();
    hasher.update(reinterpret_cast<const unsigned char *>(locale.c_str()), locale.size() + 1);
    files.describePaths([&hasher](const char *bytes, std::size_t size) {
        hasher.update(reinterpret_cast<const unsigned char *>(bytes), size);
    });
    Sha256Digest fingerprint;
    if (!hasher.finish(fingerprint))
        return std::nullopt;
    return fingerprint;
}

// Puts every list in its final order: files by path, groups by the bytes
// they free, then by their number of files. The walked files are handed
// over to the result. The memory, when there is one, may hold the order of
// the same paths from the last scan, and keeps this one for the next.
DuplicateScanResult order(WalkedFiles &files, std::vector<Group> groups, DigestMemory *memory,
                          DigestCache::Kept *kept) {
    // One collation pass over every eligible file gives each its rank,
    // which orders both scannedFiles and every group's files.
    const std::size_t count = files.size();
    const auto fingerprint = memory ? pathsFingerprint(files) : std::nullopt;
    std::vector<std::uint32_t> rank;
    if (fingerprint)
        if (auto kept = memory->takePathOrder(*fingerprint); kept && kept->size() == count)
            rank = std::move(*kept);
    if (rank.size() != count) {
        rank.resize(count);
        const auto byPath = PathOrder().orderRuns(
            count, files.runStarts(),
            [&files](std::size_t i, std::string &path) { files.path(i, path); });
        for (std::uint32_t k = 0; k < byPath.size(); ++k)
            rank[byPath[k]] = k;
    }

    DuplicateScanResult result;
    result.groups.reserve(groups.size());
    for (auto &source : groups) {
        auto &indices = source.indices;
        std::sort(indices.begin(), indices.end(),
                  [&](std::uint32_t x, std::uint32_t y) { return rank[x] < rank[y]; });
        DuplicateGroup group;
        group.hash = Sha256Hasher::hex(source.digest);
        group.size = files.fileSize(indices.front());
        group.sharedInodeFiles = source.sharedInodeFiles;
        group.files.reserve(indices.size());
        for (auto index : indices)
            group.files.push_back({files.path(index), files.fileSize(index)});
        result.groups.push_back(std::move(group));
    }
    std::vector<Group>().swap(groups);
    std::stable_sort(result.groups.begin(), result.groups.end(),
                     [](const DuplicateGroup &a, const DuplicateGroup &b) {
                         const auto ra = a.reclaimableBytes(), rb = b.reclaimableBytes();
                         if (ra != rb)
                             return ra > rb;
                         return a.files.size() > b.files.size();
                     });

    // The compact list the walk built becomes the result's own, put in
    // path order in place.
    result.scannedFiles = files.take();
    result.scannedFiles.permute(rank);
    if (fingerprint && kept) {
        kept->orderFingerprint = *fingerprint;
        kept->order = rank;
    }
    if (fingerprint)
        memory->keepPathOrder(*fingerprint, std::move(rank));
    return result;
}

} // namespace

ScanOutcome scan(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const ProgressCallback &progress, std::stop_token stop) {
    const DigestCache cache(DigestCache::defaultFolder());
    HashingOptions options;
    options.digestCache = &cache;
    return scanRemembering(folder, minimumFileSizeBytes, progress, std::move(stop),
                           &DigestMemory::process(), options);
}

ScanOutcome scanRemembering(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                            const ProgressCallback &progress, std::stop_token stop,
                            DigestMemory *memory, const HashingOptions &options) {
    const auto start = Clock::now();
    if (stop.stop_requested())
        return ScanCancelled{};
    progress(DuplicateScanProgress{});

    WalkOutput w;
    DuplicateScanProgress report;
    std::optional<std::vector<Hashed>> hashed;
    // What goes to the disk cache, if anything.
    const DigestCache *cache = nullptr;
    std::string cacheKey;
    DigestCache::Kept kept;
    {
        HashStage hashing(w, memory, options, stop);
        if (auto failed = walk(
                folder, minimumFileSizeBytes, progress, stop,
                [&hashing](std::string_view root, int fd) { hashing.rooted(root, fd); },
                [&hashing](std::uint32_t index, nlink_t links) { hashing.seen(index, links); }, w))
            return std::move(*failed);
        const auto candidates = hashing.candidates();
        report = {DuplicateScanPhase::hashing, w.filesScanned, 0,
                  static_cast<std::int64_t>(candidates.size()), w.ignoredSmallFiles};
        progress(report);
        hashed = hashing.finish(candidates, progress, report, w.skipped);
        if (hashed && (cache = hashing.cache())) {
            cacheKey = hashing.takeCacheKey();
            kept.entries = hashing.takeKept();
        }
    }
    if (!hashed)
        return ScanCancelled{};
    auto groups = groupByDigest(*hashed, w.files);
    hashed.reset();
    w.files.dropIdentities();

    DuplicateScanResult result = order(w.files, std::move(groups), memory, cache ? &kept : nullptr);
    // Written while the last fields are filled in; on the disk before the
    // scan returns.
    std::jthread saving;
    if (cache)
        saving =
            std::jthread([cache, &cacheKey, &kept] { cache->save(cacheKey, std::move(kept)); });
    result.rootURL = folder;
    result.filesScanned = w.filesScanned;
    result.filesHashed = report.filesHashed;
    result.skippedFiles = w.skipped;
    result.ignoredSmallFiles = w.ignoredSmallFiles;
    result.elapsedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

} // namespace twinsift::DuplicateScanner
