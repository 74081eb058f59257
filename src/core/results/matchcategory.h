#pragma once

#include "caseenum.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// The four ways the results screen looks at one scan result. The raw value is
// also the category's title; the cases are listed in the order of the
// category bar.
class MatchCategory : public CaseEnum<MatchCategory> {
public:
    enum Case : std::uint8_t {
        exact,
        sameNameSize,
        sameName,
        similar,
    };

    constexpr MatchCategory(Case c = exact) : CaseEnum(c) {}

    static constexpr std::array<std::string_view, 4> rawValues{
        "Exact Duplicates", "Same Name + Size", "Same Name", "Similar Files"};
    constexpr std::string_view title() const { return rawValue(); }

    constexpr std::string_view verificationLabel() const {
        constexpr std::array<std::string_view, 4> labels{"Same Content", "Review", "Name Match",
                                                         "Similar"};
        return pick(labels);
    }

    constexpr std::string_view categoryDescription() const {
        constexpr std::array<std::string_view, 4> texts{
            "Same size + same SHA-256 content hash. Content-identical even when filenames differ.",
            "Same filename + same file size. Review only; identical size does not prove identical "
            "content.",
            "Same filename found in multiple locations. Size and contents may differ.",
            "Planned similarity review. Similar files will remain separate from verified "
            "duplicates.",
        };
        return pick(texts);
    }

    // Tooltip of the category's button.
    constexpr std::string_view helpText() const {
        constexpr std::array<std::string_view, 4> texts{
            "Files verified as content-identical using matching size and SHA-256 hash.",
            "Files with the same filename and same size. Contents may still differ.",
            "Files sharing a filename. They may have different sizes and contents.",
            "Planned near-duplicate and visual-similarity review.",
        };
        return pick(texts);
    }
};

} // namespace twinsift

template <> struct std::hash<twinsift::MatchCategory> {
    std::size_t operator()(twinsift::MatchCategory c) const noexcept { return c.value(); }
};
