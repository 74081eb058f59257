#include "formatbytes.h"
#include "reviewtexts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace twinsift;

TEST(FormatBytes, decimalUnitsDropTrailingZerosAndTheKilobyteVariantNeverWritesBytes) {
    const std::vector<std::pair<std::uint64_t, std::string>> cases{
        {0, "Zero KB"},
        {1, "1 byte"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {1500, "2 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},
        {12'449'999, "12.4 MB"},
        {12'450'000, "12.5 MB"},
        {999'960'000, "1 GB"},
        {1'200'000'000, "1.2 GB"},
        {3'456'789'000'000, "3.46 TB"},
        {2'500'000'000'000'000, "2,500 TB"},
        {UINT64_MAX, "18,446,744.07 TB"},
    };
    for (const auto &[bytes, text] : cases) {
        EXPECT_EQ(formatBytes(bytes), text) << bytes;
        // From a kilobyte up the variant reads the same; below it, never bytes.
        EXPECT_EQ(formatBytesKBToTB(bytes), bytes == 0     ? "Zero KB"
                                            : bytes < 1000 ? "1 KB"
                                                           : text)
            << bytes;
    }
}

TEST(ReviewTexts, relativeFolderIsShownBelowTheScannedFolder) {
    EXPECT_EQ(ReviewTexts::relativeFolder("/data/scan/", "/data/scan/a/b/c.jpg"), "a/b");
    EXPECT_EQ(ReviewTexts::relativeFolder("/data/scan", "/data/scanned/c.jpg"), "/data/scanned");
    EXPECT_EQ(ReviewTexts::relativeFolder("/", "/top.jpg"), "Selected folder");
    EXPECT_EQ(ReviewTexts::relativeFolder("/", "/x/y/top.jpg"), "x/y");
}
