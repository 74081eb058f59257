#include "resultfixture.h"
#include "resultreview.h"

#include <gtest/gtest.h>

#include <set>

using namespace twinsift;
using namespace twinsift::testing;

using Strings = std::vector<std::string>;

namespace {

// Nothing in these tests lives in a protected place unless it says so.
ResultReview reviewOf(std::vector<DuplicateGroup> groups, std::vector<DuplicateFile> extra = {}) {
    return ResultReview(resultOf(std::move(groups), std::move(extra)),
                        ResultReview::byPath([](const std::string &) { return false; }));
}

using Marks = std::set<std::string>;

} // namespace

// Another category clears the search, a click on the one shown does not;
// review-only categories cannot sort by savings; the summary cards navigate
// without touching the search.
TEST(ResultNavigation, categoriesAndCardsKeepTheSearchAndTheSortOnlyWhereTheyShould) {
    auto review = reviewOf({group("aa", 10, {"/d/a", "/d/b"})});
    review.setSearchText("a");
    review.selectCategory(MatchCategory::exact);
    EXPECT_EQ(review.searchText(), "a");
    review.selectCategory(MatchCategory::sameName);
    EXPECT_EQ(review.searchText(), "");
    EXPECT_EQ(review.sortMode(), GroupSort::fileCount);
    review.setSortMode(GroupSort::filename);
    review.selectCategory(MatchCategory::sameNameSize);
    EXPECT_EQ(review.sortMode(), GroupSort::filename);

    // From the flat list, even the same category starts a fresh search.
    review.setSearchText("b");
    review.showDuplicateFiles();
    EXPECT_EQ(review.category(), MatchCategory::sameNameSize);
    review.selectCategory(MatchCategory::sameNameSize);
    EXPECT_EQ(review.searchText(), "");
    EXPECT_EQ(review.mode(), ResultMode::groups);

    review.setSearchText("y");
    review.showDuplicateGroups();
    EXPECT_EQ(review.category(), MatchCategory::exact);
    review.showPotentialSavings();
    EXPECT_EQ(review.sortMode(), GroupSort::reclaimable);
    EXPECT_EQ(review.searchText(), "y");
}

TEST(TrashMarks, everySetKeepsOneCopyEvenBehindAFilteredRowAndReviewOnlyGroupsTakeNoMarks) {
    auto review = reviewOf({group("aa", 10, {"/d/a", "/d/b"}),
                            group("bb", 20, {"/d/keep.txt", "/d/match-1.txt", "/d/match-2.txt"})},
                           {file("/d/x/a", 10)});
    toggle(review, "/d/a");
    EXPECT_FALSE(review.cleanupGuard());
    toggle(review, "/d/b");
    EXPECT_EQ(review.selectedForTrash(), (Marks{"/d/a"}));
    EXPECT_EQ(review.cleanupGuard(), ResultReview::GuardAlert(ResultReview::Guard::keepOneCopy));
    review.dismissCleanupGuard();
    toggle(review, "/d/a");
    toggle(review, "/d/b");
    EXPECT_EQ(review.selectedForTrash(), (Marks{"/d/b"}));
    EXPECT_FALSE(review.cleanupGuard());

    toggle(review, "/d/match-1.txt");
    // One row is visible; judged by its filtered group alone it would be the
    // set's last copy.
    review.setSearchText("MATCH-2");
    ASSERT_EQ(review.searchedGroups().size(), 1u);
    ASSERT_EQ(review.searchedGroups()[0].files.size(), 1u);
    toggle(review, "/d/match-2.txt");
    EXPECT_FALSE(review.cleanupGuard());

    // Now the one row left is the set's last unmarked copy.
    review.setSearchText("keep");
    toggle(review, "/d/keep.txt");
    EXPECT_EQ(review.selectedForTrash(), (Marks{"/d/b", "/d/match-1.txt", "/d/match-2.txt"}));
    EXPECT_EQ(review.cleanupGuard(), ResultReview::GuardAlert(ResultReview::Guard::keepOneCopy));

    // Review-only groups take no marks, not even on a copy of an exact set.
    review.dismissCleanupGuard();
    for (auto category : {MatchCategory::sameNameSize, MatchCategory::sameName}) {
        review.selectCategory(category);
        toggle(review, "/d/a");
        EXPECT_EQ(review.selectedForTrash().size(), 3u);
        EXPECT_FALSE(review.cleanupGuard());
    }
}

