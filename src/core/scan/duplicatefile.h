#pragma once

#include <cstdint>
#include <string>

namespace twinsift {

// One eligible file found by a scan.
struct DuplicateFile {
    // Absolute path bytes exactly as the walk produced them. Linux names are
    // bytes, so this is never decoded and re-encoded; display text is derived
    // separately and never turned back into a path.
    std::string url;
    std::uint64_t size = 0;

    const std::string &id() const { return url; }

    friend bool operator==(const DuplicateFile &, const DuplicateFile &) = default;
};

} // namespace twinsift

template <> struct std::hash<twinsift::DuplicateFile> {
    std::size_t operator()(const twinsift::DuplicateFile &f) const noexcept {
        const std::size_t h = std::hash<std::string>{}(f.url);
        return h ^
               (std::hash<std::uint64_t>{}(f.size) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};
