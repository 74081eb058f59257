#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// What the main area of the results screen shows: the grouped table of the
// selected category, or one flat table of every exact-duplicate file.
class ResultMode {
public:
    enum Case : std::uint8_t {
        groups,
        duplicateFiles,
    };

    constexpr ResultMode(Case c = groups) : m_case(c) {}

    static constexpr std::array<ResultMode, 2> allCases() { return {groups, duplicateFiles}; }

    static constexpr std::optional<ResultMode> fromRawValue(std::string_view raw) {
        for (auto c : allCases())
            if (c.rawValue() == raw)
                return c;
        return std::nullopt;
    }

    constexpr Case value() const { return m_case; }
    constexpr std::string_view id() const { return rawValue(); }

    constexpr std::string_view rawValue() const {
        constexpr std::array<std::string_view, 2> names{"groups", "duplicateFiles"};
        return names[m_case];
    }

    // The flat table's title and verification text; the grouped view takes
    // both from its category instead.
    static constexpr std::string_view duplicateFilesTitle = "All Exact Duplicate Files";
    static constexpr std::string_view duplicateFilesVerification = "Same Content";

    friend constexpr bool operator==(ResultMode, ResultMode) = default;

private:
    Case m_case;
};

} // namespace twinsift

template <> struct std::hash<twinsift::ResultMode> {
    std::size_t operator()(twinsift::ResultMode m) const noexcept { return m.value(); }
};
