#include "duplicatescanner.h"

#include "digestmemory.h"
#include "fileidentity.h"
#include "pathorder.h"
#include "platform/fileattributes.h"
#include "platform/folderwalker.h"
#include "readahead.h"
#include "walkedfiles.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <numeric>
#include <tuple>
#include <unistd.h>

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
std::optional<ScanOutcome> walk(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                                const ProgressCallback &progress, const std::stop_token &stop,
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
        counted();
    }
    if (stop.stop_requested())
        return ScanCancelled{};
    progress(walkReport(out));
    return std::nullopt;
}

// Only sizes met at least twice can hold a duplicate. Sorting (size, walk
// index) lines up each size's files, at far less memory than a map of
// lists. The candidates come back in walk order.
std::vector<Candidate> selectCandidates(const WalkedFiles &files) {
    std::vector<Candidate> candidates;
    candidates.reserve(files.size());
    for (std::uint32_t i = 0; i < files.size(); ++i)
        candidates.push_back({files.fileSize(i), i});
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.size != b.size ? a.size < b.size : a.index < b.index;
    });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < candidates.size();) {
        std::size_t j = i;
        while (j < candidates.size() && candidates[j].size == candidates[i].size)
            ++j;
        if (j - i >= 2)
            for (std::size_t k = i; k < j; ++k)
                candidates[kept++] = candidates[k];
        i = j;
    }
    candidates.resize(kept);
    candidates.shrink_to_fit();
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate &a, const Candidate &b) { return a.index < b.index; });
    return candidates;
}

// For every candidate, the first candidate (in walk order) that the walk saw
// as the same inode in the same state: hard links hold the same bytes, so
// that one is read for all of them.
std::vector<std::uint32_t> firstOfEachInode(const std::vector<Candidate> &candidates,
                                            const WalkedFiles &files) {
    const auto stateOf = [&](std::uint32_t k) {
        const FileIdentity &id = files.identity(candidates[k].index);
        return std::tie(id.device, id.inode, candidates[k].size, id.modifiedNanoseconds,
                        id.changedNanoseconds);
    };
    std::vector<std::uint32_t> order(candidates.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const auto sa = stateOf(a), sb = stateOf(b);
        return sa != sb ? sa < sb : a < b;
    });
    std::vector<std::uint32_t> first(candidates.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        first[order[i]] =
            i > 0 && stateOf(order[i]) == stateOf(order[i - 1]) ? first[order[i - 1]] : order[i];
    return first;
}

enum class ReadStatus { ok, failed, stopped };

// Digests the next file that reader hands over.
ReadStatus digestNext(ReadAhead &reader, Sha256Hasher &hasher, const Candidate &candidate,
                      const FileIdentity &walked, const std::stop_token &stop,
                      Sha256Digest &digest) {
    ReadAhead::Piece piece;
    bool ok = hasher.begin();
    std::uint64_t bytesRead = 0;
    for (;;) {
        if (!reader.next(piece))
            return ReadStatus::stopped;
        // A name that leads to another inode than the walk saw was replaced
        // since: its bytes are not the walked file's.
        if (piece.error != 0 || piece.device != walked.device || piece.inode != walked.inode)
            ok = false;
        else if (piece.length > 0)
            hasher.update(piece.data, piece.length);
        bytesRead += piece.length;
        if (piece.last)
            break;
        if (stop.stop_requested())
            return ReadStatus::stopped;
    }
    // A file that grew or shrank since the walk holds bytes other than the
    // size it is grouped by: its digest proves nothing.
    if (!ok || bytesRead != candidate.size || !hasher.finish(digest))
        return ReadStatus::failed;
    return ReadStatus::ok;
}

// Digests every candidate, in walk order, with one report per file that
// has a digest. Each inode is read once; a digest the memory still holds
// for an unchanged file is not read at all. Returns nullopt when stopped.
std::optional<std::vector<Hashed>>
hashCandidates(const WalkOutput &w, const std::vector<Candidate> &candidates, DigestMemory *memory,
               const ProgressCallback &progress, DuplicateScanProgress &report,
               std::int64_t &skipped, const std::stop_token &stop) {
    const auto keyOf = [&](std::uint32_t k) {
        return DigestMemory::Key{w.files.identity(candidates[k].index), candidates[k].size};
    };
    const auto first = firstOfEachInode(candidates, w.files);

    std::vector<std::optional<Sha256Digest>> remembered;
    if (memory && memory->size() > 0) {
        remembered.resize(candidates.size());
        for (std::uint32_t k = 0; k < candidates.size(); ++k)
            if (first[k] == k)
                remembered[k] = memory->find(keyOf(k));
    }
    const auto isRemembered = [&](std::uint32_t k) {
        return !remembered.empty() && remembered[k].has_value();
    };
    std::vector<std::uint32_t> toRead;
    for (std::uint32_t k = 0; k < candidates.size(); ++k)
        if (first[k] == k && !isRemembered(k))
            toRead.push_back(k);

    // Taken before the first read, so every read begins after it.
    const std::int64_t computedAt = memory ? memory->now() : 0;
    std::vector<DigestMemory::Entry> computed;
    if (memory)
        computed.reserve(toRead.size());

    // The reading runs a few chunks ahead on a second thread, in walk
    // order: a folder's files are read together, which a spinning disk
    // rewards. The digests, the cancellation checks and the reports stay
    // here, in order.
    Sha256Hasher hasher;
    ReadAhead reader(
        toRead.size(),
        [&](std::size_t j) -> const std::string & {
            // Asked on the reading thread only, one path at a time.
            thread_local std::string path;
            w.files.path(candidates[toRead[j]].index, path);
            return path;
        },
        stop);

    std::vector<Hashed> hashed;
    hashed.reserve(candidates.size());
    std::vector<std::uint32_t> hashedAt(candidates.size(), none);
    for (std::uint32_t k = 0; k < candidates.size(); ++k) {
        if (stop.stop_requested())
            return std::nullopt;
        const Candidate &candidate = candidates[k];
        Sha256Digest digest;
        bool ok = false;
        if (first[k] != k) {
            ok = hashedAt[first[k]] != none;
            if (ok)
                digest = hashed[hashedAt[first[k]]].digest;
        } else if (isRemembered(k)) {
            ok = true;
            digest = *remembered[k];
        } else {
            const FileIdentity &walked = w.files.identity(candidate.index);
            const auto status = digestNext(reader, hasher, candidate, walked, stop, digest);
            if (status == ReadStatus::stopped)
                return std::nullopt;
            ok = status == ReadStatus::ok;
            if (ok && memory &&
                walked.changedNanoseconds <= computedAt - DigestMemory::settleNanoseconds)
                computed.push_back({keyOf(k), digest, 0});
        }
        if (!ok) {
            ++skipped;
            continue;
        }
        hashedAt[k] = static_cast<std::uint32_t>(hashed.size());
        hashed.push_back({digest, candidate.size, candidate.index});
        ++report.filesHashed;
        progress(report);
    }
    if (memory)
        memory->remember(std::move(computed), computedAt);
    return hashed;
}

