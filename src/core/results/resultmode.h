#pragma once

#include "caseenum.h"
#include "matchcategory.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// What the main area of the results screen shows: the grouped table of the
// selected category, or one flat table of every exact-duplicate file.
class ResultMode : public CaseEnum<ResultMode> {
public:
    enum Case : std::uint8_t {
        groups,
        duplicateFiles,
    };

    constexpr ResultMode(Case c = groups) : CaseEnum(c) {}

    static constexpr std::array<std::string_view, 2> rawValues{"groups", "duplicateFiles"};

    // The category whose rows the flat table shows.
    static constexpr MatchCategory duplicateFilesCategory() { return MatchCategory::exact; }
};

} // namespace twinsift

template <> struct std::hash<twinsift::ResultMode> {
    std::size_t operator()(twinsift::ResultMode m) const noexcept { return m.value(); }
};
