#include "duplicatescanner.h"

#include "fileidentity.h"
#include "pathorder.h"
#include "platform/fileattributes.h"
#include "platform/folderwalker.h"
#include "readahead.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <numeric>
#include <unistd.h>

namespace twinsift::DuplicateScanner {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t walkReportInterval = 25;

// What the walk hands to the hashing phase.
struct WalkOutput {
    std::vector<DuplicateFile> eligible; // in the order the walk met them
    std::vector<FileIdentity> identity;  // one per eligible file
    std::int64_t skipped = 0;
    std::int64_t filesScanned = 0;
    std::int64_t ignoredSmallFiles = 0;
};

struct Candidate {
    std::uint64_t size;
    std::uint32_t index; // into WalkOutput::eligible
};

struct Hashed {
    Sha256Digest digest;
    std::uint64_t size;
    std::uint32_t index;
};

// How many of the files are hard links of another of them.
std::size_t sharedInodes(const std::vector<std::uint32_t> &indices,
                         const std::vector<FileIdentity> &identity) {
    std::vector<std::pair<dev_t, ino_t>> inodes;
    inodes.reserve(indices.size());
    for (auto index : indices)
        inodes.emplace_back(identity[index].device, identity[index].inode);
    std::sort(inodes.begin(), inodes.end());
    return static_cast<std::size_t>(inodes.end() - std::unique(inodes.begin(), inodes.end()));
}

DuplicateScanProgress walkReport(const WalkOutput &w) {
    return {DuplicateScanPhase::enumerating, w.filesScanned, 0, 0, w.ignoredSmallFiles};
}

// Returns nullopt when the walk finished; otherwise why it did not.
std::optional<ScanOutcome> walk(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                                const ProgressCallback &progress, const std::stop_token &stop,
                                WalkOutput &out) {
    // Security-scoped access has no counterpart here: access is the process's own.
    bool isDirectory = false;
    if (!fileExists(folder, &isDirectory) || !isDirectory)
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
    if (walker.start() != 0)
        return DuplicateScanError::folderUnavailable;

    const auto counted = [&] {
        if ((out.filesScanned + out.ignoredSmallFiles) % walkReportInterval == 0)
            progress(walkReport(out));
    };

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
        out.eligible.push_back({walker.path(), size});
        out.identity.push_back(FileIdentity::of(*attributes));
        counted();
    }
    if (stop.stop_requested())
        return ScanCancelled{};
    progress(walkReport(out));
    return std::nullopt;
}

} // namespace

HashOutcome sha256(const std::string &path, std::stop_token stop) {
    thread_local Sha256Hasher hasher;
    return hasher.hashFile(path, stop);
}

