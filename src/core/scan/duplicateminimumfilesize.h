#pragma once

#include "caseenum.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// The smallest file size that takes part in a scan. Sizes are in powers of
// 1024; the cases are offered to the user in declaration order. The raw
// values are what the settings keep, so they never change.
class DuplicateMinimumFileSize : public CaseEnum<DuplicateMinimumFileSize> {
public:
    enum Case : std::uint8_t {
        oneKB,
        tenKB,
        oneHundredKB,
        oneMB,
        twentyFiveMB,
        fiveHundredMB,
        oneGB,
    };

    constexpr DuplicateMinimumFileSize(Case c = oneKB) : CaseEnum(c) {}

    static constexpr std::array<std::string_view, 7> rawValues{
        "oneKB", "tenKB", "oneHundredKB", "oneMB", "twentyFiveMB", "fiveHundredMB", "oneGB"};

    constexpr std::uint64_t bytes() const {
        constexpr std::uint64_t KiB = 1024, MiB = 1024 * 1024;
        constexpr std::array<std::uint64_t, 7> sizes{KiB,      10 * KiB,  100 * KiB, MiB,
                                                     25 * MiB, 500 * MiB, 1024 * MiB};
        return pick(sizes);
    }
};

} // namespace twinsift
