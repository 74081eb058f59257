#pragma once

#include "caseenum.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// The four ways the results screen looks at one scan result, listed in the
// order of the category bar.
class MatchCategory : public CaseEnum<MatchCategory> {
public:
    enum Case : std::uint8_t {
        exact,
        sameNameSize,
        sameName,
        similar,
    };

    constexpr MatchCategory(Case c = exact) : CaseEnum(c) {}

    static constexpr std::array<std::string_view, 4> rawValues{"exact", "sameNameSize", "sameName",
                                                               "similar"};
};

} // namespace twinsift

template <> struct std::hash<twinsift::MatchCategory> {
    std::size_t operator()(twinsift::MatchCategory c) const noexcept { return c.value(); }
};
