#pragma once

#include "caseenum.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// How the grouped table is ordered; the cases are listed in menu order.
class GroupSort : public CaseEnum<GroupSort> {
public:
    enum Case : std::uint8_t {
        reclaimable,
        fileCount,
        fileSize,
        filename,
    };

    constexpr GroupSort(Case c = reclaimable) : CaseEnum(c) {}

    static constexpr std::array<std::string_view, 4> rawValues{"reclaimable", "fileCount",
                                                               "fileSize", "filename"};
};

} // namespace twinsift

template <> struct std::hash<twinsift::GroupSort> {
    std::size_t operator()(twinsift::GroupSort s) const noexcept { return s.value(); }
};
