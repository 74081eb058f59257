#include "duplicatescanner.h"

#include "digestcache.h"
#include "digestgroups.h"
#include "digestmemory.h"
#include "hashstage.h"
#include "resultorder.h"
#include "treewalk.h"

#include <chrono>
#include <optional>
#include <utility>

namespace twinsift::DuplicateScanner {

ScanOutcome scan(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const ProgressCallback &progress, std::stop_token stop) {
    const DigestCache cache(DigestCache::defaultFolder());
    HashingOptions options;
    options.digestCache = &cache;
    return scanRemembering(folder, minimumFileSizeBytes, progress, std::move(stop),
                           &DigestMemory::process(), options);
}

// The stages: the walk, which finds the files and starts hashing those of a
// size met twice; the hash stage, which verifies every candidate; the
// grouping by digest; and the order of the result.
ScanOutcome scanRemembering(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                            const ProgressCallback &progress, std::stop_token stop,
                            DigestMemory *memory, const HashingOptions &options) {
    const auto start = std::chrono::steady_clock::now();
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
    bool loadedDigestsKept = false;
    std::optional<Sha256Digest> loadedOrder;
    {
        HashStage hashing(w, memory, options, stop);
        const WalkListener listener{
            [&hashing](std::string_view root, int fd) { hashing.rooted(root, fd); },
            [&hashing](std::uint32_t index, nlink_t links) { hashing.seen(index, links); }};
        switch (walkTree(folder, minimumFileSizeBytes, progress, stop, listener, w)) {
        case WalkEnd::complete:
            break;
        case WalkEnd::cancelled:
            return ScanCancelled{};
        case WalkEnd::folderUnavailable:
            return DuplicateScanError::folderUnavailable;
        }
        const auto candidates = hashing.candidates();
        report = {DuplicateScanPhase::hashing, w.filesScanned, 0,
                  static_cast<std::int64_t>(candidates.size()), w.ignoredSmallFiles};
        progress(report);
        hashed = hashing.finish(candidates, progress, report, w.skipped);
        if (hashed && (cache = hashing.remembered().cache())) {
            cacheKey = hashing.remembered().takeCacheKey();
            kept.entries = hashing.remembered().takeKept();
            kept.ends = hashing.remembered().takeKeptEnds();
            loadedDigestsKept = hashing.remembered().keepsLoadedDigests();
            loadedOrder = hashing.remembered().loadedOrder();
        }
    }
    if (!hashed)
        return ScanCancelled{};
    auto groups = groupByDigest(*hashed, w.files);
    hashed.reset();
    w.files.dropIdentities();

    DuplicateScanResult result =
        orderResult(w.files, std::move(groups), memory, cache ? &kept : nullptr);
    // Written after the scan returns, on a thread of its own: the result
    // never waits for the disk. A rescan that found everything kept there
    // as it was leaves the file alone.
    if (cache && loadedDigestsKept && !kept.order.empty() && loadedOrder == kept.orderFingerprint)
        cache->markUsed(cacheKey);
    else if (cache)
        cache->saveLater(std::move(cacheKey), std::move(kept));
    result.rootURL = folder;
    result.filesScanned = w.filesScanned;
    result.filesHashed = report.filesHashed;
    result.skippedFiles = w.skipped;
    result.ignoredSmallFiles = w.ignoredSmallFiles;
    result.elapsedSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

} // namespace twinsift::DuplicateScanner
