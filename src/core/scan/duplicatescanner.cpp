#include "duplicatescanner.h"

#include "pathorder.h"
#include "platform/fileattributes.h"
#include "platform/folderwalker.h"
#include "platform/paths.h"

#include <algorithm>
#include <chrono>
#include <numeric>

namespace twinsift::DuplicateScanner {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t walkReportInterval = 25;

// What the walk hands to the hashing phase.
struct WalkOutput {
    std::vector<DuplicateFile> eligible; // in the order the walk met them
    std::int64_t skipped = 0;
    std::int64_t filesScanned = 0;
    std::int64_t ignoredSmallFiles = 0;
};

struct Candidate {
    std::uint64_t size;
    std::uint32_t index; // into WalkOutput::eligible
};

struct Hashed {
    std::string digest;
    std::uint32_t index;
};

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
    std::string base = folder;
    if (base.empty() || base.front() != '/')
        base = paths::standardized(folder);

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
    // duplicate. Sorting (size, walk index) keeps each size's files in walk
    // order, and costs far less memory than a map of lists.
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

    // Hashing, one file at a time. Equal digests imply equal sizes only
    // within one size list, so grouping per list is grouping by (size,
    // digest).
    Sha256Hasher hasher;
    std::vector<std::vector<std::uint32_t>> groupIndices;
    std::vector<Hashed> hashedRun;
    std::vector<std::string> groupHashes;
    for (std::size_t i = 0; i < candidates.size();) {
        const std::uint64_t size = candidates[i].size;
        hashedRun.clear();
        for (; i < candidates.size() && candidates[i].size == size; ++i) {
            if (stop.stop_requested())
                return ScanCancelled{};
            const auto index = candidates[i].index;
            HashOutcome h = hasher.hashFile(w.eligible[index].url, stop);
            if (h.status == HashOutcome::Status::cancelled)
                return ScanCancelled{};
            if (h.status == HashOutcome::Status::failed) {
                ++w.skipped;
                continue;
            }
            hashedRun.push_back({std::move(h.digest), index});
            ++report.filesHashed;
            progress(report);
        }
        std::stable_sort(hashedRun.begin(), hashedRun.end(),
                         [](const Hashed &a, const Hashed &b) { return a.digest < b.digest; });
        for (std::size_t a = 0; a < hashedRun.size();) {
            std::size_t b = a;
            while (b < hashedRun.size() && hashedRun[b].digest == hashedRun[a].digest)
                ++b;
            if (b - a >= 2) {
                groupHashes.push_back(hashedRun[a].digest);
                auto &indices = groupIndices.emplace_back();
                for (std::size_t k = a; k < b; ++k)
                    indices.push_back(hashedRun[k].index);
            }
            a = b;
        }
    }

    // Path order: one collation pass over every eligible file gives each its
    // rank, which orders both scannedFiles and every group's files.
    std::vector<std::uint32_t> rank(w.eligible.size());
    std::vector<std::uint32_t> order;
    {
        std::vector<std::string_view> paths;
        paths.reserve(w.eligible.size());
        for (const auto &f : w.eligible)
            paths.emplace_back(f.url);
        order = PathOrder().order(paths);
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
        result.groups.push_back(std::move(group));
    }
    std::stable_sort(result.groups.begin(), result.groups.end(),
                     [](const DuplicateGroup &a, const DuplicateGroup &b) {
                         const auto ra = a.reclaimableBytes(), rb = b.reclaimableBytes();
                         if (ra != rb)
                             return ra > rb;
                         return a.files.size() > b.files.size();
                     });

    result.scannedFiles.reserve(order.size());
    for (auto index : order)
        result.scannedFiles.push_back(std::move(w.eligible[index]));
    result.rootURL = folder;
    result.filesScanned = w.filesScanned;
    result.filesHashed = report.filesHashed;
    result.skippedFiles = w.skipped;
    result.ignoredSmallFiles = w.ignoredSmallFiles;
    result.elapsedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

} // namespace twinsift::DuplicateScanner
