#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// The common part of the small enumerations whose cases carry a text raw
// value. The derived class declares its `enum Case` (cases numbered from 0
// in the order they are offered) and a `rawValues` table in the same order.
template <typename Derived> class CaseEnum {
public:
    static constexpr auto allCases() {
        std::array<Derived, Derived::rawValues.size()> all{};
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = Derived(static_cast<typename Derived::Case>(i));
        return all;
    }

    // Accepts exactly the raw values; anything else is no value.
    static constexpr std::optional<Derived> fromRawValue(std::string_view raw) {
        for (auto c : allCases())
            if (c.rawValue() == raw)
                return c;
        return std::nullopt;
    }

    constexpr auto value() const { return static_cast<typename Derived::Case>(m_index); }
    constexpr std::string_view rawValue() const { return Derived::rawValues[m_index]; }
    constexpr std::string_view id() const { return rawValue(); }

    friend constexpr bool operator==(const Derived &a, const Derived &b) {
        return a.m_index == b.m_index;
    }

protected:
    constexpr explicit CaseEnum(std::uint8_t index) : m_index(index) {}

    // This case's entry in a table laid out in case order.
    template <typename T, std::size_t N> constexpr T pick(const std::array<T, N> &table) const {
        return table[m_index];
    }

private:
    std::uint8_t m_index;
};

} // namespace twinsift
