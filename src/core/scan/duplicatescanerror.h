#pragma once

#include <string_view>

namespace twinsift {

// The scan's own failure. Cancellation is deliberately not one of these: a
// stopped scan is an outcome of its own and is never shown as an error.
enum class DuplicateScanError {
    folderUnavailable, // missing, not a directory, or cannot be walked
};

constexpr std::string_view description(DuplicateScanError error) {
    switch (error) {
    case DuplicateScanError::folderUnavailable:
        return "The selected folder could not be accessed.";
    }
    return {};
}

} // namespace twinsift
