#include "duplicateminimumfilesize.h"
#include "duplicatescanerror.h"
#include "duplicatescanprogress.h"
#include "duplicatescanresult.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace twinsift;

namespace {

DuplicateGroup group(std::uint64_t size, int files, std::string hash) {
    DuplicateGroup g{std::move(hash), size, {}};
    for (int i = 0; i < files; ++i)
        g.files.push_back({"/f" + std::to_string(i) + g.hash, size});
    return g;
}

} // namespace

TEST(ScanResult, totalsCountEveryCopyAndFreeAllButOne) {
    DuplicateScanResult empty;
    EXPECT_EQ(empty.duplicateFileCount(), 0);
    EXPECT_EQ(empty.reclaimableBytes(), 0u);

    DuplicateScanResult r;
    r.groups = {group(1000, 3, "a"), group(5, 2, "b")};
    EXPECT_EQ(r.duplicateFileCount(), 5);
    EXPECT_EQ(r.reclaimableBytes(), 2005u);

    // Sizes beyond 4 GiB must not wrap in 32 bits.
    r.groups = {group(5'000'000'000ULL, 3, "c")};
    EXPECT_EQ(r.reclaimableBytes(), 10'000'000'000ULL);
}

TEST(ScanValues, equalityUsesEveryField) {
    const DuplicateFile a{"/x/a", 10};
    EXPECT_NE(a, (DuplicateFile{"/x/a", 11}));
    EXPECT_EQ(a, (DuplicateFile{"/x/a", 10}));
    std::unordered_set<DuplicateFile> set{a, {"/x/a", 11}};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(a.id(), "/x/a");

    DuplicateScanProgress p{DuplicateScanPhase::hashing, 1, 2, 3, 4};
    DuplicateScanProgress q = p;
    EXPECT_EQ(p, q);
    q.ignoredSmallFiles = 5;
    EXPECT_NE(p, q);
}

TEST(MinimumFileSize, casesInOfferedOrderWithBytesAndTexts) {
    const auto all = DuplicateMinimumFileSize::allCases();
    ASSERT_EQ(all.size(), 7u);
    const std::uint64_t MiB = 1048576;
    const std::vector<std::tuple<std::string, std::uint64_t, std::string>> expected{
        {"oneKB", 1024, "1 KB"},
        {"tenKB", 10240, "10 KB"},
        {"oneHundredKB", 102400, "100 KB"},
        {"oneMB", MiB, "1 MB"},
        {"twentyFiveMB", 25 * MiB, "25 MB+"},
        {"fiveHundredMB", 500 * MiB, "500 MB+"},
        {"oneGB", 1024 * MiB, "1024 MB+"},
    };
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].rawValue(), std::get<0>(expected[i]));
        EXPECT_EQ(all[i].bytes(), std::get<1>(expected[i]));
        EXPECT_EQ(all[i].label(), std::get<2>(expected[i]));
        EXPECT_EQ(DuplicateMinimumFileSize::fromRawValue(std::get<0>(expected[i])), all[i]);
    }
    EXPECT_EQ(DuplicateMinimumFileSize{}.value(), DuplicateMinimumFileSize::oneKB);
    EXPECT_EQ(DuplicateMinimumFileSize(DuplicateMinimumFileSize::oneKB).ignoredText(),
              "under 1 KB ignored");
    EXPECT_EQ(DuplicateMinimumFileSize(DuplicateMinimumFileSize::twentyFiveMB).ignoredText(),
              "under 25 MB+ ignored");
    EXPECT_EQ(DuplicateMinimumFileSize(DuplicateMinimumFileSize::oneGB).ignoredText(),
              "under 1024 MB+ ignored");
}

TEST(MinimumFileSize, rawValueAcceptsOnlyCaseNames) {
    for (const char *raw : {"", "25 MB+", "onekb", "OneKB", "oneKB ", "1024"})
        EXPECT_FALSE(DuplicateMinimumFileSize::fromRawValue(raw).has_value()) << raw;
}

TEST(ScanError, folderUnavailableDescription) {
    EXPECT_EQ(description(DuplicateScanError::folderUnavailable),
              "The selected folder could not be accessed.");
}