TEST(TrashMarks, oneSweepDropsEveryProtectedPathAndRaisesOneAlert) {
    std::set<std::string> protectedNow;
    ResultReview review(
        resultOf(
            {group("aa", 10, {"/d/a1", "/d/a2", "/d/a3"}), group("bb", 10, {"/d/b1", "/d/b2"})}),
        ResultReview::byPath([&](const std::string &p) { return protectedNow.contains(p); }));
    toggle(review, "/d/a1");
    toggle(review, "/d/a2");
    ASSERT_EQ(review.selectedForTrash().size(), 2u);

    // Both marked files turn out to sit in a protected place; the next change
    // of the marks sweeps them out together.
    protectedNow = {"/d/a1", "/d/a2"};
    EXPECT_EQ(review.selectedFiles().size(), 0u) << "protected files are never selected";
    toggle(review, "/d/b1");
    EXPECT_EQ(review.selectedForTrash(), (Marks{"/d/b1"}));
    EXPECT_TRUE(review.hasProtectedLocationAlert());

    // Unmarking sweeps too, and a path outside every exact set is left alone.
    review.dismissProtectedLocation();
    protectedNow.insert("/d/b1");
    toggle(review, "/d/a3");
    EXPECT_TRUE(review.selectedForTrash().contains("/d/a3"));
    EXPECT_FALSE(review.selectedForTrash().contains("/d/b1"));
    EXPECT_TRUE(review.hasProtectedLocationAlert());
}

TEST(TrashMarks, selectedFilesAreInPathOrderAndAddUpTheirSizes) {
    auto review = reviewOf({group("aa", 1'000'000, {"/d/c1", "/d/c2", "/d/c3", "/d/c4"}),
                            group("bb", 3, {"/d/b10", "/d/b9"})});
    EXPECT_EQ(review.selectedBytes(), 0u);
    toggle(review, "/d/c3");
    toggle(review, "/d/c1");
    EXPECT_EQ(review.selectedBytes(), 2'000'000u);
    toggle(review, "/d/b10");
    EXPECT_EQ(pathsOf(review.selectedFiles()), (Strings{"/d/b10", "/d/c1", "/d/c3"}));
    EXPECT_EQ(review.selectedBytes(), 2'000'003u);
}

TEST(CleanupPrecheck, aRescanThatLeavesASetFullyMarkedStopsTheCleanupAndKeepsTheMarks) {
    auto review =
        reviewOf({group("aa", 10, {"/d/a", "/d/b", "/d/c"}), group("bb", 20, {"/d/x", "/d/y"})});
    review.selectCategory(MatchCategory::sameName);
    review.selectCategory(MatchCategory::exact);
    EXPECT_FALSE(review.prepareCleanup()) << "nothing selected starts nothing";
    EXPECT_FALSE(review.cleanupGuard());
    toggle(review, "/d/a");
    toggle(review, "/d/b");
    toggle(review, "/d/x");
    const auto before = review.prepareCleanup();
    ASSERT_TRUE(before);
    EXPECT_EQ(pathsOf(*before), (Strings{"/d/a", "/d/b", "/d/x"}));

    // /d/c is gone after a rescan: the view and the marks stay, and the set
    // that is left would lose every copy.
    review.setResult(
        resultOf({group("aa", 10, {"/d/a", "/d/b"}), group("bb", 20, {"/d/x", "/d/y"})}));
    EXPECT_EQ(review.sortMode(), GroupSort::fileCount);
    EXPECT_FALSE(review.prepareCleanup());
    EXPECT_EQ(review.cleanupGuard(),
              ResultReview::GuardAlert(ResultReview::Guard::wholeSetSelected));
    EXPECT_EQ(review.selectedForTrash(), (Marks{"/d/a", "/d/b", "/d/x"}));

    // A mark on a path that left every exact set stops counting.
    review.setResult(resultOf({group("bb", 20, {"/d/x", "/d/y"})}));
    EXPECT_EQ(pathsOf(review.selectedFiles()), (Strings{"/d/x"}));
}
