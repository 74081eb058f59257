#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace twinsift {

// The smallest file size that takes part in a scan. Sizes are in powers of
// 1024; the cases are offered to the user in declaration order.
class DuplicateMinimumFileSize {
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

    constexpr DuplicateMinimumFileSize(Case c = oneKB) : m_case(c) {}

    static constexpr std::array<DuplicateMinimumFileSize, 7> allCases() {
        return {oneKB, tenKB, oneHundredKB, oneMB, twentyFiveMB, fiveHundredMB, oneGB};
    }

    // Accepts exactly the case names; anything else, labels included, is no value.
    static std::optional<DuplicateMinimumFileSize> fromRawValue(std::string_view raw) {
        for (auto c : allCases())
            if (c.rawValue() == raw)
                return c;
        return std::nullopt;
    }

    constexpr Case value() const { return m_case; }
    constexpr std::string_view id() const { return rawValue(); }

    constexpr std::string_view rawValue() const {
        constexpr std::array<std::string_view, 7> names{
            "oneKB", "tenKB", "oneHundredKB", "oneMB", "twentyFiveMB", "fiveHundredMB", "oneGB"};
        return names[m_case];
    }

    constexpr std::uint64_t bytes() const {
        constexpr std::uint64_t KiB = 1024, MiB = 1024 * 1024;
        constexpr std::array<std::uint64_t, 7> sizes{KiB,      10 * KiB,  100 * KiB, MiB,
                                                     25 * MiB, 500 * MiB, 1024 * MiB};
        return sizes[m_case];
    }

    constexpr std::string_view label() const {
        constexpr std::array<std::string_view, 7> labels{"1 KB",   "10 KB",   "100 KB",  "1 MB",
                                                         "25 MB+", "500 MB+", "1024 MB+"};
        return labels[m_case];
    }

    std::string ignoredText() const {
        std::string text = "under ";
        text += label();
        text += " ignored";
        return text;
    }

    friend constexpr bool operator==(DuplicateMinimumFileSize, DuplicateMinimumFileSize) = default;

private:
    Case m_case;
};

} // namespace twinsift
