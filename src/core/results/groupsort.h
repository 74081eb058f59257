#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// How the grouped table is ordered. The raw value is the label in the sort
// menu; the cases are listed in menu order.
class GroupSort {
public:
    enum Case : std::uint8_t {
        reclaimable,
        fileCount,
        fileSize,
        filename,
    };

    constexpr GroupSort(Case c = reclaimable) : m_case(c) {}

    static constexpr std::array<GroupSort, 4> allCases() {
        return {reclaimable, fileCount, fileSize, filename};
    }

    static constexpr std::optional<GroupSort> fromRawValue(std::string_view raw) {
        for (auto c : allCases())
            if (c.rawValue() == raw)
                return c;
        return std::nullopt;
    }

    constexpr Case value() const { return m_case; }
    constexpr std::string_view id() const { return rawValue(); }

    constexpr std::string_view rawValue() const {
        constexpr std::array<std::string_view, 4> labels{"Reclaimable Size", "File Count",
                                                         "File Size", "Filename"};
        return labels[m_case];
    }
    constexpr std::string_view label() const { return rawValue(); }

    friend constexpr bool operator==(GroupSort, GroupSort) = default;

private:
    Case m_case;
};

} // namespace twinsift

template <> struct std::hash<twinsift::GroupSort> {
    std::size_t operator()(twinsift::GroupSort s) const noexcept { return s.value(); }
};
