#include "resultfixture.h"

#include "resultindex.h"
#include "reviewmarks.h"

#include <memory>
#include <set>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

using Marks = std::set<std::string>;

// An index over two sets, and marks whose protected files the test names.
struct Fixture {
    ResultIndex index{std::make_shared<const DuplicateScanResult>(resultOf(
        {group("aa", 10, {"/d/a1", "/d/a2", "/d/a3"}), group("bb", 10, {"/d/b1", "/d/b2"})}))};
    std::set<FileId> protectedIds;
    ReviewMarks marks{index, [this](FileId id) { return protectedIds.contains(id); }};

    FileId id(const std::string &path) const { return *index.fileIdOf(path); }
    void mark(const std::string &path) {
        marks.set(id(path), true);
        marks.commit();
    }
};

} // namespace

TEST(ReviewMarks, marksFollowPathsToTheNextResultAndComeBackWithThem) {
    Fixture f;
    f.mark("/d/a1");
    f.mark("/d/b1");
    ASSERT_TRUE(f.marks.canUndo());

    // The rescan drops b1's set and reorders a's copies.
    auto marked = f.marks.takeForNewResult();
    f.index.setResult(std::make_shared<const DuplicateScanResult>(
        resultOf({group("aa", 10, {"/d/a3", "/d/a1"})})));
    f.marks.rebase(std::move(marked));
    EXPECT_TRUE(f.marks.isMarked(f.id("/d/a1")));
    EXPECT_FALSE(f.marks.isMarked(f.id("/d/a3")));
    // b1 counts as marked, kept aside, and undo names files of the old
    // result, so it is gone.
    EXPECT_EQ(f.marks.paths(), (Marks{"/d/a1", "/d/b1"}));
    EXPECT_TRUE(f.marks.any());
    EXPECT_FALSE(f.marks.canUndo());
    // Nothing to redraw: the view of the new result starts from these marks.
    EXPECT_TRUE(f.marks.takeChanges().empty());

    marked = f.marks.takeForNewResult();
    f.index.setResult(std::make_shared<const DuplicateScanResult>(
        resultOf({group("bb", 10, {"/d/b1", "/d/b2"}), group("aa", 10, {"/d/a1", "/d/a3"})})));
    f.marks.rebase(std::move(marked));
    EXPECT_TRUE(f.marks.isMarked(f.id("/d/b1")));
    EXPECT_TRUE(f.marks.isMarked(f.id("/d/a1")));
    EXPECT_EQ(f.marks.bits().count(), 2u);
}

TEST(ReviewMarks, aSweptChangeIsNoUndoStepAndSaysItSwept) {
    Fixture f;
    f.protectedIds = {f.id("/d/a2")};
    f.marks.set(f.id("/d/a2"), true);
    EXPECT_TRUE(f.marks.commit());
    EXPECT_FALSE(f.marks.isMarked(f.id("/d/a2")));
    EXPECT_FALSE(f.marks.canUndo());

    f.mark("/d/a1");
    EXPECT_TRUE(f.marks.canUndo());
    // The file became protected after it was marked: the undo back to the
    // state before still sweeps, and says so.
    f.mark("/d/b1");
    f.protectedIds.insert(f.id("/d/a1"));
    EXPECT_TRUE(f.marks.undo());
    EXPECT_EQ(f.marks.paths(), Marks{});
    EXPECT_FALSE(f.marks.undo());
}

TEST(ReviewMarks, changesAreReportedOnceInFileIdOrder) {
    Fixture f;
    f.mark("/d/b2");
    f.mark("/d/a1");
    EXPECT_EQ(f.marks.takeChanges(), (std::vector<FileId>{f.id("/d/a1"), f.id("/d/b2")}));
    EXPECT_TRUE(f.marks.takeChanges().empty());
    // Marked and unmarked again between two reports: nothing to redraw.
    f.mark("/d/a3");
    f.marks.set(f.id("/d/a3"), false);
    f.marks.commit();
    EXPECT_TRUE(f.marks.takeChanges().empty());
    f.marks.clear();
    f.marks.commit();
    EXPECT_EQ(f.marks.takeChanges().size(), 2u);
    EXPECT_FALSE(f.marks.any());
}