// How many of the files are hard links of another of them.
std::size_t sharedInodes(const std::vector<std::uint32_t> &indices, const WalkedFiles &files) {
    std::vector<std::pair<dev_t, ino_t>> inodes;
    inodes.reserve(indices.size());
    for (auto index : indices)
        inodes.emplace_back(files.identity(index).device, files.identity(index).inode);
    std::sort(inodes.begin(), inodes.end());
    return static_cast<std::size_t>(inodes.end() - std::unique(inodes.begin(), inodes.end()));
}

// Every (size, digest) that two or more files share, each group's files
// still in walk order.
std::vector<Group> groupByDigest(std::vector<Hashed> hashed, const WalkedFiles &files) {
    std::sort(hashed.begin(), hashed.end(), [](const Hashed &a, const Hashed &b) {
        return std::tie(a.size, a.digest, a.index) < std::tie(b.size, b.digest, b.index);
    });
    std::vector<Group> groups;
    for (std::size_t a = 0; a < hashed.size();) {
        std::size_t b = a;
        while (b < hashed.size() && hashed[b].size == hashed[a].size &&
               hashed[b].digest == hashed[a].digest)
            ++b;
        if (b - a >= 2) {
            Group &group = groups.emplace_back();
            group.digest = hashed[a].digest;
            for (std::size_t k = a; k < b; ++k)
                group.indices.push_back(hashed[k].index);
            group.sharedInodeFiles = sharedInodes(group.indices, files);
        }
        a = b;
    }
    return groups;
}

// Puts every list in its final order: files by path, groups by the bytes
// they free, then by their number of files. The walked files are used up.
DuplicateScanResult order(WalkedFiles &files, std::vector<Group> groups) {
    // One collation pass over every eligible file gives each its rank,
    // which orders both scannedFiles and every group's files.
    const std::size_t count = files.size();
    std::vector<std::uint32_t> rank(count);
    {
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

    // The paths are spelled out in walk order while the compact list is
    // freed behind them, then put in path order in place: every file moves
    // to where its rank says, following each cycle of the permutation once.
    result.scannedFiles.reserve(count);
    files.drain([&result](std::string &&path, std::uint64_t size) {
        result.scannedFiles.push_back({std::move(path), size});
    });
    for (std::size_t start = 0; start < rank.size(); ++start) {
        while (rank[start] != start) {
            const std::uint32_t target = rank[start];
            std::swap(result.scannedFiles[start], result.scannedFiles[target]);
            std::swap(rank[start], rank[target]);
        }
    }
    return result;
}

} // namespace

HashOutcome sha256(const std::string &path, std::stop_token stop) {
    thread_local Sha256Hasher hasher;
    return hasher.hashFile(path, stop);
}

ScanOutcome scan(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const ProgressCallback &progress, std::stop_token stop) {
    return scanRemembering(folder, minimumFileSizeBytes, progress, std::move(stop),
                           &DigestMemory::process());
}

ScanOutcome scanRemembering(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                            const ProgressCallback &progress, std::stop_token stop,
                            DigestMemory *memory) {
    const auto start = Clock::now();
    if (stop.stop_requested())
        return ScanCancelled{};
    progress(DuplicateScanProgress{});

    WalkOutput w;
    if (auto failed = walk(folder, minimumFileSizeBytes, progress, stop, w))
        return std::move(*failed);

    auto candidates = selectCandidates(w.files);
    DuplicateScanProgress report{DuplicateScanPhase::hashing, w.filesScanned, 0,
                                 static_cast<std::int64_t>(candidates.size()), w.ignoredSmallFiles};
    progress(report);

    auto hashed = hashCandidates(w, candidates, memory, progress, report, w.skipped, stop);
    if (!hashed)
        return ScanCancelled{};
    std::vector<Candidate>().swap(candidates); // freed before the result grows
    auto groups = groupByDigest(std::move(*hashed), w.files);
    w.files.dropIdentities();

    DuplicateScanResult result = order(w.files, std::move(groups));
    result.rootURL = folder;
    result.filesScanned = w.filesScanned;
    result.filesHashed = report.filesHashed;
    result.skippedFiles = w.skipped;
    result.ignoredSmallFiles = w.ignoredSmallFiles;
    result.elapsedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

} // namespace twinsift::DuplicateScanner
