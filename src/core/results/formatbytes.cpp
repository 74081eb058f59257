#include "formatbytes.h"

#include <array>

namespace twinsift {

namespace {

struct Unit {
    const char *name;
    std::uint64_t factor;
    int decimals;
};

constexpr std::array<Unit, 4> units{{
    {"KB", 1000ULL, 0},
    {"MB", 1000ULL * 1000, 1},
    {"GB", 1000ULL * 1000 * 1000, 2},
    {"TB", 1000ULL * 1000 * 1000 * 1000, 2},
}};

// Whole part with thousands separators; only counts of a thousand terabytes
// or more ever need one.
std::string grouped(std::uint64_t whole) {
    std::string reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            reversed.push_back(',');
        reversed.push_back(static_cast<char>('0' + static_cast<int>(whole % 10)));
        whole /= 10;
        ++digits;
    } while (whole != 0);
    return std::string(reversed.rbegin(), reversed.rend());
}

std::string inUnits(std::uint64_t bytes) {
    std::size_t u = 0;
    while (u + 1 < units.size() && bytes >= units[u + 1].factor)
        ++u;
    for (;; ++u) {
        const Unit &unit = units[u];
        std::uint64_t scale = 1;
        for (int d = 0; d < unit.decimals; ++d)
            scale *= 10;
        // Round half up in fixed point: value = bytes / factor, scaled. The
        // whole units scale exactly; only the remainder needs rounding, and
        // remainder * 2 * scale stays far below 2^64 (factor <= 10^12,
        // scale <= 100), as does quotient * scale for every unit.
        const std::uint64_t quotient = bytes / unit.factor;
        const std::uint64_t remainder = bytes % unit.factor;
        const std::uint64_t scaled =
            quotient * scale + (remainder * scale * 2 + unit.factor) / (2 * unit.factor);
        const std::uint64_t whole = scaled / scale;
        // 999,999 bytes rounds to 1000 KB; that reads better as 1 MB.
        if (whole >= 1000 && u + 1 < units.size())
            continue;
        std::string text = grouped(whole);
        std::uint64_t fraction = scaled % scale;
        int decimals = unit.decimals;
        while (decimals > 0 && fraction % 10 == 0) {
            fraction /= 10;
            --decimals;
        }
        if (decimals > 0) {
            std::string digits(static_cast<std::size_t>(decimals), '0');
            for (int d = decimals - 1; d >= 0; --d) {
                digits[static_cast<std::size_t>(d)] =
                    static_cast<char>('0' + static_cast<int>(fraction % 10));
                fraction /= 10;
            }
            text += "." + digits;
        }
        return text + " " + unit.name;
    }
}

} // namespace

std::string formatBytes(std::uint64_t bytes) {
    if (bytes == 0)
        return "Zero KB";
    if (bytes == 1)
        return "1 byte";
    if (bytes < 1000)
        return std::to_string(bytes) + " bytes";
    return inUnits(bytes);
}

std::string formatBytesKBToTB(std::uint64_t bytes) {
    if (bytes == 0)
        return "Zero KB";
    if (bytes < 1000)
        return "1 KB";
    return inUnits(bytes);
}

} // namespace twinsift
