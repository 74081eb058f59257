#pragma once

#include "caseenum.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace twinsift {

// The smallest file size that takes part in a scan. Sizes are in powers of
// 1024; the cases are offered to the user in declaration order.
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

    constexpr std::string_view label() const {
        constexpr std::array<std::string_view, 7> labels{"1 KB",   "10 KB",   "100 KB",  "1 MB",
                                                         "25 MB+", "500 MB+", "1024 MB+"};
        return pick(labels);
    }

    std::string ignoredText() const {
        std::string text = "under ";
        text += label();
        text += " ignored";
        return text;
    }
};

} // namespace twinsift
