#pragma once

#include <cstdint>
#include <string>

namespace twinsift {

// Byte counts for people, in decimal units (1 KB = 1000 bytes): "Zero KB",
// "1 byte", "512 bytes", "940 KB", "12.4 MB", "2 MB", "1.25 GB". KB has no
// decimals, MB one, GB and TB two; trailing zeros are dropped.
std::string formatBytes(std::uint64_t bytes);

// The same, limited to KB…TB: never plain bytes. A non-zero count below one
// kilobyte reads "1 KB", so that nothing that is there reads as zero.
std::string formatBytesKBToTB(std::uint64_t bytes);

} // namespace twinsift
