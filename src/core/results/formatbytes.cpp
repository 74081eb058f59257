#include "formatbytes.h"

#include <array>

namespace twinsift {

namespace {

struct Unit {
    ByteUnit unit;
    std::uint64_t factor;
    int decimals;
};

constexpr std::array<Unit, 4> units{{
    {ByteUnit::KB, 1000ULL, 0},
    {ByteUnit::MB, 1000ULL * 1000, 1},
    {ByteUnit::GB, 1000ULL * 1000 * 1000, 2},
    {ByteUnit::TB, 1000ULL * 1000 * 1000 * 1000, 2},
}};

ByteAmount inUnits(std::uint64_t bytes) {
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
        std::uint64_t fraction = scaled % scale;
        int decimals = unit.decimals;
        while (decimals > 0 && fraction % 10 == 0) {
            fraction /= 10;
            --decimals;
        }
        return {whole, fraction, decimals, unit.unit};
    }
}

} // namespace

ByteAmount byteAmount(std::uint64_t bytes) {
    if (bytes == 0)
        return {0, 0, 0, ByteUnit::KB};
    if (bytes < 1000)
        return {bytes, 0, 0, ByteUnit::bytes};
    return inUnits(bytes);
}

ByteAmount byteAmountKBToTB(std::uint64_t bytes) {
    if (bytes == 0)
        return {0, 0, 0, ByteUnit::KB};
    if (bytes < 1000)
        return {1, 0, 0, ByteUnit::KB};
    return inUnits(bytes);
}

} // namespace twinsift
