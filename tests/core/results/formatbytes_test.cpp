#include "formatbytes.h"
#include "relativefolder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace twinsift;

TEST(ByteAmount, roundsHalfUpPerUnitAndDropsTrailingZeros) {
    struct Case {
        std::uint64_t bytes;
        ByteAmount amount;
    };
    const std::vector<Case> cases{
        {0, {0, 0, 0, ByteUnit::KB}},
        {1, {1, 0, 0, ByteUnit::bytes}},
        {999, {999, 0, 0, ByteUnit::bytes}},
        {1000, {1, 0, 0, ByteUnit::KB}},
        {1500, {2, 0, 0, ByteUnit::KB}},
        {999'499, {999, 0, 0, ByteUnit::KB}},
        // 1000 KB after rounding reads as the next unit.
        {999'500, {1, 0, 0, ByteUnit::MB}},
        {12'449'999, {12, 4, 1, ByteUnit::MB}},
        {12'450'000, {12, 5, 1, ByteUnit::MB}},
        {999'960'000, {1, 0, 0, ByteUnit::GB}},
        {1'200'000'000, {1, 2, 1, ByteUnit::GB}},
        {1'050'000'000, {1, 5, 2, ByteUnit::GB}},
        {3'456'789'000'000, {3, 46, 2, ByteUnit::TB}},
        {2'500'000'000'000'000, {2500, 0, 0, ByteUnit::TB}},
        {UINT64_MAX, {18'446'744, 7, 2, ByteUnit::TB}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(byteAmount(c.bytes), c.amount) << c.bytes;
        // From a kilobyte up the variant is the same; below it, never bytes.
        const ByteAmount kb = byteAmountKBToTB(c.bytes);
        if (c.bytes >= 1000 || c.bytes == 0)
            EXPECT_EQ(kb, c.amount) << c.bytes;
        else
            EXPECT_EQ(kb, (ByteAmount{1, 0, 0, ByteUnit::KB})) << c.bytes;
    }
}

TEST(RelativeFolder, isShownBelowTheScannedFolder) {
    EXPECT_EQ(relativeFolder("/data/scan/", "/data/scan/a/b/c.jpg"), "a/b");
    EXPECT_EQ(relativeFolder("/data/scan", "/data/scanned/c.jpg"), "/data/scanned");
    // The scanned folder itself has no path of its own to show.
    EXPECT_EQ(relativeFolder("/", "/top.jpg"), std::nullopt);
    EXPECT_EQ(relativeFolder("/data/scan", "/data/scan/top.jpg"), std::nullopt);
    EXPECT_EQ(relativeFolder("/", "/x/y/top.jpg"), "x/y");
}
