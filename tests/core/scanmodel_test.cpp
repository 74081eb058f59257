#include "duplicateminimumfilesize.h"
#include "duplicatescanresult.h"

#include <gtest/gtest.h>

using namespace twinsift;

TEST(ScanValues, totalsPastFourGiBAndSizeSettingsReadOnlyFromCaseNames) {
    // Sizes beyond 4 GiB must not wrap in 32 bits.
    DuplicateScanResult r;
    r.groups = {{"c", 5'000'000'000ULL, {}}};
    for (const char *name : {"/a", "/b", "/c"})
        r.groups[0].files.push_back({name, 5'000'000'000ULL});
    EXPECT_EQ(r.reclaimableBytes(), 10'000'000'000ULL);

    // Settings store the case name: each reads back as itself, and nothing
    // else (a label, another case) reads at all.
    for (const auto &size : DuplicateMinimumFileSize::allCases())
        EXPECT_EQ(DuplicateMinimumFileSize::fromRawValue(size.rawValue()), size) << size.rawValue();
    for (const char *raw : {"", "25 MB+", "onekb", "OneKB", "oneKB ", "1024"})
        EXPECT_FALSE(DuplicateMinimumFileSize::fromRawValue(raw).has_value()) << raw;
}
