#pragma once

#include "duplicatefile.h"
#include "duplicategroup.h"
#include "scannedfiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace twinsift {

// Everything one completed scan hands on. Built once by the engine, then only
// copied.
struct DuplicateScanResult {
    std::string rootURL;       // the folder exactly as it was passed to the scan
    ScannedFiles scannedFiles; // every eligible file, in path order
    std::int64_t filesScanned = 0;
    std::int64_t filesHashed = 0;
    std::vector<DuplicateGroup> groups; // largest reclaimable first
    std::int64_t skippedFiles = 0;
    std::int64_t ignoredSmallFiles = 0;
    double elapsedSeconds = 0;

    // Every file of every group, the copy that would be kept included.
    std::int64_t duplicateFileCount() const {
        std::int64_t n = 0;
        for (const auto &g : groups)
            n += static_cast<std::int64_t>(g.files.size());
        return n;
    }

    std::uint64_t reclaimableBytes() const {
        std::uint64_t n = 0;
        for (const auto &g : groups)
            n += g.reclaimableBytes();
        return n;
    }

    friend bool operator==(const DuplicateScanResult &, const DuplicateScanResult &) = default;
};

} // namespace twinsift
