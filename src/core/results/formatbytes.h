#pragma once

#include <cstdint>

namespace twinsift {

// Byte counts for people, in decimal units (1 KB = 1000 bytes). KB has no
// decimals, MB one, GB and TB two; trailing zeros are dropped. The screen
// puts the digits and the unit into words.
enum class ByteUnit : std::uint8_t { bytes, KB, MB, GB, TB };

struct ByteAmount {
    std::uint64_t whole = 0;
    // The first `decimals` digits after the point, as a number: 4 with one
    // decimal is ".4", 5 with two is ".05".
    std::uint64_t fraction = 0;
    int decimals = 0;
    ByteUnit unit = ByteUnit::KB;

    friend bool operator==(const ByteAmount &, const ByteAmount &) = default;
};

// Below a kilobyte in plain bytes; nothing at all as zero kilobytes.
ByteAmount byteAmount(std::uint64_t bytes);

// The same, limited to KB…TB: never plain bytes. A non-zero count below one
// kilobyte is one kilobyte, so that nothing that is there reads as zero.
ByteAmount byteAmountKBToTB(std::uint64_t bytes);

} // namespace twinsift
