#pragma once

#include "duplicatescanphase.h"

#include <cstdint>

namespace twinsift {

struct DuplicateScanProgress {
    DuplicateScanPhase phase = DuplicateScanPhase::enumerating;
    std::int64_t filesScanned = 0;
    std::int64_t filesHashed = 0;    // always 0 while enumerating
    std::int64_t candidateFiles = 0; // always 0 while enumerating
    std::int64_t ignoredSmallFiles = 0;

    friend bool operator==(const DuplicateScanProgress &, const DuplicateScanProgress &) = default;
};

} // namespace twinsift
