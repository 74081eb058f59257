#pragma once

#include "duplicatefile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace twinsift {

// One group as the results screen shows it, whatever its category.
struct DisplayGroup {
    // Unique within a category: "exact:<hash>", "name-size:<key>" or
    // "name:<key>". The selection looks the full group up again by it.
    std::string id;
    std::vector<DuplicateFile> files;
    // Position in the category's unsorted list; picks the accent colour.
    std::int64_t accentIndex = 0;
    // Present only for exact groups, and always for the whole set, even when
    // a search shows fewer files.
    std::optional<std::uint64_t> reclaimableBytes;
    // Only exact groups accept cleanup marks.
    bool exact = false;

    friend bool operator==(const DisplayGroup &, const DisplayGroup &) = default;
};

} // namespace twinsift
