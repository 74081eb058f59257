#pragma once

#include "trash.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace twinsift {

// One marked file the run did not move, with the reason shown to the user.
struct CleanupFailure {
    std::string path; // path bytes, as in the scan result
    std::string message;

    friend bool operator==(const CleanupFailure &, const CleanupFailure &) = default;
};

// What a run that reached the moving phase did.
struct CleanupReport {
    std::vector<std::string> movedPaths; // in the order they were moved
    std::uint64_t movedBytes = 0;        // scan-time sizes of the moved files
    std::vector<Trash::Entry> trashed;   // where each moved file went, in the same order
    std::vector<CleanupFailure> failures;
};

// A run that stopped during validation, before anything was moved.
struct CleanupStop {
    std::string message;
};

using CleanupOutcome = std::variant<CleanupReport, CleanupStop>;

} // namespace twinsift