ScanOutcome scan(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const ProgressCallback &progress, std::stop_token stop) {
    const auto start = Clock::now();
    if (stop.stop_requested())
        return ScanCancelled{};
    progress(DuplicateScanProgress{});

    WalkOutput w;
    if (auto failed = walk(folder, minimumFileSizeBytes, progress, stop, w))
        return std::move(*failed);

    // Candidate selection: only sizes met at least twice can hold a
    // duplicate. Sorting (size, walk index) lines up each size's files;
    // this costs far less memory than a map of lists.
    std::vector<Candidate> candidates;
    candidates.reserve(w.eligible.size());
    for (std::uint32_t i = 0; i < w.eligible.size(); ++i)
        candidates.push_back({w.eligible[i].size, i});
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.size != b.size ? a.size < b.size : a.index < b.index;
    });
    {
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
    }
    const auto candidateFiles = static_cast<std::int64_t>(candidates.size());

    DuplicateScanProgress report{DuplicateScanPhase::hashing, w.filesScanned, 0, candidateFiles,
                                 w.ignoredSmallFiles};
    progress(report);

    // Hashing, one file at a time, in the order the walk met the files: a
    // folder's files are read together, which a spinning disk rewards. The
    // reading runs a few chunks ahead on a second thread; the digests, the
    // cancellation checks and the reports stay here, in order.
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate &a, const Candidate &b) { return a.index < b.index; });
    std::vector<Hashed> hashed;
    hashed.reserve(candidates.size());
    {
        Sha256Hasher hasher;
        ReadAhead reader(
            candidates.size(),
            [&](std::size_t k) -> const std::string & {
                return w.eligible[candidates[k].index].url;
            },
            stop);
        ReadAhead::Piece piece;
        for (std::size_t k = 0; k < candidates.size(); ++k) {
            if (stop.stop_requested())
                return ScanCancelled{};
            bool ok = hasher.begin();
            std::uint64_t bytesRead = 0;
            for (;;) {
                if (!reader.next(piece))
                    return ScanCancelled{};
                if (piece.error != 0)
                    ok = false;
                else if (piece.length > 0)
                    hasher.update(piece.data, piece.length);
                bytesRead += piece.length;
                if (piece.last)
                    break;
                if (stop.stop_requested())
                    return ScanCancelled{};
            }
            Hashed h{{}, candidates[k].size, candidates[k].index};
            // A file that grew or shrank since the walk holds bytes other
            // than the size it is grouped by: its digest proves nothing.
            if (!ok || bytesRead != candidates[k].size || !hasher.finish(h.digest)) {
                ++w.skipped;
                continue;
            }
            hashed.push_back(h);
            ++report.filesHashed;
            progress(report);
        }
    }

    // Grouping by (size, digest); within a group the walk order is kept
    // until path order replaces it below.
    std::sort(hashed.begin(), hashed.end(), [](const Hashed &a, const Hashed &b) {
        if (a.size != b.size)
            return a.size < b.size;
        if (a.digest != b.digest)
            return a.digest < b.digest;
        return a.index < b.index;
    });
    std::vector<std::vector<std::uint32_t>> groupIndices;
    std::vector<std::string> groupHashes;
    std::vector<std::size_t> groupShared;
    for (std::size_t a = 0; a < hashed.size();) {
        std::size_t b = a;
        while (b < hashed.size() && hashed[b].size == hashed[a].size &&
               hashed[b].digest == hashed[a].digest)
            ++b;
        if (b - a >= 2) {
            groupHashes.push_back(Sha256Hasher::hex(hashed[a].digest));
            auto &indices = groupIndices.emplace_back();
            for (std::size_t k = a; k < b; ++k)
                indices.push_back(hashed[k].index);
            groupShared.push_back(sharedInodes(indices, w.identity));
        }
        a = b;
    }
    std::vector<Hashed>().swap(hashed);
    std::vector<Candidate>().swap(candidates);
    std::vector<FileIdentity>().swap(w.identity);

    // Path order: one collation pass over every eligible file gives each its
    // rank, which orders both scannedFiles and every group's files.
    std::vector<std::uint32_t> rank(w.eligible.size());
    {
        const auto order = PathOrder().order(
            w.eligible.size(), [&w](std::size_t i) { return std::string_view(w.eligible[i].url); });
        for (std::uint32_t k = 0; k < order.size(); ++k)
            rank[order[k]] = k;
    }

    DuplicateScanResult result;
    result.groups.reserve(groupIndices.size());
    for (std::size_t g = 0; g < groupIndices.size(); ++g) {
        auto &indices = groupIndices[g];
        std::sort(indices.begin(), indices.end(),
                  [&](std::uint32_t x, std::uint32_t y) { return rank[x] < rank[y]; });
        DuplicateGroup group;
        group.hash = std::move(groupHashes[g]);
        group.size = w.eligible[indices.front()].size;
        group.files.reserve(indices.size());
        for (auto index : indices)
            group.files.push_back(w.eligible[index]);
        group.sharedInodeFiles = groupShared[g];
        result.groups.push_back(std::move(group));
    }
    std::stable_sort(result.groups.begin(), result.groups.end(),
                     [](const DuplicateGroup &a, const DuplicateGroup &b) {
                         const auto ra = a.reclaimableBytes(), rb = b.reclaimableBytes();
                         if (ra != rb)
                             return ra > rb;
                         return a.files.size() > b.files.size();
                     });

    // Put the eligible files in path order in place: every file sits where
    // its rank says, following each cycle of the permutation once.
    result.scannedFiles = std::move(w.eligible);
    for (std::size_t start = 0; start < rank.size(); ++start) {
        while (rank[start] != start) {
            const std::uint32_t target = rank[start];
            std::swap(result.scannedFiles[start], result.scannedFiles[target]);
            std::swap(rank[start], rank[target]);
        }
    }
    result.rootURL = folder;
    result.filesScanned = w.filesScanned;
    result.filesHashed = report.filesHashed;
    result.skippedFiles = w.skipped;
    result.ignoredSmallFiles = w.ignoredSmallFiles;
    result.elapsedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

} // namespace twinsift::DuplicateScanner
