#pragma once

namespace twinsift {

// The scan's own failure. Cancellation is deliberately not one of these: a
// stopped scan is an outcome of its own and is never shown as an error.
enum class DuplicateScanError {
    folderUnavailable, // missing, not a directory, or cannot be walked
    internalError,     // the scan itself failed (out of memory, a thrown exception)
};

} // namespace twinsift
