#pragma once

#include "trash.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace twinsift {

// Why a run stopped during validation, before anything was moved.
enum class CleanupStopReason : std::uint8_t {
    noKeepCopy,          // every copy of a set was marked
    notRevalidated,      // a marked file could not be read again
    changedAfterScan,    // a marked file is no longer what the scan found
    noUnchangedKeepCopy, // no unmarked copy of a set still matches
};

// What became of one marked file the run did not leave in the Trash.
enum class CleanupFailureReason : std::uint8_t {
    protectedLocation, // it lies in a protected place
    changedAfterScan,  // it is no longer the file validated
    keptCopyGone,      // its set's kept copy changed or went away first
    putBack,           // moved, then put back because its kept copy did not hold
    stillInTrash,      // as putBack, but putting it back failed (see trash)
    internalError,     // the run could not go on
    trash,             // the Trash refused it (see trash)
};

// One marked file the run did not move, with the reason shown to the user.
struct CleanupFailure {
    std::string path; // path bytes, as in the scan result
    CleanupFailureReason reason = CleanupFailureReason::internalError;
    // What the Trash answered, for the reasons that carry its answer.
    std::optional<Trash::Failure> trash;

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
    CleanupStopReason reason;
};

using CleanupOutcome = std::variant<CleanupReport, CleanupStop>;

} // namespace twinsift
