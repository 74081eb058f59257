#pragma once

#include "caseenum.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace twinsift {

// The bulk marks of the mark menu. Each one decides, set by set, which
// copies go to the Trash; the cases are listed in menu order.
class MarkRule : public CaseEnum<MarkRule> {
public:
    enum Case : std::uint8_t {
        keepOldest,
        keepNewest,
        keepFirst,
        keepShortestPath,
        markInFolder,
        invert,
    };

    constexpr MarkRule(Case c = keepOldest) : CaseEnum(c) {}

    static constexpr std::array<std::string_view, 6> rawValues{
        "keepOldest", "keepNewest", "keepFirst", "keepShortestPath", "markInFolder", "invert"};

    // Only these two read the disk first: the copies' modification times.
    constexpr bool needsModificationTimes() const {
        return value() == keepOldest || value() == keepNewest;
    }
};

} // namespace twinsift
